#include "velkano/host_file.h"

#include <bit>
#include <cerrno>
#include <cstdarg>
#include <cstring>

namespace {

std::string describe(int cause, long osError, const std::string& fileName) {
    std::string text = fileName.empty() ? std::string("file") : fileName;
    text += ": ";
    if (osError != 0) {
        text += std::strerror(static_cast<int>(osError));
    } else {
        text += "file error (cause " + std::to_string(cause) + ")";
    }
    return text;
}

// The C runtime's mode text for the platform's open flags.
const char* modeFor(unsigned flags) {
    const bool readWrite = (flags & CStdioFile::modeReadWrite) != 0;
    const bool write = (flags & CStdioFile::modeWrite) != 0;
    const bool create = (flags & CStdioFile::modeCreate) != 0;
    const bool keep = (flags & CStdioFile::modeNoTruncate) != 0;
    if (create && !keep) return readWrite ? "w+b" : "wb";
    if (readWrite || write) return "r+b";
    return "rb";
}

constexpr size_t kStreamBuffer = 64 * 1024;

// Record fields are mostly one to six bytes wide, and a full fread or fwrite per field costs
// several times the field itself. Fields up to this width go straight through the stream's
// buffer instead; wider ones (texts) still take one call.
constexpr uint32_t kSmallField = 8;

#if !defined(_WIN32)
// The low count bytes of a little-endian value, stored the way a reader loads the field:
// stored byte by byte, an int16 or int32 loaded whole waits for every byte to land.
void storeField(unsigned char* out, uint64_t value, size_t count) {
    const auto low = static_cast<uint32_t>(value);
    const auto word = static_cast<uint16_t>(value);
    const auto high = static_cast<uint16_t>(value >> 32);
    switch (count) {
        case 2:
            std::memcpy(out, &word, 2);
            return;
        case 4:
            std::memcpy(out, &low, 4);
            return;
        case 6:  // Real48
            std::memcpy(out, &low, 4);
            std::memcpy(out + 4, &high, 2);
            return;
        default:
            for (size_t i = 0; i < count; ++i) out[i] = static_cast<unsigned char>(value >> 8 * i);
    }
}
#endif

size_t readFromStream(std::FILE* stream, unsigned char* bytes, uint32_t count) {
#if !defined(_WIN32)
    if (count <= kSmallField && std::endian::native == std::endian::little) {
        uint64_t value = 0;
        size_t got = 0;
        int c = 0;
        while (got < count && (c = getc_unlocked(stream)) != EOF) {
            value |= static_cast<uint64_t>(static_cast<unsigned char>(c)) << (8 * got++);
        }
        storeField(bytes, value, got);
        return got;
    }
#endif
    return std::fread(bytes, 1, count, stream);
}

size_t writeToStream(std::FILE* stream, const unsigned char* bytes, uint32_t count) {
#if !defined(_WIN32)
    if (count <= kSmallField) {
        size_t put = 0;
        while (put < count && putc_unlocked(bytes[put], stream) != EOF) ++put;
        return put;
    }
#endif
    return std::fwrite(bytes, 1, count, stream);
}

}  // namespace

CFileException::CFileException(int cause, long osError, std::string fileName)
    : m_cause(cause),
      m_lOsError(osError),
      m_strFileName(std::move(fileName)),
      description_(describe(cause, osError, m_strFileName)) {}

int fileExceptionCauseFromErrno(int osError) {
    switch (osError) {
        case ENOENT:
            return CFileException::fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case EISDIR:
            return CFileException::badPath;
        case EMFILE:
        case ENFILE:
            return CFileException::tooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
            return CFileException::accessDenied;
        case EBADF:
            return CFileException::invalidFile;
        case ENOSPC:
            return CFileException::diskFull;
        case EIO:
            return CFileException::hardIO;
        case EINVAL:
        case ESPIPE:
            return CFileException::badSeek;
        default:
            return CFileException::genericException;
    }
}

