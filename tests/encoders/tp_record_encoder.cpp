#include "tp_record_encoder.h"

#include <cctype>
#include <cstdlib>

namespace testenc {

namespace {

// Reserved values: what the driver writes, or non-zero junk when asked for.
struct Reserved {
    bool junk;
    int byte(int normal) const { return junk ? 0xA5 : normal; }
    int word(int normal) const { return junk ? 0x5A5A : normal; }
    double real(double normal) const { return junk ? -1234.5 : normal; }
};

std::string cut(const std::string& text, size_t width) {
    return text.substr(0, width - 1);
}

int surfaceByteForSurface(int32_t surface) {
    switch (surface) {
        case 3:
            return 'F';
        case 1:
            return 'G';
        case 0:
            return 'H';
        default:
            return 0;
    }
}

// Optional white space, optional sign, digits, optional '.' and digits; 0 otherwise.
double leadingDecimal(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    const size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const size_t digitsStart = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    if (i == digitsStart) return 0.0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    }
    return std::strtod(text.substr(start, i - start).c_str(), nullptr);
}

}  // namespace

size_t tpRecordSize(int version, size_t points, size_t runways) {
    size_t size = 2 + 2 + 4 + 1 + velkano::kTurnpointNameWidth + 14 + 1 + 8 + 14 * points + 1 + 14 +
                  14 + 6 + 6 + velkano::kTurnpointIcaoWidth + 6 + 8 + 11 * runways + 1 + 6 + 1 + 6 +
                  6;
    const int16_t v = static_cast<int16_t>(version);
    if (v >= 5) size += velkano::kTurnpointShortNameWidth;
    if (v >= 2) size += 1;
    if (v >= 3) size += 2;
    if (v >= 4) size += 2 + velkano::kTurnpointCommentWidth + 4;
    return size;
}

void appendTpRecord(ByteWriter& out, const TpRecordFields& desc) {
    const Reserved reserved{desc.junkInReserved};
    const int16_t version = static_cast<int16_t>(desc.version);
    const int pointCount = desc.pointCount.value_or(static_cast<int>(desc.points.size()));
    const int runwayCount = desc.runwayCount.value_or(static_cast<int>(desc.runways.size()));

    out.i16(desc.tag).i16(desc.version).i32(desc.number).u8(desc.kindByte);
    out.text(desc.name, velkano::kTurnpointNameWidth);
    if (version >= 5) out.text(desc.shortName, velkano::kTurnpointShortNameWidth);
    out.coordPair(desc.latitude, desc.longitude, desc.positionTag);
    out.u8(reserved.byte(1));

    out.i16(desc.detailTag).i16(pointCount).i16(reserved.word(0)).i16(reserved.word(0));
    for (const TpPointFields& point : desc.points) {
        out.coordPair(point.latitude, point.longitude, point.tag);
    }
    out.u8(reserved.byte(0));
    out.coordPair(reserved.real(0.0), reserved.real(0.0), desc.reservedPairTag1);
    out.coordPair(reserved.real(0.0), reserved.real(0.0), desc.reservedPairTag2);
    out.real48(desc.elevation).real48(desc.frequency);
    out.text(desc.icao, velkano::kTurnpointIcaoWidth);
    out.real48(reserved.real(0.0));

    out.i16(desc.runwayBlockTag).i16(runwayCount);
    out.i16(reserved.word(runwayCount + 1)).i16(reserved.word(2));
    for (const TpRunwayFields& runway : desc.runways) {
        out.i16(runway.tag).real48(runway.length).i16(runway.direction).u8(runway.surfaceByte);
    }

    out.u8(reserved.byte(0)).real48(reserved.real(0.0)).u8(reserved.byte(0));
    out.real48(reserved.real(0.0)).real48(reserved.real(0.0));
    if (version >= 2) out.u8(reserved.byte(0));
    if (version >= 3) out.i16(reserved.word(1));
    if (version >= 4) {
        out.i16(reserved.word(0));
        out.text(desc.comment, velkano::kTurnpointCommentWidth);
        out.u8(reserved.byte(1)).u8(desc.markByte).u8(reserved.byte(0)).u8(reserved.byte(0));
    }
}

std::vector<uint8_t> encodeTpRecord(const TpRecordFields& desc) {
    ByteWriter out;
    appendTpRecord(out, desc);
    return out.bytes;
}

int kindByteForKind(int32_t kind) {
    switch (kind) {
        case 1:
            return 9;
        case 4:
            return 'L';
        case 5:
            return 'N';
        case 7:
            return 'I';
        case 8:
            return '$';
        case 10:
            return 'M';
        case 256:
            return 12;
        case 512:
            return 14;
        case 768:
            return 16;
        case 1024:
            return 13;
        case 1536:
            return 22;
        case 1792:
            return 18;
        case 2048:
            return 'O';
        case 2304:
            return 20;
        case 2560:
            return 21;
        case 2816:
            return 'J';
        default:
            return 9;
    }
}

TpRecordFields tpFieldsFromEntry(const FIO_TPEntry& entry, int32_t number) {
    TpRecordFields desc;
    desc.number = number;
    desc.kindByte = kindByteForKind(entry.kind);
    desc.name = cut(entry.name, velkano::kTurnpointNameWidth);
    desc.shortName = cut(entry.shortName, velkano::kTurnpointShortNameWidth);
    desc.latitude = entry.latitude;
    desc.longitude = entry.longitude;
    desc.elevation = static_cast<float>(entry.elevation);
    desc.frequency = static_cast<float>(leadingDecimal(entry.frequency));
    desc.icao = cut(entry.icaoCode, velkano::kTurnpointIcaoWidth);
    if (entry.runwayLength != 0 || entry.runwayDirection != 0) {
        desc.runways.push_back({static_cast<float>(entry.runwayLength), entry.runwayDirection,
                                surfaceByteForSurface(entry.surface)});
    }
    desc.comment = cut(entry.comment, velkano::kTurnpointCommentWidth);
    desc.markByte = entry.markFlag & 0xFF;
    return desc;
}

}  // namespace testenc
