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

// A frequency outside the band readers take (but none at all) goes into desc.
bool inDesc(const std::string& text, std::optional<double> frequency) {
    return !text.empty() && !inAirband(frequency) && (!frequency || *frequency != 0);
}

// Readers take three digits, 000 to 359.
int32_t writtenDirection(const FIO_TPEntry& entry) {
    return (entry.runwayDirection % 360 + 360) % 360;
}

// Three digits for a turnpoint with a runway, every point included; empty without one.
std::string directionField(const FIO_TPEntry& entry) {
    if (entry.runwayLength == 0 && entry.runwayDirection == 0) return "";
    char direction[8];
    std::snprintf(direction, sizeof direction, "%03d", writtenDirection(entry));
    return direction;
}

std::string descFor(const FIO_TPEntry& entry) {
    std::string desc = cleanText(entry.comment);
    auto add = [&desc](std::string_view label, const std::string& value) {
        desc += (desc.empty() ? "" : std::string(kDescSeparator)) + std::string(label) + value;
    };
    if (inDesc(entry.frequency, frequencyValue(entry.frequency)))
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
    const int style = styleFor(entry.kind, entry.surface);
    const bool runway = entry.runwayLength != 0 || entry.runwayDirection != 0;
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
        directionField(entry),
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
    return "turnpoint " + std::to_string(entry.number) +
           (entry.name.empty() ? "" : " \"" + cleanText(entry.name) + "\"");
}

void note(Notes& notes, std::string where, std::string kind, std::string message) {
    notes.push_back({std::move(where), std::move(message), std::move(kind)});
}

// What a row cannot carry as the turnpoint has it.
void noteRow(const FIO_TPEntry& entry, CupColumns columns, Notes& notes) {
    const std::string where = describe(entry);
    std::string controls;
    for (const auto& [text, column] : {std::pair{&entry.name, "name"},
                                       {&entry.shortName, "code"},
                                       {&entry.comment, "desc"},
                                       {&entry.icaoCode, "userdata"},
                                       {&entry.frequency, "freq"}}) {
        if (cleanText(*text) != decodeCp1252(*text))
            controls += std::string(controls.empty() ? "" : ", ") + "column " + column;
    }
    if (!controls.empty()) {
        note(notes, where, "control characters written as blanks",
             controls + ": control characters written as blanks");
    }
    const auto frequency = frequencyValue(entry.frequency);
    if (inDesc(entry.frequency, frequency)) {
        note(notes, where, "frequencies outside 118-137 MHz written into desc",
             "column freq: " + cleanText(entry.frequency) +
                 " is outside 118-137 MHz; written into column desc");
    }
    if (const std::string direction = directionField(entry);
        !direction.empty() && writtenDirection(entry) != entry.runwayDirection) {
        note(notes, where, "runway directions written as 0 to 359",
             "column rwdir: " + std::to_string(entry.runwayDirection) + " is written as " +
                 direction);
    }
    const std::string userdata = userdataFor(entry, styleFor(entry.kind, entry.surface));
    if (columns == CupColumns::classic && !userdata.empty()) {
        note(notes, where, "kinds, surfaces, marks and ICAO codes not written in 11 columns",
             "column userdata: \"" + userdata +
                 "\" is not written; the classic layout has no userdata column");
    }
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
            note(notes, describe(entry), "turnpoints outside the globe left out",
                 "latitude " + printDecimal(entry.latitude, 6) + ", longitude " +
                     printDecimal(entry.longitude, 6) +
                     " lie outside the globe; left out, and so are the route points naming it");
            continue;
        }
        // Readers trim the blanks around a field, quoted or not.
        const std::string given = cleanText(entry.name);
        std::string base(trimmed(given));
        if (base.empty()) base = trimmed(cleanText(entry.shortName));
        if (base.empty()) base = "TP " + std::to_string(entry.number);
        if (trimmed(given).empty()) {
            note(notes, describe(entry),
                 "turnpoints without a name written under their code or number",
                 "column name: empty; written as \"" + base + "\"");
        } else if (base != given) {
            note(notes, describe(entry), "names written without the blanks around them",
                 "column name: written as \"" + base + "\"");
        }
        std::string name = base;
        const std::string baseKey = looseName(base);
        if (taken.count(baseKey) != 0) {
            int& suffix = nextSuffix.try_emplace(baseKey, 2).first->second;
            do {
                name = base + " (" + std::to_string(suffix++) + ")";
            } while (taken.count(looseName(name)) != 0);
            note(notes, describe(entry), "names an earlier turnpoint has, written with a number",
                 "column name: written as \"" + name +
                     "\": readers compare names without case and punctuation, and an earlier "
                     "turnpoint has the same name");
        }
        taken.insert(looseName(name));
        names[i] = std::move(name);
    }
    return names;
}

