// The page of `velkano view`: one HTML file holding the web libraries, the page's own script
// and the data. The build puts the page together from tools/velkano/view and its pinned npm
// packages; a build made without those packages has no page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "json_text.h"

namespace velkano::tool {

// The page around its data: head + data + tail.
struct ViewPageTemplate {
    std::string_view head;
    std::string_view tail;
};

// The page this build embeds, or nothing when it was built without the web libraries.
std::optional<ViewPageTemplate> viewPageTemplate();

// data as compact JSON that cannot end the script element holding it: '<', '>' and '&'
// are written as \u escapes, which JSON.parse reads back as the same characters.
std::string jsonForScript(const Json& data);

std::string viewPage(const ViewPageTemplate& page, const Json& data);

}  // namespace velkano::tool
