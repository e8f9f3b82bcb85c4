#include "cli/change_notes.h"

#include <cstdio>

#include "formats/change_report.h"

namespace velkano::tool {

namespace {

constexpr const char* kEveryNote = "all";
constexpr const char* kFirstPlaces = "first";
constexpr const char* kToolPrefix = "velkano: ";

}  // namespace

void addNotesOptions(CLI::App& command, NotesOptions& options) {
    auto* notes = command
                      .add_option("--notes", options.notes,
                                  "What the report of changes shows: first (default), each kind "
                                  "with its count and first three places; all, every note "
                                  "before it")
                      ->check(CLI::IsMember({kFirstPlaces, kEveryNote}));
    command.add_flag("-q,--quiet", options.quiet, "Report only the count of each kind of change")
        ->excludes(notes);
}

void printChangeReport(const Notes& notes, const NotesOptions& options) {
    std::string text;
    if (options.notes == kEveryNote) {
        for (const Note& note : notes) text += kToolPrefix + formatNote(note) + "\n";
    }
    text += formatChangeReport(summariseNotes(notes),
                               options.quiet ? ReportDetail::counts : ReportDetail::firstPlaces,
                               kToolPrefix);
    std::fputs(text.c_str(), stderr);
}

}  // namespace velkano::tool
