#include "formats/cup_rows.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "formats/cp1252.h"
#include "formats/cup_fields.h"
#include "formats/cup_format.h"
#include "formats/cup_values.h"
#include "velkano/fio_codes.h"

namespace velkano::tool::cup {

namespace {

// Columns a turnpoint has no member for.
constexpr Column kColumnsNotKept[] = {kCountry, kRwwidth, kPics};

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

class RowReader {
public:
    RowReader(const std::vector<std::string>& fields, const Header& header, const Place& at,
              bool strict, ImportNotes& notes)
        : fields_(fields), header_(header), at_(at), strict_(strict), notes_(notes) {}

    std::variant<FIO_TPEntry, RowProblem> read();

private:
    std::string field(Column column) const {
        const int i = header_.columns[column];
        return i >= 0 && static_cast<size_t>(i) < fields_.size() ? fields_[i] : std::string();
    }
    // A value's field: blanks alone are no value.
    std::string value(Column column) const { return std::string(trimmed(field(column))); }
    std::string stored(const std::string& utf8, Column column, int32_t width) {
        return storedText(utf8, at_, columnLabel(column), longestText(width), strict_, notes_);
    }
    template <typename T>
    T valueOrDefault(std::optional<T> parsed, T fallback, Column column, const char* what);
    void note(std::string kind, std::string message) {
        notes_.add(at_, std::move(kind), std::move(message));
    }
    void noteFieldsNotKept(const Userdata& tag);
    void noteReadBack(const FIO_TPEntry& entry, std::optional<int32_t> style, bool codeIsIcao);

