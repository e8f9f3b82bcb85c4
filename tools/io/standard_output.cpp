#include "io/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "io/platform.h"
#include "io/tool_error.h"

namespace velkano::tool {

bool isStandardOutput(const std::string& output) {
    return output.empty() || output == kToStandardOutput;
}

void writeStandardOutput(const std::string& bytes) {
    setBinaryMode(stdout);
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
        std::fflush(stdout) != 0) {
        const int error = errno != 0 ? errno : EIO;
        std::clearerr(stdout);
        if (error == EPIPE) throw StandardOutputClosed();
        throw ToolError(kStandardOutput, std::strerror(error));
    }
}

}  // namespace velkano::tool
