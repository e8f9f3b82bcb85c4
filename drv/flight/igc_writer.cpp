#include "igc_writer.h"

#include <algorithm>

#include "decimal_field.h"
#include "ko_point.h"

namespace velkano {

namespace {

constexpr int32_t kThousandths = 1000;
constexpr int32_t kSecondsPerDay = 86400;

// Ranges of the fixed-width fields. Values that fit print unchanged.
constexpr int32_t kLowestAltitude = -9999;
constexpr int32_t kHighestAltitude = 99999;
constexpr int32_t kHighestEnl = 999;
constexpr int32_t kHighestTwoDigits = 99;

int32_t twoDigits(int32_t value) {
    return std::clamp(value, 0, kHighestTwoDigits);
}

CKoPoint latitudeOf(float latitude) {
    return CKoPoint(latitude, false, kThousandths);
}
CKoPoint longitudeOf(float longitude) {
    return CKoPoint(longitude, true, kThousandths);
}

}  // namespace

int32_t twoDigitYear(int32_t year) {
    const int32_t rest = year % 100;
    return rest < 0 ? rest + 100 : rest;
}

int32_t timeOfDay(int32_t seconds) {
    const int32_t rest = seconds % kSecondsPerDay;
    return rest < 0 ? rest + kSecondsPerDay : rest;
}

std::string igcText(std::string_view text) {
    std::string clean(text);
    for (char& c : clean) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = ' ';
    }
    return clean;
}

int32_t declaredTaskPoints(const FIO_Flight& flight) {
    const int32_t size = std::clamp(flight.taskSize, 0, FIO_Flight::kMaxTaskSize);
    return static_cast<int32_t>(std::count_if(
        flight.task.begin(), flight.task.begin() + size,
        [](const FIO_TPEntry& e) { return e.latitude != 0.0f || e.longitude != 0.0f; }));
}

// AABC12345
void writeARecord(CStdioFile& out, const FIO_Flight& flight) {
    igcPrintf(out, "A%3.3s%s\n", igcText(flight.recorderMaker).c_str(),
              igcText(flight.recorderSerial).c_str());
}

void writeHRecords(CStdioFile& out, const FIO_Flight& flight) {
    // HFDTE050704
    igcPrintf(out, "HFDTE%02d%02d%02d\n", twoDigits(flight.day), twoDigits(flight.month),
              twoDigitYear(flight.year));
    // HFFXA100
    igcPrintf(out, "HFFXA100\n");
    // HFFTYFR TYPE:LOGGER 7
    igcPrintf(out, "HFFTYFR TYPE:%s\n", igcText(flight.recorderType).c_str());
    // HFPLTPILOT:Ann Example
    igcPrintf(out, "HFPLTPILOT:%s\n", igcText(flight.pilot).c_str());
    // HFGTYGLIDERTYPE:Club 15
    igcPrintf(out, "HFGTYGLIDERTYPE:%s\n", igcText(flight.gliderType).c_str());
    // HFGIDGLIDERID:D-1234
    igcPrintf(out, "HFGIDGLIDERID:%s\n", igcText(flight.gliderId).c_str());
    // HFCIDCOMPETITIONID:X1
    igcPrintf(out, "HFCIDCOMPETITIONID:%s\n", igcText(flight.competitionId).c_str());
    // HFCCLCOMPETITIONCLASS:Club
    igcPrintf(out, "HFCCLCOMPETITIONCLASS:%s\n", igcText(flight.competitionClass).c_str());
}

// I023638FXA3941ENL
void writeIRecord(CStdioFile& out) {
    igcPrintf(out, "I023638FXA3941ENL\n");
}

// C050704000000000000000102
void writeDeclarationLine(CStdioFile& out, const FIO_Flight& flight, int32_t declared) {
    // The count field holds the turnpoints between start and finish; a single declared
    // point is start and finish at once, with none between.
    const int32_t turnpoints = std::max(declared - 2, 0);
    igcPrintf(out, "C%02d%02d%02d0000000000000001%02d\n", twoDigits(flight.day),
              twoDigits(flight.month), twoDigitYear(flight.year), twoDigits(turnpoints));
}

// C4730000N00815000ESTART
void writeTaskPointLine(CStdioFile& out, const FIO_TPEntry& entry) {
    const CKoPoint lat = latitudeOf(entry.latitude);
    igcPrintf(out, "C%02d%02d%03d%c", lat.degrees, lat.minutes, lat.fraction,
              lat.GetHemisphereLetter());
    const CKoPoint lon = longitudeOf(entry.longitude);
    igcPrintf(out, "%03d%02d%03d%c", lon.degrees, lon.minutes, lon.fraction,
              lon.GetHemisphereLetter());
    igcPrintf(out, "%s\n", igcText(entry.name).c_str());
}

