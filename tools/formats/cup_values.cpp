#include "formats/cup_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <span>

#include "formats/cup_fields.h"
#include "formats/cup_format.h"
#include "number_text.h"
#include "velkano/fio_codes.h"

namespace velkano::tool::cup {

namespace {

constexpr double kMetresPerFoot = 0.3048;
constexpr double kMetresPerNauticalMile = 1852.0;
constexpr double kMetresPerStatuteMile = 1609.344;
// Whole numbers the file keeps as Real48 pass through float, exact up to 2^24.
constexpr double kLargestWhole = 1 << 24;
constexpr double kLargestDirection = 360.0;
constexpr double kMinutesPerDegree = 60.0;
constexpr int32_t kMarks[] = {0, 1};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// DDMM.mmm[m]N or DDDMM.mmm[m]E: minutes below 60, degrees at most largest.
std::optional<float> parseCoordinate(std::string_view text, size_t degreeDigits, int largest,
                                     char positive, char negative) {
    const size_t pointAt = degreeDigits + 2;
    if (text.size() != pointAt + 5 && text.size() != pointAt + 6) return std::nullopt;
    const char hemisphere = lowered(text.substr(text.size() - 1))[0];
    const bool south = hemisphere == negative;
    if (hemisphere != positive && !south) return std::nullopt;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (i == pointAt ? text[i] != '.' : !isDigit(text[i])) return std::nullopt;
    }
    int degrees = 0;
    std::from_chars(text.data(), text.data() + degreeDigits, degrees);
    const double minutes = *parseDecimal(text.substr(degreeDigits, text.size() - 1 - degreeDigits));
    if (minutes >= kMinutesPerDegree || degrees > largest || (degrees == largest && minutes > 0))
        return std::nullopt;
    const double value = degrees + minutes / kMinutesPerDegree;
    return static_cast<float>(south ? -value : value);
}

// A decimal number and the unit after it ("504.0m", "1650 ft", "-3").
struct Measure {
    double value;
    std::string unit;
};

std::optional<Measure> parseMeasure(std::string_view text) {
    size_t i = text.empty() || text[0] != '+' ? 0 : 1;
    const size_t start = i;
    if (i < text.size() && text[i] == '-') ++i;
    size_t digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            ++digits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return std::nullopt;
    const auto value = parseDecimal(text.substr(start, i - start));
    if (!value) return std::nullopt;
    return Measure{*value, lowered(trimmed(text.substr(i)))};
}

std::optional<int32_t> wholeNumber(double value, double low, double high) {
    const double rounded = std::round(value);
    if (!(rounded >= low && rounded <= high)) return std::nullopt;
    return static_cast<int32_t>(rounded);
}

std::optional<int32_t> metres(std::string_view text, std::string_view bareUnit, double feet,
                              double nauticalMiles, double statuteMiles) {
    const auto measure = parseMeasure(text);
    if (!measure) return std::nullopt;
    const std::string_view unit = measure->unit.empty() ? bareUnit : measure->unit;
    double factor = 0;
    if (unit.empty() || unit == "m") factor = 1;
    if (unit == "ft") factor = feet;
    if (unit == "nm") factor = nauticalMiles;
    if (unit == "ml") factor = statuteMiles;
    if (factor == 0) return std::nullopt;
    return wholeNumber(measure->value * factor, -kLargestWhole, kLargestWhole);
}

std::optional<int32_t> integer(std::string_view text) {
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<int32_t> oneOf(std::string_view text, std::span<const int32_t> allowed) {
    const auto value = integer(text);
    for (const int32_t a : allowed) {
        if (value == a) return value;
    }
    return std::nullopt;
}

bool startsWithOurMember(std::string_view member) {
    member = trimmed(member);
    for (const std::string_view key : {kTagKind, kTagSurface, kTagMark, kTagCode, kTagIcao}) {
        if (member.size() > key.size() && member.substr(0, key.size()) == key &&
            member[key.size()] == '=')
            return true;
    }
    return false;
}

}  // namespace

std::optional<double> parseDecimal(std::string_view text) {
    double value = 0;
    const auto [end, error] = number_text::parseDouble(text.data(), text.data() + text.size(),
                                                       value, number_text::Format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string printDecimal(double value, int decimals) {
    return number_text::fixedText(value, decimals);
}

std::optional<float> parseLatitude(std::string_view text) {
    return parseCoordinate(text, 2, 90, 'n', 's');
}

std::optional<float> parseLongitude(std::string_view text) {
    return parseCoordinate(text, 3, 180, 'e', 'w');
}

std::optional<int32_t> parseElevation(std::string_view text, std::string_view bareUnit) {
    return metres(text, bareUnit, kMetresPerFoot, 0, 0);
}

std::optional<int32_t> parseRunwayLength(std::string_view text, std::string_view bareUnit) {
    return metres(text, bareUnit, 0, kMetresPerNauticalMile, kMetresPerStatuteMile);
}

std::optional<int32_t> parseDirection(std::string_view text) {
    const auto measure = parseMeasure(text);
    if (!measure || !measure->unit.empty()) return std::nullopt;
    return wholeNumber(measure->value, 0, kLargestDirection);
}

std::optional<int32_t> parseStyle(std::string_view text) {
    return integer(text);
}

std::optional<std::string> parseFrequency(std::string_view text) {
    std::string frequency(text);
    size_t digits = 0;
    size_t points = 0;
    for (char& c : frequency) {
        if (c == ',') c = '.';
        if (isDigit(c)) {
            ++digits;
        } else if (c == '.') {
            ++points;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || points > 1) return std::nullopt;
    // The task file reads no frequency without a digit before the point.
    return frequency.front() == '.' ? "0" + frequency : frequency;
}

Userdata parseUserdata(std::string_view text) {
    std::vector<std::string_view> members;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find(kTagSeparator, start), text.size());
        members.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    Userdata tag;
    for (size_t i = 0; i < members.size(); ++i) {
        const std::string_view member = trimmed(members[i]);
        if (member.empty()) continue;
        const size_t equals = member.find('=');
        if (equals == std::string_view::npos) {
            tag.notOurs.emplace_back(member);
            continue;
        }
        const std::string_view key = member.substr(0, equals);
        const std::string_view value = member.substr(equals + 1);
        bool ours = true;
        if (key == kTagKind) {
            ours = (tag.kind = oneOf(value, kKinds)).has_value();
        } else if (key == kTagSurface) {
            ours = (tag.surface = oneOf(value, kSurfaces)).has_value();
        } else if (key == kTagMark) {
            ours = (tag.mark = oneOf(value, kMarks)).has_value();
        } else if (key == kTagCode) {
            ours = tag.codeIsIcao = value == kCodeIsIcao;
        } else if (key == kTagIcao) {
            std::string icao(members[i].substr(members[i].find('=') + 1));
            while (i + 1 < members.size() && !startsWithOurMember(members[i + 1]))
                icao += kTagSeparator + std::string(members[++i]);
            tag.icao = std::move(icao);
        } else {
            ours = false;
        }
        if (!ours) tag.notOurs.emplace_back(member);
    }
    return tag;
}

}  // namespace velkano::tool::cup
