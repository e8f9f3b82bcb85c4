#include "tp_record.h"

#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "number_text.h"
#include "record_io.h"

namespace velkano {

namespace {

constexpr int32_t kWrittenVersion = 5;
constexpr int32_t kFirstVersionWithByteAfterRunways = 2;
constexpr int32_t kFirstVersionWithWordAfterRunways = 3;
constexpr int32_t kFirstVersionWithComment = 4;
constexpr int32_t kFirstVersionWithShortName = 5;

// The constant words and bytes a version-5 record carries.
constexpr int32_t kHeadEndByte = 1;
constexpr int32_t kRunwayBlockWord = 2;
constexpr int32_t kTailWord = 1;
constexpr int32_t kCommentEndByte = 1;
// The detail block's two coordinate pairs after its point list.
constexpr int32_t kDetailPairs = 2;

// Directions above this were stored in tenths of a degree.
constexpr int32_t kLargestWholeDegreeDirection = 360;

struct KindMapping {
    int32_t kind;
    int32_t writtenByte;
    int32_t alsoRead[3];  // further bytes that read as this kind; 0 ends the list
};

constexpr KindMapping kKindTable[] = {
    {1, 9, {19, 'K', 0}},
    {4, 'L', {}},
    {5, 'N', {}},
    {7, 'I', {}},
    {8, '$', {'%', '&', '\''}},
    {10, 'M', {}},
    {256, 12, {}},
    {512, 14, {15, 0, 0}},
    {768, 16, {17, 0, 0}},
    {1024, 13, {}},
    {1536, 22, {23, 0, 0}},
    {1792, 18, {}},
    {2048, 'O', {}},
    {2304, 20, {}},
    {2560, 21, {}},
    {2816, 'J', {}},
};
constexpr int32_t kUnknownKindByte = 9;

struct SurfaceMapping {
    int32_t surface;
    int32_t letter;
};

constexpr SurfaceMapping kSurfaceTable[] = {{kSurfaceF, 'F'}, {kSurfaceG, 'G'}, {kSurfaceH, 'H'}};
constexpr int32_t kUnknownSurfaceLetter = 0;

// Leaves kind unchanged for a byte outside the table.
void kindFromByte(int32_t kindByte, int32_t& kind) {
    for (const KindMapping& mapping : kKindTable) {
        if (kindByte == mapping.writtenByte) {
            kind = mapping.kind;
            return;
        }
        for (int32_t other : mapping.alsoRead) {
            if (other != 0 && kindByte == other) {
                kind = mapping.kind;
                return;
            }
        }
    }
}

int32_t byteFromKind(int32_t kind) {
    for (const KindMapping& mapping : kKindTable) {
        if (kind == mapping.kind) return mapping.writtenByte;
    }
    return kUnknownKindByte;
}

void surfaceFromLetter(int32_t letter, int32_t& surface) {
    for (const SurfaceMapping& mapping : kSurfaceTable) {
        if (letter == mapping.letter) surface = mapping.surface;
    }
}

int32_t letterFromSurface(int32_t surface) {
    for (const SurfaceMapping& mapping : kSurfaceTable) {
        if (surface == mapping.surface) return mapping.letter;
    }
    return kUnknownSurfaceLetter;
}

// Same text as "%1.3f" in the C locale, whatever locale the host has set.
std::string formatFrequency(float value) {
    return number_text::fixedText(static_cast<double>(value), 3);
}

// Beyond float's range the conversion would be undefined; an infinity clamps in Real48.
float asFloat(double value) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    if (value > kLargest) return std::numeric_limits<float>::infinity();
    if (value < -kLargest) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Everything of one record, read before the entry is touched.
struct TpFields {
    int32_t number = 0;
    int32_t kindByte = 0;
    std::string name;
    std::string shortName;
    float latitude = 0.0f;
    float longitude = 0.0f;
    float elevation = 0.0f;
    float frequency = 0.0f;
    std::string icao;
    float runwayLength = 0.0f;
    int32_t runwayDirection = 0;
    int32_t surfaceLetter = 0;
    std::string comment;
    int32_t markByte = 0;
};

// 'n', version, number, kind byte, name, short name (from version 5), coordinate pair, a byte
int32_t readHead(CFile& file, TpFields& f) {
    expectTag(file, kTagTurnpoint);
    const int32_t version = readInt16(file);
    f.number = readInt32(file);
    f.kindByte = readByte(file);
    f.name = readText(file, kTurnpointNameWidth);
    if (version >= kFirstVersionWithShortName)
        f.shortName = readText(file, kTurnpointShortNameWidth);
    readCoordPair(file, f.latitude, f.longitude);
    readByte(file);  // unused
    return version;
}

// count coordinate pairs, none of them used
void skipPointList(CFile& file, int32_t count) {
    float latitude = 0.0f;
    float longitude = 0.0f;
    for (int32_t i = 0; i < count; ++i) readCoordPair(file, latitude, longitude);
}

// 'm', point count, two int16, the point list, a byte, two coordinate pairs, elevation,
// frequency, ICAO text, a Real48
void readDetailBlock(CFile& file, TpFields& f) {
    expectTag(file, kTagDetailBlock);
    const int32_t pointCount = readInt16(file);
    readInt16(file);  // unused
    readInt16(file);  // unused
    skipPointList(file, pointCount);
    readByte(file);  // unused
    skipPointList(file, kDetailPairs);
    f.elevation = readReal48(file);
    f.frequency = readReal48(file);
    f.icao = readText(file, kTurnpointIcaoWidth);
    readReal48(file);  // unused
}

// 's', length, direction, surface letter
void readRunway(CFile& file, TpFields& f) {
    expectTag(file, kTagRunway);
    f.runwayLength = readReal48(file);
    f.runwayDirection = readInt16(file);
    f.surfaceLetter = readByte(file);
}

// '2', runway count, two int16, the runways: each overwrites the one before, the last wins
void readRunwayBlock(CFile& file, TpFields& f) {
    expectTag(file, kTagRunwayBlock);
    const int32_t runwayCount = readInt16(file);
    readInt16(file);  // unused
    readInt16(file);  // unused
    for (int32_t i = 0; i < runwayCount; ++i) readRunway(file, f);
}

// byte, three Real48 between two bytes, then what each version added: a byte (2), an
// int16 (3), an int16, the comment, a byte, the mark byte and two bytes (4)
void readTail(CFile& file, int32_t version, TpFields& f) {
    readByte(file);
    readReal48(file);
    readByte(file);
    readReal48(file);
    readReal48(file);
    if (version >= kFirstVersionWithByteAfterRunways) readByte(file);
    if (version >= kFirstVersionWithWordAfterRunways) readInt16(file);
    if (version < kFirstVersionWithComment) return;
    readInt16(file);
    f.comment = readText(file, kTurnpointCommentWidth);
    readByte(file);
    f.markByte = readByte(file);
    readByte(file);
    readByte(file);
}

TpFields readTpFields(CFile& file) {
    TpFields f;
    const int32_t version = readHead(file, f);
    readDetailBlock(file, f);
    readRunwayBlock(file, f);
    readTail(file, version, f);
    return f;
}

void writeHead(CFile& file, const FIO_TPEntry& entry, int32_t number) {
    writeInt16(file, kTagTurnpoint);
    writeInt16(file, kWrittenVersion);
    writeInt32(file, number);
    writeByte(file, byteFromKind(entry.kind));
    writeText(file, entry.name, kTurnpointNameWidth);
    writeText(file, entry.shortName, kTurnpointShortNameWidth);
    writeCoordPair(file, entry.latitude, entry.longitude);
    writeByte(file, kHeadEndByte);
}

// Without a point list; both pairs zero.
void writeDetailBlock(CFile& file, const FIO_TPEntry& entry) {
    writeInt16(file, kTagDetailBlock);
    writeInt16(file, 0);  // point count
    writeInt16(file, 0);
    writeInt16(file, 0);
    writeByte(file, 0);
    for (int32_t i = 0; i < kDetailPairs; ++i) writeCoordPair(file, 0.0f, 0.0f);
    writeReal48(file, static_cast<float>(entry.elevation));
    writeReal48(file, asFloat(parseFrequency(entry.frequency)));
    writeText(file, entry.icaoCode, kTurnpointIcaoWidth);
    writeReal48(file, 0.0f);
}

// One runway entry when the entry has a runway length or direction, else none.
void writeRunwayBlock(CFile& file, const FIO_TPEntry& entry) {
    const int32_t runwayCount = entry.runwayLength != 0 || entry.runwayDirection != 0 ? 1 : 0;
    writeInt16(file, kTagRunwayBlock);
    writeInt16(file, runwayCount);
    writeInt16(file, runwayCount + 1);
    writeInt16(file, kRunwayBlockWord);
    if (runwayCount == 0) return;
    writeInt16(file, kTagRunway);
    writeReal48(file, static_cast<float>(entry.runwayLength));
    writeInt16(file, entry.runwayDirection);
    writeByte(file, letterFromSurface(entry.surface));
}

void writeTail(CFile& file, const FIO_TPEntry& entry) {
    writeByte(file, 0);
    writeReal48(file, 0.0f);
    writeByte(file, 0);
    writeReal48(file, 0.0f);
    writeReal48(file, 0.0f);
    writeByte(file, 0);
    writeInt16(file, kTailWord);
    writeInt16(file, 0);
    writeText(file, entry.comment, kTurnpointCommentWidth);
    writeByte(file, kCommentEndByte);
    writeByte(file, entry.markFlag);
    writeByte(file, 0);
    writeByte(file, 0);
}

}  // namespace

void readTpRecord(CFile& file, FIO_TPEntry& entry) {
    TpFields f = readTpFields(file);

    entry.number = f.number;
    kindFromByte(f.kindByte, entry.kind);
    entry.name = std::move(f.name);
    entry.shortName = std::move(f.shortName);
    // Records without a short-name field carry a point's code in the ICAO text.
    if (f.icao.size() == kIcaoCodeLength && isAirfieldKind(entry.kind)) {
        entry.icaoCode = f.icao;
    } else if (entry.shortName.empty()) {
        entry.shortName = f.icao;
    }
    if (entry.shortName.size() > entry.name.size()) std::swap(entry.name, entry.shortName);
    entry.longitude = f.longitude;
    entry.latitude = f.latitude;
    entry.elevation = truncateToInt32(f.elevation);
    entry.frequency = formatFrequency(f.frequency);
    entry.comment = std::move(f.comment);
    entry.runwayLength = truncateToInt32(f.runwayLength);
    entry.runwayDirection = f.runwayDirection;
    entry.extraWords[0] = 0;
    if (entry.runwayDirection > kLargestWholeDegreeDirection) entry.runwayDirection /= 10;
    entry.markFlag = f.markByte != 0 ? 1 : 0;
    surfaceFromLetter(f.surfaceLetter, entry.surface);
}

void writeTpRecord(CFile& file, const FIO_TPEntry& entry, int32_t number) {
    writeHead(file, entry, number);
    writeDetailBlock(file, entry);
    writeRunwayBlock(file, entry);
    writeTail(file, entry);
}

double parseFrequency(const std::string& text) {
    const std::string_view s = text;
    size_t i = 0;
    while (i < s.size() && isCSpace(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const size_t integerStart = i;
    while (i < s.size() && isDigit(s[i])) ++i;
    if (i == integerStart) return 0.0;
    const size_t integerEnd = i;
    if (i < s.size() && s[i] == '.') {
        size_t j = i + 1;
        while (j < s.size() && isDigit(s[j])) ++j;
        if (j > i + 1) i = j;  // "122." is just 122
    }

    const std::string_view number = s.substr(integerStart, i - integerStart);
    double value = 0.0;
    const auto result = number_text::parseDouble(number.data(), number.data() + number.size(),
                                                 value, number_text::Format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        // Far too many digits: huge when the integer part is non-zero, else vanishingly small.
        const std::string_view integer = s.substr(integerStart, integerEnd - integerStart);
        const bool huge = integer.find_first_not_of('0') != std::string_view::npos;
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

}  // namespace velkano
