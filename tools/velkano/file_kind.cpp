#include "file_kind.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string_view>

#include "atomic_output.h"
#include "tool_error.h"
#include "velkano/fio_codes.h"

namespace velkano::tool {

namespace {

struct KindFacts {
    FileKind kind;
    std::string_view magic;
    const char* name;
    // What to do with a file of this kind given to a command that reads another.
    const char* advice;
};

constexpr KindFacts kKinds[] = {
    {FileKind::flight, kFlightFileMagic, "flight file", "use velkano igc or velkano list"},
    {FileKind::task, kTaskFileMagic, "task file", "use velkano dump or velkano cup"},
    {FileKind::turnpoints, kTpFileMagic, "turnpoint file",
     "velkano dump and velkano cup read it with the task file (.rtx) beside it"},
};

const KindFacts& factsOf(FileKind kind) {
    return *std::find_if(std::begin(kKinds), std::end(kKinds),
                         [kind](const KindFacts& facts) { return facts.kind == kind; });
}

}  // namespace

FileKind fileKindOf(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) return FileKind::other;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return FileKind::other;
    // The magic text opens the file header in a zero-padded field.
    char field[kMagicWidth] = {};
    const size_t got = std::fread(field, 1, sizeof field, file);
    std::fclose(file);
    const std::string_view head(field, got);
    const std::string_view magic = head.substr(0, head.find('\0'));
    for (const KindFacts& facts : kKinds) {
        if (magic == facts.magic) return facts.kind;
    }
    return FileKind::other;
}

void expectFileKind(const std::string& path, FileKind wanted) {
    const FileKind kind = fileKindOf(path);
    if (kind == wanted || kind == FileKind::other) return;
    const std::string what = std::string("is a ") + factsOf(kind).name;
    if (wanted == FileKind::other) {
        throw ToolError(path,
                        what + ", not JSON; velkano build reads the JSON velkano dump writes");
    }
    throw ToolError(path, what + "; " + factsOf(kind).advice);
}

bool hasExtension(const std::string& path, std::string_view wanted) {
    const std::string extension = path.substr(withExtension(path, "").size());
    if (extension.size() != wanted.size()) return false;
    for (size_t i = 0; i < extension.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(extension[i])) != wanted[i]) return false;
    }
    return true;
}

uint64_t fileSizeOf(const std::string& path) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<uint64_t>(size);
}

}  // namespace velkano::tool
