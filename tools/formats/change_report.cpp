#include "formats/change_report.h"

#include <algorithm>

namespace velkano::tool {

namespace {

std::string kindOf(const Note& note) {
    return note.kind.empty() ? note.message : note.kind;
}

std::string plural(size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

}  // namespace

std::vector<InputChanges> summariseNotes(const Notes& notes) {
    std::vector<InputChanges> changes;
    for (const Note& note : notes) {
        auto input = std::find_if(changes.begin(), changes.end(),
                                  [&](const InputChanges& c) { return c.input == note.input; });
        if (input == changes.end()) input = changes.insert(changes.end(), {note.input, 0, {}});
        ++input->notes;
        const std::string kind = kindOf(note);
        auto count = std::find_if(input->kinds.begin(), input->kinds.end(),
                                  [&](const KindCount& k) { return k.kind == kind; });
        if (count == input->kinds.end())
            count = input->kinds.insert(input->kinds.end(), {kind, 0, {}});
        ++count->count;
        if (count->firstPlaces.size() < kPlacesShownPerKind)
            count->firstPlaces.push_back(note.where.empty() ? note.input : note.where);
    }
    return changes;
}

std::string formatChangeReport(const std::vector<InputChanges>& changes, ReportDetail detail,
                               std::string_view headerPrefix) {
    std::string text;
    for (const InputChanges& input : changes) {
        text += std::string(headerPrefix) + input.input + (input.input.empty() ? "" : ": ") +
                plural(input.notes, "note", "notes") + "\n";
        for (const KindCount& kind : input.kinds) {
            text += "  " + kind.kind + ": " + std::to_string(kind.count);
            if (detail == ReportDetail::firstPlaces && !kind.firstPlaces.empty()) {
                text += " (";
                for (size_t i = 0; i < kind.firstPlaces.size(); ++i)
                    text += (i == 0 ? "" : ", ") + kind.firstPlaces[i];
                if (kind.count > kind.firstPlaces.size())
                    text +=
                        " and " + std::to_string(kind.count - kind.firstPlaces.size()) + " more";
                text += ")";
            }
            text += "\n";
        }
    }
    return text;
}

std::string formatNote(const Note& note) {
    // A place in lines names its input already ("a.cup:12").
    std::string place = note.where;
    if (place.empty()) {
        place = note.input;
    } else if (!note.input.empty() && place != note.input && !place.starts_with(note.input + ":")) {
        place = note.input + ": " + place;
    }
    return (place.empty() ? "" : place + ": ") + note.message;
}

}  // namespace velkano::tool
