// The engine's one entry for the page's worker, JSON text in and out, so that the module
// needs no bindings beyond a string function.
//   request: {"files": ["/in/3/a.rtx", "/in/3/a.top"], "output": "/out/3",
//             "options": {"text": "utf-8", "lineEnding": "crlf", "cupColumns": 14,
//                         "strict": false, "skipBadRows": false}}
//   result:  {"kind": "flights"|"task"|"build"|"other", "errors": [...], "notes": [...],
//             "report": "...", "table": "...",
//             "downloads": [{"name": ..., "path": ..., "mime": ...}], "view": {...}|null}
// A download's path is the file the conversion wrote, for the worker to read and remove.
#pragma once

#include <string>
#include <string_view>

#include "browser/conversions.h"
#include "formats/json_text.h"

namespace velkano::tool {

// Left-out options take the commands' defaults; a wrong one is a JsonError at its pointer.
PageOptions pageOptions(const Json& options);

// The result of the request's group as JSON text. A request that cannot be read gives a
// result of kind "other" whose error says why.
std::string convertRequest(std::string_view request);

}  // namespace velkano::tool
