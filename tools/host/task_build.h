// What velkano build does once its options are understood: CUP files read together, or one
// JSON file, into turnpoints and routes, written through the route driver as a task file and
// its turnpoint file. The command line and the page build alike, in the same words.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "formats/cup_reader.h"

namespace velkano::tool {

// The inputs build takes, by extension (lower case, with the dot; any case in a name).
inline constexpr const char* kCupExtension = ".cup";
inline constexpr const char* kJsonExtension = ".json";

struct BuildRequest {
    std::vector<std::string> inputs;  // .cup files (any case), or one JSON file
    std::string output;               // the task file; its turnpoint file goes beside it
    CupReadOptions cup;
};

// Told of each note about one input as it is found: the file and what to say of it.
using NoteReporter = std::function<void(const std::string& path, const std::string& message)>;

// Refuses a wrong kind of input and an output over an input, reads the inputs, and writes
// both files (each replaced only once complete) through the route driver from driverDir
// (loadDriver). A JSON input's notes (texts cut to their field) go to reportNote as they are
// found; a CUP import's come back, for a report. ToolError naming the file and the place when
// anything is refused.
Notes buildTaskFile(const std::string& driverDir, const BuildRequest& request,
                    const NoteReporter& reportNote);

}  // namespace velkano::tool
