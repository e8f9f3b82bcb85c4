#include "platform.h"

#include <cerrno>
#include <cstdlib>
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

MemoryStream::MemoryStream() {
    stream_ = std::tmpfile();
    if (stream_ == nullptr) throwErrno(errno, "temporary file");
}

MemoryStream::~MemoryStream() {
    if (stream_ != nullptr) std::fclose(stream_);
}

std::string MemoryStream::contents() {
    if (std::fflush(stream_) != 0 || std::ferror(stream_)) throwErrno(errno, "temporary file");
    const long end = std::ftell(stream_);
    if (end < 0) throwErrno(errno, "temporary file");
    std::string bytes(static_cast<size_t>(end), '\0');
    std::rewind(stream_);
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), stream_);
    std::fseek(stream_, 0, SEEK_END);
    if (got != bytes.size()) throwErrno(EIO, "temporary file");
    return bytes;
}

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

MemoryStream::MemoryStream() {
    stream_ = ::open_memstream(&buffer_, &size_);
    if (stream_ == nullptr) throwErrno(errno, "memory stream");
}

MemoryStream::~MemoryStream() {
    if (stream_ != nullptr) std::fclose(stream_);
    std::free(buffer_);
}

std::string MemoryStream::contents() {
    if (std::fflush(stream_) != 0 || std::ferror(stream_)) throwErrno(errno, "memory stream");
    return std::string(buffer_, size_);
}

#endif

}  // namespace velkano::tool
