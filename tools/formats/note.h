// What a conversion changed or left out without failing: every format returns its notes in
// this one shape, and the command line or the page shows them beside the file, one by one or
// counted per kind (change_report.h).
#pragma once

#include <string>
#include <vector>

namespace velkano::tool {

struct Note {
    // Where in the input, in the input's own terms: "FILE:LINE", a JSON pointer, "route 3".
    std::string where;
    std::string message;
    // What the note is an instance of, as a report counts it ("rows left out"); empty for a
    // note that is a kind of its own.
    std::string kind = {};
    // The input file it concerns, for a report per input; empty where there is only one.
    std::string input = {};
};

using Notes = std::vector<Note>;

}  // namespace velkano::tool
