#include "minimal_igc.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "ko_point.h"
#include "real48.h"
#include "velkano/fio_codes.h"

namespace bench {

namespace {

using namespace velkano;

constexpr size_t kHeaderSize = 56;
constexpr size_t kVersionOffset = 52;
constexpr size_t kCountOffset = 54;
constexpr size_t kFixSize = 31;
constexpr size_t kFixListTrailer = 33;
constexpr size_t kTaskPrefix = 24;
constexpr size_t kTextBlockSize = kRecorderMakerWidth + kRecorderSerialWidth + kRecorderTypeWidth +
                                  kPilotWidth + kOldGliderTypeWidth + kCompetitionIdWidth +
                                  kCompetitionClassWidth;
constexpr int kMaxTaskSize = 20;

// A read-only view that refuses to step past the end.
class Cursor {
public:
    explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    size_t at() const { return at_; }
    void seek(size_t to) {
        ok_ = ok_ && to <= bytes_.size();
        if (ok_) at_ = to;
    }
    void skip(size_t count) { seek(at_ + count); }

    const uint8_t* take(size_t count) {
        if (!ok_ || count > bytes_.size() - at_) {
            ok_ = false;
            return kZeros.data();
        }
        const uint8_t* p = bytes_.data() + at_;
        at_ += count;
        return p;
    }
    int32_t i8() { return static_cast<int8_t>(*take(1)); }
    int32_t i16() {
        const uint8_t* p = take(2);
        return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
    }
    int32_t i32() {
        const uint8_t* p = take(4);
        return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                    static_cast<uint32_t>(p[2]) << 16 |
                                    static_cast<uint32_t>(p[3]) << 24);
    }
    float real() { return velkano::decodeReal48(take(6)); }
    // The characters before the first zero of a width-byte field.
    std::string_view text(size_t width) {
        const auto* p = reinterpret_cast<const char*>(take(width));
        return std::string_view(p, strnlen(p, width));
    }
    bool tag(int32_t expected) { return i16() == expected && ok_; }

private:
    static constexpr std::array<uint8_t, 256> kZeros{};
    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
    bool ok_ = true;
};

struct TaskPoint {
    float latitude = 0.0f;
    float longitude = 0.0f;
    std::string_view name;
};

// The printable form of a text field: trailing white space dropped, control characters
// turned into spaces.
std::string printable(std::string_view text) {
    while (!text.empty() && std::strchr(" \t\n\v\f\r", text.back()) != nullptr) {
        text.remove_suffix(1);
    }
    std::string out(text);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    return out;
}

// A turnpoint record: its position and the longer of name and short name.
bool readTaskPoint(Cursor& in, TaskPoint& point) {
    if (!in.tag('n')) return false;
    const int32_t version = in.i16();
    in.skip(4 + 1);
    point.name = in.text(kTurnpointNameWidth);
    const std::string_view shortName =
        version >= 5 ? in.text(kTurnpointShortNameWidth) : std::string_view();
    if (shortName.size() > point.name.size()) point.name = shortName;
    if (!in.tag('r')) return false;
    point.longitude = in.real();
    point.latitude = in.real();
    in.skip(1);
    if (!in.tag('m')) return false;
    const int32_t points = in.i16();
    in.skip(4);
    for (int32_t i = 0; i < points; ++i) {
        if (!in.tag('r')) return false;
        in.skip(12);
    }
    in.skip(1);
    for (int pair = 0; pair < 2; ++pair) {
        if (!in.tag('r')) return false;
        in.skip(12);
    }
    in.skip(6 + 6 + kTurnpointIcaoWidth + 6);
    if (!in.tag('2')) return false;
    const int32_t runways = in.i16();
    in.skip(4);
    for (int32_t i = 0; i < runways; ++i) {
        if (!in.tag('s')) return false;
        in.skip(6 + 2 + 1);
    }
    in.skip(1 + 6 + 1 + 6 + 6);
    if (version >= 2) in.skip(1);
    if (version >= 3) in.skip(2);
    if (version >= 4) in.skip(2 + kTurnpointCommentWidth + 4);
    return in.ok();
}

void appendf(std::string& out, const char* format, auto... values) {
    char line[512];
    const int n = std::snprintf(line, sizeof line, format, values...);
    if (n > 0) out.append(line, std::min(static_cast<size_t>(n), sizeof line - 1));
}

void appendTaskPoint(std::string& out, const TaskPoint& point) {
    const CKoPoint lat(point.latitude, false, 1000);
    const CKoPoint lon(point.longitude, true, 1000);
    std::string name(point.name);  // task point names keep their trailing spaces
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    appendf(out, "C%02d%02d%03d%c%03d%02d%03d%c%s\n", lat.degrees, lat.minutes, lat.fraction,
            lat.GetHemisphereLetter(), lon.degrees, lon.minutes, lon.fraction,
            lon.GetHemisphereLetter(), name.c_str());
}

int32_t twoDigits(int32_t value) {
    return std::clamp(value, 0, 99);
}
int32_t twoDigitYear(int32_t year) {
    return (year % 100 + 100) % 100;
}

}  // namespace

