#include "json_text.h"

#include <charconv>
#include <cmath>
#include <set>
#include <vector>

namespace velkano::tool {

namespace {

// One object or array still open while parsing, to name where a repeated member sits.
struct OpenValue {
    bool isArray = false;
    size_t index = 0;    // element being parsed, in an array
    std::string member;  // member being parsed, in an object
    std::set<std::string> members;
};

std::string pointerOf(const std::vector<OpenValue>& open) {
    std::string pointer;
    for (size_t i = 0; i < open.size(); ++i) {
        pointer = open[i].isArray ? childPointer(pointer, open[i].index)
                                  : childPointer(pointer, open[i].member);
    }
    return pointer;
}

// The library's message without its "[json.exception.parse_error.101] " tag.
std::string plainMessage(const char* what) {
    std::string text = what;
    const size_t tagEnd = text.find("] ");
    return text.front() == '[' && tagEnd != std::string::npos ? text.substr(tagEnd + 2) : text;
}

constexpr size_t kOneLineWidth = 60;

void appendIndent(std::string& out, int depth) {
    out.append(static_cast<size_t>(depth) * 2, ' ');
}

void appendFloat(std::string& out, float value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

void appendValue(std::string& out, const Json& value, int depth);

bool isContainer(const Json& value) {
    return value.is_object() || value.is_array();
}

// A small object or array of plain values (a route point) reads best on one line.
bool fitsOnOneLine(const Json& value) {
    size_t length = 2;
    for (const auto& [name, member] : value.items()) {
        if (isContainer(member)) return false;
        length += (value.is_object() ? name.size() + 4 : 0) + 2 +
                  (member.is_string() ? member.get_ref<const std::string&>().size() + 2 : 12);
    }
    return length <= kOneLineWidth;
}

void appendMembers(std::string& out, const Json& value, int depth, bool oneLine) {
    const bool object = value.is_object();
    out += object ? '{' : '[';
    size_t left = value.size();
    for (const auto& [name, member] : value.items()) {
        if (!oneLine) {
            out += '\n';
            appendIndent(out, depth + 1);
        }
        if (object) {
            out += Json(name).dump();
            out += ": ";
        }
        appendValue(out, member, depth + 1);
        if (--left > 0) out += oneLine ? ", " : ",";
    }
    if (!oneLine) {
        out += '\n';
        appendIndent(out, depth);
    }
    out += object ? '}' : ']';
}

void appendValue(std::string& out, const Json& value, int depth) {
    if (isContainer(value)) {
        appendMembers(out, value, depth, value.empty() || fitsOnOneLine(value));
    } else if (value.is_number_float()) {
        // The library prints floats through an approximation that is not always the
        // closest shortest form; to_chars is exact.
        appendFloat(out, value.get<float>());
    } else {
        out += value.dump();
    }
}

}  // namespace

std::string childPointer(const std::string& parent, std::string_view member) {
    std::string pointer = parent + "/";
    for (const char c : member) {
        if (c == '~') {
            pointer += "~0";
        } else if (c == '/') {
            pointer += "~1";
        } else {
            pointer += c;
        }
    }
    return pointer;
}

std::string childPointer(const std::string& parent, size_t index) {
    return parent + "/" + std::to_string(index);
}

Json parseJson(std::string_view text) {
    std::vector<OpenValue> open;
    auto watch = [&open](int, nlohmann::detail::parse_event_t event, Json& parsed) {
        using Event = nlohmann::detail::parse_event_t;
        switch (event) {
            case Event::object_start:
            case Event::array_start:
                open.push_back({event == Event::array_start, 0, {}, {}});
                break;
            case Event::key: {
                OpenValue& object = open.back();
                object.member = parsed.get<std::string>();
                if (!object.members.insert(object.member).second) {
                    throw JsonError(pointerOf(open), "member named twice");
                }
                break;
            }
            case Event::object_end:
            case Event::array_end:
            case Event::value:
                if (event != Event::value) open.pop_back();
                if (!open.empty() && open.back().isArray) ++open.back().index;
                break;
        }
        return true;
    };
    try {
        return Json::parse(text.begin(), text.end(), watch);
    } catch (const Json::exception& e) {
        throw JsonError("", "invalid JSON: " + plainMessage(e.what()));
    }
}

std::string formatJson(const Json& value) {
    std::string out;
    appendValue(out, value, 0);
    out += '\n';
    return out;
}

}  // namespace velkano::tool
