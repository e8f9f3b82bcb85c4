#include "igc_import.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <utility>

namespace testenc {

namespace {

// B record columns (0-based offsets).
constexpr size_t kTimeAt = 1, kTimeWidth = 6;
constexpr size_t kLatitudeAt = 7, kLatitudeWidth = 8;
constexpr size_t kLongitudeAt = 15, kLongitudeWidth = 9;
constexpr size_t kValidityAt = 24;
constexpr size_t kPressureAt = 25, kGnssAt = 30, kAltitudeWidth = 5;
constexpr size_t kShortestFix = 35;

// C point lines: latitude, longitude, then the name.
constexpr size_t kPointNameAt = 18;

constexpr int kSecondsPerDay = 86400;
constexpr int kMidnightJump = 12 * 3600;

std::string_view trim(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    return text;
}

int toInt(std::string_view digits, std::string_view line) {
    int value = 0;
    const char* first = digits.data();
    if (!digits.empty() && digits.front() == '+') ++first;
    const auto [end, error] = std::from_chars(first, digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        throw std::runtime_error("IGC: bad number in line: " + std::string(line));
    }
    return value;
}

bool isPointLine(std::string_view line) {
    if (line.size() < kPointNameAt) return false;
    const char ns = line[8], ew = line[17];
    return (ns == 'N' || ns == 'S') && (ew == 'E' || ew == 'W');
}

// The value of an H line: after the first colon, or after the three-letter code.
std::string headerValue(std::string_view line) {
    const size_t colon = line.find(':');
    return std::string(
        trim(colon != std::string_view::npos ? line.substr(colon + 1) : line.substr(5)));
}

struct Extension {
    size_t at = 0;
    size_t width = 0;
};

std::optional<Extension> findEnl(std::string_view line) {
    if (line.size() < 3) return std::nullopt;
    const int count = toInt(line.substr(1, 2), line);
    for (int i = 0; i < count; ++i) {
        const size_t at = 3 + 7 * static_cast<size_t>(i);
        if (line.size() < at + 7) break;
        if (line.substr(at + 4, 3) == "ENL") {
            const int start = toInt(line.substr(at, 2), line);
            const int finish = toInt(line.substr(at + 2, 2), line);
            if (start < 1 || finish < start) return std::nullopt;
            return Extension{static_cast<size_t>(start - 1),
                             static_cast<size_t>(finish - start + 1)};
        }
    }
    return std::nullopt;
}

IgcFix parseFix(std::string_view line, const std::optional<Extension>& enl) {
    if (line.size() < kShortestFix) {
        throw std::runtime_error("IGC: short B record: " + std::string(line));
    }
    IgcFix fix;
    fix.time = line.substr(kTimeAt, kTimeWidth);
    fix.latitude = line.substr(kLatitudeAt, kLatitudeWidth);
    fix.longitude = line.substr(kLongitudeAt, kLongitudeWidth);
    fix.validity = line[kValidityAt];
    fix.pressureAltitude = toInt(line.substr(kPressureAt, kAltitudeWidth), line);
    fix.gnssAltitude = toInt(line.substr(kGnssAt, kAltitudeWidth), line);
    if (enl && line.size() >= enl->at + enl->width) {
        fix.enl = toInt(line.substr(enl->at, enl->width), line);
    }
    return fix;
}

void parseDate(std::string_view line, IgcLog& log) {
    // HFDTE160701 or HFDTEDATE:040920,01
    const size_t colon = line.find(':');
    const std::string_view digits =
        colon != std::string_view::npos ? line.substr(colon + 1) : line.substr(5);
    if (digits.size() < 6) throw std::runtime_error("IGC: short date: " + std::string(line));
    log.day = toInt(digits.substr(0, 2), line);
    log.month = toInt(digits.substr(2, 2), line);
    log.year = toInt(digits.substr(4, 2), line);
}

void parseHeader(std::string_view line, IgcLog& log, bool& dateSeen) {
    if (line.size() < 5) return;
    static constexpr std::pair<std::string_view, std::string IgcLog::*> kTexts[] = {
        {"FTY", &IgcLog::recorderType},  {"PLT", &IgcLog::pilot},
        {"GTY", &IgcLog::gliderType},    {"GID", &IgcLog::gliderId},
        {"CID", &IgcLog::competitionId}, {"CCL", &IgcLog::competitionClass}};
    const std::string_view code = line.substr(2, 3);
    if (code == "DTE" && !dateSeen) {
        parseDate(line, log);
        dateSeen = true;
    }
    // The first line of each kind counts.
    for (const auto& [textCode, member] : kTexts) {
        if (code == textCode && (log.*member).empty()) log.*member = headerValue(line);
    }
}

std::string cut(std::string_view text, size_t width) {
    return std::string(text.substr(0, std::min(text.size(), width - 1)));
}

int checkedInt16(int value, const char* what) {
    if (value < std::numeric_limits<int16_t>::min() ||
        value > std::numeric_limits<int16_t>::max()) {
        throw std::runtime_error(std::string("IGC import: ") + what + " does not fit an int16");
    }
    return value;
}

}  // namespace

int64_t igcThousandths(std::string_view coordinate) {
    const size_t degreeDigits = coordinate.size() - 6;  // 2 for latitudes, 3 for longitudes
    const int degrees = toInt(coordinate.substr(0, degreeDigits), coordinate);
    const int thousandths = toInt(coordinate.substr(degreeDigits, 5), coordinate);
    const int64_t total = int64_t{degrees} * 60000 + thousandths;
    const char hemisphere = coordinate.back();
    return hemisphere == 'S' || hemisphere == 'W' ? -total : total;
}

double igcDegrees(std::string_view coordinate) {
    return static_cast<double>(igcThousandths(coordinate)) / 60000.0;
}

int32_t igcSeconds(std::string_view time) {
    return toInt(time.substr(0, 2), time) * 3600 + toInt(time.substr(2, 2), time) * 60 +
           toInt(time.substr(4, 2), time);
}

IgcLog parseIgc(std::string_view text) {
    IgcLog log;
    std::optional<Extension> enl;
    bool dateSeen = false;
    enum class Declaration { none, reading, done } declaration = Declaration::none;

    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;

        if (declaration == Declaration::reading && !(line[0] == 'C' && isPointLine(line))) {
            declaration = Declaration::done;
        }
        switch (line[0]) {
            case 'A':
                log.manufacturer = line.substr(1, 3);
                log.serial = line.substr(std::min<size_t>(4, line.size()), 3);
                break;
            case 'H':
                parseHeader(line, log, dateSeen);
                break;
            case 'I':
                enl = findEnl(line);
                break;
            case 'C':
                log.cLines.emplace_back(line);
                if (declaration == Declaration::none && !isPointLine(line)) {
                    declaration = Declaration::reading;
                } else if (declaration == Declaration::reading) {
                    log.declaredPoints.push_back({std::string(line.substr(1, 8)),
                                                  std::string(line.substr(9, 9)),
                                                  std::string(trim(line.substr(kPointNameAt)))});
                }
                break;
            case 'B':
                log.bLines.emplace_back(line);
                log.fixes.push_back(parseFix(line, enl));
                break;
            default:
                break;
        }
    }
    return log;
}

