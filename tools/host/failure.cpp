#include "host/failure.h"

#include <cstring>
#include <exception>

#include "io/file_kind.h"
#include "io/standard_output.h"
#include "velkano/fio_error.h"

namespace velkano::tool {

namespace {

std::string inParentheses(const std::string& text) {
    return text.empty() ? std::string() : " (" + text + ")";
}

std::string knownName(const ErrorScene& scene, const std::string& path) {
    for (const auto& [from, to] : scene.renamed) {
        if (path == from) return to;
    }
    return path;
}

// What to do with a file of this kind given to a command that reads another. The command
// line's words, and the page's too: it converts as the commands do.
std::string adviceFor(FileKind found, FileKind wanted) {
    if (wanted == FileKind::other)
        return ", not JSON; velkano build reads the JSON velkano dump writes";
    switch (found) {
        case FileKind::flight:
            return "; use velkano igc or velkano list";
        case FileKind::task:
            return "; use velkano dump or velkano cup";
        case FileKind::turnpoints:
            return "; velkano dump and velkano cup read it with the task file (.rtx) beside it";
        case FileKind::other:
            break;
    }
    return "";
}

}  // namespace

ToolError currentError(const ErrorScene& scene) {
    try {
        throw;
    } catch (const StandardOutputClosed&) {
        throw;  // not a failure: it ends the command quietly
    } catch (const ToolError& e) {
        return e;
    } catch (const FIO_Error& e) {
        std::string where = e.message == FIO_Error::kBadFile ? "header" : scene.record;
        if (scene.endedAt) return ToolError(scene.path, cutShort(where, *scene.endedAt));
        if (scene.byte) where += ", byte " + std::to_string(*scene.byte);
        return ToolError(scene.path, e.message + inParentheses(where));
    } catch (const CFileException& e) {
        const std::string name = e.m_strFileName.empty() ? scene.path : e.m_strFileName;
        return ToolError(knownName(scene, name), fileErrorReason(e) + inParentheses(scene.record));
    } catch (const std::exception& e) {
        return ToolError(scene.path, e.what() + inParentheses(scene.record));
    } catch (...) {
        return ToolError(scene.path, "unknown failure" + inParentheses(scene.record));
    }
}

ToolError failureToReport(const ErrorScene& scene) {
    try {
        throw;
    } catch (const WrongFileKind& e) {
        return ToolError(e.path(), e.what() + adviceFor(e.found(), e.wanted()));
    } catch (...) {
        return currentError(scene);
    }
}

std::string cutShort(const std::string& where, uint64_t size) {
    return "file ends at byte " + std::to_string(size) + " inside " + where + " (cut short?)";
}

std::string fileErrorReason(const CFileException& error) {
    if (error.m_lOsError != 0) return std::strerror(static_cast<int>(error.m_lOsError));
    return "file error (cause " + std::to_string(error.m_cause) + ")";
}

}  // namespace velkano::tool
