#include "file_kind.h"

#include <cstdio>
#include <filesystem>
#include <string_view>

#include "tool_error.h"

namespace velkano::tool {

namespace {

// The magic text opens the file header in a zero-padded field of this width.
constexpr size_t kMagicWidth = 51;
constexpr std::string_view kFlightMagic = "Velkano Flight File";
constexpr std::string_view kTaskMagic = "Velkano TASK File";
constexpr std::string_view kTurnpointMagic = "Velkano TP File";

const char* nameOf(FileKind kind) {
    switch (kind) {
        case FileKind::flight:
            return "flight file";
        case FileKind::task:
            return "task file";
        case FileKind::turnpoints:
            return "turnpoint file";
        case FileKind::other:
            break;
    }
    return "file";
}

const char* commandFor(FileKind kind) {
    switch (kind) {
        case FileKind::flight:
            return "use velkano igc or velkano list";
        case FileKind::task:
            return "use velkano dump or velkano cup";
        case FileKind::turnpoints:
            return "velkano dump and velkano cup read it with the task file (.rtx) beside it";
        case FileKind::other:
            break;
    }
    return "";
}

}  // namespace

FileKind fileKindOf(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) return FileKind::other;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return FileKind::other;
    char field[kMagicWidth] = {};
    const size_t got = std::fread(field, 1, sizeof field, file);
    std::fclose(file);
    const std::string_view head(field, got);
    const std::string_view magic = head.substr(0, head.find('\0'));
    if (magic == kFlightMagic) return FileKind::flight;
    if (magic == kTaskMagic) return FileKind::task;
    if (magic == kTurnpointMagic) return FileKind::turnpoints;
    return FileKind::other;
}

void expectFileKind(const std::string& path, FileKind wanted) {
    const FileKind kind = fileKindOf(path);
    if (kind == wanted || kind == FileKind::other) return;
    if (wanted == FileKind::other) {
        throw ToolError(path, std::string("is a ") + nameOf(kind) +
                                  ", not JSON; velkano build reads the JSON velkano dump writes");
    }
    throw ToolError(path, std::string("is a ") + nameOf(kind) + "; " + commandFor(kind));
}

uint64_t fileSizeOf(const std::string& path) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<uint64_t>(size);
}

}  // namespace velkano::tool
