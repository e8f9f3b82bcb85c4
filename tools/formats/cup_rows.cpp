#include "formats/cup_rows.h"

#include <cstring>
#include <optional>

#include "formats/cp1252.h"
#include "formats/cup_format.h"
#include "formats/cup_values.h"
#include "velkano/fio_codes.h"

namespace velkano::tool::cup {

namespace {

class RowReader {
public:
    RowReader(const std::vector<std::string>& fields, const ColumnMap& columns, const Place& at,
              bool strict, ImportNotes& notes)
        : fields_(fields), columns_(columns), at_(at), strict_(strict), notes_(notes) {}

    std::variant<FIO_TPEntry, RowProblem> read();

private:
    std::string field(Column column) const {
        const int i = columns_[column];
        return i >= 0 && static_cast<size_t>(i) < fields_.size() ? fields_[i] : std::string();
    }
    std::string stored(const std::string& utf8, Column column, int32_t width) {
        return storedText(utf8, at_, columnLabel(column), longestText(width), strict_, notes_);
    }
    template <typename T>
    T valueOrDefault(std::optional<T> value, T fallback, Column column, const char* what);

    const std::vector<std::string>& fields_;
    const ColumnMap& columns_;
    const Place& at_;
    bool strict_;
    ImportNotes& notes_;
};

template <typename T>
T RowReader::valueOrDefault(std::optional<T> value, T fallback, Column column, const char* what) {
    const std::string text = field(column);
    if (text.empty()) return fallback;
    if (value) return *value;
    notes_.add(at_, "unreadable values in " + columnLabel(column),
               columnLabel(column) + ": \"" + text + "\" is not " + what + "; left at its default");
    return fallback;
}

std::optional<RowProblem> coordinateProblem(const std::string& text, std::optional<float> value,
                                            Column column) {
    const bool latitude = column == kLat;
    if (text.empty()) {
        return RowProblem{column, std::string("empty; a turnpoint needs its ") +
                                      (latitude ? "latitude" : "longitude")};
    }
    if (value) return std::nullopt;
    return RowProblem{column,
                      "\"" + text + "\" is not a " +
                          (latitude ? "latitude DDMM.mmmN or S" : "longitude DDDMM.mmmE or W") +
                          " with minutes below 60"};
}

std::variant<FIO_TPEntry, RowProblem> RowReader::read() {
    FIO_TPEntry entry;
    std::memset(entry.tail, 0, sizeof entry.tail);
    const std::string name = field(kName);
    if (name.empty()) return RowProblem{kName, "empty; a turnpoint needs a name"};
    const std::optional<float> latitude = parseLatitude(field(kLat));
    if (auto problem = coordinateProblem(field(kLat), latitude, kLat)) return *problem;
    const std::optional<float> longitude = parseLongitude(field(kLon));
    if (auto problem = coordinateProblem(field(kLon), longitude, kLon)) return *problem;
    entry.latitude = *latitude;
    entry.longitude = *longitude;

    const int32_t styleCode =
        valueOrDefault(parseStyle(field(kStyle)), 0, kStyle, "a style number");
    const std::optional<Userdata> tag = parseUserdata(field(kUserdata));
    const KindAndSurface implied = kindForStyle(styleCode);
    entry.kind = tag && tag->kind ? *tag->kind : implied.kind;
    entry.surface = tag && tag->surface ? *tag->surface : implied.surface;
    entry.markFlag = tag && tag->mark ? *tag->mark : 0;

    const bool codeIsIcao = tag && tag->codeIsIcao;
    const std::string code =
        stored(field(kCode), kCode, codeIsIcao ? kTurnpointIcaoWidth : kTurnpointShortNameWidth);
    entry.name = stored(name, kName, kTurnpointNameWidth);
    if (!codeIsIcao) entry.shortName = code;
    if (tag && tag->icao) {
        entry.icaoCode = stored(*tag->icao, kUserdata, kTurnpointIcaoWidth);
    } else if (codeIsIcao || (isAirfieldKind(entry.kind) && code.size() == kIcaoCodeLength)) {
        entry.icaoCode = code;
    }

    // The ICAO code `velkano cup` added to desc is in the tag as well.
    std::string desc = field(kDesc);
    if (tag && !entry.icaoCode.empty() && entry.icaoCode != code) {
        const std::string added = std::string(kDescIcao) + decodeCp1252(entry.icaoCode);
        const std::string separated = std::string(kDescSeparator) + added;
        if (desc == added) {
            desc.clear();
        } else if (desc.size() > separated.size() &&
                   desc.compare(desc.size() - separated.size(), separated.size(), separated) == 0) {
            desc.resize(desc.size() - separated.size());
        }
    }
    entry.comment = stored(desc, kDesc, kTurnpointCommentWidth);

    entry.elevation =
        valueOrDefault(parseElevation(field(kElev)), 0, kElev, "an elevation (m or ft)");
    entry.runwayDirection =
        valueOrDefault(parseDirection(field(kRwdir)), 0, kRwdir, "a runway direction (0 to 360)");
    entry.runwayLength = valueOrDefault(parseRunwayLength(field(kRwlen)), 0, kRwlen,
                                        "a runway length (m, nm or ml)");
    entry.frequency =
        valueOrDefault(parseFrequency(field(kFreq)), std::string(), kFreq, "a frequency");
    return entry;
}

}  // namespace

std::variant<FIO_TPEntry, RowProblem> turnpointFromRow(const std::vector<std::string>& fields,
                                                       const ColumnMap& columns, const Place& at,
                                                       bool strict, ImportNotes& notes) {
    return RowReader(fields, columns, at, strict, notes).read();
}

}  // namespace velkano::tool::cup
