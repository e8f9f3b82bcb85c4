// Turnpoints and routes as a CUP file: one row per turnpoint in file order, then one task line
// per route naming the rows. UTF-8 without byte-order mark, CRLF line ends.
#pragma once

#include <string>
#include <vector>

#include "formats/note.h"
#include "formats/task_model.h"

namespace velkano::tool {

enum class CupColumns { classic = 11, current = 14 };

struct CupOutput {
    std::string text;
    // What the file cannot carry as it is (renamed, left-out and unreachable points), one
    // sentence each about the task file as a whole.
    Notes notes;
};

// task's texts are windows-1252. Turnpoints whose coordinates lie outside the globe are left
// out, and so are the route points naming them.
CupOutput formatCup(const TaskDocument& task, CupColumns columns);

}  // namespace velkano::tool
