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

// Where the route driver writes a task file's companion: companionPath, its extension in
// capitals when the task file's extension has capitals and no small letters (TASKS.RTX ->
// TASKS.TOP). Windows file names ignore case; there it is companionPath unchanged.
std::string companionPathForWriting(const std::string& taskPath);

// Where the route driver reads a task file's companion: companionPath when it exists; else,
// on file systems that tell case apart, the one file of the task file's directory whose name
// matches it ignoring case (TASKS.TOP for TASKS.RTX, tasks.top for TASKS.RTX); else
// companionPath, which then fails to open as it always did.
std::string companionPathForReading(const std::string& taskPath);

}  // namespace velkano
