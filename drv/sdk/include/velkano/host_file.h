// Host file layer: the file objects a host hands to the drivers, and the drivers' own
// companion-file class. Stands in for the platform's file classes; a host that loads a
// driver creates its files from these types and passes them through the FIO_ exports.
#pragma once

#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

// The file exception: raised by every file operation that fails. Carries the cause, the
// operating system's error number and the name of the file concerned.
class CFileException : public std::exception {
public:
    enum Cause : int {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    CFileException(int cause, long osError, std::string fileName);

    const char* what() const noexcept override { return description_.c_str(); }

    int m_cause;
    long m_lOsError;
    std::string m_strFileName;

private:
    std::string description_;
};

// Maps an errno value to the closest file-exception cause.
int fileExceptionCauseFromErrno(int osError);

// The host file: an open binary file. The drivers use exactly these operations.
class CFile {
public:
    enum SeekPosition : int { begin = 0, current = 1, end = 2 };

    virtual ~CFile() = default;

    // Offset of the next byte to be read or written. 0 tells a reader that the file's
    // header is still to be read.
    virtual uint32_t GetPosition() const = 0;
    // The file's full path as the host opened it.
    virtual std::string GetFilePath() const = 0;
    // Moves to offset relative to origin and returns the new position; throws
    // CFileException when the position is invalid.
    virtual uint32_t Seek(int64_t offset, int origin) = 0;
    // Reads up to count bytes and returns how many the file held. The bytes the file
    // could not fill are set to zero, so a caller always gets count defined bytes. A host's
    // own CFile must do both: return the true count and zero the rest of the buffer.
    virtual uint32_t Read(void* buffer, uint32_t count) = 0;
    // Writes count bytes or throws CFileException.
    virtual void Write(const void* buffer, uint32_t count) = 0;
};

class CStdioFile;

// Formatted printing to an IGC output file. On a failed print the stream's error state is
// cleared and CFileException(genericException, errno, file name) is thrown.
void igcPrintf(CStdioFile& out, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// A file over the C runtime's FILE stream. Records are read and written field by field, so
// the file keeps a read-ahead buffer of its own (or, while writing, a buffer of pending
// writes): a field costs a bounds check and a copy, the stream is called once per buffer.
// Field reads and writes assume a binary stream; formatted printing goes straight to the
// stream, so a text-mode stream translates what is printed.
class CStdioFile : public CFile {
public:
    // Open flags, with the values of the platform's file class.
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };

    // Opens path with the given flags; throws CFileException on failure.
    CStdioFile(const std::string& path, unsigned flags);
    // Takes over an open stream (ownership passes when owns is true). position is the
    // stream's current offset; path is the name quoted in errors. A stream that is not
    // owned is left where this object's position is when the object is destroyed.
    CStdioFile(std::FILE* stream, std::string path, bool owns, uint32_t position = 0);
    // Pending writes go to the stream; failures there show on the stream's error state.
    ~CStdioFile() override;

    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    uint32_t GetPosition() const override { return position_; }
    std::string GetFilePath() const override { return path_; }
    uint32_t Seek(int64_t offset, int origin) override;
    uint32_t Read(void* buffer, uint32_t count) override;
    // Writes that fail in the buffer's stream are reported at the latest by Flush or Close.
    void Write(const void* buffer, uint32_t count) override;

    // Writes buffered data to the operating system; throws CFileException on failure.
    void Flush();
    // Flushes and closes; throws CFileException when either fails. Idempotent.
    void Close();

    // The underlying stream, for a host that works on the stream itself: pending writes are
    // handed to it and unread read-ahead given back first, so it stands at GetPosition().
    // Throws CFileException when the pending writes fail.
    std::FILE* stream();

    // The width of the read-ahead and write buffer: the stream is called rarely, and the
    // buffer stays in the cache. Reads and writes at least this wide go to the stream directly.
    static constexpr uint32_t kBufferSize = 64 * 1024;

private:
    friend void igcPrintf(CStdioFile& out, const char* format, ...);

    enum class Mode : unsigned char { idle, reading, writing };
    // The C runtime needs a positioning call between a stream's reads and writes.
    enum class StreamOp : unsigned char { none, read, write, unknown };

    [[noreturn]] void throwLastError(int fallbackCause) const;
    uint32_t readSlow(unsigned char* bytes, uint32_t count);
    void writeSlow(const unsigned char* bytes, uint32_t count);
    void switchStreamTo(StreamOp op);
    // Readies the stream for formatted printing at this object's position.
    std::FILE* streamForPrinting();
    void ensureBuffer();
    // Writes the pending bytes to the stream; returns errno or 0. Never throws.
    int writePending() noexcept;
    // Ends reading or writing through the buffer: pending writes go out (throwing on
    // failure), unread read-ahead is given back to the stream.
    void releaseBuffer();
    void giveBackReadAhead() noexcept;

    std::FILE* stream_ = nullptr;
    std::string path_;
    bool owns_ = true;
    Mode mode_ = Mode::idle;
    StreamOp lastStreamOp_ = StreamOp::none;
    uint32_t position_ = 0;
    // Reading: the unread bytes are [next_, end_); writing: the pending bytes are [0, end_).
    uint32_t next_ = 0;
    uint32_t end_ = 0;
    std::unique_ptr<unsigned char[]> buffer_;  // allocated by the first field read or write
    // The stream's buffer when this object opened the stream; freed after the stream closes.
    std::unique_ptr<char[]> streamBuffer_;
};

// The drivers' own file, used for the companion turnpoint file.
class CFIOFile : public CStdioFile {
public:
    static constexpr unsigned kWriteFlags = typeBinary | modeCreate | shareExclusive | modeWrite;
    static constexpr unsigned kReadFlags = typeBinary | shareDenyNone | modeRead;

    CFIOFile(const std::string& path, unsigned flags) : CStdioFile(path, flags) {}
};
