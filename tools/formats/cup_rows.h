// One CUP row as one turnpoint. What cannot be read is left at its default with a note, unless
// the row cannot be a turnpoint at all (no name, no usable coordinate); what the task file
// cannot keep as the row has it, or gives back otherwise, is noted too.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "formats/cup_context.h"
#include "formats/cup_header.h"
#include "velkano/host_records.h"

namespace velkano::tool::cup {

// A field that keeps a row from becoming a turnpoint.
struct RowProblem {
    Column column;
    std::string message;
};

// The turnpoint the row at at stands for (number left at 0), or why it stands for none; with
// strict, a text windows-1252 cannot hold is a CupError.
std::variant<FIO_TPEntry, RowProblem> turnpointFromRow(const std::vector<std::string>& fields,
                                                       const Header& header, const Place& at,
                                                       bool strict, ImportNotes& notes);

}  // namespace velkano::tool::cup
