#include "formats/cup_writer.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "formats/cp1252.h"
#include "formats/cup_fields.h"
#include "formats/cup_format.h"
#include "formats/cup_values.h"
#include "velkano/fio_codes.h"

namespace velkano::tool {

namespace {

using namespace cup;

// windows-1252 bytes to UTF-8, every control character (C0, DEL and the C1 controls the code
// page leaves unassigned) a space: a line break would end the row.
std::string cleanText(const std::string& bytes) {
    std::string clean = bytes;
    for (char& c : clean) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            c = ' ';
    }
    return decodeCp1252(clean);
}

bool writable(const FIO_TPEntry& entry) {
    return std::isfinite(entry.latitude) && std::isfinite(entry.longitude) &&
           std::fabs(entry.latitude) <= 90.0f && std::fabs(entry.longitude) <= 180.0f;
}

// 4612.345N / 01430.500E. Counting thousandths of a minute first never prints 60.000.
std::string zeroPadded(int64_t value, size_t width) {
    const std::string digits = std::to_string(value);
    return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
}

std::string formatCoordinate(float degrees, size_t degreeDigits, char positive, char negative) {
    const int64_t units = std::llround(std::fabs(static_cast<double>(degrees)) * kUnitsPerDegree);
    const char hemisphere = degrees < 0 && units != 0 ? negative : positive;
    return zeroPadded(units / kUnitsPerDegree, degreeDigits) +
           zeroPadded(units % kUnitsPerDegree / kUnitsPerMinute, 2) + "." +
           zeroPadded(units % kUnitsPerMinute, 3) + hemisphere;
}

int styleFor(const FIO_TPEntry& entry) {
    if (!isAirfieldKind(entry.kind)) return kStyleWaypoint;
    if (entry.surface == kSurfaceH) return kStyleSolidAirfield;
    if (entry.surface == kSurfaceG) return kStyleGrassAirfield;
    return kStyleGlidingAirfield;
}

// The frequency in MHz; none for a text that is no number.
std::optional<double> frequencyValue(const std::string& text) {
    return parseDecimal(text);
}

bool inAirband(std::optional<double> frequency) {
    return frequency && *frequency >= kLowestFrequency && *frequency <= kHighestFrequency;
}

// The code column: the short name, or the ICAO code when there is none.
std::string codeFor(const FIO_TPEntry& entry) {
    return entry.shortName.empty() ? entry.icaoCode : entry.shortName;
}

// The ICAO code build derives from the code column when no tag says otherwise.
std::string impliedIcaoCode(const FIO_TPEntry& entry) {
    const std::string code = codeFor(entry);
    const bool codeIsIcao = entry.shortName.empty() && !entry.icaoCode.empty();
    return codeIsIcao || (isAirfieldKind(entry.kind) && code.size() == kIcaoCodeLength) ? code : "";
}

std::string descFor(const FIO_TPEntry& entry) {
    std::string desc = cleanText(entry.comment);
    auto add = [&desc](std::string_view label, const std::string& value) {
        desc += (desc.empty() ? "" : std::string(kDescSeparator)) + std::string(label) + value;
    };
    const auto frequency = frequencyValue(entry.frequency);
    if (!inAirband(frequency) && (!frequency || *frequency != 0) && !entry.frequency.empty())
        add(kDescFrequency, cleanText(entry.frequency));
    if (!entry.icaoCode.empty() && entry.icaoCode != codeFor(entry))
        add(kDescIcao, cleanText(entry.icaoCode));
    return desc;
}

std::string userdataFor(const FIO_TPEntry& entry, int style) {
    std::string tag;
    auto add = [&tag](std::string_view key, const std::string& value) {
        tag += (tag.empty() ? "" : std::string(1, kTagSeparator)) + std::string(key) + "=" + value;
    };
    const KindAndSurface implied = kindForStyle(style);
    if (entry.kind != implied.kind) add(kTagKind, std::to_string(entry.kind));
    if (entry.surface != implied.surface) add(kTagSurface, std::to_string(entry.surface));
    if (entry.markFlag != 0) add(kTagMark, std::to_string(entry.markFlag));
    if (entry.shortName.empty() && !entry.icaoCode.empty()) add(kTagCode, std::string(kCodeIsIcao));
    // Last: build takes the rest of the field for it.
    if (entry.icaoCode != impliedIcaoCode(entry)) add(kTagIcao, cleanText(entry.icaoCode));
    return tag;
}

std::string formatRow(const FIO_TPEntry& entry, const std::string& name, CupColumns columns) {
    const int style = styleFor(entry);
    const bool runway =
        isAirfieldKind(entry.kind) && (entry.runwayLength != 0 || entry.runwayDirection != 0);
    char direction[8] = "";
    if (runway)
        std::snprintf(direction, sizeof direction, "%03d",
                      (entry.runwayDirection % 360 + 360) % 360);
    const auto frequency = frequencyValue(entry.frequency);
    const std::string band = inAirband(frequency) ? printDecimal(*frequency, 3) : "";

    std::vector<std::string> fields = {
        quoteUnlessEmpty(name),
        quoteUnlessEmpty(cleanText(codeFor(entry))),
        "",
        formatCoordinate(entry.latitude, 2, 'N', 'S'),
        formatCoordinate(entry.longitude, 3, 'E', 'W'),
        std::to_string(entry.elevation) + "m",
        std::to_string(style),
        direction,
        runway ? std::to_string(entry.runwayLength) + "m" : "",
    };
    if (columns == CupColumns::current) fields.push_back("");  // rwwidth
    fields.push_back(quoteUnlessEmpty(band));
    fields.push_back(quoteUnlessEmpty(descFor(entry)));
    if (columns == CupColumns::current) {
        fields.push_back(quoteUnlessEmpty(userdataFor(entry, style)));
        fields.push_back("");  // pics
    }
    return joinFields(fields);
}

std::string describe(const FIO_TPEntry& entry) {
    return "turnpoint " + std::to_string(entry.number) + " \"" + cleanText(entry.name) + "\"";
}

// Row names, unique as XCSoar compares them so that task lines resolve; a later clash takes
// " (2)", " (3)"... Empty for a turnpoint left out.
std::vector<std::string> rowNames(const std::vector<FIO_TPEntry>& turnpoints, Notes& notes) {
    std::vector<std::string> names(turnpoints.size());
    std::unordered_set<std::string> taken;
    std::unordered_map<std::string, int> nextSuffix;
    for (size_t i = 0; i < turnpoints.size(); ++i) {
        const FIO_TPEntry& entry = turnpoints[i];
        if (!writable(entry)) {
            notes.push_back(
                {"", describe(entry) + ": latitude " + printDecimal(entry.latitude, 6) +
                         ", longitude " + printDecimal(entry.longitude, 6) +
                         " lie outside the globe; left out, and so are the route points "
                         "naming it"});
            continue;
        }
        // Readers trim the blanks around a field, quoted or not.
        std::string base(trimmed(cleanText(entry.name)));
        if (base.empty()) base = trimmed(cleanText(entry.shortName));
        if (base.empty()) base = "TP " + std::to_string(entry.number);
        std::string name = base;
        const std::string baseKey = looseName(base);
        if (taken.count(baseKey) != 0) {
            int& suffix = nextSuffix.try_emplace(baseKey, 2).first->second;
            do {
                name = base + " (" + std::to_string(suffix++) + ")";
            } while (taken.count(looseName(name)) != 0);
            notes.push_back(
                {"", describe(entry) + " is written as \"" + name +
                         "\": readers compare names without case and punctuation, and an "
                         "earlier turnpoint has the same name"});
        }
        taken.insert(looseName(name));
        names[i] = std::move(name);
    }
    return names;
}

std::string taskLine(const RouteFields& route, size_t position,
                     const std::unordered_map<int32_t, size_t>& byNumber,
                     const std::vector<std::string>& names, Notes& notes) {
    const std::string what =
        "route " + std::to_string(position) + " \"" + cleanText(route.name) + "\"";
    std::optional<std::string> takeoff;
    std::optional<std::string> landing;
    std::vector<std::string> listed;
    for (const RoutePointFields& point : route.points) {
        const auto found = byNumber.find(point.number);
        if (found == byNumber.end()) {
            notes.push_back({"", what + ": its point " + std::to_string(point.number) +
                                     " names no turnpoint of the file; left out"});
            continue;
        }
        const std::string& name = names[found->second];
        if (name.empty()) continue;  // a turnpoint left out, noted with it
        if (point.role == kRoleBeforeStart) {
            takeoff = name;
        } else if (point.role == kRoleAfterFinish) {
            landing = name;
        } else {
            listed.push_back(name);
        }
    }
    // XCSoar takes the first and last point columns as takeoff and landing, so a missing one
    // repeats the start or finish rather than dropping it.
    if (!takeoff && !listed.empty()) takeoff = listed.front();
    if (!landing && !listed.empty()) landing = listed.back();
    if (!takeoff) takeoff = landing;
    if (!landing) landing = takeoff;
    if (listed.size() > kMostPointsXcsoarReads) {
        notes.push_back({"", what + ": " + std::to_string(listed.size()) +
                                 " points from start to finish; XCSoar reads at most " +
                                 std::to_string(kMostPointsXcsoarReads)});
    }
    std::vector<std::string> fields = {quote(cleanText(route.name))};
    if (takeoff) {
        fields.push_back(quote(*takeoff));
        for (const std::string& name : listed) fields.push_back(quote(name));
        fields.push_back(quote(*landing));
    }
    return joinFields(fields);
}

}  // namespace

CupOutput formatCup(const TaskDocument& task, CupColumns columns) {
    CupOutput output;
    output.text = std::string(columns == CupColumns::current ? kHeader14 : kHeader11);
    output.text += kLineEnd;
    const std::vector<std::string> names = rowNames(task.turnpoints, output.notes);
    std::unordered_map<int32_t, size_t> byNumber;
    for (size_t i = 0; i < task.turnpoints.size(); ++i) {
        byNumber.try_emplace(task.turnpoints[i].number, i);
        if (!names[i].empty()) output.text += formatRow(task.turnpoints[i], names[i], columns);
    }
    output.text += kTasksSeparator;
    output.text += kLineEnd;
    for (size_t r = 0; r < task.routes.size(); ++r)
        output.text += taskLine(task.routes[r], r + 1, byNumber, names, output.notes);
    return output;
}

}  // namespace velkano::tool