void writeTaskRecords(CStdioFile& out, const FIO_Flight& flight) {
    const int32_t declared = declaredTaskPoints(flight);
    if (declared == 0) return;
    writeDeclarationLine(out, flight, declared);
    const FIO_TPEntry& first = flight.task[0];
    const FIO_TPEntry& last = flight.task[static_cast<size_t>(declared - 1)];
    writeTaskPointLine(out, first);  // takeoff
    if (declared == 1) {
        // Start and finish on the one point, so a reader always finds both.
        writeTaskPointLine(out, first);
        writeTaskPointLine(out, first);
    } else {
        for (int32_t i = 0; i < declared; ++i) {
            writeTaskPointLine(out, flight.task[static_cast<size_t>(i)]);
        }
    }
    writeTaskPointLine(out, last);  // landing
}

namespace {

// A B line without its terminator.
constexpr size_t kFixLineLength = 42;
// B lines are printed this many at a time: a print costs more than putting a line together.
constexpr size_t kFixLinesPerPrint = 64;

// "%05d" of an altitude already held to kLowestAltitude..kHighestAltitude.
char* putAltitude(char* out, int32_t altitude) {
    if (altitude < 0) {
        *out++ = '-';
        return putDigits<4>(out, static_cast<uint32_t>(-altitude));
    }
    return putDigits<5>(out, static_cast<uint32_t>(altitude));
}

// B1305094730000N00815000EA0123401250000007 and the newline, at out; returns its end. Every
// number has a fixed width: the time is folded into the day, the coordinates are split
// into parts that fit their columns and the rest is clamped.
char* putFixLine(char* out, const FIO_FixEntry& fix) {
    // Flights that cross midnight log times past 24 hours; the line holds the time of day.
    const auto time = static_cast<uint32_t>(timeOfDay(fix.seconds));
    const CKoPoint lat = latitudeOf(fix.latitude);
    const CKoPoint lon = longitudeOf(fix.longitude);
    char* p = out;
    *p++ = 'B';
    p = putDigits<2>(p, time / 3600);
    p = putDigits<2>(p, time % 3600 / 60);
    p = putDigits<2>(p, time % 60);
    p = putDigits<2>(p, static_cast<uint32_t>(lat.degrees));
    p = putDigits<2>(p, static_cast<uint32_t>(lat.minutes));
    p = putDigits<3>(p, static_cast<uint32_t>(lat.fraction));
    *p++ = lat.GetHemisphereLetter();
    p = putDigits<3>(p, static_cast<uint32_t>(lon.degrees));
    p = putDigits<2>(p, static_cast<uint32_t>(lon.minutes));
    p = putDigits<3>(p, static_cast<uint32_t>(lon.fraction));
    *p++ = lon.GetHemisphereLetter();
    *p++ = fix.valid != 0 ? 'A' : 'V';
    p = putAltitude(p, std::clamp(fix.pressureAltitude, kLowestAltitude, kHighestAltitude));
    p = putAltitude(p, std::clamp(fix.gnssAltitude, kLowestAltitude, kHighestAltitude));
    p = putDigits<3>(p, 0);  // FXA
    p = putDigits<3>(p, static_cast<uint32_t>(std::clamp(fix.enl, 0, kHighestEnl)));
    *p++ = '\n';
    return p;
}

}  // namespace

void writeFixLine(CStdioFile& out, const FIO_FixEntry& fix) {
    char line[kFixLineLength + 1];
    *putFixLine(line, fix) = '\0';
    igcPrintf(out, "%s", line);
}

// A flight has tens of thousands of B lines: they go out in blocks, the same text one print
// per line gives.
void writeFixLines(CStdioFile& out, std::span<const FIO_FixEntry> fixes) {
    char block[kFixLinesPerPrint * kFixLineLength + 1];
    while (!fixes.empty()) {
        const size_t count = std::min(fixes.size(), kFixLinesPerPrint);
        char* p = block;
        for (const FIO_FixEntry& fix : fixes.first(count)) p = putFixLine(p, fix);
        *p = '\0';
        igcPrintf(out, "%s", block);
        fixes = fixes.subspan(count);
    }
}

void writeFlightIgc(CStdioFile& out, const FIO_Flight& flight) {
    writeARecord(out, flight);
    writeHRecords(out, flight);
    writeIRecord(out);
    writeTaskRecords(out, flight);
    writeFixLines(out, flight.fixes);
}

}  // namespace velkano
