#include "formats/view_page.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "formats/cp1252.h"
#include "formats/task_json.h"

namespace velkano::tool {

namespace {

// Five decimals of a degree are about a metre, finer than a fix's thousandth of a minute.
constexpr double kCoordinateScale = 1e5;

float coordinate(double degrees) {
    return static_cast<float>(std::round(degrees * kCoordinateScale) / kCoordinateScale);
}

// The flight's texts the page shows, by their member and H record code.
constexpr std::pair<const char*, const char*> kFlightTexts[] = {
    {"pilot", "PLT"}, {"gliderType", "GTY"}, {"gliderId", "GID"}, {"competitionId", "CID"}};

// A value as Json::dump() prints it in a page: compact, invalid UTF-8 replaced.
std::string compact(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Numbers as Json::dump() prints them, without making a JSON value of each: floats through the
// library's own shortest-digits conversion, so that the bytes stay the ones it prints.
void appendFloat(std::string& out, float value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[64];
    out.append(text, nlohmann::detail::to_chars(text, text + sizeof text, value));
}

void appendInteger(std::string& out, int32_t value) {
    char text[16];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// A JSON array of one number per fix, which append(out, fix) writes.
template <typename AppendOne>
void appendFixes(std::string& out, const std::vector<IgcFix>& fixes, AppendOne append) {
    out += '[';
    for (size_t i = 0; i < fixes.size(); ++i) {
        if (i != 0) out += ',';
        append(out, fixes[i]);
    }
    out += ']';
}

}  // namespace

void ViewData::addTask(const TaskDocument& task, const std::string& file) {
    Json json = taskToJson(task);
    Json entry = Json::object();
    entry["file"] = file;
    entry["turnpoints"] = std::move(json["turnpoints"]);
    entry["routes"] = std::move(json["routes"]);
    tasks_ += ',' + compact(entry);
}

void ViewData::addFlight(const IgcFlightText& flight, const std::string& file, int number) {
    std::string& out = flights_;
    out += ",{\"file\":" + compact(file);
    out += ",\"number\":" + std::to_string(number);
    out += ",\"date\":" + compact(isoDate(flight.date));
    for (const auto& [member, code] : kFlightTexts)
        out += ",\"" + std::string(member) + "\":" + compact(decodeCp1252(flight.header(code)));
    out += ",\"task\":[";
    for (size_t i = 0; i < flight.task.size(); ++i) {
        const IgcTaskPoint& point = flight.task[i];
        out += i == 0 ? "{\"latitude\":" : ",{\"latitude\":";
        appendFloat(out, coordinate(point.latitude));
        out += ",\"longitude\":";
        appendFloat(out, coordinate(point.longitude));
        out += ",\"name\":" + compact(decodeCp1252(point.name)) + "}";
    }
    out += "],\"fixes\":{\"time\":";
    appendFixes(out, flight.fixes,
                [](std::string& text, const IgcFix& fix) { appendInteger(text, fix.seconds); });
    out += ",\"latitude\":";
    appendFixes(out, flight.fixes, [](std::string& text, const IgcFix& fix) {
        appendFloat(text, coordinate(fix.latitude));
    });
    out += ",\"longitude\":";
    appendFixes(out, flight.fixes, [](std::string& text, const IgcFix& fix) {
        appendFloat(text, coordinate(fix.longitude));
    });
    out += ",\"gnssAltitude\":";
    appendFixes(out, flight.fixes, [](std::string& text, const IgcFix& fix) {
        appendInteger(text, fix.gnssAltitude);
    });
    out += ",\"pressureAltitude\":";
    appendFixes(out, flight.fixes, [](std::string& text, const IgcFix& fix) {
        appendInteger(text, fix.pressureAltitude);
    });
    out += "}}";
}

std::string ViewData::json() const {
    // Each member list starts with the comma that a first member does without.
    const auto members = [](const std::string& list) {
        return list.empty() ? std::string_view() : std::string_view(list).substr(1);
    };
    std::string text = "{\"tasks\":[";
    text += members(tasks_);
    text += "],\"flights\":[";
    text += members(flights_);
    text += "]}";
    return text;
}

std::string jsonForScript(std::string_view json) {
    std::string text;
    text.reserve(json.size());
    for (const char c : json) {
        switch (c) {
            case '<':
                text += "\\u003c";
                break;
            case '>':
                text += "\\u003e";
                break;
            case '&':
                text += "\\u0026";
                break;
            default:
                text += c;
        }
    }
    return text;
}

std::string viewPage(const ViewPageTemplate& page, const ViewData& data) {
    std::string html(page.head);
    html += jsonForScript(data.json());
    html += page.tail;
    return html;
}

}  // namespace velkano::tool
