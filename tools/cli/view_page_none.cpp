// A build without the web libraries of the view page (tools/web/node_modules).
#include "cli/view_template.h"

namespace velkano::tool {

std::optional<ViewPageTemplate> viewPageTemplate() {
    return std::nullopt;
}

}  // namespace velkano::tool
