// What a conversion changed or left out without failing: every format returns its notes in
// this one shape, and the command line or the page shows them beside the file.
#pragma once

#include <string>
#include <vector>

namespace velkano::tool {

struct Note {
    // Where in the input, in the input's own terms: "FILE:LINE", a JSON pointer, "route 3".
    std::string where;
    std::string message;
};

using Notes = std::vector<Note>;

}  // namespace velkano::tool
