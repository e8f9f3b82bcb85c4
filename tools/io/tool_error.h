// The error every velkano command reports the same way: "velkano: PATH: MESSAGE". It names
// a file (or nothing, for a failure of the run as a whole) and says what is wrong with it.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace velkano::tool {

class ToolError : public std::runtime_error {
public:
    ToolError(std::string path, const std::string& message)
        : std::runtime_error(message), path_(std::move(path)) {}
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// What the user reads of a failure or a note after "velkano: ": "PATH: MESSAGE", or the
// message alone when it names no file.
inline std::string reportedText(const std::string& path, const std::string& message) {
    return path.empty() ? message : path + ": " + message;
}
inline std::string reportedText(const ToolError& error) {
    return reportedText(error.path(), error.what());
}

}  // namespace velkano::tool
