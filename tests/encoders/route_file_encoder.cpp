#include "route_file_encoder.h"

namespace testenc {

std::vector<uint8_t> encodeFileHeader(std::string_view magic, const FileFrameSpec& frame,
                                      int defaultCount) {
    ByteWriter out;
    const int count = frame.count.value_or(defaultCount);
    if (frame.headerless) return out.i16(count).bytes;
    out.text(frame.magicField.value_or(std::string(magic)), kMagicWidth);
    out.u8(frame.marker).i16(frame.version).i16(count);
    return out.bytes;
}

size_t routeRecordSize(int version, size_t listed) {
    const int16_t v = static_cast<int16_t>(version);
    size_t size = 2 + 2 + 4 + 2 + 2 + 1 + 6 + (v > 0 ? 7 : 6) * listed;
    if (v > 2) size += 12;
    if (v > 3) size += kRouteNameWidth;
    if (v > 4) size += 1;
    return size;
}

void appendRouteRecord(ByteWriter& out, const RouteRecordSpec& spec) {
    const int16_t version = static_cast<int16_t>(spec.version);
    const int listedCount = spec.listedCount.value_or(static_cast<int>(spec.listed.size()));
    out.i16(spec.tag).i16(spec.version).i32(spec.id).i16(listedCount);
    if (spec.junkInReserved) {
        out.i16(0x5A5A).u8(0xA5).real48(-1234.5);
    } else {
        out.i16(0).u8(0).zeros(6);
    }
    for (const RoutePointSpec& point : spec.listed) {
        out.i16(point.tag).i32(point.number);
        if (version > 0) out.u8(point.flag);
    }
    if (version > 2) {
        out.i16(spec.beforeStart.tag).i32(spec.beforeStart.number);
        out.i16(spec.afterFinish.tag).i32(spec.afterFinish.number);
    }
    if (version > 3) out.text(spec.name, kRouteNameWidth);
    if (version > 4) out.u8(spec.endByte);
}

std::vector<uint8_t> encodeRouteRecord(const RouteRecordSpec& spec) {
    ByteWriter out;
    appendRouteRecord(out, spec);
    return out.bytes;
}

std::vector<uint8_t> encodeTpFile(const std::vector<TpRecordSpec>& records,
                                  const FileFrameSpec& frame) {
    ByteWriter out;
    out.raw(encodeFileHeader(kTpFileMagic, frame, static_cast<int>(records.size())));
    for (const TpRecordSpec& record : records) appendTpRecord(out, record);
    return out.bytes;
}

std::vector<uint8_t> encodeTaskFile(const std::vector<RouteRecordSpec>& records,
                                    const FileFrameSpec& frame) {
    ByteWriter out;
    out.raw(encodeFileHeader(kTaskFileMagic, frame, static_cast<int>(records.size())));
    for (const RouteRecordSpec& record : records) appendRouteRecord(out, record);
    return out.bytes;
}

std::vector<uint8_t> tpFileTrailer(int32_t maxTpNumber) {
    ByteWriter out;
    return out.i32(maxTpNumber).u8(9).bytes;
}

std::vector<uint8_t> taskFileTrailer(int32_t maxRouteId) {
    ByteWriter out;
    return out.i32(maxRouteId).zeros(kTaskTrailerSize - 4).bytes;
}

RouteRecordSpec routeSpecFromRoute(const FIO_Route& route) {
    RouteRecordSpec spec;
    spec.id = route.id;
    const auto& points = route.points;
    for (size_t i = 1; i + 1 < points.size(); ++i) {
        spec.listed.push_back({points[i]->number, points[i]->role == 3 ? 1 : 0});
    }
    spec.listedCount = static_cast<int>(points.size()) - 2;
    spec.beforeStart = {points.front()->number};
    spec.afterFinish = {points.back()->number};
    spec.name = route.name.substr(0, kRouteNameWidth - 1);
    return spec;
}

}  // namespace testenc
