#include "formats/igc_output.h"

namespace velkano::tool {

std::optional<LineEnding> lineEndingNamed(std::string_view name) {
    if (name == "crlf") return LineEnding::crlf;
    if (name == "lf") return LineEnding::lf;
    return std::nullopt;
}

std::optional<IgcCharset> igcCharsetNamed(std::string_view name) {
    if (name == "utf-8") return IgcCharset::utf8;
    if (name == "ascii") return IgcCharset::ascii;
    if (name == "raw") return IgcCharset::raw;
    return std::nullopt;
}

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

namespace {

// Large enough that the output is written rarely, small enough to stay in the cache.
constexpr size_t kIgcBlock = 64 * 1024;

}  // namespace

void writeIgc(std::string_view driverText, IgcCharset charset, LineEnding ending,
              const OutputSink& sink) {
    const std::string_view newline = ending == LineEnding::crlf ? "\r\n" : "\n";
    std::string out;
    out.reserve(kIgcBlock + kIgcBlock / 2);
    while (!driverText.empty()) {
        const size_t end = driverText.find('\n');
        const bool ended = end != std::string_view::npos;
        const std::string_view line = driverText.substr(0, ended ? end : driverText.size());
        driverText.remove_prefix(ended ? end + 1 : driverText.size());
        // A fix holds no text: its bytes stay as they are, whatever the charset.
        if (charset == IgcCharset::raw || line.starts_with('B')) {
            out += line;
        } else {
            out += withIgcCharset(line, charset);
        }
        if (ended) out += newline;
        if (out.size() >= kIgcBlock) {
            sink(out);
            out.clear();
        }
    }
    if (!out.empty()) sink(out);
}

}  // namespace velkano::tool
