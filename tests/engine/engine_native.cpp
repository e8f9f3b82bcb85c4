// The page's engine built natively, for the check of its WebAssembly build: converts the group
// a request names (engine_request.h) and prints the result.
//   velkano_engine_native REQUEST_JSON
#include <cstdio>
#include <string>

#include "browser/engine_request.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: velkano_engine_native REQUEST_JSON\n", stderr);
        return 2;
    }
    const std::string result = velkano::tool::convertRequest(argv[1]);
    std::fwrite(result.data(), 1, result.size(), stdout);
    return 0;
}
