// The legacy files' texts are windows-1252 bytes. They are decoded the way browsers do:
// the five bytes the code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the
// C1 controls of the same value, so every byte string survives decoding and encoding.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "formats/error_at.h"

namespace velkano::tool {

// At the byte offset of the offending character in the UTF-8 text.
class Cp1252Error : public ErrorAt<size_t> {
public:
    using ErrorAt::ErrorAt;
    size_t offset() const { return place(); }
};

// windows-1252 bytes to UTF-8.
std::string decodeCp1252(std::string_view bytes);

// UTF-8 to windows-1252 bytes. Throws Cp1252Error for a character with no windows-1252 byte
// and for ill-formed UTF-8.
std::string encodeCp1252(std::string_view utf8);

// UTF-8 to windows-1252 bytes, never refusing: a character the code page lacks becomes its
// base letter (ł -> l, ř -> r, ő -> o), a combining mark is dropped, anything else (and
// ill-formed UTF-8) becomes '?'. approximated is set when anything was replaced.
std::string encodeCp1252Approximately(std::string_view utf8, bool& approximated);

// The first character of utf8 with no windows-1252 byte, as "U+XXXX"; empty when there is none.
std::string firstCharacterWithoutCp1252Byte(std::string_view utf8);

bool isWellFormedUtf8(std::string_view text);

// UTF-16 text that opens with its byte-order mark (FF FE little-endian, FE FF big-endian) as
// UTF-8 without the mark; nothing for bytes without one. An unpaired surrogate and an odd last
// byte become U+FFFD.
std::optional<std::string> decodeUtf16WithByteOrderMark(std::string_view bytes);

}  // namespace velkano::tool
