#include "formats/igc_name.h"

#include <cstdio>

#include "formats/igc_text.h"

namespace velkano::tool {

namespace {

constexpr std::string_view kUnknownDate = "0000-00-00";
constexpr std::string_view kUnknownMaker = "XXX";
constexpr std::string_view kUnknownSerial = "000";
constexpr size_t kMaxSerialLength = 64;

bool isAlphanumeric(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string fileNamePart(std::string_view text, size_t limit, std::string_view fallback) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string part;
    for (const char c : text.substr(0, limit)) part += isAlphanumeric(c) ? c : '_';
    return part.empty() ? std::string(fallback) : part;
}

}  // namespace

FlightIdentity identifyFlight(std::string_view igc) {
    const IgcIdentity identity = readIgcIdentity(igc);
    const std::string date = isoDate(identity.date);
    return {date.empty() ? std::string(kUnknownDate) : date,
            fileNamePart(identity.recorderMaker, identity.recorderMaker.size(), kUnknownMaker),
            fileNamePart(identity.recorderSerial, kMaxSerialLength, kUnknownSerial)};
}

std::string igcFileName(const FlightIdentity& flight, int flightOfDay) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", flightOfDay);
    return flight.date + "-" + flight.maker + "-" + flight.serial + "-" + number + ".igc";
}

}  // namespace velkano::tool
