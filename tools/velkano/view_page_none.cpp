// A build without the web libraries of the view page (tools/velkano/view/node_modules).
#include "view_page.h"

namespace velkano::tool {

std::optional<ViewPageTemplate> viewPageTemplate() {
    return std::nullopt;
}

}  // namespace velkano::tool
