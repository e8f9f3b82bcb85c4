// What the units of the CUP import share: the place of a line, the error at it, the notes
// collected on the way and texts as the task file stores them.
#pragma once

#include <string>

#include "formats/error_at.h"
#include "formats/note.h"

namespace velkano::tool {

// A CUP input that cannot be imported, at "FILE:LINE" or "FILE".
class CupError : public ErrorAt<std::string> {
public:
    using ErrorAt::ErrorAt;
    const std::string& where() const { return place(); }
};

namespace cup {

struct Place {
    const std::string* file;
    size_t line;
    std::string where() const { return *file + ":" + std::to_string(line); }
};

class ImportNotes {
public:
    void add(const Place& at, std::string kind, std::string message) {
        notes_.push_back({at.where(), std::move(message), std::move(kind), *at.file});
    }
    Notes take() { return std::move(notes_); }

private:
    Notes notes_;
};

// utf8 as windows-1252 bytes, with a note where characters are replaced or the text is
// longer than longest; with strict, a replaced character is a CupError instead.
std::string storedText(const std::string& utf8, const Place& at, const std::string& column,
                       size_t longest, bool strict, ImportNotes& notes);

}  // namespace cup

}  // namespace velkano::tool
