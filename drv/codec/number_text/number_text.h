// Numbers to and from text alike in every build of the drivers and the tool: GCC and clang on
// Linux, MinGW-w64, and Emscripten, whose C++ library has no floating-point to_chars or
// from_chars. Parsing is fast_float's, formatting {fmt}'s, both header-only; each function
// gives the bytes the standard library's conversion it stands for gives with GCC. {fmt} and
// not double-conversion: that one rounds an exact tie up (0.0625 to three places is "0.063"),
// where "%1.3f" and {fmt} round it to even ("0.062"), and a frequency of 122.0625 is one.
#pragma once

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>

#include <fast_float/fast_float.h>
#include <fmt/format.h>

namespace velkano::number_text {

enum class Format { general, fixed };  // fixed: no exponent part

// std::from_chars(first, last, value, format) for a double: an optional '-', no '+' and no
// white space, "inf", "infinity", "nan" and "nan(...)" in any case. A number beyond double's
// range, or one whose non-zero digits round to zero, gives result_out_of_range, and value
// keeps what it held, as on any other failure.
inline std::from_chars_result parseDouble(const char* first, const char* last, double& value,
                                          Format format = Format::general) {
    double parsed = 0.0;
    const auto result =
        fast_float::from_chars(first, last, parsed,
                               format == Format::fixed ? fast_float::chars_format::fixed
                                                       : fast_float::chars_format::general);
    if (result.ec != std::errc()) return {result.ptr, result.ec};
    // fast_float rounds what is out of range to infinity or zero instead of saying so.
    const char* digits = first != last && *first == '-' ? first + 1 : first;
    if (std::isinf(parsed) && *digits != 'i' && *digits != 'I')
        return {result.ptr, std::errc::result_out_of_range};
    if (parsed == 0.0) {
        for (const char* p = digits; p != result.ptr && *p != 'e' && *p != 'E'; ++p) {
            if (*p >= '1' && *p <= '9') return {result.ptr, std::errc::result_out_of_range};
        }
    }
    value = parsed;
    return {result.ptr, std::errc()};
}

// "%.*f" in the C locale: decimals digits after the point, the last one rounded from the
// exact binary value, ties to even ("%1.3f" of 0.0625 is "0.062").
inline std::string fixedText(double value, int decimals) {
    return fmt::format("{:.{}f}", value, decimals);
}

namespace detail {

// A finite float as {fmt} prints it ("123456790", "1e-05", "0.001"), taken apart into its
// significant digits (no leading or trailing zeros) and the power of ten of the first.
struct DecimalDigits {
    bool negative = false;
    char digits[12] = {};
    int count = 0;
    int exponent = 0;  // value = d.ddd × 10^exponent
};

inline DecimalDigits decimalDigits(const char* text, const char* end) {
    DecimalDigits d;
    const char* p = text;
    if (p != end && *p == '-') {
        d.negative = true;
        ++p;
    }
    int beforePoint = -1;  // digits before the point, zeros included
    int seen = 0;
    int leadingZeros = 0;
    for (; p != end && *p != 'e'; ++p) {
        if (*p == '.') {
            beforePoint = seen;
            continue;
        }
        if (d.count == 0 && *p == '0') {
            ++leadingZeros;
        } else if (d.count < static_cast<int>(sizeof d.digits)) {
            d.digits[d.count++] = *p;
        }
        ++seen;
    }
    if (beforePoint < 0) beforePoint = seen;
    int exponent = 0;
    if (p != end) {
        ++p;  // 'e'
        const bool negativeExponent = *p == '-';
        if (*p == '-' || *p == '+') ++p;
        for (; p != end; ++p) exponent = exponent * 10 + (*p - '0');
        if (negativeExponent) exponent = -exponent;
    }
    while (d.count > 0 && d.digits[d.count - 1] == '0') --d.count;
    d.exponent = beforePoint - leadingZeros - 1 + exponent;
    return d;
}

inline char* putExponent(char* out, int exponent) {
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude >= 100) *out++ = static_cast<char>('0' + magnitude / 100);
    *out++ = static_cast<char>('0' + magnitude / 10 % 10);
    *out++ = static_cast<char>('0' + magnitude % 10);
    return out;
}

}  // namespace detail

// Room for the longest text shortestFloatText writes ("-1.17549435e-38").
inline constexpr size_t kShortestFloatTextSize = 16;

// The shortest text that reads back as value, the one nearest to it when there are several,
// laid out as std::to_chars(first, last, value) does: fixed or scientific ("1e+10",
// "1.5e-07"), whichever is shorter, fixed on a tie, and a fixed integer that the digits
// would pad with zeros printed exactly ("123456792", not "123456790"). Writes at most
// kShortestFloatTextSize - 1 characters from out and returns their end.
inline char* shortestFloatText(char* out, float value) {
    char text[32];
    const char* end = fmt::format_to_n(text, sizeof text, "{}", value).out;
    if (!std::isfinite(value)) {
        for (const char* p = text; p != end; ++p) *out++ = *p;
        return out;
    }
    const detail::DecimalDigits d = detail::decimalDigits(text, end);
    if (d.negative) *out++ = '-';
    if (d.count == 0) {
        *out++ = '0';
        return out;
    }
    const int n = d.count;
    const int e = d.exponent;
    const int magnitude = e < 0 ? -e : e;
    const int scientificLength = n + (n > 1 ? 1 : 0) + 2 + (magnitude >= 100 ? 3 : 2);
    const int fixedLength = e < 0 ? 1 + n - e : (n > e + 1 ? n + 1 : e + 1);
    if (fixedLength > scientificLength) {
        *out++ = d.digits[0];
        if (n > 1) *out++ = '.';
        for (int i = 1; i < n; ++i) *out++ = d.digits[i];
        return detail::putExponent(out, e);
    }
    if (e < 0) {
        *out++ = '0';
        *out++ = '.';
        for (int i = 0; i < -e - 1; ++i) *out++ = '0';
        for (int i = 0; i < n; ++i) *out++ = d.digits[i];
        return out;
    }
    if (n <= e + 1) {
        // Below 10^14 here: every such float is a whole number that fits.
        const auto whole = static_cast<uint64_t>(std::fabs(value));
        return fmt::format_to(out, "{}", whole);
    }
    for (int i = 0; i < n; ++i) {
        if (i == e + 1) *out++ = '.';
        *out++ = d.digits[i];
    }
    return out;
}

}  // namespace velkano::number_text
