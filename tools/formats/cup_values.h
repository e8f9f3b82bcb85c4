// The values of CUP fields on their own: each parser takes a field's text and returns the
// value, or nothing when the text is not one; the caller knows where the field was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkano::tool::cup {

// The one place CUP numbers with a fraction are read and printed, through the number library
// every build shares. parseDecimal takes a whole fixed-point text ("-12.5", "0.125"),
// printDecimal prints with that many decimals, and neither depends on the locale.
std::optional<double> parseDecimal(std::string_view text);
std::string printDecimal(double value, int decimals);

// DDMM.mmm[m]N|S and DDDMM.mmm[m]E|W in degrees; minutes below 60, at most 90 and 180.
std::optional<float> parseLatitude(std::string_view text);
std::optional<float> parseLongitude(std::string_view text);

// Whole metres from "504.0m", "1650ft", "-3": a bare number is in bareUnit, metres when it is
// empty (the header may name the unit).
std::optional<int32_t> parseElevation(std::string_view text, std::string_view bareUnit = {});
// Whole metres from "800m", "0.35nm", "1.2ml"; a bare number as above.
std::optional<int32_t> parseRunwayLength(std::string_view text, std::string_view bareUnit = {});
// Whole degrees 0 to 360, no unit.
std::optional<int32_t> parseDirection(std::string_view text);
std::optional<int32_t> parseStyle(std::string_view text);
// Digits with at most one decimal point or comma, as a number with a point and a digit before
// it ("123,45" -> "123.45", ".5" -> "0.5").
std::optional<std::string> parseFrequency(std::string_view text);

// What `velkano cup` keeps in userdata, members separated by ';' in any order, and what else
// the field holds.
struct Userdata {
    std::optional<int32_t> kind;
    std::optional<int32_t> surface;
    std::optional<int32_t> mark;
    std::optional<std::string> icao;
    bool codeIsIcao = false;
    // Members of another program or person, and ours with a value we do not write, as written.
    std::vector<std::string> notOurs;

    bool hasOurs() const { return kind || surface || mark || icao || codeIsIcao; }
};
// The value of icao= runs to the end, or to the next ';' that a member name of ours follows,
// so that it may hold any character.
Userdata parseUserdata(std::string_view text);

}  // namespace velkano::tool::cup
