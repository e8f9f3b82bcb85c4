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

// One task file's turnpoints and routes as the page shows them; file is the name shown.
Json taskViewData(const TaskDocument& task, const std::string& file);
// One flight as the page shows it: number is its place in the flight file named file.
Json flightViewData(const IgcFlightText& flight, const std::string& file, int number);
// What the page reads: {"tasks": [...], "flights": [...]}.
Json viewData(Json tasks, Json flights);

// data as compact JSON that cannot end the script element holding it: '<', '>' and '&'
// are written as \u escapes, which JSON.parse reads back as the same characters.
std::string jsonForScript(const Json& data);

std::string viewPage(const ViewPageTemplate& page, const Json& data);

}  // namespace velkano::tool
