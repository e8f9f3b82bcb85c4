#include "formats/cup_context.h"

#include "formats/cp1252.h"

namespace velkano::tool::cup {

std::string storedText(const std::string& utf8, const Place& at, const std::string& column,
                       size_t longest, bool strict, ImportNotes& notes) {
    bool approximated = false;
    std::string bytes = encodeCp1252Approximately(utf8, approximated);
    if (approximated) {
        if (strict) {
            throw CupError(at.where(), column + ": character " +
                                           firstCharacterWithoutCp1252Byte(utf8) +
                                           " has no windows-1252 byte");
        }
        notes.add(at, "texts windows-1252 cannot hold in " + column,
                  column + ": \"" + utf8 + "\" is stored as \"" + decodeCp1252(bytes) +
                      "\" (windows-1252 lacks some of its characters)");
    }
    if (bytes.size() > longest) {
        notes.add(at, "texts longer than their field in " + column,
                  column + ": longer than " + std::to_string(longest) +
                      " characters; the file keeps the first " + std::to_string(longest));
    }
    return bytes;
}

}  // namespace velkano::tool::cup
