#include "velkano/host_file.h"

#include <algorithm>
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

// Record fields are one to six bytes wide: copied with a width the compiler knows, a field
// costs a few instructions instead of a call. False for the other widths.
inline bool copyField(unsigned char* to, const unsigned char* from, uint32_t count) {
    switch (count) {
        case 1:
            *to = *from;
            return true;
        case 2:
            std::memcpy(to, from, 2);
            return true;
        case 4:
            std::memcpy(to, from, 4);
            return true;
        case 6:
            std::memcpy(to, from, 6);
            return true;
        default:
            return false;
    }
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
    // Printing goes through the stream's buffer: given none, some C runtimes ignore the size
    // asked for and keep their default of a few KiB.
    : path_(path), streamBuffer_(new char[kStreamBuffer]) {
    const char* mode = modeFor(flags);
    stream_ = std::fopen(path.c_str(), mode);
    if (stream_ == nullptr && (flags & modeCreate) && (flags & modeNoTruncate)) {
        stream_ = std::fopen(path.c_str(), "w+b");
    }
    if (stream_ == nullptr) {
        const int err = errno;
        throw CFileException(fileExceptionCauseFromErrno(err), err, path_);
    }
    std::setvbuf(stream_, streamBuffer_.get(), _IOFBF, kStreamBuffer);
}

// The owner may have read or written the stream last.
CStdioFile::CStdioFile(std::FILE* stream, std::string path, bool owns, uint32_t position)
    : stream_(stream),
      path_(std::move(path)),
      owns_(owns),
      lastStreamOp_(StreamOp::unknown),
      position_(position) {}

CStdioFile::~CStdioFile() {
    if (stream_ == nullptr) return;
    if (mode_ == Mode::writing) {
        writePending();
    } else if (mode_ == Mode::reading && !owns_) {
        giveBackReadAhead();
    }
    if (owns_) std::fclose(stream_);
}

void CStdioFile::throwLastError(int fallbackCause) const {
    const int err = errno;
    const int cause = err != 0 ? fileExceptionCauseFromErrno(err) : fallbackCause;
    throw CFileException(cause, err, path_);
}

void CStdioFile::switchStreamTo(StreamOp op) {
    if (lastStreamOp_ != StreamOp::none && lastStreamOp_ != op) {
        std::fseek(stream_, 0, SEEK_CUR);
    }
    lastStreamOp_ = op;
}

std::FILE* CStdioFile::stream() {
    if (stream_ == nullptr) return nullptr;
    releaseBuffer();
    switchStreamTo(StreamOp::unknown);
    return stream_;
}

std::FILE* CStdioFile::streamForPrinting() {
    if (stream_ == nullptr) throw CFileException(CFileException::invalidFile, 0, path_);
    if (mode_ != Mode::idle) releaseBuffer();
    // After the owner's own use of the stream, positioning is the owner's part, as it is for
    // any print to a stream.
    if (lastStreamOp_ == StreamOp::read) std::fseek(stream_, 0, SEEK_CUR);
    lastStreamOp_ = StreamOp::write;
    return stream_;
}

void CStdioFile::ensureBuffer() {
    if (!buffer_) buffer_.reset(new unsigned char[kBufferSize]);
}

int CStdioFile::writePending() noexcept {
    const uint32_t pending = end_;
    mode_ = Mode::idle;
    next_ = end_ = 0;
    if (pending == 0) return 0;
    switchStreamTo(StreamOp::write);
    errno = 0;
    if (std::fwrite(buffer_.get(), 1, pending, stream_) == pending) return 0;
    const int err = errno;
    std::clearerr(stream_);
    return err != 0 ? err : ENOSPC;
}

void CStdioFile::giveBackReadAhead() noexcept {
    const uint32_t unread = end_ - next_;
    mode_ = Mode::idle;
    next_ = end_ = 0;
    if (unread == 0) return;
    std::fseek(stream_, -static_cast<long>(unread), SEEK_CUR);
    lastStreamOp_ = StreamOp::none;
}

void CStdioFile::releaseBuffer() {
    if (mode_ == Mode::reading) {
        giveBackReadAhead();
        return;
    }
    const int err = writePending();
    if (err != 0) throw CFileException(fileExceptionCauseFromErrno(err), err, path_);
}

uint32_t CStdioFile::Seek(int64_t offset, int origin) {
    if (stream_ == nullptr) throw CFileException(CFileException::invalidFile, 0, path_);
    if (mode_ == Mode::reading && origin != end) {
        // Inside the read-ahead (a reader going back to a header, say): no stream call.
        const int64_t target = origin == begin ? offset : position_ + offset;
        const int64_t bufferStart = static_cast<int64_t>(position_) - next_;
        if (target >= bufferStart && target <= bufferStart + end_) {
            next_ = static_cast<uint32_t>(target - bufferStart);
            position_ = static_cast<uint32_t>(target);
            return position_;
        }
    }
    // The stream stands where this object's position is once the buffer is released.
    releaseBuffer();
    const int whence = origin == begin ? SEEK_SET : origin == current ? SEEK_CUR : SEEK_END;
    errno = 0;
    if (std::fseek(stream_, static_cast<long>(offset), whence) != 0) {
        throwLastError(CFileException::badSeek);
    }
    lastStreamOp_ = StreamOp::none;
    const long now = std::ftell(stream_);
    // long is 32 bits on Windows: compare unsigned, or every position would be out of range.
    if (now < 0 || static_cast<uint64_t>(now) > UINT32_MAX) {
        throwLastError(CFileException::badSeek);
    }
    position_ = static_cast<uint32_t>(now);
    return position_;
}

uint32_t CStdioFile::Read(void* buffer, uint32_t count) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    if (mode_ == Mode::reading && end_ - next_ >= count &&
        copyField(bytes, buffer_.get() + next_, count)) {
        next_ += count;
        position_ += count;
        return count;
    }
    return readSlow(bytes, count);
}

