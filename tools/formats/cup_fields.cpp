#include "formats/cup_fields.h"

#include <algorithm>

#include "formats/cup_format.h"

namespace velkano::tool::cup {

std::vector<TextLine> splitLines(std::string_view text) {
    std::vector<TextLine> lines;
    size_t start = 0;
    for (size_t number = 1; start < text.size(); ++number) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back({number, line});
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> splitFields(std::string_view line) {
    std::vector<std::string> fields;
    size_t i = 0;
    for (;;) {
        while (i < line.size() && isBlank(line[i])) ++i;
        std::string field;
        if (i < line.size() && line[i] == '"') {
            for (++i; i < line.size(); ++i) {
                if (line[i] != '"') {
                    field += line[i];
                } else if (i + 1 < line.size() && line[i + 1] == '"') {
                    field += line[++i];
                } else {
                    ++i;
                    break;
                }
            }
        }
        const size_t end = std::min(line.find(',', i), line.size());
        field += trimmed(line.substr(i, end - i));
        fields.push_back(std::move(field));
        if (end == line.size()) return fields;
        i = end + 1;
    }
}

std::string quote(std::string_view text) {
    std::string field = "\"";
    for (const char c : text) {
        field += c;
        if (c == '"') field += c;
    }
    return field + "\"";
}

std::string quoteUnlessEmpty(std::string_view text) {
    return text.empty() ? "" : quote(text);
}

std::string joinFields(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i == 0 ? "" : ",") + fields[i];
    return line + std::string(kLineEnd);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string lowered(std::string_view text) {
    std::string low(text);
    for (char& c : low) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return low;
}

}  // namespace velkano::tool::cup
