// The host file velkano hands to a driver for reading: an open file that remembers where
// the latest read began. The drivers read one field per call and throw right after the
// field that is wrong, so that offset is where a malformed file goes wrong.
#pragma once

#include <cstdint>
#include <string>

#include "velkano/host_file.h"

namespace velkano::tool {

class TrackedFile : public CFile {
public:
    explicit TrackedFile(CFile& file) : file_(file) {}

    uint32_t GetPosition() const override { return file_.GetPosition(); }
    std::string GetFilePath() const override { return file_.GetFilePath(); }
    uint32_t Seek(int64_t offset, int origin) override { return file_.Seek(offset, origin); }
    uint32_t Read(void* buffer, uint32_t count) override {
        lastReadStart_ = file_.GetPosition();
        ++reads_;
        return file_.Read(buffer, count);
    }
    void Write(const void* buffer, uint32_t count) override { file_.Write(buffer, count); }

    uint32_t lastReadStart() const { return lastReadStart_; }
    uint64_t readCount() const { return reads_; }

private:
    CFile& file_;
    uint32_t lastReadStart_ = 0;
    uint64_t reads_ = 0;
};

}  // namespace velkano::tool
