#include "formats/cup_tasks.h"

#include <unordered_map>

#include "formats/cup_fields.h"
#include "formats/cup_format.h"
#include "velkano/fio_codes.h"

namespace velkano::tool::cup {

namespace {

constexpr struct {
    std::string_view start;  // lower case
    std::string_view name;
} kTaskDetailLines[] = {
    {"options", "Options"}, {"obszone=", "ObsZone"}, {"starts=", "STARTS"}, {"point=", "Point"}};

// The first row of a name, and how many rows share it.
struct NameRows {
    size_t first;
    size_t count;
};

class TaskReader {
public:
    TaskReader(const RowNames& rows, bool strict, bool skipBadRows, ImportNotes& notes);
    std::optional<RouteFields> read(const TaskLine& line, int32_t id);

private:
    std::optional<size_t> resolve(const std::string& name, const Place& at, size_t column);

    const RowNames& rows_;
    bool strict_;
    bool skipBadRows_;
    ImportNotes& notes_;
    std::unordered_map<std::string, NameRows> exact_;
    std::unordered_map<std::string, NameRows> folded_;
};

TaskReader::TaskReader(const RowNames& rows, bool strict, bool skipBadRows, ImportNotes& notes)
    : rows_(rows), strict_(strict), skipBadRows_(skipBadRows), notes_(notes) {
    for (size_t i = 0; i < rows.names.size(); ++i) {
        ++exact_.try_emplace(rows.names[i], NameRows{i, 0}).first->second.count;
        ++folded_.try_emplace(lowered(rows.names[i]), NameRows{i, 0}).first->second.count;
    }
}

std::optional<size_t> TaskReader::resolve(const std::string& name, const Place& at, size_t column) {
    // Exactly first, then ignoring case.
    const NameRows* rows = nullptr;
    if (const auto e = exact_.find(name); e != exact_.end()) {
        rows = &e->second;
    } else if (const auto f = folded_.find(lowered(name)); f != folded_.end()) {
        rows = &f->second;
    }
    if (rows == nullptr) return std::nullopt;
    if (rows->count > 1) {
        notes_.add(at, "task points naming several rows",
                   "column " + std::to_string(column) + ": \"" + name + "\" names " +
                       std::to_string(rows->count) + " rows; the first (" +
                       rows_.places[rows->first].where() + ") is taken");
    }
    return rows->first;
}

std::optional<RouteFields> TaskReader::read(const TaskLine& line, int32_t id) {
    const Place& at = line.at;
    std::vector<size_t> rows;
    size_t lastPoint = line.fields.size();
    while (lastPoint > 1 && line.fields[lastPoint - 1].empty()) --lastPoint;
    for (size_t c = 1; c < lastPoint; ++c) {
        const std::string& name = line.fields[c];
        if (name.empty()) continue;
        const auto row = resolve(name, at, c + 1);
        if (!row) {
            const std::string message =
                "column " + std::to_string(c + 1) + ": \"" + name + "\" names no row of any input" +
                (rows_.leftOut.count(name) != 0 ? " (its row was left out)" : "");
            if (!skipBadRows_) throw CupError(at.where(), message);
            notes_.add(at, "tasks left out", message + "; task left out");
            return std::nullopt;
        }
        rows.push_back(*row);
    }
    RouteFields route;
    route.id = id;
    route.name =
        storedText(line.fields[0], at, "column 1", longestText(kRouteNameWidth), strict_, notes_);
    for (size_t i = 0; i < rows.size(); ++i)
        route.points.push_back({static_cast<int32_t>(rows[i] + 1), roleByPlace(i, rows.size())});
    return route;
}

}  // namespace

std::optional<std::string_view> taskDetail(std::string_view line) {
    const std::string start = lowered(trimmed(line).substr(0, 8));
    for (const auto& detail : kTaskDetailLines) {
        if (start.rfind(detail.start, 0) == 0) return detail.name;
    }
    return std::nullopt;
}

std::vector<RouteFields> routesFromTasks(const std::vector<TaskLine>& lines, const RowNames& rows,
                                         bool strict, bool skipBadRows, ImportNotes& notes) {
    TaskReader reader(rows, strict, skipBadRows, notes);
    std::vector<RouteFields> routes;
    for (const TaskLine& line : lines) {
        if (auto route = reader.read(line, static_cast<int32_t>(routes.size() + 1)))
            routes.push_back(std::move(*route));
    }
    return routes;
}

}  // namespace velkano::tool::cup
