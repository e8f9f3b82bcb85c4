// An in-memory host file over a byte buffer: reads past the end deliver zeros, writes grow
// the buffer. Counts the Read and Write calls so tests can check field-by-field access.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "velkano/host_file.h"

class MemFile : public CFile {
public:
    static constexpr uint8_t kUnfilled = 0xA5;

    // Another host's file: Read returns the short count and leaves the bytes it could not
    // fill as they were; kUnfilled there shows a reader that used them.
    static MemFile leavingShortReadsUnfilled(std::vector<uint8_t> bytes) {
        MemFile file(std::move(bytes));
        file.fillsShortReads_ = false;
        return file;
    }

    explicit MemFile(std::vector<uint8_t> bytes = {}, std::string path = "/mem/file.bin")
        : bytes_(std::move(bytes)), path_(std::move(path)) {}

    uint32_t GetPosition() const override { return position_; }
    std::string GetFilePath() const override { return path_; }

    uint32_t Seek(int64_t offset, int origin) override {
        const int64_t base = origin == begin ? 0 : origin == current ? position_ : size();
        const int64_t target = base + offset;
        if (target < 0 || target > UINT32_MAX) {
            throw CFileException(CFileException::badSeek, 0, path_);
        }
        position_ = static_cast<uint32_t>(target);
        return position_;
    }

    uint32_t Read(void* buffer, uint32_t count) override {
        ++reads;
        auto* out = static_cast<uint8_t*>(buffer);
        uint32_t got = 0;
        if (position_ < bytes_.size()) {
            got = static_cast<uint32_t>(std::min<uint64_t>(count, bytes_.size() - position_));
            std::memcpy(out, bytes_.data() + position_, got);
        }
        if (got < count) std::memset(out + got, fillsShortReads_ ? 0 : kUnfilled, count - got);
        position_ += got;
        return got;
    }

    void Write(const void* buffer, uint32_t count) override {
        ++writes;
        if (failWrites) throw CFileException(CFileException::diskFull, 28, path_);
        const uint64_t end = static_cast<uint64_t>(position_) + count;
        if (end > bytes_.size()) bytes_.resize(end);
        if (count > 0) std::memcpy(bytes_.data() + position_, buffer, count);
        position_ = static_cast<uint32_t>(end);
    }

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    int64_t size() const { return static_cast<int64_t>(bytes_.size()); }

    int reads = 0;
    int writes = 0;
    bool failWrites = false;

private:
    std::vector<uint8_t> bytes_;
    std::string path_;
    uint32_t position_ = 0;
    bool fillsShortReads_ = true;
};
