// What a file is by its first bytes: the three legacy files open with their magic texts.
// Each command checks its inputs first, so a mix-up is named as such rather than reported as
// whatever the wrong driver makes of the bytes.
#pragma once

#include <string>

#include "io/tool_error.h"

namespace velkano::tool {

enum class FileKind { flight, task, turnpoints, other };

// The extensions the legacy files go by (lower case, with the dot; the turnpoint file's is
// velkano::kCompanionExtension), for files whose first bytes say nothing.
inline constexpr const char* kFlightExtension = ".flt";
inline constexpr const char* kTaskExtension = ".rtx";

// "flight file", "task file", "turnpoint file"; "file" for other.
const char* kindName(FileKind kind);

// The kind of the file at path; other when it holds no magic text or cannot be read.
FileKind fileKindOf(const std::string& path);

// A legacy file of another kind than a reader wanted (other: a reader of no legacy file,
// e.g. JSON). The message says what the file is; what to do instead is the caller's to say.
class WrongFileKind : public ToolError {
public:
    WrongFileKind(const std::string& path, FileKind found, FileKind wanted)
        : ToolError(path, std::string("is a ") + kindName(found)), found_(found), wanted_(wanted) {}
    FileKind found() const { return found_; }
    FileKind wanted() const { return wanted_; }

private:
    FileKind found_;
    FileKind wanted_;
};

// Throws WrongFileKind when path is a legacy file of another kind than wanted.
void expectFileKind(const std::string& path, FileKind wanted);

}  // namespace velkano::tool