std::string rolesText(const std::vector<int32_t>& roles) {
    std::string text;
    for (const int32_t role : roles) text += (text.empty() ? "" : ", ") + std::to_string(role);
    return text;
}

// What a task line cannot carry as the route has it: its id, the flag of turnpoints, roles
// other than by place, a missing takeoff or landing.
void noteRoute(const RouteFields& route, size_t position, const std::string& where,
               const std::vector<int32_t>& roles, bool takeoff, bool landing, Notes& notes) {
    if (route.id != static_cast<int32_t>(position)) {
        note(notes, where, "route ids not kept: routes read back numbered 1, 2, 3...",
             "id " + std::to_string(route.id) + " is read back as " + std::to_string(position));
    }
    if (!takeoff || !landing) {
        note(notes, where, "routes without takeoff or landing: a point written again as one",
             std::string(takeoff ? "" : "its first point is written as takeoff as well") +
                 (takeoff || landing ? "" : "; ") +
                 (landing ? "" : "its last point is written as landing as well"));
    }
    std::vector<int32_t> written = roles;
    if (!takeoff && !written.empty()) written.insert(written.begin(), kRoleBeforeStart);
    if (!landing && !written.empty()) written.push_back(kRoleAfterFinish);
    std::vector<int32_t> readBack(written.size());
    for (size_t i = 0; i < written.size(); ++i) readBack[i] = roleByPlace(i, written.size());
    if (readBack != written) {
        note(notes, where, "route point roles read back by their place",
             "roles " + rolesText(written) + " are read back as " + rolesText(readBack) +
                 " (flags of turnpoints are not kept)");
    }
}

std::string taskLine(const RouteFields& route, size_t position,
                     const std::unordered_map<int32_t, size_t>& byNumber,
                     const std::vector<std::string>& names, Notes& notes) {
    const std::string what = "route " + std::to_string(position) +
                             (route.name.empty() ? "" : " \"" + cleanText(route.name) + "\"");
    std::optional<std::string> takeoff;
    std::optional<std::string> landing;
    std::vector<std::string> listed;
    std::vector<int32_t> listedRoles;
    for (const RoutePointFields& point : route.points) {
        const auto found = byNumber.find(point.number);
        if (found == byNumber.end()) {
            note(notes, what, "route points naming no turnpoint left out",
                 "its point " + std::to_string(point.number) +
                     " names no turnpoint of the file; left out");
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
            listedRoles.push_back(point.role);
        }
    }
    std::vector<int32_t> roles = listedRoles;
    if (takeoff) roles.insert(roles.begin(), kRoleBeforeStart);
    if (landing) roles.push_back(kRoleAfterFinish);
    noteRoute(route, position, what, roles, takeoff.has_value(), landing.has_value(), notes);
    if (cleanText(route.name) != decodeCp1252(route.name)) {
        note(notes, what, "control characters written as blanks",
             "column 1: control characters written as blanks");
    }
    // XCSoar takes the first and last point columns as takeoff and landing, so a missing one
    // repeats the start or finish rather than dropping it.
    if (!takeoff && !listed.empty()) takeoff = listed.front();
    if (!landing && !listed.empty()) landing = listed.back();
    if (!takeoff) takeoff = landing;
    if (!landing) landing = takeoff;
    if (listed.size() > kMostPointsXcsoarReads) {
        note(notes, what, "routes longer than XCSoar reads",
             std::to_string(listed.size()) + " points from start to finish; XCSoar reads at most " +
                 std::to_string(kMostPointsXcsoarReads));
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
        if (names[i].empty()) continue;
        output.text += formatRow(task.turnpoints[i], names[i], columns);
        noteRow(task.turnpoints[i], columns, output.notes);
    }
    output.text += kTasksSeparator;
    output.text += kLineEnd;
    for (size_t r = 0; r < task.routes.size(); ++r)
        output.text += taskLine(task.routes[r], r + 1, byNumber, names, output.notes);
    return output;
}

}  // namespace velkano::tool