FlightFields flightFromIgc(const IgcLog& log, int version) {
    FlightFields flight;
    flight.day = log.day;
    flight.month = log.month;
    flight.year = log.year < 80 ? 2000 + log.year : 1900 + log.year;
    flight.recorderMaker = log.manufacturer;
    flight.recorderSerial = cut(log.serial, velkano::kRecorderSerialWidth);
    flight.recorderType = cut(log.recorderType, velkano::kRecorderTypeWidth);
    flight.pilot = cut(log.pilot, velkano::kPilotWidth);
    const bool split = static_cast<int16_t>(version) >= 7;
    flight.gliderType =
        cut(log.gliderType, split ? velkano::kGliderTypeWidth : velkano::kOldGliderTypeWidth);
    if (split) flight.gliderId = cut(log.gliderId, velkano::kGliderIdWidth);
    flight.competitionId = cut(log.competitionId, velkano::kCompetitionIdWidth);
    flight.competitionClass = cut(log.competitionClass, velkano::kCompetitionClassWidth);

    if (log.fixes.size() > static_cast<size_t>(std::numeric_limits<int16_t>::max())) {
        throw std::runtime_error("IGC import: more fixes than a fix list holds");
    }
    int days = 0;
    int previous = -1;
    for (const IgcFix& igc : log.fixes) {
        const int time = igcSeconds(igc.time);
        if (previous >= 0 && time + kMidnightJump < previous) ++days;
        previous = time;
        FixFields fix;
        fix.seconds = time + days * kSecondsPerDay;
        fix.latitude = igcDegrees(igc.latitude);
        fix.longitude = igcDegrees(igc.longitude);
        fix.validity = igc.validity == 'A' ? 1 : 0;
        fix.pressureAltitude = checkedInt16(igc.pressureAltitude, "pressure altitude");
        fix.gnssAltitude = checkedInt16(igc.gnssAltitude, "GNSS altitude");
        fix.enl = checkedInt16(igc.enl.value_or(0), "ENL");
        flight.fixes.push_back(fix);
    }

    const size_t points = log.declaredPoints.size();
    const size_t taskSize = static_cast<size_t>(flightTaskSize(version));
    for (size_t i = 1; points >= 3 && i + 1 < points && flight.task.size() < taskSize; ++i) {
        const IgcTaskPoint& point = log.declaredPoints[i];
        TaskEntryFields entry;
        entry.record.number = static_cast<int32_t>(i);
        entry.record.name = cut(point.name, velkano::kTurnpointNameWidth);
        entry.record.latitude = igcDegrees(point.latitude);
        entry.record.longitude = igcDegrees(point.longitude);
        flight.task.push_back(entry);
    }
    return flight;
}

const std::vector<FlightSampleFields>& flightSamples() {
    static const std::vector<FlightSampleFields> samples = {
        {"club_day.flt",
         7,
         {"igc-standard-example-two-declarations.igc",
          "xctrack-2020-09-04-hfdtedate-utf8-header.igc",
          "skytraxx-2023-04-15-negative-pressure-alt.igc"}},
        {"midnight_task.flt", 5, {"xcsoar-2016-11-08-midnight-crossing-task.igc"}},
    };
    return samples;
}

std::vector<uint8_t> buildFlightSample(const FlightSampleFields& sample,
                                       const std::string& igcDirectory) {
    FlightFileFields file;
    file.version = sample.version;
    for (const std::string& name : sample.logs) {
        const IgcLog log = parseIgc(readWholeFile(igcDirectory + "/" + name));
        file.flights.push_back(flightFromIgc(log, sample.version));
    }
    return encodeFlightFile(file);
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testenc
