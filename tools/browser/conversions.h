// What the page does with each group of files dropped on it: the conversions of velkano's
// commands over the same code, so that every file offered for download has the bytes the
// command writes and every error and note the words it prints (after "velkano: ").
#pragma once

#include <string>
#include <vector>

#include "formats/cup_reader.h"
#include "formats/cup_writer.h"
#include "formats/output_formats.h"

namespace velkano::tool {

// The choices the page offers, as the commands' options name them.
struct PageOptions {
    FlightTextOptions flightText;                 // velkano igc --text, --line-ending
    CupColumns cupColumns = CupColumns::current;  // velkano cup --columns
    CupReadOptions cupRead;                       // velkano build --strict, --skip-bad-rows
};

enum class GroupKind { flights, task, build, other };

// A file the conversion wrote, to be offered under name.
struct Download {
    std::string name;
    std::string path;
    std::string mime;
};

struct GroupResult {
    GroupKind kind = GroupKind::other;
    std::vector<std::string> errors;  // each as velkano prints it after "velkano: "
    std::vector<std::string> notes;   // likewise, what is said without failing
    std::string report;               // the change report of a CUP import or export
    std::string table;                // what velkano list prints of a flight file
    std::vector<Download> downloads;  // none when the group failed, but the flights before a cut
    std::string view;  // JSON text of {"tasks", "flights"} as velkano view embeds it; "": none
};

// velkano igc PATH -o OUT_DIR (every flight, named in an empty directory as igc names them),
// velkano list PATH and the flights velkano view shows.
GroupResult convertFlights(const std::string& path, const std::string& outDir,
                           const PageOptions& options);

// velkano dump PATH -o OUT_DIR/NAME.json and velkano cup PATH --columns N -o OUT_DIR/NAME.cup,
// NAME being the task file's; the turnpoint file lies beside it.
GroupResult convertTask(const std::string& path, const std::string& outDir,
                        const PageOptions& options);

// velkano build INPUTS -o OUT_DIR/NAME.rtx, NAME being the first input's: CUP files together,
// or one JSON file.
GroupResult buildTask(const std::vector<std::string>& inputs, const std::string& outDir,
                      const PageOptions& options);

// A file by what its first bytes say, whatever its name: a flight file or a task file is
// converted as such, anything else is no file velkano reads.
GroupResult convertOther(const std::string& path, const std::string& outDir,
                         const PageOptions& options);

// The conversion the names of a group call for: a .flt alone, a .rtx with or without its .top,
// .cup files together or a .json alone (extensions in any case), or any other file alone.
GroupResult convertGroup(const std::vector<std::string>& paths, const std::string& outDir,
                         const PageOptions& options);

}  // namespace velkano::tool
