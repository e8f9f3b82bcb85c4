#include "flight_reader.h"

#include "record_io.h"
#include "tp_record.h"

namespace velkano {

namespace {

// Record versions that added fields.
constexpr int32_t kVersionDataInt32 = 3;  // the int32 at offset 19 of the flight data block
constexpr int32_t kVersionTail = 5;       // the Real48 after the extension block
constexpr int32_t kVersionLongTask = 6;   // 20 task entries instead of 10
constexpr int32_t kVersionGliderId = 7;   // glider type split into type and registration

constexpr int32_t kShortTaskSize = 10;
constexpr int32_t kLongTaskSize = 20;

// Fix list: two int16 after the count, and a trailer of a byte, two coordinate pairs and
// two int16, all dropped.
constexpr uint32_t kFixListHeadSkipped = 4;
constexpr uint32_t kFixListTrailerTailSkipped = 4;

// Flight data block after day, month and year: a byte, four int32 (five from version 3)
// and two Real48, then the extension marker.
constexpr uint32_t kDataBlockSkipped = 1 + 4 * 4 + 2 * 6;
constexpr uint32_t kDataBlockInt32 = 4;

constexpr size_t kShortestMaker = 3;
constexpr char kDefaultMaker[] = "XXX";
constexpr char kDefaultSerial[] = "001";

constexpr uint32_t kTaskEntryPrefix = 24;

constexpr int32_t kExtensionMarker = 9876;
constexpr int32_t kExtensionPerEntryCount = 2;

bool isTrailingSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

FIO_FixEntry readFix(CFile& file) {
    expectTag(file, kTagFix);
    FIO_FixEntry fix;
    fix.longitude = readReal48(file);
    fix.latitude = readReal48(file);
    fix.seconds = readInt32(file);
    fix.pressureAltitude = readInt16(file);
    fix.gnssAltitude = readInt16(file);
    fix.valid = readByte(file);
    fix.enl = readInt16(file);
    for (int32_t& extra : fix.extra) extra = readInt16(file);
    return fix;
}

void readTextBlock(CFile& file, int32_t version, FIO_Flight& flight) {
    flight.recorderMaker = readTrimmedText(file, kRecorderMakerWidth);
    if (flight.recorderMaker.size() < kShortestMaker) flight.recorderMaker = kDefaultMaker;
    flight.recorderSerial = readTrimmedText(file, kRecorderSerialWidth);
    if (flight.recorderSerial.empty()) flight.recorderSerial = kDefaultSerial;
    flight.recorderType = readTrimmedText(file, kRecorderTypeWidth);
    flight.pilot = readTrimmedText(file, kPilotWidth);
    if (version >= kVersionGliderId) {
        flight.gliderType = readTrimmedText(file, kGliderTypeWidth);
        flight.gliderId = readTrimmedText(file, kGliderIdWidth);
    } else {
        flight.gliderType = readTrimmedText(file, kOldGliderTypeWidth);
    }
    flight.competitionId = readTrimmedText(file, kCompetitionIdWidth);
    flight.competitionClass = readTrimmedText(file, kCompetitionClassWidth);
}

}  // namespace

int32_t flightTaskSize(int32_t version) {
    return version >= kVersionLongTask ? kLongTaskSize : kShortTaskSize;
}

FileHeader readFlightFileHeader(CFile& file) {
    return readFileHeader(file, kFlightFileMagic, EmptyFile::isCut);
}

void readFixList(CFile& file, std::vector<FIO_FixEntry>& fixes) {
    expectTag(file, kTagFixList);
    const int32_t count = readInt16(file);  // an int16: at most 32767 fixes are reserved
    skipBytes(file, kFixListHeadSkipped);
    if (count > 0) fixes.reserve(fixes.size() + static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) fixes.push_back(readFix(file));

    float dropLatitude = 0.0f, dropLongitude = 0.0f;
    readByte(file);
    readCoordPair(file, dropLatitude, dropLongitude);
    readCoordPair(file, dropLatitude, dropLongitude);
    skipBytes(file, kFixListTrailerTailSkipped);
}

void readFlight(CFile& file, int32_t version, FIO_Flight& flight) {
    expectTag(file, kTagFlight);
    readFixList(file, flight.fixes);

    flight.day = readInt16(file);
    flight.month = readInt16(file);
    flight.year = readInt16(file);
    skipBytes(file, kDataBlockSkipped + (version >= kVersionDataInt32 ? kDataBlockInt32 : 0));
    const int32_t extensionMarker = readInt16(file);

    readTextBlock(file, version, flight);

    flight.taskSize = flightTaskSize(version);
    for (int32_t i = 0; i < flight.taskSize; ++i) {
        skipBytes(file, kTaskEntryPrefix);
        readTpRecord(file, flight.task[static_cast<size_t>(i)]);
    }

    if (extensionMarker == kExtensionMarker) {
        const int32_t count = readInt16(file);
        readInt16(file);
        if (count >= kExtensionPerEntryCount) {
            skipBytes(file, 2 * static_cast<uint32_t>(flight.taskSize));
        }
    }

    if (version >= kVersionTail) readReal48(file);
}

std::string readTrimmedText(CFile& file, int32_t width) {
    std::string text = readText(file, width);
    size_t end = text.size();
    while (end > 0 && isTrailingSpace(text[end - 1])) --end;
    text.resize(end);
    return text;
}

}  // namespace velkano
