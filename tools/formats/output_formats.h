// The formats velkano writes, one row each: what a task file and what a flight convert to.
// `velkano dump`, `velkano cup` and `velkano igc` write their row's format; the browser page
// offers every row as a download. A new output format is one source pair in formats/ and one
// row here (formats/README.md).
#pragma once

#include <span>
#include <string_view>

#include "formats/igc_output.h"
#include "formats/note.h"
#include "formats/output_sink.h"
#include "formats/task_model.h"

namespace velkano::tool {

struct TaskOutputFormat {
    std::string_view name;       // "json", "cup", "cup11"
    std::string_view extension;  // with its dot
    std::string_view mediaType;
    // Hands the file to sink a block at a time; notes say what the format cannot carry.
    void (*write)(const TaskDocument& task, const OutputSink& sink, Notes& notes);
};

// What a flight's file is written with.
struct FlightTextOptions {
    IgcCharset charset = IgcCharset::utf8;
    LineEnding lineEnding = LineEnding::crlf;
};

struct FlightOutputFormat {
    std::string_view name;  // "igc"
    std::string_view extension;
    std::string_view mediaType;
    // driverIgc is the flight as the flight driver prints it (IGC text, LF, windows-1252).
    void (*write)(std::string_view driverIgc, const FlightTextOptions& options,
                  const OutputSink& sink);
};

std::span<const TaskOutputFormat> taskOutputFormats();
std::span<const FlightOutputFormat> flightOutputFormats();

// The row of that name; std::out_of_range for a name no row has.
const TaskOutputFormat& taskOutputFormat(std::string_view name);
const FlightOutputFormat& flightOutputFormat(std::string_view name);

}  // namespace velkano::tool
