// Zero-padded decimal fields, written straight into a line buffer: the text "%0*d" gives,
// at a fraction of the C runtime's cost for lines that are nothing but such fields.
#pragma once

#include <cstdint>

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

}  // namespace velkano
