// The page of `velkano view`: one HTML file holding the web libraries, the page's own script
// and the data of task files and flights. The page itself is put together at build time;
// here it is filled with the data.
#pragma once

#include <string>
#include <string_view>

#include "formats/igc_text.h"
#include "formats/json_text.h"
#include "formats/task_model.h"

namespace velkano::tool {

// The page around its data: head + data + tail.
struct ViewPageTemplate {
    std::string_view head;
    std::string_view tail;
};

// What the page reads, {"tasks": [...], "flights": [...]}, put together as compact JSON text
// one file at a time (the bytes Json::dump() prints of the same values): a flight of 32767
// fixes holds 160k numbers, far too many to build as JSON values first.
class ViewData {
public:
    // One task file's turnpoints and routes; file is the name shown.
    void addTask(const TaskDocument& task, const std::string& file);
    // One flight: number is its place in the flight file named file.
    void addFlight(const IgcFlightText& flight, const std::string& file, int number);

    bool empty() const { return tasks_.empty() && flights_.empty(); }
    std::string json() const;

private:
    std::string tasks_;    // the tasks array's members, each after a comma
    std::string flights_;  // the flights array's likewise
};

// JSON text that cannot end the script element holding it: '<', '>' and '&' (which JSON holds
// only inside strings) are written as \u escapes, which JSON.parse reads back as themselves.
std::string jsonForScript(std::string_view json);

std::string viewPage(const ViewPageTemplate& page, const ViewData& data);

}  // namespace velkano::tool
