// The IGC output file velkano hands to FIO_Flight2IGC: the driver prints a flight into
// memory, where it is held until the flight is complete.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "io/platform.h"
#include "velkano/host_file.h"

namespace velkano::tool {

// The IGC output file handed to FIO_Flight2IGC: everything printed is held back, so a flight
// that fails leaves nothing behind and a finished one can be named by its contents.
class IgcCapture {
public:
    // name: what print errors quote as the output file.
    explicit IgcCapture(const std::string& name);

    CStdioFile& file() { return *file_; }
    // Everything printed so far, valid until the next print or the end of the capture.
    std::string_view contents();

private:
    ReadBackStream memory_;
    std::unique_ptr<CStdioFile> file_;
};

}  // namespace velkano::tool
