#include "formats/cup_header.h"

#include "formats/cup_fields.h"

namespace velkano::tool::cup {

namespace {

constexpr std::array<std::string_view, kColumnCount> kColumnNames = {
    "name",  "code",  "country", "lat",  "lon",  "elev",     "style",
    "rwdir", "rwlen", "rwwidth", "freq", "desc", "userdata", "pics"};
// Other spellings: older files, other programs, spreadsheets.
constexpr struct {
    std::string_view name;
    Column column;
} kOtherNames[] = {
    {"title", kName},      {"latitude", kLat},     {"longitude", kLon}, {"elevation", kElev},
    {"altitude", kElev},   {"alt", kElev},         {"height", kElev},   {"rwydir", kRwdir},
    {"direction", kRwdir}, {"runway", kRwdir},     {"rwy", kRwdir},     {"rwylen", kRwlen},
    {"length", kRwlen},    {"rwywidth", kRwwidth}, {"width", kRwwidth}, {"frequency", kFreq},
    {"radio", kFreq},      {"description", kDesc}, {"comment", kDesc},  {"remarks", kDesc},
};
// The units a header may name for a column: lengths for the measures, MHz for frequencies.
constexpr struct {
    Column column;
    std::string_view unit;
} kHeaderUnits[] = {
    {kElev, "m"},   {kElev, "ft"},   {kRwlen, "m"},    {kRwlen, "nm"},
    {kRwlen, "ml"}, {kRwwidth, "m"}, {kRwwidth, "ft"}, {kFreq, "mhz"},
};
constexpr Column kClassicColumns[] = {kName,  kCode,  kCountry, kLat,  kLon, kElev,
                                      kStyle, kRwdir, kRwlen,   kFreq, kDesc};

std::optional<Column> columnNamed(std::string_view name) {
    for (int c = 0; c < kColumnCount; ++c) {
        if (kColumnNames[c] == name) return static_cast<Column>(c);
    }
    for (const auto& other : kOtherNames) {
        if (other.name == name) return other.column;
    }
    return std::nullopt;
}

bool takesUnit(Column column, std::string_view unit) {
    for (const auto& allowed : kHeaderUnits) {
        if (allowed.column == column && allowed.unit == unit) return true;
    }
    return false;
}

// A header name and the unit it names: "elev (m)", "Elevation [ft]", "elev ft", "freq".
struct NamedColumn {
    std::string name;
    std::string unit;
};

NamedColumn splitUnit(std::string_view field) {
    const std::string text = lowered(trimmed(field));
    const char close = text.empty() ? '\0' : text.back();
    if (close == ')' || close == ']') {
        const size_t open = text.rfind(close == ')' ? '(' : '[');
        if (open != std::string::npos) {
            return {std::string(trimmed(std::string_view(text).substr(0, open))),
                    std::string(
                        trimmed(std::string_view(text).substr(open + 1, text.size() - open - 2)))};
        }
    }
    const size_t blank = text.rfind(' ');
    if (blank != std::string::npos) {
        const auto column = columnNamed(trimmed(std::string_view(text).substr(0, blank)));
        const std::string unit = text.substr(blank + 1);
        if (column && takesUnit(*column, unit))
            return {std::string(trimmed(std::string_view(text).substr(0, blank))), unit};
    }
    return {text, ""};
}

}  // namespace

std::optional<Header> matchHeader(const std::vector<std::string>& fields) {
    Header header;
    header.columns.fill(-1);
    header.fieldCount = fields.size();
    int named = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (trimmed(fields[i]).empty()) {
            header.unnamed.push_back(i);
            continue;
        }
        const NamedColumn spelled = splitUnit(fields[i]);
        const std::optional<Column> column = columnNamed(spelled.name);
        if (!column || !(spelled.unit.empty() || takesUnit(*column, spelled.unit))) {
            header.unread.push_back(fields[i]);
            continue;
        }
        ++named;
        if (header.columns[*column] >= 0) {
            header.unread.push_back(fields[i]);  // the first of a name is read
            continue;
        }
        header.columns[*column] = static_cast<int>(i);
        header.units[*column] = spelled.unit;
    }
    if (named < 2) return std::nullopt;
    return header;
}

Header classicHeader() {
    Header header;
    header.columns.fill(-1);
    for (size_t i = 0; i < std::size(kClassicColumns); ++i)
        header.columns[kClassicColumns[i]] = static_cast<int>(i);
    header.fieldCount = std::size(kClassicColumns);
    return header;
}

std::string columnLabel(Column column) {
    return "column " + std::string(kColumnNames[column]);
}

}  // namespace velkano::tool::cup
