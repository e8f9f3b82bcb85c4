// velkano_engine.js: the page's conversions compiled to WebAssembly. The worker puts a group's
// files into the module's file system (FS) and calls convert with a request (engine_request.h).
#include <emscripten/bind.h>

#include <string>

#include "browser/engine_request.h"

namespace {

std::string convert(const std::string& request) {
    return velkano::tool::convertRequest(request);
}

}  // namespace

EMSCRIPTEN_BINDINGS(velkano_engine) {
    emscripten::function("convert", &convert);
}
