// JSON text in and out. Reading refuses what the library would let pass silently (a member
// named twice in one object); writing prints every float as the shortest decimal that
// reads back to the same single-precision value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "formats/error_at.h"

namespace velkano::tool {

// Floats are single precision, so numbers are parsed straight to float (no double rounding)
// and members keep their order.
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool,
                                  std::int64_t, std::uint64_t, float>;

// A refused JSON input: what is wrong and where, as a JSON Pointer ("" for the document).
class JsonError : public ErrorAt<std::string> {
public:
    using ErrorAt::ErrorAt;
    const std::string& pointer() const { return place(); }
};

std::string childPointer(const std::string& parent, std::string_view member);
std::string childPointer(const std::string& parent, size_t index);

// Throws JsonError for invalid JSON and for a member name repeated within one object.
Json parseJson(std::string_view text);

// Two-space indented, ending in a line feed.
std::string formatJson(const Json& value);

// Appends value as formatJson prints it nested depth levels deep (without the line feed), so
// that a large document can be printed a piece at a time in the same bytes.
void appendJson(std::string& out, const Json& value, int depth);

}  // namespace velkano::tool
