#include "formats/task_json.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <span>

#include "formats/cp1252.h"
#include "velkano/fio_codes.h"

namespace velkano::tool {

namespace {

// Integers the file keeps as Real48 pass through float, which holds them exactly only up
// to 2^24.
constexpr int64_t kFloatExact = 1 << 24;

struct IntRule {
    int64_t low = std::numeric_limits<int32_t>::min();
    int64_t high = std::numeric_limits<int32_t>::max();
    std::span<const int32_t> allowed = {};
};

constexpr IntRule kAnyInt32{};
constexpr IntRule kFloatInteger{-kFloatExact, kFloatExact};
constexpr IntRule kInt16{-32768, 32767};
constexpr IntRule kFlag{0, 1};
constexpr IntRule kKindRule{0, 0, kKinds};
constexpr IntRule kSurfaceRule{0, 0, kSurfaces};
constexpr IntRule kRoleRule{0, 0, kRoles};

enum class MemberType { integer, real, text };

struct TurnpointMember {
    const char* name;
    MemberType type;
    int32_t FIO_TPEntry::*integer = nullptr;
    float FIO_TPEntry::*real = nullptr;
    std::string FIO_TPEntry::*text = nullptr;
    IntRule rule = kAnyInt32;
    double realLimit = 0;  // a real member's largest magnitude; 0: any finite number
};

// In the order dump prints them.
constexpr std::array<TurnpointMember, 14> kTurnpointMembers = {{
    {"number", MemberType::integer, &FIO_TPEntry::number},
    {"kind", MemberType::integer, &FIO_TPEntry::kind, nullptr, nullptr, kKindRule},
    {"name", MemberType::text, nullptr, nullptr, &FIO_TPEntry::name},
    {"shortName", MemberType::text, nullptr, nullptr, &FIO_TPEntry::shortName},
    {"comment", MemberType::text, nullptr, nullptr, &FIO_TPEntry::comment},
    {"elevation", MemberType::integer, &FIO_TPEntry::elevation, nullptr, nullptr, kFloatInteger},
    {"markFlag", MemberType::integer, &FIO_TPEntry::markFlag, nullptr, nullptr, kFlag},
    {"latitude", MemberType::real, nullptr, &FIO_TPEntry::latitude, nullptr, kAnyInt32, 90.0},
    {"longitude", MemberType::real, nullptr, &FIO_TPEntry::longitude, nullptr, kAnyInt32, 180.0},
    {"icaoCode", MemberType::text, nullptr, nullptr, &FIO_TPEntry::icaoCode},
    {"frequency", MemberType::text, nullptr, nullptr, &FIO_TPEntry::frequency},
    {"runwayLength", MemberType::integer, &FIO_TPEntry::runwayLength, nullptr, nullptr,
     kFloatInteger},
    {"runwayDirection", MemberType::integer, &FIO_TPEntry::runwayDirection, nullptr, nullptr,
     kInt16},
    {"surface", MemberType::integer, &FIO_TPEntry::surface, nullptr, nullptr, kSurfaceRule},
}};

std::string joined(std::span<const char* const> names) {
    std::string text;
    for (const char* name : names) text += (text.empty() ? "" : ", ") + std::string(name);
    return text;
}

std::string joined(std::span<const int32_t> values) {
    std::string text;
    for (const int32_t value : values) text += (text.empty() ? "" : ", ") + std::to_string(value);
    return text;
}

// Refuses any member whose name is not in known.
void checkMembers(const Json& object, const std::string& pointer,
                  std::span<const char* const> known) {
    for (const auto& [name, value] : object.items()) {
        bool found = false;
        for (const char* k : known) found = found || name == k;
        if (!found) {
            throw JsonError(childPointer(pointer, name),
                            "unknown member (known: " + joined(known) + ")");
        }
    }
}

const Json& expectObject(const Json& value, const std::string& pointer) {
    if (!value.is_object()) throw JsonError(pointer, "expected an object");
    return value;
}

const Json& expectArray(const Json& value, const std::string& pointer, size_t limit,
                        const char* what) {
    if (!value.is_array()) throw JsonError(pointer, "expected an array");
    if (value.size() > limit) {
        throw JsonError(pointer, std::to_string(value.size()) + " " + what +
                                     "; a task file holds at most " + std::to_string(limit));
    }
    return value;
}

int32_t readInteger(const Json& value, const std::string& pointer, const IntRule& rule) {
    if (!value.is_number_integer()) throw JsonError(pointer, "expected an integer");
    const bool tooLarge =
        value.is_number_unsigned() &&
        value.get<uint64_t>() > static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    const int64_t number = tooLarge ? std::numeric_limits<int64_t>::max() : value.get<int64_t>();
    const std::string shown = value.dump();
    if (!rule.allowed.empty()) {
        for (const int32_t allowed : rule.allowed) {
            if (number == allowed) return allowed;
        }
        throw JsonError(pointer, shown + " is not one of " + joined(rule.allowed));
    }
    if (tooLarge || number < rule.low || number > rule.high) {
        throw JsonError(pointer, shown + " is out of range (" + std::to_string(rule.low) + " to " +
                                     std::to_string(rule.high) + ")");
    }
    return static_cast<int32_t>(number);
}

float readReal(const Json& value, const std::string& pointer, double limit) {
    if (limit > 0 && value.is_number() && !(std::fabs(value.get<double>()) <= limit)) {
        throw JsonError(pointer, "out of range -" + std::to_string(static_cast<int>(limit)) + ".." +
                                     std::to_string(static_cast<int>(limit)));
    }
    if (value.is_number_float()) {
        const float number = value.get<float>();
        if (!std::isfinite(number))
            throw JsonError(pointer, "out of range for a single-precision number");
        return number;
    }
    if (value.is_number_unsigned()) return static_cast<float>(value.get<uint64_t>());
    if (value.is_number_integer()) return static_cast<float>(value.get<int64_t>());
    throw JsonError(pointer, "expected a number");
}

std::string readText(const Json& value, const std::string& pointer) {
    if (!value.is_string()) throw JsonError(pointer, "expected a string");
    const auto& text = value.get_ref<const std::string&>();
    // A zero byte would end the text field early and lose the rest.
    if (text.find('\0') != std::string::npos)
        throw JsonError(pointer, "a text cannot hold the character U+0000");
    try {
        return encodeCp1252(text);
    } catch (const Cp1252Error& e) {
        throw JsonError(pointer, e.what());
    }
}

FIO_TPEntry turnpointFromJson(const Json& object, const std::string& pointer) {
    static constexpr std::array<const char*, kTurnpointMembers.size()> kNames = [] {
        std::array<const char*, kTurnpointMembers.size()> names{};
        for (size_t i = 0; i < names.size(); ++i) names[i] = kTurnpointMembers[i].name;
        return names;
    }();
    expectObject(object, pointer);
    checkMembers(object, pointer, kNames);
    FIO_TPEntry entry;
    std::memset(entry.tail, 0, sizeof entry.tail);
    for (const TurnpointMember& member : kTurnpointMembers) {
        const auto found = object.find(member.name);
        if (found == object.end()) continue;
        const std::string at = childPointer(pointer, member.name);
        switch (member.type) {
            case MemberType::integer:
                entry.*member.integer = readInteger(*found, at, member.rule);
                break;
            case MemberType::real:
                entry.*member.real = readReal(*found, at, member.realLimit);
                break;
            case MemberType::text:
                entry.*member.text = readText(*found, at);
                break;
        }
    }
    return entry;
}

// A member left out keeps the field's value.
void readOptional(const Json& object, const std::string& pointer, const char* name, int32_t& field,
                  const IntRule& rule) {
    if (const auto it = object.find(name); it != object.end())
        field = readInteger(*it, childPointer(pointer, name), rule);
}

void readOptional(const Json& object, const std::string& pointer, const char* name,
                  std::string& field) {
    if (const auto it = object.find(name); it != object.end())
        field = readText(*it, childPointer(pointer, name));
}

RoutePointFields pointFromJson(const Json& object, const std::string& pointer) {
    static constexpr const char* kNames[] = {"number", "role"};
    expectObject(object, pointer);
    checkMembers(object, pointer, kNames);
    RoutePointFields point;
    readOptional(object, pointer, "number", point.number, kAnyInt32);
    readOptional(object, pointer, "role", point.role, kRoleRule);
    return point;
}

RouteFields routeFromJson(const Json& object, const std::string& pointer) {
    static constexpr const char* kNames[] = {"id", "name", "points"};
    expectObject(object, pointer);
    checkMembers(object, pointer, kNames);
    RouteFields route;
    readOptional(object, pointer, "id", route.id, kAnyInt32);
    readOptional(object, pointer, "name", route.name);
    if (const auto it = object.find("points"); it != object.end()) {
        const std::string at = childPointer(pointer, "points");
        const Json& points = expectArray(*it, at, kMaxListedPoints, "points");
        for (size_t i = 0; i < points.size(); ++i)
            route.points.push_back(pointFromJson(points[i], childPointer(at, i)));
    }
    return route;
}

// Longest text each field keeps: its width less the terminating zero.
constexpr struct {
    const char* name;
    std::string FIO_TPEntry::*text;
    size_t longest;
} kTextFields[] = {
    {"name", &FIO_TPEntry::name, longestText(kTurnpointNameWidth)},
    {"shortName", &FIO_TPEntry::shortName, longestText(kTurnpointShortNameWidth)},
    {"comment", &FIO_TPEntry::comment, longestText(kTurnpointCommentWidth)},
    {"icaoCode", &FIO_TPEntry::icaoCode, longestText(kTurnpointIcaoWidth)},
};

void noteLongText(Notes& notes, const std::string& pointer, const std::string& text,
                  size_t longest) {
    if (text.size() <= longest) return;
    notes.push_back({pointer, "longer than " + std::to_string(longest) +
                                  " characters; the file keeps the first " +
                                  std::to_string(longest)});
}

}  // namespace

Notes storageNotes(const TaskDocument& task) {
    Notes notes;
    for (size_t i = 0; i < task.turnpoints.size(); ++i) {
        const FIO_TPEntry& entry = task.turnpoints[i];
        const std::string at = childPointer("/turnpoints", i);
        for (const auto& field : kTextFields) {
            noteLongText(notes, childPointer(at, field.name), entry.*field.text, field.longest);
        }
    }
    for (size_t i = 0; i < task.routes.size(); ++i) {
        noteLongText(notes, childPointer(childPointer("/routes", i), "name"), task.routes[i].name,
                     longestText(kRouteNameWidth));
    }
    return notes;
}

Json turnpointToJson(const FIO_TPEntry& entry) {
    Json object = Json::object();
    for (const TurnpointMember& member : kTurnpointMembers) {
        switch (member.type) {
            case MemberType::integer:
                object[member.name] = entry.*member.integer;
                break;
            case MemberType::real:
                object[member.name] = entry.*member.real;
                break;
            case MemberType::text:
                object[member.name] = decodeCp1252(entry.*member.text);
                break;
        }
    }
    return object;
}

namespace {

Json routeToJson(const RouteFields& route) {
    Json points = Json::array();
    for (const RoutePointFields& point : route.points) {
        points.push_back(Json{{"number", point.number}, {"role", point.role}});
    }
    Json object = Json::object();
    object["id"] = route.id;
    object["name"] = decodeCp1252(route.name);
    object["points"] = std::move(points);
    return object;
}

}  // namespace

Json taskToJson(const TaskDocument& task) {
    Json turnpoints = Json::array();
    for (const FIO_TPEntry& entry : task.turnpoints) turnpoints.push_back(turnpointToJson(entry));
    Json routes = Json::array();
    for (const RouteFields& route : task.routes) routes.push_back(routeToJson(route));
    Json document = Json::object();
    document["turnpoints"] = std::move(turnpoints);
    document["routes"] = std::move(routes);
    return document;
}

namespace {

// Large enough that the output is written rarely, small enough to stay in the cache.
constexpr size_t kJsonBlock = 64 * 1024;

// The members of the document and of its two arrays, as formatJson indents them.
constexpr int kElementDepth = 2;
constexpr char kElementIndent[] = "\n    ";
constexpr char kArrayEnd[] = "\n  ]";

// One of the document's arrays: its elements one by one, each as its own small document.
template <typename Item, typename ToJson>
void writeArray(std::string& out, const std::vector<Item>& items, ToJson toJson,
                const OutputSink& sink) {
    if (items.empty()) {
        out += "[]";
        return;
    }
    out += '[';
    for (size_t i = 0; i < items.size(); ++i) {
        out += kElementIndent;
        appendJson(out, toJson(items[i]), kElementDepth);
        if (i + 1 < items.size()) out += ',';
        if (out.size() >= kJsonBlock) {
            sink(out);
            out.clear();
        }
    }
    out += kArrayEnd;
}

}  // namespace

void writeTaskJson(const TaskDocument& task, const OutputSink& sink) {
    std::string out;
    out.reserve(2 * kJsonBlock);
    out += "{\n  \"turnpoints\": ";
    writeArray(out, task.turnpoints, turnpointToJson, sink);
    out += ",\n  \"routes\": ";
    writeArray(out, task.routes, routeToJson, sink);
    out += "\n}\n";
    sink(out);
}

TaskDocument taskFromJson(const Json& document) {
    static constexpr const char* kNames[] = {"turnpoints", "routes"};
    if (!document.is_object()) throw JsonError("", "expected a JSON object at the top level");
    checkMembers(document, "", kNames);
    TaskDocument task;
    if (const auto it = document.find("turnpoints"); it != document.end()) {
        const Json& turnpoints = expectArray(*it, "/turnpoints", kMaxTurnpoints, "turnpoints");
        task.turnpoints.reserve(turnpoints.size());
        for (size_t i = 0; i < turnpoints.size(); ++i) {
            task.turnpoints.push_back(
                turnpointFromJson(turnpoints[i], childPointer("/turnpoints", i)));
        }
    }
    if (const auto it = document.find("routes"); it != document.end()) {
        const Json& routes = expectArray(*it, "/routes", kMaxRoutes, "routes");
        task.routes.reserve(routes.size());
        for (size_t i = 0; i < routes.size(); ++i) {
            task.routes.push_back(routeFromJson(routes[i], childPointer("/routes", i)));
        }
    }
    return task;
}

}  // namespace velkano::tool
