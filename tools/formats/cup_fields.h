// The text layer of CUP, shared by the reader and the writer: a text split into lines, a line
// into fields, and a field quoted so that every reader takes it back.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velkano::tool::cup {

struct TextLine {
    size_t number;  // from 1
    std::string_view text;
};

// The lines of text: each ends at a line feed, a carriage return before it dropped.
std::vector<TextLine> splitLines(std::string_view text);

// One line as RFC 4180 fields: quotes around a field, "" inside them, blanks around fields
// trimmed. A quote left open ends with the line.
std::vector<std::string> splitFields(std::string_view line);

// The text in quotes, its quotes doubled.
std::string quote(std::string_view text);
// The same, but an empty text stays an empty field.
std::string quoteUnlessEmpty(std::string_view text);
// The fields joined by commas, with the line end.
std::string joinFields(const std::vector<std::string>& fields);

bool isBlank(char c);
std::string_view trimmed(std::string_view text);
// ASCII letters in lower case, every other byte as it is.
std::string lowered(std::string_view text);

}  // namespace velkano::tool::cup
