// The columns of a CUP file: found by the header's names, in any order and the spellings
// programs and people use, or by the positions of the classic layout when a file has no header.
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

struct Header {
    ColumnMap columns;
    // The unit a column's header names ("ft" of "Elevation [ft]"), which a bare number in the
    // column is in; empty for none.
    std::array<std::string, kColumnCount> units;
    // The header's names of the columns not read, as it spells them.
    std::vector<std::string> unread;
    // Fields the header leaves without a name, and how many fields it has: a row's fields there
    // and beyond belong to no column.
    std::vector<size_t> unnamed;
    size_t fieldCount = 0;
};

// The header a line is, when at least two of its fields name columns (a row names none).
std::optional<Header> matchHeader(const std::vector<std::string>& fields);

// The columns of a file without a header: the classic layout's positions.
Header classicHeader();

// "column elev", as notes and errors name a column.
std::string columnLabel(Column column);

}  // namespace velkano::tool::cup
