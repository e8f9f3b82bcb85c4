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
    bool quoteLeftOpen;     // the line ended inside quotes, which it closes
    size_t breaksInQuotes;  // carriage returns inside quotes, which the text keeps
};

// The lines of text. CR LF, LF and a lone CR each end a line, in any mix, so that files from
// every system and those pasted together from several read alike. Inside quotes a lone CR is a
// stray in a field's text, kept there; a line feed still ends the line, as fields spanning
// lines are not read.
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