bool minimalIgc(std::span<const uint8_t> file, std::string& out) {
    Cursor in(file);
    if (in.text(kMagicWidth) != kFlightFileMagic) return false;
    in.seek(kVersionOffset);
    const int32_t version = in.i16();
    in.seek(kCountOffset);
    if (in.i16() < 1) return false;

    // The fixes come first in the file and last in the text: note where they are, print the
    // header lines and the task, then make the one pass over the fixes.
    in.seek(kHeaderSize);
    if (!in.tag('v') || !in.tag('u')) return false;
    const int32_t fixCount = std::max(in.i16(), 0);
    in.skip(4);
    const size_t fixesAt = in.at();
    in.skip(kFixSize * static_cast<size_t>(fixCount) + kFixListTrailer);

    const int32_t day = twoDigits(in.i16());
    const int32_t month = twoDigits(in.i16());
    const int32_t year = twoDigitYear(in.i16());
    in.skip(version >= 3 ? 33 : 29);
    const int32_t marker = in.i16();
    (void)marker;  // the extension block after the task is not needed
    const size_t textAt = in.at();
    std::string maker = printable(in.text(kRecorderMakerWidth));
    if (maker.size() < 3) maker = "XXX";
    std::string serial = printable(in.text(kRecorderSerialWidth));
    if (serial.empty()) serial = "001";
    const std::string recorderType = printable(in.text(kRecorderTypeWidth));
    const std::string pilot = printable(in.text(kPilotWidth));
    const bool gliderIdField = version >= 7;  // carved out of the old glider type field
    const std::string gliderType =
        printable(in.text(gliderIdField ? kGliderTypeWidth : kOldGliderTypeWidth));
    const std::string gliderId = gliderIdField ? printable(in.text(kGliderIdWidth)) : "";
    const std::string competitionId = printable(in.text(kCompetitionIdWidth));
    const std::string competitionClass = printable(in.text(kCompetitionClassWidth));
    in.seek(textAt + kTextBlockSize);

    const int taskSize = version >= 6 ? 20 : 10;
    std::array<TaskPoint, kMaxTaskSize> task{};
    int declared = 0;
    for (int i = 0; i < taskSize; ++i) {
        in.skip(kTaskPrefix);
        if (!readTaskPoint(in, task[static_cast<size_t>(i)])) return false;
        if (task[static_cast<size_t>(i)].latitude != 0.0f ||
            task[static_cast<size_t>(i)].longitude != 0.0f) {
            ++declared;
        }
    }
    if (!in.ok()) return false;

    out.reserve(out.size() + 512 + 42 * static_cast<size_t>(fixCount));
    appendf(out, "A%3.3s%s\nHFDTE%02d%02d%02d\nHFFXA100\nHFFTYFR TYPE:%s\nHFPLTPILOT:%s\n",
            maker.c_str(), serial.c_str(), day, month, year, recorderType.c_str(), pilot.c_str());
    appendf(out, "HFGTYGLIDERTYPE:%s\nHFGIDGLIDERID:%s\nHFCIDCOMPETITIONID:%s\n",
            gliderType.c_str(), gliderId.c_str(), competitionId.c_str());
    appendf(out, "HFCCLCOMPETITIONCLASS:%s\nI023638FXA3941ENL\n", competitionClass.c_str());
    if (declared > 0) {
        appendf(out, "C%02d%02d%02d0000000000000001%02d\n", day, month, year,
                twoDigits(declared - 2));
        appendTaskPoint(out, task[0]);
        appendTaskPoint(out, task[0]);
        for (int i = 1; i < declared; ++i) appendTaskPoint(out, task[static_cast<size_t>(i)]);
        if (declared == 1) appendTaskPoint(out, task[0]);
        appendTaskPoint(out, task[static_cast<size_t>(declared - 1)]);
    }

    in.seek(fixesAt);
    for (int32_t i = 0; i < fixCount; ++i) {
        if (!in.tag('t')) return false;
        const float longitude = in.real();
        const float latitude = in.real();
        const int32_t seconds = (in.i32() % 86400 + 86400) % 86400;
        const int32_t pressure = std::clamp(in.i16(), -9999, 99999);
        const int32_t gnss = std::clamp(in.i16(), -9999, 99999);
        const bool valid = in.i8() != 0;
        const int32_t enl = std::clamp(in.i16(), 0, 999);
        in.skip(6);
        const CKoPoint lat(latitude, false, 1000);
        const CKoPoint lon(longitude, true, 1000);
        // B1305094730000N00815000EA0123401250000007
        appendf(out, "B%02d%02d%02d%02d%02d%03d%c%03d%02d%03d%c%c%05d%05d000%03d\n", seconds / 3600,
                seconds % 3600 / 60, seconds % 60, lat.degrees, lat.minutes, lat.fraction,
                lat.GetHemisphereLetter(), lon.degrees, lon.minutes, lon.fraction,
                lon.GetHemisphereLetter(), valid ? 'A' : 'V', pressure, gnss, enl);
    }
    return in.ok();
}

}  // namespace bench
