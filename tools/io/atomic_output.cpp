#include "io/atomic_output.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include "io/paths.h"
#include "io/platform.h"
#include "io/tool_error.h"

namespace velkano::tool {

namespace {

constexpr int kNameAttempts = 100;
constexpr size_t kTokenLength = 6;
constexpr size_t kStreamBuffer = 64 * 1024;

std::string randomToken() {
    static constexpr char kAlphabet[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device device;
    std::uniform_int_distribution<size_t> pick(0, sizeof kAlphabet - 2);
    std::string token;
    for (size_t i = 0; i < kTokenLength; ++i) token += kAlphabet[pick(device)];
    return token;
}

std::string errnoText(int error) {
    return std::strerror(error != 0 ? error : EIO);
}

}  // namespace

AtomicOutput::AtomicOutput(std::string finalPath, std::vector<std::string> siblingExtensions)
    : final_(std::move(finalPath)) {
    std::error_code ignored;
    if (std::filesystem::is_directory(final_, ignored)) throw ToolError(final_, "is a directory");
    const std::string name = fileName(final_);
    const std::string directory = final_.substr(0, final_.size() - name.size());
    const std::string base = withExtension(name, "");
    // Without an extension of its own the temporary still needs one, so that a companion
    // derived from it lands on the reserved sibling name.
    const std::string extension = base.size() < name.size() ? name.substr(base.size()) : ".tmp";
    const std::string shownDirectory = directory.empty() ? "." : directory;

    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string stem = directory + "." + base + ".tmp" + randomToken();
        std::FILE* stream = createExclusive(stem + extension);
        if (stream == nullptr) {
            if (errno == EEXIST) continue;
            throw ToolError(shownDirectory, "cannot create a file: " + errnoText(errno));
        }
        stream_ = stream;
        temporary_ = stem + extension;
        removeOnInterrupt(temporary_);
        bool taken = false;
        for (const std::string& sibling : siblingExtensions) {
            const std::string path = stem + sibling;
            std::FILE* reserved = createExclusive(path);
            if (reserved == nullptr) {
                const int error = errno;
                std::fclose(stream_);
                stream_ = nullptr;
                removeTemporaries();
                forgetOnInterrupt(temporary_);
                for (const Sibling& held : siblings_) forgetOnInterrupt(held.temporary);
                siblings_.clear();
                if (error == EEXIST) {
                    taken = true;
                    break;
                }
                throw ToolError(shownDirectory, "cannot create a file: " + errnoText(error));
            }
            std::fclose(reserved);
            removeOnInterrupt(path);
            siblings_.push_back({path, withExtension(final_, sibling)});
        }
        if (taken) continue;
        std::setvbuf(stream_, nullptr, _IOFBF, kStreamBuffer);
        return;
    }
    throw ToolError(shownDirectory, "cannot find a free temporary file name");
}

AtomicOutput::~AtomicOutput() {
    if (stream_ != nullptr) std::fclose(stream_);
    if (!committed_) removeTemporaries();
    // Committed or removed, the temporaries are no longer an interrupt's to remove.
    forgetOnInterrupt(temporary_);
    for (const Sibling& sibling : siblings_) forgetOnInterrupt(sibling.temporary);
}

void AtomicOutput::removeTemporaries() noexcept {
    std::error_code ignored;
    if (!temporary_.empty()) std::filesystem::remove(temporary_, ignored);
    for (const Sibling& sibling : siblings_) {
        if (!sibling.temporary.empty()) std::filesystem::remove(sibling.temporary, ignored);
    }
}

void AtomicOutput::write(const std::string& bytes) {
    if (stream_ == nullptr) throw ToolError(final_, "cannot write: the file is closed");
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size()) {
        throw ToolError(final_, "cannot write: " + errnoText(errno));
    }
}

void AtomicOutput::close() {
    if (stream_ == nullptr) return;
    std::FILE* stream = stream_;
    stream_ = nullptr;
    errno = 0;
    const bool flushed = std::fflush(stream) == 0 && std::ferror(stream) == 0;
    const int flushError = errno;
    errno = 0;
    const bool closed = std::fclose(stream) == 0;
    if (!flushed) throw ToolError(final_, "cannot write: " + errnoText(flushError));
    if (!closed) throw ToolError(final_, "cannot write: " + errnoText(errno));
}

void AtomicOutput::commit() {
    close();
    for (Sibling& sibling : siblings_) {
        std::error_code error;
        std::filesystem::rename(sibling.temporary, sibling.final, error);
        if (error) throw ToolError(sibling.final, "cannot replace: " + error.message());
        forgetOnInterrupt(sibling.temporary);
        sibling.temporary.clear();
    }
    std::error_code error;
    std::filesystem::rename(temporary_, final_, error);
    if (error) throw ToolError(final_, "cannot replace: " + error.message());
    committed_ = true;
}

bool AtomicOutput::commitIfAbsent(const std::string& path) {
    close();
    try {
        if (!moveNoReplace(temporary_, path)) return false;
    } catch (const std::system_error& e) {
        throw ToolError(path, "cannot create: " + e.code().message());
    }
    committed_ = true;
    return true;
}

}  // namespace velkano::tool
