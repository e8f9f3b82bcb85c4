// How build and cup end: the report of what the conversion changed, per input and kind, on
// standard error; -q for the counts alone, --notes all for every note first.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "formats/note.h"

namespace velkano::tool {

struct NotesOptions {
    std::string notes = "first";
    bool quiet = false;
};

void addNotesOptions(CLI::App& command, NotesOptions& options);

// Prints the report of notes; a conversion that changed nothing prints nothing.
void printChangeReport(const Notes& notes, const NotesOptions& options);

}  // namespace velkano::tool
