#include "igc_name.h"

#include <algorithm>
#include <cstdio>

namespace velkano::tool {

namespace {

constexpr std::string_view kDateLine = "HFDTE";
constexpr std::string_view kUnknownDate = "0000-00-00";
constexpr std::string_view kUnknownMaker = "XXX";
constexpr std::string_view kUnknownSerial = "000";
constexpr size_t kMakerWidth = 3;
constexpr size_t kMaxSerialLength = 64;
// Two-digit years: the recorders this format comes from were made from the 1980s on.
constexpr int kCenturyPivot = 80;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isAlphanumeric(char c) {
    return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string fileNamePart(std::string_view text, size_t limit, std::string_view fallback) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string part;
    for (const char c : text.substr(0, limit)) part += isAlphanumeric(c) ? c : '_';
    return part.empty() ? std::string(fallback) : part;
}

// "HFDTEDDMMYY", also in the newer "HFDTEDATE:DDMMYY,NN" form.
std::string dateOf(std::string_view line) {
    line.remove_prefix(kDateLine.size());
    if (line.substr(0, 5) == "DATE:") line.remove_prefix(5);
    if (line.size() < 6 || (line.size() > 6 && line[6] != ',')) return std::string(kUnknownDate);
    for (size_t i = 0; i < 6; ++i) {
        if (!isDigit(line[i])) return std::string(kUnknownDate);
    }
    auto twoDigits = [&](size_t at) { return (line[at] - '0') * 10 + (line[at + 1] - '0'); };
    const int year = twoDigits(4) < kCenturyPivot ? 2000 + twoDigits(4) : 1900 + twoDigits(4);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, twoDigits(2), twoDigits(0));
    return text;
}

}  // namespace

FlightIdentity identifyFlight(std::string_view igc) {
    FlightIdentity flight{std::string(kUnknownDate), std::string(kUnknownMaker),
                          std::string(kUnknownSerial)};
    bool haveRecorder = false;
    bool haveDate = false;
    while (!igc.empty() && !(haveRecorder && haveDate)) {
        const size_t end = igc.find('\n');
        std::string_view line = igc.substr(0, end);
        igc.remove_prefix(end == std::string_view::npos ? igc.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!haveRecorder && !line.empty() && line.front() == 'A') {
            const std::string_view record = line.substr(1);
            flight.maker = fileNamePart(record.substr(0, kMakerWidth), kMakerWidth, kUnknownMaker);
            flight.serial = fileNamePart(record.substr(std::min(record.size(), kMakerWidth)),
                                         kMaxSerialLength, kUnknownSerial);
            haveRecorder = true;
        } else if (!haveDate && line.substr(0, kDateLine.size()) == kDateLine) {
            flight.date = dateOf(line);
            haveDate = true;
        }
    }
    return flight;
}

std::string igcFileName(const FlightIdentity& flight, int flightOfDay) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", flightOfDay);
    return flight.date + "-" + flight.maker + "-" + flight.serial + "-" + number + ".igc";
}

}  // namespace velkano::tool
