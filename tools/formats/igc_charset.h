// The character set of the texts in the IGC files velkano writes. The driver prints the
// flight file's texts as they are stored, windows-1252 bytes; readers today take IGC files
// as UTF-8, and the IGC standard itself allows only part of ASCII.
#pragma once

#include <string>
#include <string_view>

namespace velkano::tool {

enum class IgcCharset {
    utf8,   // the A, H and C texts re-encoded from windows-1252 to UTF-8
    ascii,  // only what the IGC standard allows, other characters in plain letters or a space
    raw,    // the driver's bytes
};

// The IGC text with the A, H and C lines in charset; every other line (B fixes above all)
// is kept byte for byte.
std::string withIgcCharset(std::string_view igc, IgcCharset charset);

// One windows-1252 text in the characters the IGC standard allows: 0x20 to 0x7E without
// $ * ! \ ^ ~. Letters with marks lose them (é -> e), umlauts and ligatures are spelt out
// (ä -> ae, ß -> ss, Æ -> AE), anything else becomes a space.
std::string igcAscii(std::string_view windows1252);

}  // namespace velkano::tool
