// The driver state behind the handle FIO_InitDriver returns. Each driver derives its own
// state from FIOVelkano17 and creates it in makeDriverState (driver_frame.h); a host sees
// only the handle.
#pragma once

#include <cstdint>

class FIOVelkano17 {
public:
    virtual ~FIOVelkano17() = default;

    FIOVelkano17(const FIOVelkano17&) = delete;
    FIOVelkano17& operator=(const FIOVelkano17&) = delete;

protected:
    FIOVelkano17() = default;
};

namespace velkano {

// The records of one file being read or written. Never reset between files but by a
// header: a host that reads on after the last record gets nothing more.
struct RecordCounts {
    int32_t total = 0;  // the count of the file's header
    int32_t done = 0;   // records read or written since that header
    // Set while the header at the start of the file being written is this state's, so a
    // short write can correct the header's count before the trailer.
    bool headerWritten = false;

    bool finished() const { return done >= total; }
};

}  // namespace velkano
