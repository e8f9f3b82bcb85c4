// The host file velkano hands to a driver for reading: an open file that remembers where
// the latest read began. The drivers read one field per call and throw right after the
// field that is wrong, so that offset is where a malformed file goes wrong.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "io/tool_error.h"
#include "velkano/host_file.h"

namespace velkano::tool {

class TrackedFile : public CFile {
public:
    explicit TrackedFile(CFile& file) : file_(file), position_(file.GetPosition()) {}

    uint32_t GetPosition() const override { return file_.GetPosition(); }
    std::string GetFilePath() const override { return file_.GetFilePath(); }
    uint32_t Seek(int64_t offset, int origin) override {
        position_ = file_.Seek(offset, origin);
        // The drivers probe a file's start for its header, taking what a short file lacks as
        // zeros, and rewind when there is no header: a headerless file may be shorter than a
        // header. Only reads after that rewind can be reads past the end.
        if (position_ == 0) readPastEnd_ = false;
        return position_;
    }
    // A read moves the position by the count it returns: the offset is followed here, so a
    // field costs no call to ask the file where it is.
    uint32_t Read(void* buffer, uint32_t count) override {
        lastReadStart_ = position_;
        ++reads_;
        const uint32_t got = file_.Read(buffer, count);
        if (got < count) readPastEnd_ = true;
        position_ += got;
        return got;
    }
    void Write(const void* buffer, uint32_t count) override {
        file_.Write(buffer, count);
        position_ += count;
    }

    uint32_t lastReadStart() const { return lastReadStart_; }
    uint64_t readCount() const { return reads_; }
    // True once a read asked for more than the file had left since the file was last at its
    // start: the file ended inside a field.
    bool readPastEnd() const { return readPastEnd_; }

    // Where a driver call that failed on this file of size bytes stood, for currentError.
    ErrorScene scene(std::string path, std::string record, uint64_t size) const {
        ErrorScene scene(std::move(path), std::move(record), lastReadStart_);
        if (readPastEnd_) scene.endedAt = size;
        return scene;
    }

private:
    CFile& file_;
    uint32_t position_;
    uint32_t lastReadStart_ = 0;
    uint64_t reads_ = 0;
    bool readPastEnd_ = false;
};

}  // namespace velkano::tool