CStdioFile::CStdioFile(const std::string& path, unsigned flags)
    // Records are read field by field; a generous buffer keeps that to a few system calls.
    // It is handed to the stream: given none, some C runtimes ignore the size asked for and
    // keep their default of a few KiB.
    : path_(path), buffer_(new char[kStreamBuffer]) {
    const char* mode = modeFor(flags);
    stream_ = std::fopen(path.c_str(), mode);
    if (stream_ == nullptr && (flags & modeCreate) && (flags & modeNoTruncate)) {
        stream_ = std::fopen(path.c_str(), "w+b");
    }
    if (stream_ == nullptr) {
        const int err = errno;
        throw CFileException(fileExceptionCauseFromErrno(err), err, path_);
    }
    std::setvbuf(stream_, buffer_.get(), _IOFBF, kStreamBuffer);
}

CStdioFile::CStdioFile(std::FILE* stream, std::string path, bool owns, uint32_t position)
    : stream_(stream), path_(std::move(path)), owns_(owns), position_(position) {}

CStdioFile::~CStdioFile() {
    if (stream_ != nullptr && owns_) std::fclose(stream_);
}

void CStdioFile::throwLastError(int fallbackCause) const {
    const int err = errno;
    const int cause = err != 0 ? fileExceptionCauseFromErrno(err) : fallbackCause;
    throw CFileException(cause, err, path_);
}

uint32_t CStdioFile::Seek(int64_t offset, int origin) {
    const int whence = origin == begin ? SEEK_SET : origin == current ? SEEK_CUR : SEEK_END;
    if (stream_ == nullptr) throw CFileException(CFileException::invalidFile, 0, path_);
    errno = 0;
    if (std::fseek(stream_, static_cast<long>(offset), whence) != 0) {
        throwLastError(CFileException::badSeek);
    }
    const long now = std::ftell(stream_);
    // long is 32 bits on Windows: compare unsigned, or every position would be out of range.
    if (now < 0 || static_cast<uint64_t>(now) > UINT32_MAX) {
        throwLastError(CFileException::badSeek);
    }
    lastWasWrite_ = false;
    position_ = static_cast<uint32_t>(now);
    return position_;
}

uint32_t CStdioFile::Read(void* buffer, uint32_t count) {
    if (count == 0) return 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    size_t got = 0;
    if (stream_ != nullptr) {
        if (lastWasWrite_) {
            // The C runtime needs a positioning call between a write and a read.
            std::fseek(stream_, 0, SEEK_CUR);
            lastWasWrite_ = false;
        }
        got = readFromStream(stream_, bytes, count);
    }
    if (got < count) std::memset(bytes + got, 0, count - got);
    position_ += static_cast<uint32_t>(got);
    return static_cast<uint32_t>(got);
}

void CStdioFile::Write(const void* buffer, uint32_t count) {
    if (count == 0) return;
    if (stream_ == nullptr) throw CFileException(CFileException::invalidFile, 0, path_);
    if (!lastWasWrite_) {
        std::fseek(stream_, 0, SEEK_CUR);
        lastWasWrite_ = true;
    }
    errno = 0;
    const size_t put = writeToStream(stream_, static_cast<const unsigned char*>(buffer), count);
    position_ += static_cast<uint32_t>(put);
    if (put != count) {
        std::clearerr(stream_);
        throwLastError(CFileException::diskFull);
    }
}

void CStdioFile::Flush() {
    if (stream_ == nullptr) return;
    errno = 0;
    if (std::fflush(stream_) != 0) {
        std::clearerr(stream_);
        throwLastError(CFileException::hardIO);
    }
}

void CStdioFile::Close() {
    if (stream_ == nullptr) return;
    std::FILE* stream = stream_;
    stream_ = nullptr;
    if (!owns_) {
        errno = 0;
        if (std::fflush(stream) != 0) throwLastError(CFileException::hardIO);
        return;
    }
    errno = 0;
    if (std::fclose(stream) != 0) throwLastError(CFileException::hardIO);
}

void igcPrintf(CStdioFile& out, const char* format, ...) {
    std::FILE* stream = out.stream();
    if (stream == nullptr) throw CFileException(CFileException::invalidFile, 0, out.GetFilePath());
    va_list args;
    va_start(args, format);
    errno = 0;
    const int printed = std::vfprintf(stream, format, args);
    const int err = errno;
    va_end(args);
    // Some C runtimes flag the stream and still return the count of a print that failed.
    if (printed < 0 || std::ferror(stream) != 0) {
        std::clearerr(stream);
        throw CFileException(CFileException::genericException, err, out.GetFilePath());
    }
}
