#include "igc_output.h"

namespace velkano::tool {

std::string withLineEnding(std::string_view text, LineEnding ending) {
    if (ending == LineEnding::lf) return std::string(text);
    // Line by line rather than character by character: a long flight has over a megabyte.
    size_t lines = 0;
    for (size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) {
        ++lines;
    }
    std::string out;
    out.reserve(text.size() + lines);
    for (size_t end = text.find('\n'); end != std::string_view::npos; end = text.find('\n')) {
        out.append(text.substr(0, end)).append("\r\n");
        text.remove_prefix(end + 1);
    }
    out.append(text);
    return out;
}

IgcCapture::IgcCapture(const std::string& name)
    : file_(std::make_unique<CStdioFile>(memory_.stream(), name, false)) {}

std::string_view IgcCapture::contents() {
    return memory_.contents();
}

}  // namespace velkano::tool
