// The error every velkano command reports the same way: "velkano: PATH: MESSAGE".
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

// Prints "velkano: PATH: MESSAGE" on standard error.
void reportError(const std::string& path, const std::string& message);
inline void reportError(const ToolError& error) {
    reportError(error.path(), error.what());
}

}  // namespace velkano::tool