uint32_t CStdioFile::readSlow(unsigned char* bytes, uint32_t count) {
    if (count == 0) return 0;
    uint32_t got = 0;
    if (stream_ != nullptr) {
        if (mode_ == Mode::writing) releaseBuffer();
        if (mode_ == Mode::idle) {
            ensureBuffer();
            mode_ = Mode::reading;
        }
        switchStreamTo(StreamOp::read);
        while (got < count) {
            if (next_ == end_) {
                if (count - got >= kBufferSize) {
                    got += static_cast<uint32_t>(std::fread(bytes + got, 1, count - got, stream_));
                    break;
                }
                next_ = 0;
                end_ = static_cast<uint32_t>(std::fread(buffer_.get(), 1, kBufferSize, stream_));
                if (end_ == 0) break;
            }
            const uint32_t take = std::min(count - got, end_ - next_);
            std::memcpy(bytes + got, buffer_.get() + next_, take);
            next_ += take;
            got += take;
        }
    }
    if (got < count) std::memset(bytes + got, 0, count - got);
    position_ += got;
    return got;
}

void CStdioFile::Write(const void* buffer, uint32_t count) {
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    if (mode_ == Mode::writing && kBufferSize - end_ >= count &&
        copyField(buffer_.get() + end_, bytes, count)) {
        end_ += count;
        position_ += count;
        return;
    }
    writeSlow(bytes, count);
}

void CStdioFile::writeSlow(const unsigned char* bytes, uint32_t count) {
    if (count == 0) return;
    if (stream_ == nullptr) throw CFileException(CFileException::invalidFile, 0, path_);
    if (mode_ == Mode::writing && kBufferSize - end_ >= count) {
        std::memcpy(buffer_.get() + end_, bytes, count);
        end_ += count;
        position_ += count;
        return;
    }
    if (mode_ == Mode::writing) {
        releaseBuffer();  // full
    } else if (mode_ == Mode::reading) {
        giveBackReadAhead();  // one position for reading and writing
    }
    if (count >= kBufferSize) {
        switchStreamTo(StreamOp::write);
        errno = 0;
        const size_t put = std::fwrite(bytes, 1, count, stream_);
        position_ += static_cast<uint32_t>(put);
        if (put != count) {
            std::clearerr(stream_);
            throwLastError(CFileException::diskFull);
        }
        return;
    }
    ensureBuffer();
    mode_ = Mode::writing;
    std::memcpy(buffer_.get(), bytes, count);
    end_ = count;
    position_ += count;
}

void CStdioFile::Flush() {
    if (stream_ == nullptr) return;
    if (mode_ == Mode::writing) releaseBuffer();
    errno = 0;
    if (std::fflush(stream_) != 0) {
        std::clearerr(stream_);
        throwLastError(CFileException::hardIO);
    }
}

void CStdioFile::Close() {
    if (stream_ == nullptr) return;
    int err = 0;
    if (mode_ == Mode::writing) {
        err = writePending();
    } else if (mode_ == Mode::reading && !owns_) {
        giveBackReadAhead();
    }
    std::FILE* stream = stream_;
    stream_ = nullptr;
    // Flushed on its own: some C runtimes' fclose does not report a flush that failed.
    errno = 0;
    if (std::fflush(stream) != 0 && err == 0) err = errno != 0 ? errno : EIO;
    errno = 0;
    if (owns_ && std::fclose(stream) != 0 && err == 0) err = errno != 0 ? errno : EIO;
    if (err != 0) throw CFileException(fileExceptionCauseFromErrno(err), err, path_);
}

void igcPrintf(CStdioFile& out, const char* format, ...) {
    std::FILE* stream = out.streamForPrinting();
    va_list args;
    va_start(args, format);
    errno = 0;
    int printed = 0;
    if (std::strcmp(format, "%s") == 0) {
        // A line put together by the writer: the bytes "%s" prints, without parsing a format
        // for each of a flight's tens of thousands of lines.
        const char* text = va_arg(args, const char*);
        const size_t length = std::strlen(text);
        printed = std::fwrite(text, 1, length, stream) == length ? static_cast<int>(length) : -1;
    } else {
        printed = std::vfprintf(stream, format, args);
    }
    const int err = errno;
    va_end(args);
    // Some C runtimes flag the stream and still return the count of a print that failed.
    if (printed < 0 || std::ferror(stream) != 0) {
        std::clearerr(stream);
        throw CFileException(CFileException::genericException, err, out.GetFilePath());
    }
    out.position_ += static_cast<uint32_t>(printed);
}
