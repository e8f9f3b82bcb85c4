#include "formats/cup_fields.h"

#include <algorithm>

#include "formats/cup_format.h"

namespace velkano::tool::cup {

namespace {

// Where a line stands between quotes, read the way splitFields reads it: a quote opens a field
// only at its start, "" inside stands for a quote, and the next quote closes it.
class QuoteState {
public:
    // Takes text[i]; returns how many characters it took (2 for "" inside quotes).
    size_t take(std::string_view text, size_t i) {
        const char c = text[i];
        if (inQuotes_) {
            if (c != '"') return 1;
            if (i + 1 < text.size() && text[i + 1] == '"') return 2;
            inQuotes_ = false;
        } else if (fieldStart_ && c == '"') {
            inQuotes_ = true;
            fieldStart_ = false;
        } else if (!(fieldStart_ && isBlank(c))) {
            fieldStart_ = c == ',';
        }
        return 1;
    }
    bool inQuotes() const { return inQuotes_; }

private:
    bool inQuotes_ = false;
    bool fieldStart_ = true;
};

}  // namespace

std::vector<TextLine> splitLines(std::string_view text) {
    std::vector<TextLine> lines;
    TextLine line{1, {}, false, 0};
    QuoteState quotes;
    size_t start = 0;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        const bool crLf = c == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        if (c == '\n' || crLf || (c == '\r' && !quotes.inQuotes())) {
            line.text = text.substr(start, i - start);
            line.quoteLeftOpen = quotes.inQuotes();
            lines.push_back(line);
            i += crLf ? 2 : 1;
            start = i;
            line = {line.number + 1, {}, false, 0};
            quotes = {};
            continue;
        }
        if (c == '\r') ++line.breaksInQuotes;
        i += quotes.take(text, i);
    }
    if (start < text.size()) {
        line.text = text.substr(start);
        line.quoteLeftOpen = quotes.inQuotes();
        lines.push_back(line);
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
