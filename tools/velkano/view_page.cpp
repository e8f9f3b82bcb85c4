#include "view_page.h"

namespace velkano::tool {

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
