// velkano_engine.js: the page's conversions compiled to WebAssembly. The worker puts a group's
// files into the module's file system (FS) and calls Module.convert (engine_convert.js) with a
// request (engine_request.h), which comes here.
#include <emscripten/emscripten.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "browser/engine_request.h"

// The result's JSON text, which the caller frees; null when there is no memory for it.
extern "C" EMSCRIPTEN_KEEPALIVE char* velkano_convert(const char* request) {
    const std::string result = velkano::tool::convertRequest(request);
    char* text = static_cast<char*>(std::malloc(result.size() + 1));
    if (text != nullptr) std::memcpy(text, result.c_str(), result.size() + 1);
    return text;
}
