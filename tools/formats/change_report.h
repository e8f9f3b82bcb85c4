// The report that ends an import or export: per input, each kind of note with its count and
// first places. The command line prints it and the page shows it, in the same words.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formats/note.h"

namespace velkano::tool {

inline constexpr size_t kPlacesShownPerKind = 3;

struct KindCount {
    std::string kind;
    size_t count = 0;
    std::vector<std::string> firstPlaces;  // at most kPlacesShownPerKind
};

struct InputChanges {
    std::string input;
    size_t notes = 0;
    std::vector<KindCount> kinds;  // in the order of their first notes
};

// Notes grouped by input and kind, both in the order they first come.
std::vector<InputChanges> summariseNotes(const Notes& notes);

enum class ReportDetail { counts, firstPlaces };

// One block per input:
//   a.cup: 7 notes
//     rows left out: 2 (a.cup:3, a.cup:9)
//     column `country` is not kept: 5 (a.cup:2, a.cup:3, a.cup:4 and 2 more)
// Each block's first line starts with headerPrefix; counts leaves out the places.
std::string formatChangeReport(const std::vector<InputChanges>& changes, ReportDetail detail,
                               std::string_view headerPrefix);

// "a.cup:12: MESSAGE" or "t.rtx: route 2: MESSAGE": a note on its own.
std::string formatNote(const Note& note);

}  // namespace velkano::tool
