// Zero-padded decimal fields, written straight into a line buffer: the text "%0*d" gives,
// at a fraction of the C runtime's cost for lines that are nothing but such fields.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

namespace velkano {

// Writes value at out as "%0*d" would with the given width (a minus sign counts towards it,
// and a value with more digits prints in full). Returns the end of what was written: width
// characters, or the value's own length (at most 11) where that is more.
inline char* putZeroPadded(char* out, int32_t value, int32_t width) {
    uint32_t magnitude = static_cast<uint32_t>(value);
    if (value < 0) {
        magnitude = 0u - magnitude;
        *out++ = '-';
        --width;
    }
    char digits[10];
    int32_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    for (; width > count; --width) *out++ = '0';
    while (count > 0) *out++ = digits[--count];
    return out;
}

// "00", "01" ... "99" back to back: two digits per lookup instead of one division each.
inline constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// The last Width decimal digits of value, zero-padded: "%0*d" for a value below 10^Width.
// Fields whose range the caller has already held to their columns use it; a larger value
// loses its leading digits rather than widening the line.
template <int Width>
inline char* putDigits(char* out, uint32_t value) {
    static_assert(Width > 0 && Width <= 10);
    char* p = out + Width;
    for (int left = Width; left >= 2; left -= 2) {
        p -= 2;
        std::memcpy(p, kDigitPairs.data() + 2 * (value % 100), 2);
        value /= 100;
    }
    if constexpr (Width % 2 != 0) *--p = static_cast<char>('0' + value % 10);
    return out + Width;
}

}  // namespace velkano
