#include "browser/conversions.h"

#include <algorithm>
#include <memory>

#include "formats/change_report.h"
#include "formats/flight_list.h"
#include "formats/igc_name.h"
#include "formats/output_formats.h"
#include "formats/view_page.h"
#include "host/driver_library.h"
#include "host/failure.h"
#include "host/flight_reader.h"
#include "host/output_files.h"
#include "host/task_build.h"
#include "host/task_reader.h"
#include "io/file_kind.h"
#include "io/paths.h"
#include "velkano/companion_path.h"

namespace velkano::tool {

namespace {

// What the task files velkano build writes are offered as.
constexpr std::string_view kTaskFileMediaType = "application/octet-stream";

void addDownload(GroupResult& result, const std::string& path, std::string_view mediaType) {
    result.downloads.push_back({fileName(path), path, std::string(mediaType)});
}

// The rows of the output formats velkano dump and velkano cup --columns N write.
std::vector<const TaskOutputFormat*> taskDownloads(CupColumns columns) {
    return {&taskOutputFormat("json"),
            &taskOutputFormat(columns == CupColumns::classic ? "cup11" : "cup")};
}

// The failure being handled, in the words velkano prints for it (call in a catch block); path
// names the file where a failure of no known kind happened, as the command's scene does.
void addFailure(GroupResult& result, const std::string& path) {
    result.errors.push_back(reportedText(failureToReport({path})));
}

// A CUP import's or export's notes, each as velkano --notes all prints it, and the report
// that ends its run.
void addChangeReport(GroupResult& result, const Notes& notes) {
    for (const Note& note : notes) result.notes.push_back(formatNote(note));
    result.report = formatChangeReport(summariseNotes(notes), ReportDetail::firstPlaces, "");
}

std::string taskView(const TaskDocument& task, const std::string& file) {
    ViewData view;
    view.addTask(task, file);
    return view.json();
}

std::string baseName(const std::string& path) {
    return withExtension(fileName(path), "");
}

}  // namespace

GroupResult convertFlights(const std::string& path, const std::string& outDir,
                           const PageOptions& options) {
    GroupResult result;
    result.kind = GroupKind::flights;
    FlightLister lister;
    ViewData view;
    const FlightOutputFormat& igcFormat = flightOutputFormat("igc");
    try {
        const std::unique_ptr<DriverLibrary> driver = loadDriver("", kFlightDriver);
        const int count = readFlightsBack(
            *driver, path, [&](int number, std::string_view igc, IgcFlightText flight) {
                const std::string written =
                    writeNewFlightFile(outDir, identifyFlight(igc), [&](const OutputSink& sink) {
                        igcFormat.write(igc, options.flightText, sink);
                    });
                addDownload(result, written, igcFormat.mediaType);
                view.addFlight(flight, fileName(path), number);
                lister.add(number, std::move(flight), igc);
                return true;
            });
        if (count == 0) result.notes.push_back(reportedText(path, kNoFlights));
    } catch (...) {
        addFailure(result, path);
    }
    result.table = flightTableOf(path, lister.flights());
    if (!view.empty()) result.view = view.json();
    return result;
}

GroupResult convertTask(const std::string& path, const std::string& outDir,
                        const PageOptions& options) {
    GroupResult result;
    result.kind = GroupKind::task;
    try {
        const std::unique_ptr<DriverLibrary> driver = loadDriver("", kRouteDriver);
        const TaskDocument task = readTaskFile(*driver, path);
        Notes notes;
        for (const TaskOutputFormat* format : taskDownloads(options.cupColumns)) {
            const std::string written =
                inDirectory(outDir, baseName(path) + std::string(format->extension));
            writeFile(written, [&](const OutputSink& sink) { format->write(task, sink, notes); });
            addDownload(result, written, format->mediaType);
        }
        for (Note& note : notes) note.input = path;
        addChangeReport(result, notes);
        result.view = taskView(task, fileName(path));
    } catch (...) {
        addFailure(result, "");
        result.downloads.clear();
    }
    return result;
}

GroupResult buildTask(const std::vector<std::string>& inputs, const std::string& outDir,
                      const PageOptions& options) {
    GroupResult result;
    result.kind = GroupKind::build;
    const std::string output = inDirectory(outDir, baseName(inputs.front()) + kTaskExtension);
    try {
        const Notes notes =
            buildTaskFile("", {inputs, output, options.cupRead},
                          [&result](const std::string& path, const std::string& message) {
                              result.notes.push_back(reportedText(path, message));
                          });
        addChangeReport(result, notes);
        addDownload(result, output, kTaskFileMediaType);
        addDownload(result, companionPathForWriting(output), kTaskFileMediaType);
        // What velkano view shows of the task file written.
        const std::unique_ptr<DriverLibrary> driver = loadDriver("", kRouteDriver);
        result.view = taskView(readTaskFile(*driver, output), fileName(output));
    } catch (...) {
        addFailure(result, "");
        result.downloads.clear();
    }
    return result;
}

GroupResult convertOther(const std::string& path, const std::string& outDir,
                         const PageOptions& options) {
    switch (fileKindOf(path)) {
        case FileKind::flight:
            return convertFlights(path, outDir, options);
        case FileKind::task:
        case FileKind::turnpoints:
            // A turnpoint file alone is refused as velkano dump refuses it, saying what it needs.
            return convertTask(path, outDir, options);
        case FileKind::other:
            break;
    }
    GroupResult result;
    result.errors.push_back(
        reportedText(path,
                     "not a file velkano reads (flight files .flt, task files .rtx with their "
                     ".top, CUP files .cup, JSON files .json)"));
    return result;
}

GroupResult convertGroup(const std::vector<std::string>& paths, const std::string& outDir,
                         const PageOptions& options) {
    const auto count = [&paths](const char* extension) {
        return static_cast<size_t>(std::count_if(
            paths.begin(), paths.end(), [&](const auto& p) { return hasExtension(p, extension); }));
    };
    const auto named = [&paths](const char* extension) {
        return *std::find_if(paths.begin(), paths.end(),
                             [&](const auto& p) { return hasExtension(p, extension); });
    };
    if (paths.size() == 1 && count(kFlightExtension) == 1)
        return convertFlights(paths[0], outDir, options);
    if (count(kTaskExtension) == 1 &&
        count(kTaskExtension) + count(kCompanionExtension) == paths.size())
        return convertTask(named(kTaskExtension), outDir, options);
    if (!paths.empty() &&
        (count(kCupExtension) == paths.size() || (paths.size() == 1 && count(kJsonExtension) == 1)))
        return buildTask(paths, outDir, options);
    if (paths.size() == 1) return convertOther(paths[0], outDir, options);
    GroupResult result;
    result.errors.push_back(
        "these files are not converted together: a flight file (.flt) goes alone, "
        "a task file (.rtx) with its turnpoint file (.top), CUP files (.cup) together, "
        "a JSON file alone");
    return result;
}

}  // namespace velkano::tool
