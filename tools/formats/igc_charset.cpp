#include "formats/igc_charset.h"

#include <array>

#include "formats/cp1252.h"

namespace velkano::tool {

namespace {

constexpr std::string_view kReservedInIgc = "$*!\\^~";
constexpr unsigned char kFirstHighByte = 0x80;

// Plain-letter forms of the bytes 0x80 to 0xFF; an empty entry becomes a space.
constexpr std::array<std::string_view, 128> kPlainForms = {
    // 80-8F: € ‚ ƒ „ … † ‡ ˆ ‰ Š ‹ Œ  Ž
    "EUR",
    "",
    ",",
    "f",
    "\"",
    "...",
    "+",
    "+",
    "",
    "%",
    "S",
    "<",
    "OE",
    "",
    "Z",
    "",
    // 90-9F:  ' ' " " • – — ˜ ™ š › œ  ž Ÿ
    "",
    "'",
    "'",
    "\"",
    "\"",
    "-",
    "-",
    "-",
    "",
    "TM",
    "s",
    ">",
    "oe",
    "",
    "z",
    "Y",
    // A0-AF: nbsp ¡ ¢ £ ¤ ¥ ¦ § ¨ © ª « ¬ shy ® ¯
    "",
    "",
    "c",
    "",
    "",
    "",
    "|",
    "",
    "",
    "(c)",
    "a",
    "<<",
    "",
    "-",
    "(R)",
    "",
    // B0-BF: ° ± ² ³ ´ µ ¶ · ¸ ¹ º » ¼ ½ ¾ ¿
    "",
    "+-",
    "2",
    "3",
    "'",
    "u",
    "",
    ".",
    ",",
    "1",
    "o",
    ">>",
    "1/4",
    "1/2",
    "3/4",
    "?",
    // C0-CF: À Á Â Ã Ä Å Æ Ç È É Ê Ë Ì Í Î Ï
    "A",
    "A",
    "A",
    "A",
    "Ae",
    "A",
    "AE",
    "C",
    "E",
    "E",
    "E",
    "E",
    "I",
    "I",
    "I",
    "I",
    // D0-DF: Ð Ñ Ò Ó Ô Õ Ö × Ø Ù Ú Û Ü Ý Þ ß
    "D",
    "N",
    "O",
    "O",
    "O",
    "O",
    "Oe",
    "x",
    "O",
    "U",
    "U",
    "U",
    "Ue",
    "Y",
    "Th",
    "ss",
    // E0-EF: à á â ã ä å æ ç è é ê ë ì í î ï
    "a",
    "a",
    "a",
    "a",
    "ae",
    "a",
    "ae",
    "c",
    "e",
    "e",
    "e",
    "e",
    "i",
    "i",
    "i",
    "i",
    // F0-FF: ð ñ ò ó ô õ ö ÷ ø ù ú û ü ý þ ÿ
    "d",
    "n",
    "o",
    "o",
    "o",
    "o",
    "oe",
    ":",
    "o",
    "u",
    "u",
    "u",
    "ue",
    "y",
    "th",
    "y",
};

bool allowedInIgc(unsigned char byte) {
    return byte >= 0x20 && byte <= 0x7E &&
           kReservedInIgc.find(static_cast<char>(byte)) == std::string_view::npos;
}

bool isTextLine(std::string_view line) {
    return !line.empty() && (line.front() == 'A' || line.front() == 'H' || line.front() == 'C');
}

}  // namespace

std::string igcAscii(std::string_view windows1252) {
    std::string out;
    out.reserve(windows1252.size());
    for (const char c : windows1252) {
        const auto byte = static_cast<unsigned char>(c);
        if (allowedInIgc(byte)) {
            out += c;
        } else if (byte >= kFirstHighByte && !kPlainForms[byte - kFirstHighByte].empty()) {
            out += kPlainForms[byte - kFirstHighByte];
        } else {
            out += ' ';
        }
    }
    return out;
}

std::string withIgcCharset(std::string_view igc, IgcCharset charset) {
    if (charset == IgcCharset::raw) return std::string(igc);
    std::string out;
    out.reserve(igc.size());
    while (!igc.empty()) {
        const size_t end = igc.find('\n');
        const size_t lineEnd = end == std::string_view::npos ? igc.size() : end;
        std::string_view line = igc.substr(0, lineEnd);
        const bool cr = !line.empty() && line.back() == '\r';
        if (cr) line.remove_suffix(1);
        if (!isTextLine(line)) {
            out += line;
        } else if (charset == IgcCharset::utf8) {
            out += decodeCp1252(line);
        } else {
            out += igcAscii(line);
        }
        if (cr) out += '\r';
        if (end != std::string_view::npos) out += '\n';
        igc.remove_prefix(end == std::string_view::npos ? igc.size() : end + 1);
    }
    return out;
}

}  // namespace velkano::tool
