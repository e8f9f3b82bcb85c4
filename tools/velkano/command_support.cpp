#include "command_support.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "atomic_output.h"
#include "driver_search.h"
#include "platform.h"

namespace velkano::tool {

void reportError(const std::string& path, const std::string& message) {
    if (path.empty()) {
        std::fprintf(stderr, "velkano: %s\n", message.c_str());
    } else {
        std::fprintf(stderr, "velkano: %s: %s\n", path.c_str(), message.c_str());
    }
}

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

std::string cutShort(const std::string& where, uint64_t size) {
    return "file ends at byte " + std::to_string(size) + " inside " + where + " (cut short?)";
}

int runCommand(const ErrorScene& scene, const std::function<int()>& body) {
    try {
        return body();
    } catch (...) {
        reportError(currentError(scene));
        return kExitFailure;
    }
}

bool isStandardOutput(const std::string& output) {
    return output.empty() || output == kToStandardOutput;
}

void writeOutput(const std::string& path, const std::string& text) {
    writeOutput(path, [&text](const OutputSink& sink) { sink(text); });
}

void writeOutput(const std::string& path, const std::function<void(const OutputSink&)>& produce) {
    if (isStandardOutput(path)) {
        produce([](const std::string& block) { writeStandardOutput(block); });
        return;
    }
    AtomicOutput output(path);
    produce([&output](const std::string& block) { output.write(block); });
    output.commit();
}

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

std::unique_ptr<DriverLibrary> loadDriver(const std::string& driverDir,
                                          const std::string& fileName) {
    const std::string path = findDriver(driverDir, fileName);
    try {
        return std::make_unique<DriverLibrary>(path);
    } catch (const DriverLoadError& e) {
        throw ToolError("", e.what());
    }
}

std::string fileErrorReason(const CFileException& error) {
    if (error.m_lOsError != 0) return std::strerror(static_cast<int>(error.m_lOsError));
    return "file error (cause " + std::to_string(error.m_cause) + ")";
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

void writeStandardOutput(const std::string& bytes) {
    setBinaryMode(stdout);
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
        std::fflush(stdout) != 0) {
        const int error = errno != 0 ? errno : EIO;
        std::clearerr(stdout);
        if (error == EPIPE) throw StandardOutputClosed();
        throw ToolError(kStandardOutput, std::strerror(error));
    }
}

}  // namespace velkano::tool
