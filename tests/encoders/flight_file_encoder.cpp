#include "flight_file_encoder.h"

namespace testenc {

namespace {

constexpr size_t kVersionOffset = 52;
constexpr size_t kTaskPrefixSize = 24;

struct Skipped {
    bool junk;
    int byte() const { return junk ? 0xA5 : 0; }
    int word() const { return junk ? 0x5A5A : 0; }
    int32_t dword() const { return junk ? 0x5A5A5A5A : 0; }
    double real() const { return junk ? -4321.25 : 0.0; }
};

void appendFix(ByteWriter& out, const FixFields& fix) {
    out.i16(fix.tag).real48(fix.longitude).real48(fix.latitude).i32(fix.seconds);
    out.i16(fix.pressureAltitude).i16(fix.gnssAltitude).u8(fix.validity).i16(fix.enl);
    for (int extra : fix.extra) out.i16(extra);
}

void appendFixList(ByteWriter& out, const FlightFields& flight, const Skipped& skipped) {
    out.i16(flight.fixListTag);
    out.i16(flight.fixCount.value_or(static_cast<int>(flight.fixes.size())));
    out.i16(skipped.word()).i16(skipped.word());
    for (const FixFields& fix : flight.fixes) appendFix(out, fix);
    out.u8(skipped.byte());
    out.coordPair(skipped.real(), skipped.real(), flight.trailerPairTag1);
    out.coordPair(skipped.real(), skipped.real(), flight.trailerPairTag2);
    out.i16(skipped.word()).i16(skipped.word());
}

void appendDataBlock(ByteWriter& out, const FlightFields& flight, int version,
                     const Skipped& skipped) {
    out.i16(flight.day).i16(flight.month).i16(flight.year);
    out.u8(skipped.byte()).i32(skipped.dword()).i32(skipped.dword()).i32(skipped.dword());
    if (static_cast<int16_t>(version) >= 3) out.i32(skipped.dword());
    out.i32(skipped.dword()).real48(skipped.real()).real48(skipped.real());
    out.i16(flight.extensionMarker);
}

void appendTextBlock(ByteWriter& out, const FlightFields& flight, int version) {
    out.text(flight.recorderMaker, velkano::kRecorderMakerWidth);
    out.text(flight.recorderSerial, velkano::kRecorderSerialWidth);
    out.text(flight.recorderType, velkano::kRecorderTypeWidth);
    out.text(flight.pilot, velkano::kPilotWidth);
    if (static_cast<int16_t>(version) >= 7) {
        out.text(flight.gliderType, velkano::kGliderTypeWidth);
        out.text(flight.gliderId, velkano::kGliderIdWidth);
    } else {
        out.text(flight.gliderType, velkano::kOldGliderTypeWidth);
    }
    out.text(flight.competitionId, velkano::kCompetitionIdWidth);
    out.text(flight.competitionClass, velkano::kCompetitionClassWidth);
}

void appendTaskBlock(ByteWriter& out, const FlightFields& flight, int taskSize,
                     const Skipped& skipped) {
    for (int i = 0; i < taskSize; ++i) {
        out.i32(skipped.dword()).i32(skipped.dword()).i16(skipped.word());
        for (int b = 0; b < 4; ++b) out.u8(skipped.byte());
        out.i16(skipped.word()).i32(skipped.dword()).i32(skipped.dword());
        const size_t index = static_cast<size_t>(i);
        appendTpRecord(out,
                       index < flight.task.size() ? flight.task[index].record : TpRecordFields{});
    }
}

}  // namespace

int flightTaskSize(int version) {
    return static_cast<int16_t>(version) >= 6 ? 20 : 10;
}

void appendFlightRecord(ByteWriter& out, const FlightFields& flight, int version) {
    const Skipped skipped{flight.junkInSkipped};
    const int taskSize = flightTaskSize(version);
    out.i16(flight.tag);
    appendFixList(out, flight, skipped);
    appendDataBlock(out, flight, version, skipped);
    appendTextBlock(out, flight, version);
    appendTaskBlock(out, flight, taskSize, skipped);
    if (flight.extensionMarker == kExtensionMarker) {
        out.i16(flight.extensionCount).i16(skipped.word());
        if (flight.extensionCount >= 2) {
            for (int i = 0; i < taskSize; ++i) out.i16(skipped.word());
        }
    }
    if (static_cast<int16_t>(version) >= 5) out.real48(skipped.real());
}

std::vector<uint8_t> encodeFlightRecord(const FlightFields& flight, int version) {
    ByteWriter out;
    appendFlightRecord(out, flight, version);
    return out.bytes;
}

std::vector<uint8_t> encodeFlightFile(const FlightFileFields& file) {
    ByteWriter out;
    const int count = file.flightCount.value_or(static_cast<int>(file.flights.size()));
    if (file.header) {
        out.text(file.magic, velkano::kMagicWidth).u8(0).i16(file.version).i16(count);
    } else {
        out.i16(count);
    }
    for (const FlightFields& flight : file.flights) appendFlightRecord(out, flight, file.version);
    if (!file.header && out.bytes.size() >= kVersionOffset + 2) {
        const auto version = static_cast<uint16_t>(file.version);
        out.bytes[kVersionOffset] = static_cast<uint8_t>(version & 0xFF);
        out.bytes[kVersionOffset + 1] = static_cast<uint8_t>(version >> 8);
    }
    return out.bytes;
}

size_t flightRecordSize(const FlightFields& flight, int version) {
    const int16_t v = static_cast<int16_t>(version);
    const size_t taskSize = static_cast<size_t>(flightTaskSize(version));
    size_t size = 2;                            // 'v'
    size += 8 + 31 * flight.fixes.size() + 33;  // fix list
    size += v >= 3 ? 41 : 37;                   // flight data block
    size += 145;                                // text block
    for (size_t i = 0; i < taskSize; ++i) {
        const TpRecordFields& record =
            i < flight.task.size() ? flight.task[i].record : TpRecordFields{};
        size += kTaskPrefixSize + encodeTpRecord(record).size();
    }
    if (flight.extensionMarker == kExtensionMarker) {
        size += 4 + (flight.extensionCount >= 2 ? 2 * taskSize : 0);
    }
    if (v >= 5) size += 6;
    return size;
}

}  // namespace testenc
