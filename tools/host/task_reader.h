// A task file and its turnpoint file read through the route driver's FIO_ReadObject, as the
// host program reads them. Every command that reads task files (dump, cup) reads them here,
// so they all say the same about a malformed or missing file.
#pragma once

#include <string>

#include "host/driver_library.h"
#include "formats/task_json.h"

namespace velkano::tool {

// Every turnpoint (texts windows-1252, numbers as the file gives them) and every route (points
// by turnpoint number and role, in the driver's order). Throws ToolError naming the task file
// or its turnpoint file, with the record and byte where a malformed file goes wrong.
TaskDocument readTaskFile(DriverLibrary& driver, const std::string& path);

// Throws ToolError when output names the task file or its turnpoint file (standard output
// never does).
void refuseToWriteOverTask(const std::string& output, const std::string& task);

// What a command that converts one task file is told: the task file, and where the result
// goes (empty or "-": standard output).
struct TaskConversion {
    std::string input;
    std::string output;
};

// The task file to convert: refused when the output would replace it, then read through the
// route driver in driverDir (empty: where it is found).
TaskDocument readTaskToConvert(const std::string& driverDir, const TaskConversion& conversion);

}  // namespace velkano::tool
