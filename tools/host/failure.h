// Failures of driver calls and host files, worded the one way every command reports them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "io/tool_error.h"
#include "velkano/host_file.h"

namespace velkano::tool {

// Where a command was when a driver call or a file operation failed.
struct ErrorScene {
    ErrorScene(std::string path = {}, std::string record = {},
               std::optional<uint32_t> byte = std::nullopt)
        : path(std::move(path)), record(std::move(record)), byte(byte) {}

    std::string path;              // the file being read or written
    std::string record;            // "flight 3", "route 2", "writing turnpoint 4"; empty for none
    std::optional<uint32_t> byte;  // where the failing field began, when the file is watched
    // The size of a watched file that ended inside the failing field: it is cut short, and
    // saying so helps more than the byte.
    std::optional<uint64_t> endedAt;
    // Files the user knows by another name: a temporary output by its final path.
    std::vector<std::pair<std::string, std::string>> renamed;
};

// The one mapping of failures to messages, for the exception being handled (call it in a
// catch block): a ToolError as it is; a driver's FIO_Error naming scene.path with
// "MESSAGE (RECORD, byte N)", where a "bad file" is in the header, or with cutShort when the
// file ended inside the field; a file exception naming its file with the operating system's
// reason; anything else naming scene.path with what it says. A closed standard output is no
// failure and goes on as it is.
ToolError currentError(const ErrorScene& scene);

// What the user is told of the exception being handled (call it in a catch block):
// currentError(scene), and for a legacy file of the wrong kind, which command reads it.
ToolError failureToReport(const ErrorScene& scene);

// "file ends at byte SIZE inside WHERE (cut short?)".
std::string cutShort(const std::string& where, uint64_t size);

// The operating system's reason for a file exception, without the file name.
std::string fileErrorReason(const CFileException& error);

}  // namespace velkano::tool
