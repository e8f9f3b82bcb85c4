#include "formats/json_text.h"

#include <cmath>
#include <set>
#include <vector>

#include "number_text.h"

namespace velkano::tool {

namespace {

// Finds a member named twice in one object: the library would keep the last one silently.
// A second pass over text that already parsed, so it sees no syntax errors.
class DuplicateMemberCheck : public nlohmann::json_sax<Json> {
public:
    bool null() override { return value(); }
    bool boolean(bool) override { return value(); }
    bool number_integer(number_integer_t) override { return value(); }
    bool number_unsigned(number_unsigned_t) override { return value(); }
    bool number_float(number_float_t, const string_t&) override { return value(); }
    bool string(string_t&) override { return value(); }
    bool binary(binary_t&) override { return value(); }
    bool start_object(std::size_t) override { return open(false); }
    bool start_array(std::size_t) override { return open(true); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }
    bool key(string_t& name) override {
        Open& object = open_.back();
        object.member = name;
        if (!object.members.insert(name).second) throw JsonError(pointer(), "member named twice");
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    struct Open {
        bool isArray = false;
        size_t index = 0;    // element being read, in an array
        std::string member;  // member being read, in an object
        std::set<std::string> members;
    };

    bool open(bool isArray) {
        open_.push_back({isArray, 0, {}, {}});
        return true;
    }
    bool close() {
        open_.pop_back();
        return value();
    }
    bool value() {
        if (!open_.empty() && open_.back().isArray) ++open_.back().index;
        return true;
    }
    std::string pointer() const {
        std::string text;
        for (const Open& level : open_) {
            text =
                level.isArray ? childPointer(text, level.index) : childPointer(text, level.member);
        }
        return text;
    }

    std::vector<Open> open_;
};

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
    char text[number_text::kShortestFloatTextSize];
    out.append(text, number_text::shortestFloatText(text, value));
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
        // closest shortest form; shortestFloatText is exact.
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
    Json document;
    try {
        document = Json::parse(text.begin(), text.end());
    } catch (const Json::exception& e) {
        throw JsonError("", "invalid JSON: " + plainMessage(e.what()));
    }
    DuplicateMemberCheck check;
    Json::sax_parse(text.begin(), text.end(), &check);
    return document;
}

std::string formatJson(const Json& value) {
    std::string out;
    appendValue(out, value, 0);
    out += '\n';
    return out;
}

void appendJson(std::string& out, const Json& value, int depth) {
    appendValue(out, value, depth);
}

}  // namespace velkano::tool
