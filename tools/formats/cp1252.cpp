#include "formats/cp1252.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace velkano::tool {

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The byte for c, or -1 when windows-1252 has none.
int byteFor(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) return static_cast<int>(0x80 + i);
    }
    return -1;
}

std::string codePointName(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

// Decodes the character at text[at], advancing at; -1 for ill-formed UTF-8 (overlong
// forms, surrogates, values above U+10FFFF, truncated sequences).
int32_t nextCodePoint(std::string_view text, size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    int length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        return -1;
    }
    if (text.size() - at < static_cast<size_t>(length)) return -1;
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return -1;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return -1;
    at += static_cast<size_t>(length);
    return static_cast<int32_t>(c);
}

// Base letters of U+0100 to U+017F (Latin Extended-A); the few the code page has never get here.
constexpr std::string_view kExtendedABase =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNnnNnOoOo"
    "OoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(kExtendedABase.size() == 0x80);
constexpr char32_t kExtendedAFirst = 0x100;
// Romanian letters with comma below (U+0218 to U+021B).
constexpr std::string_view kCommaBelowBase = "SsTt";
constexpr char32_t kCommaBelowFirst = 0x218;
constexpr char32_t kCombiningFirst = 0x300;
constexpr char32_t kCombiningLast = 0x36F;

// The replacement for a character the code page lacks; empty to drop it.
std::string approximation(char32_t c) {
    if (c >= kExtendedAFirst && c < kExtendedAFirst + kExtendedABase.size())
        return std::string(1, kExtendedABase[c - kExtendedAFirst]);
    if (c >= kCommaBelowFirst && c < kCommaBelowFirst + kCommaBelowBase.size())
        return std::string(1, kCommaBelowBase[c - kCommaBelowFirst]);
    if (c >= kCombiningFirst && c <= kCombiningLast) return "";
    return "?";
}

}  // namespace

std::string encodeCp1252Approximately(std::string_view utf8, bool& approximated) {
    std::string out;
    out.reserve(utf8.size());
    size_t at = 0;
    while (at < utf8.size()) {
        const int32_t c = nextCodePoint(utf8, at);
        const int byte = c < 0 ? -1 : byteFor(static_cast<char32_t>(c));
        if (byte >= 0) {
            out += static_cast<char>(byte);
            continue;
        }
        approximated = true;
        if (c < 0) {
            out += '?';
            ++at;  // past the byte that broke the sequence
        } else {
            out += approximation(static_cast<char32_t>(c));
        }
    }
    return out;
}

std::string firstCharacterWithoutCp1252Byte(std::string_view utf8) {
    size_t at = 0;
    while (at < utf8.size()) {
        const int32_t c = nextCodePoint(utf8, at);
        if (c < 0) return "ill-formed UTF-8";
        if (byteFor(static_cast<char32_t>(c)) < 0) return codePointName(static_cast<char32_t>(c));
    }
    return "";
}

bool isWellFormedUtf8(std::string_view text) {
    size_t at = 0;
    while (at < text.size()) {
        if (nextCodePoint(text, at) < 0) return false;
    }
    return true;
}

std::string decodeCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        appendUtf8(out, b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : b);
    }
    return out;
}

std::optional<std::string> decodeUtf16WithByteOrderMark(std::string_view bytes) {
    constexpr char32_t kReplacement = 0xFFFD;
    if (bytes.size() < 2) return std::nullopt;
    const auto first = static_cast<unsigned char>(bytes[0]);
    const auto second = static_cast<unsigned char>(bytes[1]);
    const bool little = first == 0xFF && second == 0xFE;
    if (!little && !(first == 0xFE && second == 0xFF)) return std::nullopt;
    auto unitAt = [&](size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return little ? a | b << 8 : a << 8 | b;
    };
    auto isHigh = [](char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; };
    auto isLow = [](char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; };
    std::string out;
    out.reserve(bytes.size());
    size_t i = 2;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = unitAt(i);
        if (isHigh(unit) && i + 3 < bytes.size() && isLow(unitAt(i + 2))) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00));
            i += 2;
        } else {
            appendUtf8(out, isHigh(unit) || isLow(unit) ? kReplacement : unit);
        }
    }
    if (i < bytes.size()) appendUtf8(out, kReplacement);
    return out;
}

std::string encodeCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t at = 0;
    while (at < utf8.size()) {
        const size_t start = at;
        const int32_t c = nextCodePoint(utf8, at);
        if (c < 0) throw Cp1252Error(start, "ill-formed UTF-8");
        const int byte = byteFor(static_cast<char32_t>(c));
        if (byte < 0) {
            throw Cp1252Error(start, "character " + codePointName(static_cast<char32_t>(c)) +
                                         " has no windows-1252 byte");
        }
        out += static_cast<char>(byte);
    }
    return out;
}

}  // namespace velkano::tool
