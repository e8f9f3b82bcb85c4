#include "host/input_file.h"

#include <filesystem>

#include "host/failure.h"

namespace velkano::tool {

std::unique_ptr<CStdioFile> openInput(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) throw ToolError(path, "is a directory");
    try {
        return std::make_unique<CStdioFile>(
            path, CStdioFile::modeRead | CStdioFile::typeBinary | CStdioFile::shareDenyNone);
    } catch (const CFileException& e) {
        throw ToolError(path, fileErrorReason(e));
    }
}

}  // namespace velkano::tool
