#include "igc_output.h"

#include <algorithm>

namespace velkano::tool {

std::string withLineEnding(std::string_view text, LineEnding ending) {
    if (ending == LineEnding::lf) return std::string(text);
    std::string out;
    out.reserve(text.size() + static_cast<size_t>(std::count(text.begin(), text.end(), '\n')));
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

IgcCapture::IgcCapture(const std::string& name)
    : file_(std::make_unique<CStdioFile>(memory_.stream(), name, false)) {}

std::string IgcCapture::contents() {
    return memory_.contents();
}

}  // namespace velkano::tool
