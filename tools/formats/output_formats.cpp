#include "formats/output_formats.h"

#include <stdexcept>
#include <string>

#include "formats/cup_writer.h"
#include "formats/task_json.h"

namespace velkano::tool {

namespace {

void writeJson(const TaskDocument& task, const OutputSink& sink, Notes&) {
    writeTaskJson(task, sink);
}

template <CupColumns Columns>
void writeCup(const TaskDocument& task, const OutputSink& sink, Notes& notes) {
    CupOutput cup = formatCup(task, Columns);
    notes.insert(notes.end(), cup.notes.begin(), cup.notes.end());
    sink(cup.text);
}

void writeIgcFile(std::string_view driverIgc, const FlightTextOptions& options,
                  const OutputSink& sink) {
    writeIgc(driverIgc, options.charset, options.lineEnding, sink);
}

constexpr TaskOutputFormat kTaskFormats[] = {
    {"json", ".json", "application/json", writeJson},
    {"cup", ".cup", "text/csv", writeCup<CupColumns::current>},
    {"cup11", ".cup", "text/csv", writeCup<CupColumns::classic>},
};

constexpr FlightOutputFormat kFlightFormats[] = {
    {"igc", ".igc", "application/octet-stream", writeIgcFile},
};

template <typename Row>
const Row& rowNamed(std::span<const Row> rows, std::string_view name) {
    for (const Row& row : rows) {
        if (row.name == name) return row;
    }
    throw std::out_of_range("no output format " + std::string(name));
}

}  // namespace

std::span<const TaskOutputFormat> taskOutputFormats() {
    return kTaskFormats;
}

std::span<const FlightOutputFormat> flightOutputFormats() {
    return kFlightFormats;
}

const TaskOutputFormat& taskOutputFormat(std::string_view name) {
    return rowNamed(taskOutputFormats(), name);
}

const FlightOutputFormat& flightOutputFormat(std::string_view name) {
    return rowNamed(flightOutputFormats(), name);
}

}  // namespace velkano::tool
