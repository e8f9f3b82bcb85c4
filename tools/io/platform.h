// The few operations that differ between POSIX and Windows, kept in one place.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace velkano::tool {

// Creates path, failing when it already exists, and opens it for binary writing. Null on
// failure, with errno set (EEXIST for a name that is taken).
std::FILE* createExclusive(const std::string& path);

// Moves from to to unless to exists. False, leaving both alone, when to exists; throws
// std::system_error on any other failure.
bool moveNoReplace(const std::string& from, const std::string& to);

bool isTerminal(std::FILE* stream);

// Lets a write to a closed pipe fail with EPIPE instead of ending the process unannounced,
// so the tool can end quietly on its own terms.
void ignoreBrokenPipe();

// SIGINT and SIGTERM remove the files named by removeOnInterrupt and end the process as the
// signal would have. A few files at a time are tracked; more are left to the normal cleanup.
void installInterruptCleanup();
void removeOnInterrupt(const std::string& path);
void forgetOnInterrupt(const std::string& path);

// Stops the C runtime from translating line ends on stream (Windows text mode).
void setBinaryMode(std::FILE* stream);

// A write stream whose bytes can be taken back: an anonymous temporary file, or memory where
// no temporary file can be had.
class ReadBackStream {
public:
    ReadBackStream();  // throws std::system_error when no stream can be had
    ~ReadBackStream();
    ReadBackStream(const ReadBackStream&) = delete;
    ReadBackStream& operator=(const ReadBackStream&) = delete;

    std::FILE* stream() const { return stream_; }
    // Everything written so far, valid until the next write or the end of the stream: a
    // flight's text is taken as it lies, not copied. Throws std::system_error when the
    // stream failed.
    std::string_view contents();

private:
    std::unique_ptr<char[]> streamBuffer_;  // outlives the stream
    std::FILE* stream_ = nullptr;
    char* buffer_ = nullptr;  // the bytes, when they are kept in memory
    size_t size_ = 0;
    std::string copy_;  // the bytes read back from the temporary file
};

}  // namespace velkano::tool
