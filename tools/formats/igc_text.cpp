#include "formats/igc_text.h"

#include <algorithm>
#include <cstdio>

namespace velkano::tool {

namespace {

constexpr size_t kMakerWidth = 3;
// Two-digit years: the recorders this format comes from were made from the 1980s on.
constexpr int kCenturyPivot = 80;

// C DDMMYY HHMMSS DDMMYY NNNN TT: the declaration line up to its turnpoint count.
constexpr size_t kDeclarationLength = 25;
constexpr size_t kDeclarationCountAt = 23;
// B HHMMSS DDMMmmmN DDDMMmmmE V PPPPP GGGGG: a fix line up to its extensions.
constexpr size_t kFixLength = 35;
constexpr size_t kFixLatitudeAt = 7;
constexpr size_t kFixLongitudeAt = 15;
constexpr size_t kFixValidityAt = 24;
constexpr size_t kFixPressureAt = 25;
constexpr size_t kFixGnssAt = 30;
constexpr size_t kAltitudeWidth = 5;
// C DDMMmmmN DDDMMmmmE: a task point line up to its name.
constexpr size_t kPointLength = 18;
// I NN then CCCCCCC per extension: start and end column, three-letter code.
constexpr size_t kExtensionWidth = 7;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The unsigned decimal number of text[at, at + width), or -1 if those are not all digits.
int digits(std::string_view text, size_t at, size_t width) {
    if (at + width > text.size()) return -1;
    int value = 0;
    for (size_t i = at; i < at + width; ++i) {
        if (!isDigit(text[i])) return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// A fixed-width altitude; the writer puts a minus sign in the first column of a negative one.
bool readAltitude(std::string_view text, size_t at, int32_t& altitude) {
    if (text[at] == '-') {
        const int magnitude = digits(text, at + 1, kAltitudeWidth - 1);
        altitude = -magnitude;
        return magnitude >= 0;
    }
    altitude = digits(text, at, kAltitudeWidth);
    return altitude >= 0;
}

// DDMMmmmH or DDDMMmmmH: degrees of the given width, minutes, thousandths, hemisphere.
bool readCoordinate(std::string_view text, size_t at, size_t degreeWidth, char positive,
                    char negative, double& value) {
    const int degrees = digits(text, at, degreeWidth);
    const int minutes = digits(text, at + degreeWidth, 2);
    const int thousandths = digits(text, at + degreeWidth + 2, 3);
    const char hemisphere = at + degreeWidth + 5 < text.size() ? text[at + degreeWidth + 5] : 0;
    if (degrees < 0 || minutes < 0 || thousandths < 0) return false;
    if (hemisphere != positive && hemisphere != negative) return false;
    value = degrees + (minutes + thousandths / 1000.0) / 60.0;
    if (hemisphere == negative) value = -value;
    return true;
}

IgcDate readDate(std::string_view value) {
    if (value.substr(0, 5) == "DATE:") value.remove_prefix(5);
    if (value.size() > 6 && value[6] != ',') return {};
    const int day = digits(value, 0, 2);
    const int month = digits(value, 2, 2);
    const int year = digits(value, 4, 2);
    if (day < 0 || month < 0 || year < 0) return {};
    return {day, month, year < kCenturyPivot ? 2000 + year : 1900 + year};
}

void readRecorder(std::string_view line, IgcIdentity& identity) {
    identity.recorderMaker = std::string(line.substr(1, kMakerWidth));
    identity.recorderSerial = std::string(line.substr(std::min(line.size(), 1 + kMakerWidth)));
}

IgcHeader readHeader(std::string_view line) {
    IgcHeader header;
    header.source = line.size() > 1 ? line[1] : 'F';
    header.code = std::string(line.substr(std::min<size_t>(2, line.size()), 3));
    const size_t colon = line.find(':');
    const size_t valueAt = colon == std::string_view::npos ? 5 : colon + 1;
    header.value = std::string(line.substr(std::min(valueAt, line.size())));
    return header;
}

std::vector<IgcExtension> readExtensions(std::string_view line) {
    std::vector<IgcExtension> extensions;
    const int count = digits(line, 1, 2);
    for (int i = 0; i < count; ++i) {
        const size_t at = 3 + static_cast<size_t>(i) * kExtensionWidth;
        const int first = digits(line, at, 2);
        const int last = digits(line, at + 2, 2);
        if (first < 0 || last < 0 || at + kExtensionWidth > line.size()) break;
        extensions.push_back({std::string(line.substr(at + 4, 3)), first, last});
    }
    return extensions;
}

bool readTaskPoint(std::string_view line, IgcTaskPoint& point) {
    if (line.size() < kPointLength) return false;
    point.name = std::string(line.substr(kPointLength));
    return readCoordinate(line, 1, 2, 'N', 'S', point.latitude) &&
           readCoordinate(line, 9, 3, 'E', 'W', point.longitude);
}

bool readFix(std::string_view line, IgcFix& fix) {
    if (line.size() < kFixLength) return false;
    const int hours = digits(line, 1, 2);
    const int minutes = digits(line, 3, 2);
    const int seconds = digits(line, 5, 2);
    if (hours < 0 || minutes < 0 || seconds < 0) return false;
    fix.seconds = hours * 3600 + minutes * 60 + seconds;
    const char validity = line[kFixValidityAt];
    fix.valid = validity == 'A';
    fix.extensions = std::string(line.substr(kFixLength));
    return (validity == 'A' || validity == 'V') &&
           readCoordinate(line, kFixLatitudeAt, 2, 'N', 'S', fix.latitude) &&
           readCoordinate(line, kFixLongitudeAt, 3, 'E', 'W', fix.longitude) &&
           readAltitude(line, kFixPressureAt, fix.pressureAltitude) &&
           readAltitude(line, kFixGnssAt, fix.gnssAltitude);
}

}  // namespace

std::string isoDate(const IgcDate& date) {
    if (date.year == 0) return "";
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year % 10000, date.month % 100,
                  date.day % 100);
    return text;
}

std::string IgcFlightText::header(std::string_view code) const {
    for (const IgcHeader& h : headers) {
        if (h.code == code) return h.value;
    }
    return {};
}

int IgcFlightText::extension(const IgcFix& fix, std::string_view code) const {
    // Columns count from 1 over the whole B line, whose extensions begin in column 36.
    constexpr int kFirstExtensionColumn = static_cast<int>(kFixLength) + 1;
    for (const IgcExtension& e : fixExtensions) {
        if (e.code != code || e.first < kFirstExtensionColumn || e.last < e.first) continue;
        return digits(fix.extensions, static_cast<size_t>(e.first - kFirstExtensionColumn),
                      static_cast<size_t>(e.last - e.first + 1));
    }
    return -1;
}

IgcFlightText parseIgcText(std::string_view igc) {
    IgcFlightText flight;
    bool haveRecorder = false;
    bool haveDeclaration = false;
    int32_t day = 0;
    size_t lineNumber = 0;
    while (!igc.empty()) {
        const size_t end = igc.find('\n');
        std::string_view line = igc.substr(0, end);
        igc.remove_prefix(end == std::string_view::npos ? igc.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++lineNumber;
        if (line.empty()) continue;
        switch (line.front()) {
            case 'A':
                if (haveRecorder) break;
                haveRecorder = true;
                readRecorder(line, flight);
                break;
            case 'H':
                flight.headers.push_back(readHeader(line));
                if (flight.headers.back().code == "DTE" && flight.date.year == 0)
                    flight.date = readDate(flight.headers.back().value);
                break;
            case 'I':
                flight.fixExtensions = readExtensions(line);
                break;
            case 'C':
                if (!haveDeclaration) {
                    if (line.size() < kDeclarationLength)
                        throw IgcTextError(lineNumber, "C declaration line too short");
                    flight.declaredTurnpoints = std::max(digits(line, kDeclarationCountAt, 2), 0);
                    haveDeclaration = true;
                } else {
                    IgcTaskPoint point;
                    if (!readTaskPoint(line, point))
                        throw IgcTextError(lineNumber, "malformed C task point line");
                    flight.task.push_back(std::move(point));
                }
                break;
            case 'B': {
                IgcFix fix;
                if (!readFix(line, fix)) throw IgcTextError(lineNumber, "malformed B fix line");
                if (!flight.fixes.empty() &&
                    flight.fixes.back().seconds - day * kSecondsPerDay - fix.seconds >
                        kSecondsPerDay / 2)
                    ++day;
                fix.seconds += day * kSecondsPerDay;
                flight.fixes.push_back(std::move(fix));
                break;
            }
            default:
                break;
        }
    }
    return flight;
}

IgcIdentity readIgcIdentity(std::string_view igc) {
    IgcIdentity identity;
    bool haveRecorder = false;
    while (!igc.empty() && !(haveRecorder && identity.date.year != 0)) {
        const size_t end = igc.find('\n');
        std::string_view line = igc.substr(0, end);
        igc.remove_prefix(end == std::string_view::npos ? igc.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.starts_with('B')) break;
        if (line.starts_with('A') && !haveRecorder) {
            haveRecorder = true;
            readRecorder(line, identity);
        } else if (line.starts_with("HFDTE") && identity.date.year == 0) {
            identity.date = readDate(readHeader(line).value);
        }
    }
    return identity;
}

}  // namespace velkano::tool
