#include "host/igc_capture.h"

namespace velkano::tool {

IgcCapture::IgcCapture(const std::string& name)
    : file_(std::make_unique<CStdioFile>(memory_.stream(), name, false)) {}

std::string_view IgcCapture::contents() {
    return memory_.contents();
}

}  // namespace velkano::tool
