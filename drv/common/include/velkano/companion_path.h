// Where the route driver finds and writes the turnpoint file that belongs to a task file.
// A host that wants to name, check or remove that file derives its path with the same
// function.
#pragma once

#include <string>

namespace velkano {

inline constexpr char kCompanionExtension[] = ".top";

// The companion turnpoint file lies in the task file's directory under its base name. Only
// the last path element's extension is replaced, so a dot in a directory name stays put; a
// name without an extension gets one. A drive prefix "X:" holds no dot and passes through
// with the directory.
inline std::string companionPath(const std::string& taskPath) {
    const size_t separator = taskPath.find_last_of("/\\");
    const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    const size_t dot = taskPath.rfind('.');
    const size_t baseEnd = dot != std::string::npos && dot >= nameStart ? dot : taskPath.size();
    return taskPath.substr(0, baseEnd) + kCompanionExtension;
}

}  // namespace velkano