    const std::vector<std::string>& fields_;
    const Header& header_;
    const Place& at_;
    bool strict_;
    ImportNotes& notes_;
};

template <typename T>
T RowReader::valueOrDefault(std::optional<T> parsed, T fallback, Column column, const char* what) {
    const std::string text = value(column);
    if (text.empty()) return fallback;
    if (parsed) return *parsed;
    note("unreadable values in " + columnLabel(column),
         columnLabel(column) + ": " + inQuotes(text) + " is not " + what + "; left at its default");
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
                      inQuotes(text) + " is not a " +
                          (latitude ? "latitude DDMM.mmmN or S" : "longitude DDDMM.mmmE or W") +
                          " with minutes below 60"};
}

// What the row holds that no member of a turnpoint takes.
void RowReader::noteFieldsNotKept(const Userdata& tag) {
    for (const Column column : kColumnsNotKept) {
        const std::string text = value(column);
        if (text.empty()) continue;
        const std::string label = columnLabel(column);
        note(label + " is not kept", label + ": " + inQuotes(text) + " is not kept");
    }
    for (const std::string& member : tag.notOurs) {
        note("userdata of other programs is not kept",
             columnLabel(kUserdata) + ": " + inQuotes(member) + " is not kept");
    }
    for (size_t i = 0; i < fields_.size(); ++i) {
        const bool unnamed =
            std::find(header_.unnamed.begin(), header_.unnamed.end(), i) != header_.unnamed.end();
        if (trimmed(fields_[i]).empty() || (i < header_.fieldCount && !unnamed)) continue;
        note("fields in no column are not read", "field " + std::to_string(i + 1) + ": " +
                                                     inQuotes(fields_[i]) +
                                                     " is in no column of the header; not read");
    }
}

// The record reader's rules a host sees, where they give back other than entry: an ICAO code
// only for an airfield and of four letters (else as the code, where there is none), the longer
// of name and code as the name, a surface only with a runway, a frequency as a float to three
// decimals.
void RowReader::noteReadBack(const FIO_TPEntry& entry, std::optional<int32_t> style,
                             bool codeIsIcao) {
    std::string name = entry.name.substr(0, longestText(kTurnpointNameWidth));
    std::string code = entry.shortName.substr(0, longestText(kTurnpointShortNameWidth));
    const std::string icao = entry.icaoCode.substr(0, longestText(kTurnpointIcaoWidth));
    const std::string icaoColumn = columnLabel(codeIsIcao ? kCode : kUserdata);
    if (!icao.empty() && !(icao.size() == kIcaoCodeLength && isAirfieldKind(entry.kind))) {
        const bool asCode = code.empty();
        if (asCode) code = icao;
        note("ICAO codes the task file keeps only for airfields, of four letters",
             icaoColumn + ": ICAO code " + inQuotes(decodeCp1252(icao)) +
                 (asCode ? " is read back as " + columnLabel(kCode) : std::string(" is not kept")));
    }
    if (code.size() > name.size()) {
        note("codes longer than the name: the task file gives them as the name",
             columnLabel(kCode) + ": " + inQuotes(decodeCp1252(code)) + " is longer than " +
                 columnLabel(kName) + " " + inQuotes(decodeCp1252(name)) +
                 "; reading the task file gives the code as the name and the name as the code");
    }

    const bool runway = entry.runwayLength != 0 || entry.runwayDirection != 0;
    const int32_t surface = runway ? entry.surface : kSurfaceUnset;
    const int exported = styleFor(entry.kind, surface);
    if (style && *style != exported) {
        const std::string_view styleText = styleName(*style);
        const std::string given = std::to_string(*style) + " (" +
                                  std::string(styleText.empty() ? "no CUP style" : styleText) + ")";
        std::string storedAs = isAirfieldKind(entry.kind) ? "an airfield" : "a point";
        if (surface != entry.surface) storedAs += " without its surface (kept only with a runway)";
        note("style " + given + ": stored as " + storedAs + ", exported as style " +
                 std::to_string(exported),
             columnLabel(kStyle) + ": " + given + " is stored as " + storedAs +
                 "; exported as style " + std::to_string(exported));
    } else if (surface != entry.surface) {
        note("surfaces the task file keeps only with a runway",
             columnLabel(kUserdata) + ": surface " + std::to_string(entry.surface) +
                 " is kept only with a runway");
    }

    if (const auto frequency = parseDecimal(entry.frequency)) {
        const std::string kept = printDecimal(static_cast<float>(*frequency), 3);
        if (parseDecimal(kept) != frequency) {
            note("frequencies the task file keeps to three decimals",
                 columnLabel(kFreq) + ": " + inQuotes(entry.frequency) + " is kept as " + kept);
        }
    }
}

std::variant<FIO_TPEntry, RowProblem> RowReader::read() {
    FIO_TPEntry entry;
    std::memset(entry.tail, 0, sizeof entry.tail);
    const std::string name = field(kName);
    if (name.empty()) return RowProblem{kName, "empty; a turnpoint needs a name"};
    const std::optional<float> latitude = parseLatitude(value(kLat));
    if (auto problem = coordinateProblem(value(kLat), latitude, kLat)) return *problem;
    const std::optional<float> longitude = parseLongitude(value(kLon));
    if (auto problem = coordinateProblem(value(kLon), longitude, kLon)) return *problem;
    entry.latitude = *latitude;
    entry.longitude = *longitude;

    const std::optional<int32_t> style = parseStyle(value(kStyle));
    const int32_t styleCode = valueOrDefault(style, kStyleUnknown, kStyle, "a style number");
    const Userdata tag = parseUserdata(field(kUserdata));
    const KindAndSurface implied = kindForStyle(styleCode);
    entry.kind = tag.kind.value_or(implied.kind);
    entry.surface = tag.surface.value_or(implied.surface);
    entry.markFlag = tag.mark.value_or(0);

    const std::string code = stored(
        field(kCode), kCode, tag.codeIsIcao ? kTurnpointIcaoWidth : kTurnpointShortNameWidth);
    entry.name = stored(name, kName, kTurnpointNameWidth);
    if (!tag.codeIsIcao) entry.shortName = code;
    if (tag.icao) {
        entry.icaoCode = stored(*tag.icao, kUserdata, kTurnpointIcaoWidth);
    } else if (tag.codeIsIcao || (isAirfieldKind(entry.kind) && code.size() == kIcaoCodeLength)) {
        entry.icaoCode = code;
    }

    // The ICAO code `velkano cup` added to desc is in the tag as well.
    std::string desc = field(kDesc);
    if (tag.hasOurs() && !entry.icaoCode.empty() && entry.icaoCode != code) {
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

    entry.elevation = valueOrDefault(parseElevation(value(kElev), header_.units[kElev]), 0, kElev,
                                     "an elevation (m or ft)");
    entry.runwayDirection =
        valueOrDefault(parseDirection(value(kRwdir)), 0, kRwdir, "a runway direction (0 to 360)");
    entry.runwayLength = valueOrDefault(parseRunwayLength(value(kRwlen), header_.units[kRwlen]), 0,
                                        kRwlen, "a runway length (m, nm or ml)");
    entry.frequency =
        valueOrDefault(parseFrequency(value(kFreq)), std::string(), kFreq, "a frequency");

    noteFieldsNotKept(tag);
    noteReadBack(entry, style, tag.codeIsIcao);
    return entry;
}

}  // namespace

std::variant<FIO_TPEntry, RowProblem> turnpointFromRow(const std::vector<std::string>& fields,
                                                       const Header& header, const Place& at,
                                                       bool strict, ImportNotes& notes) {
    return RowReader(fields, header, at, strict, notes).read();
}

}  // namespace velkano::tool::cup
