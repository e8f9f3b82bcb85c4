#include "io/paths.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "io/tool_error.h"

namespace velkano::tool {

namespace {

size_t nameStart(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}

size_t extensionStart(const std::string& path) {
    const size_t name = nameStart(path);
    const size_t dot = path.find_last_of('.');
    return dot == std::string::npos || dot < name ? path.size() : dot;
}

}  // namespace

std::string withExtension(const std::string& path, const std::string& extension) {
    return path.substr(0, extensionStart(path)) + extension;
}

bool hasExtension(const std::string& path, std::string_view wanted) {
    const std::string_view extension = std::string_view(path).substr(extensionStart(path));
    if (extension.size() != wanted.size()) return false;
    for (size_t i = 0; i < extension.size(); ++i) {
        const char c = extension[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != wanted[i])
            return false;
    }
    return true;
}

std::string fileName(const std::string& path) {
    return path.substr(nameStart(path));
}

std::string directoryOf(const std::string& path) {
    const size_t name = nameStart(path);
    return name == 0 ? "." : path.substr(0, name);
}

std::string inDirectory(const std::string& directory, const std::string& name) {
    const char last = directory.empty() ? '/' : directory.back();
    return last == '/' || last == '\\' ? directory + name : directory + "/" + name;
}

uint64_t fileSizeOf(const std::string& path) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<uint64_t>(size);
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

std::string readWholeFile(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) throw ToolError(path, "is a directory");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ToolError(path, std::strerror(errno != 0 ? errno : ENOENT));
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw ToolError(path, "cannot read");
    return text;
}

}  // namespace velkano::tool
