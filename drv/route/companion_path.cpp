#include "fio_velkano17.h"

// The companion turnpoint file lies in the task file's directory under its base name. Only
// the last path element's extension is replaced, so a dot in a directory name stays put. A
// drive prefix "X:" holds no dot and passes through with the directory; paths of any length
// work, as nothing is copied into fixed buffers.
std::string FIOVelkano17::companionPath(const std::string& hostPath) {
    const size_t separator = hostPath.find_last_of("/\\");
    const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    const size_t dot = hostPath.rfind('.');
    const size_t baseEnd = dot != std::string::npos && dot >= nameStart ? dot : hostPath.size();
    return hostPath.substr(0, baseEnd) + ".top";
}
