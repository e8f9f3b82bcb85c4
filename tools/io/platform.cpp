#include "io/platform.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velkano::tool {

namespace {

constexpr size_t kStreamBuffer = 64 * 1024;

// The temporary files an interrupt removes: owned copies of their paths, in slots a signal
// handler can read without locks or allocation.
constexpr size_t kInterruptSlots = 16;
std::array<std::atomic<char*>, kInterruptSlots> interruptFiles{};

void removePath(const char* path) {
#if defined(_WIN32)
    _unlink(path);
#else
    ::unlink(path);
#endif
}

extern "C" void onInterrupt(int signal) {
    for (std::atomic<char*>& slot : interruptFiles) {
        const char* path = slot.load();
        if (path != nullptr) removePath(path);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

[[noreturn]] void throwErrno(int error, const std::string& what) {
    throw std::system_error(error != 0 ? error : EIO, std::generic_category(), what);
}

}  // namespace

#if defined(_WIN32)

std::FILE* createExclusive(const std::string& path) {
    const int fd =
        _open(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* stream = _fdopen(fd, "wb");
    if (stream == nullptr) _close(fd);
    return stream;
}

bool moveNoReplace(const std::string& from, const std::string& to) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return false;
    throw std::system_error(static_cast<int>(error), std::system_category(), to);
}

bool isTerminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

void setBinaryMode(std::FILE* stream) {
    _setmode(_fileno(stream), _O_BINARY);
}

void ignoreBrokenPipe() {}

#else

std::FILE* createExclusive(const std::string& path) {
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* stream = ::fdopen(fd, "wb");
    if (stream == nullptr) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return stream;
}

bool moveNoReplace(const std::string& from, const std::string& to) {
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return true;
    }
    if (errno == EEXIST) return false;
    // Some file systems have no hard links; check, then rename, accepting the small race.
    std::error_code error;
    if (std::filesystem::exists(to, error)) return false;
    std::filesystem::rename(from, to, error);
    if (error) throw std::system_error(error, to);
    return true;
}

bool isTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) != 0;
}

void setBinaryMode(std::FILE*) {}

void ignoreBrokenPipe() {
    std::signal(SIGPIPE, SIG_IGN);
}

#endif

void installInterruptCleanup() {
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
}

void removeOnInterrupt(const std::string& path) {
    for (std::atomic<char*>& slot : interruptFiles) {
        char* expected = nullptr;
        char* copy = new char[path.size() + 1];
        std::memcpy(copy, path.c_str(), path.size() + 1);
        if (slot.compare_exchange_strong(expected, copy)) return;
        delete[] copy;
    }
}

void forgetOnInterrupt(const std::string& path) {
    for (std::atomic<char*>& slot : interruptFiles) {
        char* held = slot.load();
        if (held != nullptr && path == held && slot.compare_exchange_strong(held, nullptr)) {
            delete[] held;
            return;
        }
    }
}

// The text goes to an anonymous temporary file first: held in memory, a long flight's text
// grows by copying on top of the flight being printed, which doubles what the process needs.
// In WebAssembly every file is in memory anyway, and one read back would be a copy more.
ReadBackStream::ReadBackStream() : streamBuffer_(new char[kStreamBuffer]) {
#if !defined(__EMSCRIPTEN__)
    stream_ = std::tmpfile();
#endif
#if !defined(_WIN32)
    if (stream_ == nullptr) {  // no place for temporary files: memory it is
        stream_ = ::open_memstream(&buffer_, &size_);
        if (stream_ != nullptr) return;
    }
#endif
    if (stream_ == nullptr) throwErrno(errno, "temporary file");
    std::setvbuf(stream_, streamBuffer_.get(), _IOFBF, kStreamBuffer);
}

ReadBackStream::~ReadBackStream() {
    if (stream_ != nullptr) std::fclose(stream_);
    std::free(buffer_);
}

std::string_view ReadBackStream::contents() {
    if (std::fflush(stream_) != 0 || std::ferror(stream_)) throwErrno(errno, "temporary file");
    if (buffer_ != nullptr) return std::string_view(buffer_, size_);
    const long end = std::ftell(stream_);
    if (end < 0) throwErrno(errno, "temporary file");
    copy_.assign(static_cast<size_t>(end), '\0');
    std::rewind(stream_);
    const size_t got = std::fread(copy_.data(), 1, copy_.size(), stream_);
    std::fseek(stream_, 0, SEEK_END);
    if (got != copy_.size()) throwErrno(EIO, "temporary file");
    return copy_;
}

}  // namespace velkano::tool
