// CUP files read into turnpoints and routes for `velkano build`. The rows of all files come
// first, in file order, then the tasks of all files, whose points name rows of any file.
// Real files are messy: columns are found by name in any order, units and encodings vary, and
// what cannot be read is left at its default with a note, unless the row cannot be a turnpoint.
#pragma once

#include <string>
#include <vector>

#include "formats/cup_context.h"
#include "formats/note.h"
#include "formats/task_model.h"

namespace velkano::tool {

struct CupFile {
    std::string path;
    std::string bytes;
};

struct CupReadOptions {
    bool strict = false;       // refuse texts with characters windows-1252 lacks
    bool skipBadRows = false;  // leave out unusable rows and the tasks they break
};

struct CupImport {
    TaskDocument task;  // turnpoints numbered 1, 2, 3...; texts windows-1252
    Notes notes;        // what was read differently from how it is written, at "FILE:LINE"
};

// Throws CupError for an unusable row or an unknown task
// point (unless skipBadRows), more than 16384 rows or tasks, and, with strict, a text that
// windows-1252 cannot hold.
CupImport readCup(const std::vector<CupFile>& files, const CupReadOptions& options);

}  // namespace velkano::tool
