// One flight's IGC text, read back into plain values. velkano never reads the flight file
// itself: the flight driver prints each flight as IGC text (FIO_Flight2IGC), and commands
// that want to know what a flight holds (list, view) read that text with parseIgcText.
//
// Texts stay the bytes the text holds (the driver's are windows-1252; decodeCp1252 turns
// them into UTF-8). Lines may end in LF or CR LF; lines of the record types not read here
// (G, L, E, ...) are skipped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/error_at.h"

namespace velkano::tool {

// A B or C line without its record's layout, at its line counted from 1.
class IgcTextError : public ErrorAt<size_t> {
public:
    using ErrorAt::ErrorAt;
    size_t line() const { return place(); }
};

struct IgcDate {
    int day = 0;
    int month = 0;
    int year = 0;  // four digits; two-digit years from 80 on are 19xx, the rest 20xx
};

// "YYYY-MM-DD"; empty for a flight without a date.
std::string isoDate(const IgcDate& date);

// An H record: "HFPLTPILOT:Ann" is source 'F', code "PLT", value "Ann". The value is what
// follows the first ':' or, without one, what follows the code ("HFDTE050704" -> "050704").
struct IgcHeader {
    char source = 'F';
    std::string code;
    std::string value;
};

// A C record's point: takeoff, start, turnpoints, finish and landing, in that order.
struct IgcTaskPoint {
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive
    std::string name;
};

inline constexpr int32_t kSecondsPerDay = 86400;

// A B record, "B1305094730000N00815000EA0123401250000007".
struct IgcFix {
    // Seconds since midnight of the flight's first fix day: each time the time of day falls
    // more than half a day below the previous fix's, a day is added, so a flight across
    // midnight keeps counting up (a fix logged out of order a little earlier does not).
    int32_t seconds = 0;
    double latitude = 0;
    double longitude = 0;
    bool valid = false;  // 'A' (3D fix) rather than 'V'
    int32_t pressureAltitude = 0;
    int32_t gnssAltitude = 0;
    std::string extensions;  // the bytes after the GNSS altitude, laid out by the I record
};

// An I record's field: "ENL" in columns 39 to 41 (counted from 1, as the record gives them).
struct IgcExtension {
    std::string code;
    int first = 0;
    int last = 0;
};

// Who recorded a flight and on which day: its first A record and its first readable HFDTE.
struct IgcIdentity {
    std::string recorderMaker;   // the A record's three-letter maker code
    std::string recorderSerial;  // the rest of the A record
    IgcDate date;                // zeros when absent or unreadable
};

struct IgcFlightText : IgcIdentity {
    std::vector<IgcHeader> headers;
    std::vector<IgcExtension> fixExtensions;
    int declaredTurnpoints = 0;  // the C declaration line's count (points between start and finish)
    std::vector<IgcTaskPoint> task;
    std::vector<IgcFix> fixes;

    // The value of the first H record with this code ("PLT", "GTY", ...); empty if none.
    std::string header(std::string_view code) const;
    // The value of extension code of fix (e.g. "ENL"), or -1 if the flight has none or it is
    // not a number.
    int extension(const IgcFix& fix, std::string_view code) const;
};

// Reads one flight's IGC text. Throws IgcTextError for a B or C line without its record's
// layout.
IgcFlightText parseIgcText(std::string_view igc);

// Only the identity, read from the lines before the first fix: naming a flight's file costs
// no pass over its fixes.
IgcIdentity readIgcIdentity(std::string_view igc);

}  // namespace velkano::tool
