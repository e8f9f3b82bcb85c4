// The IGC text velkano writes: the driver's text of a flight, with the character set and the
// line ends the user asked for.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "formats/igc_charset.h"
#include "formats/output_sink.h"

namespace velkano::tool {

enum class LineEnding { crlf, lf };

// The choices by the names the command line and the page give them: "crlf", "lf"; "utf-8",
// "ascii", "raw". Nothing for any other name.
std::optional<LineEnding> lineEndingNamed(std::string_view name);
std::optional<IgcCharset> igcCharsetNamed(std::string_view name);

// The driver ends lines with a bare LF. IGC files want CR LF, which is also what a
// text-mode output file turns every LF into on the host's platform; lf keeps the bytes.
std::string withLineEnding(std::string_view text, LineEnding ending);

// withLineEnding(withIgcCharset(driverText, charset), ending), handed to sink in blocks: the
// fixes of a long flight go from the driver's text to the output in one pass, never copied
// whole.
void writeIgc(std::string_view driverText, IgcCharset charset, LineEnding ending,
              const OutputSink& sink);

}  // namespace velkano::tool
