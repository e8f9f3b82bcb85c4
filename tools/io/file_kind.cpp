#include "io/file_kind.h"

#include <cstdio>
#include <filesystem>
#include <string_view>

#include "velkano/fio_codes.h"

namespace velkano::tool {

namespace {

struct KindFacts {
    FileKind kind;
    std::string_view magic;
    const char* name;
};

constexpr KindFacts kKinds[] = {
    {FileKind::flight, kFlightFileMagic, "flight file"},
    {FileKind::task, kTaskFileMagic, "task file"},
    {FileKind::turnpoints, kTpFileMagic, "turnpoint file"},
};

}  // namespace

const char* kindName(FileKind kind) {
    for (const KindFacts& facts : kKinds) {
        if (facts.kind == kind) return facts.name;
    }
    return "file";
}

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
    if (kind != wanted && kind != FileKind::other) throw WrongFileKind(path, kind, wanted);
}

}  // namespace velkano::tool
