// The columns of a CUP file: found by the header's names, in any order, or by the positions of
// the classic layout when a file has no header.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkano::tool::cup {

enum Column : int {
    kName,
    kCode,
    kCountry,
    kLat,
    kLon,
    kElev,
    kStyle,
    kRwdir,
    kRwlen,
    kRwwidth,
    kFreq,
    kDesc,
    kUserdata,
    kPics,
    kColumnCount
};

// Field index of each column; -1 where the file has none.
using ColumnMap = std::array<int, kColumnCount>;

// The columns a header line names, when it names at least two (a row names none).
std::optional<ColumnMap> matchHeader(const std::vector<std::string>& fields);

// The columns of a file without a header: the classic layout's positions.
ColumnMap classicColumns();

// "column elev", as notes and errors name a column.
std::string columnLabel(Column column);

}  // namespace velkano::tool::cup
