#include "formats/view_page.h"

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

}  // namespace

Json taskViewData(const TaskDocument& task, const std::string& file) {
    Json json = taskToJson(task);
    Json entry = Json::object();
    entry["file"] = file;
    entry["turnpoints"] = std::move(json["turnpoints"]);
    entry["routes"] = std::move(json["routes"]);
    return entry;
}

Json flightViewData(const IgcFlightText& flight, const std::string& file, int number) {
    Json task = Json::array();
    for (const IgcTaskPoint& point : flight.task) {
        task.push_back({{"latitude", coordinate(point.latitude)},
                        {"longitude", coordinate(point.longitude)},
                        {"name", decodeCp1252(point.name)}});
    }
    Json time = Json::array(), latitude = Json::array(), longitude = Json::array();
    Json gnss = Json::array(), pressure = Json::array();
    for (const IgcFix& fix : flight.fixes) {
        time.push_back(fix.seconds);
        latitude.push_back(coordinate(fix.latitude));
        longitude.push_back(coordinate(fix.longitude));
        gnss.push_back(fix.gnssAltitude);
        pressure.push_back(fix.pressureAltitude);
    }
    Json fixes = Json::object();
    fixes["time"] = std::move(time);
    fixes["latitude"] = std::move(latitude);
    fixes["longitude"] = std::move(longitude);
    fixes["gnssAltitude"] = std::move(gnss);
    fixes["pressureAltitude"] = std::move(pressure);
    Json json = Json::object();
    json["file"] = file;
    json["number"] = number;
    json["date"] = isoDate(flight.date);
    json["pilot"] = decodeCp1252(flight.header("PLT"));
    json["gliderType"] = decodeCp1252(flight.header("GTY"));
    json["gliderId"] = decodeCp1252(flight.header("GID"));
    json["competitionId"] = decodeCp1252(flight.header("CID"));
    json["task"] = std::move(task);
    json["fixes"] = std::move(fixes);
    return json;
}

Json viewData(Json tasks, Json flights) {
    Json data = Json::object();
    data["tasks"] = std::move(tasks);
    data["flights"] = std::move(flights);
    return data;
}

std::string jsonForScript(const Json& data) {
    const std::string json = data.dump(-1, ' ', false, Json::error_handler_t::replace);
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

std::string viewPage(const ViewPageTemplate& page, const Json& data) {
    std::string html(page.head);
    html += jsonForScript(data);
    html += page.tail;
    return html;
}

}  // namespace velkano::tool
