// The IGC output file layer of velkano: the driver prints a flight into memory, and the
// bytes reach their file or standard output with the line ends the user asked for.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "igc_charset.h"
#include "output_sink.h"
#include "platform.h"
#include "velkano/host_file.h"

namespace velkano::tool {

enum class LineEnding { crlf, lf };

// The driver ends lines with a bare LF. IGC files want CR LF, which is also what a
// text-mode output file turns every LF into on the host's platform; lf keeps the bytes.
std::string withLineEnding(std::string_view text, LineEnding ending);

// withLineEnding(withIgcCharset(driverText, charset), ending), handed to sink in blocks: the
// fixes of a long flight go from the driver's text to the output in one pass, never copied
// whole.
void writeIgc(std::string_view driverText, IgcCharset charset, LineEnding ending,
              const OutputSink& sink);

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
