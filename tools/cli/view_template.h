// The page template this build of velkano embeds (put together from tools/web at build time).
#pragma once

#include <optional>

#include "formats/view_page.h"

namespace velkano::tool {

// Nothing when velkano was built without the web libraries.
std::optional<ViewPageTemplate> viewPageTemplate();

}  // namespace velkano::tool
