#include "formats/cup_header.h"

#include "formats/cup_fields.h"

namespace velkano::tool::cup {

namespace {

constexpr std::array<std::string_view, kColumnCount> kColumnNames = {
    "name",  "code",  "country", "lat",  "lon",  "elev",     "style",
    "rwdir", "rwlen", "rwwidth", "freq", "desc", "userdata", "pics"};
constexpr struct {
    std::string_view name;
    Column column;
} kOldColumnNames[] = {{"title", kName},      {"latitude", kLat}, {"longitude", kLon},
                       {"elevation", kElev},  {"rwydir", kRwdir}, {"direction", kRwdir},
                       {"rwylen", kRwlen},    {"length", kRwlen}, {"frequency", kFreq},
                       {"description", kDesc}};
constexpr Column kClassicColumns[] = {kName,  kCode,  kCountry, kLat,  kLon, kElev,
                                      kStyle, kRwdir, kRwlen,   kFreq, kDesc};

}  // namespace

std::optional<ColumnMap> matchHeader(const std::vector<std::string>& fields) {
    ColumnMap columns;
    columns.fill(-1);
    int named = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        const std::string name = lowered(fields[i]);
        std::optional<Column> column;
        for (int c = 0; c < kColumnCount; ++c) {
            if (kColumnNames[c] == name) column = static_cast<Column>(c);
        }
        for (const auto& old : kOldColumnNames) {
            if (old.name == name) column = old.column;
        }
        if (!column) continue;
        ++named;
        if (columns[*column] < 0) columns[*column] = static_cast<int>(i);
    }
    if (named < 2) return std::nullopt;
    return columns;
}

ColumnMap classicColumns() {
    ColumnMap columns;
    columns.fill(-1);
    for (size_t i = 0; i < std::size(kClassicColumns); ++i)
        columns[kClassicColumns[i]] = static_cast<int>(i);
    return columns;
}

std::string columnLabel(Column column) {
    return "column " + std::string(kColumnNames[column]);
}

}  // namespace velkano::tool::cup
