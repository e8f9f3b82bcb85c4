#include "velkano/companion_path.h"

#include <filesystem>
#include <system_error>

namespace velkano {

#if defined(_WIN32)

std::string companionPathForWriting(const std::string& taskPath) {
    return companionPath(taskPath);
}

std::string companionPathForReading(const std::string& taskPath) {
    return companionPath(taskPath);
}

#else

namespace {

size_t nameStart(const std::string& path) {
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? 0 : separator + 1;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

bool inCapitals(const std::string& text) {
    bool capital = false;
    for (const char c : text) {
        if (c >= 'a' && c <= 'z') return false;
        capital = capital || (c >= 'A' && c <= 'Z');
    }
    return capital;
}

}  // namespace

std::string companionPathForWriting(const std::string& taskPath) {
    std::string path = companionPath(taskPath);
    const size_t start = nameStart(taskPath);
    const size_t dot = taskPath.rfind('.');
    if (dot == std::string::npos || dot < start || !inCapitals(taskPath.substr(dot))) return path;
    for (size_t i = path.size() - (sizeof kCompanionExtension - 1); i < path.size(); ++i) {
        if (path[i] >= 'a' && path[i] <= 'z') path[i] = static_cast<char>(path[i] - 'a' + 'A');
    }
    return path;
}

std::string companionPathForReading(const std::string& taskPath) {
    const std::string derived = companionPath(taskPath);
    std::error_code error;
    if (std::filesystem::exists(derived, error) || error) return derived;
    const std::string directory = derived.substr(0, nameStart(derived));
    const std::string name = derived.substr(directory.size());
    std::string found;
    int matches = 0;
    std::filesystem::directory_iterator entries(directory.empty() ? "." : directory, error);
    for (const auto end = std::filesystem::directory_iterator(); !error && entries != end;
         entries.increment(error)) {
        const std::string candidate = entries->path().filename().string();
        if (!sameIgnoringCase(candidate, name)) continue;
        found = candidate;
        ++matches;
    }
    // None, or several that differ only in case: no guess, the derived name stays.
    return matches == 1 && !error ? directory + found : derived;
}

#endif

}  // namespace velkano
