// The values of CUP fields on their own: each parser takes a field's text and returns the
// value, or nothing when the text is not one; the caller knows where the field was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velkano::tool::cup {

// The one place CUP numbers with a fraction are read and printed, through the number library
// every build shares. parseDecimal takes a whole fixed-point text ("-12.5", "0.125"),
// printDecimal prints with that many decimals, and neither depends on the locale.
std::optional<double> parseDecimal(std::string_view text);
std::string printDecimal(double value, int decimals);

// DDMM.mmm[m]N|S and DDDMM.mmm[m]E|W in degrees; minutes below 60, at most 90 and 180.
std::optional<float> parseLatitude(std::string_view text);
std::optional<float> parseLongitude(std::string_view text);

// Whole metres from "504.0m", "1650ft", "-3" (a bare number is metres).
std::optional<int32_t> parseElevation(std::string_view text);
// Whole metres from "800m", "0.35nm", "1.2ml" (a bare number is metres).
std::optional<int32_t> parseRunwayLength(std::string_view text);
// Whole degrees 0 to 360, no unit.
std::optional<int32_t> parseDirection(std::string_view text);
std::optional<int32_t> parseStyle(std::string_view text);
// Digits with at most one decimal point or comma, as the point ("123,45" -> "123.45").
std::optional<std::string> parseFrequency(std::string_view text);

// What `velkano cup` keeps in userdata. Another program's userdata is not ours: nothing.
struct Userdata {
    std::optional<int32_t> kind;
    std::optional<int32_t> surface;
    std::optional<int32_t> mark;
    std::optional<std::string> icao;
    bool codeIsIcao = false;
};
std::optional<Userdata> parseUserdata(std::string_view text);

}  // namespace velkano::tool::cup
