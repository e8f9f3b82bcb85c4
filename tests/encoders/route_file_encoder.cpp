#include "route_file_encoder.h"

namespace testenc {

std::vector<uint8_t> encodeFileHeader(std::string_view magic, const FileFrameFields& frame,
                                      int defaultCount) {
    ByteWriter out;
    const int count = frame.count.value_or(defaultCount);
    if (frame.headerless) return out.i16(count).bytes;
    out.text(frame.magicField.value_or(std::string(magic)), velkano::kMagicWidth);
    out.u8(frame.marker).i16(frame.version).i16(count);
    return out.bytes;
}

size_t routeRecordSize(int version, size_t listed) {
    const int16_t v = static_cast<int16_t>(version);
    size_t size = 2 + 2 + 4 + 2 + 2 + 1 + 6 + (v > 0 ? 7 : 6) * listed;
    if (v > 2) size += 12;
    if (v > 3) size += velkano::kRouteNameWidth;
    if (v > 4) size += 1;
    return size;
}

void appendRouteRecord(ByteWriter& out, const RouteRecordFields& desc) {
    const int16_t version = static_cast<int16_t>(desc.version);
    const int listedCount = desc.listedCount.value_or(static_cast<int>(desc.listed.size()));
    out.i16(desc.tag).i16(desc.version).i32(desc.id).i16(listedCount);
    if (desc.junkInReserved) {
        out.i16(0x5A5A).u8(0xA5).real48(-1234.5);
    } else {
        out.i16(0).u8(0).zeros(6);
    }
    for (const RoutePointFields& point : desc.listed) {
        out.i16(point.tag).i32(point.number);
        if (version > 0) out.u8(point.flag);
    }
    if (version > 2) {
        out.i16(desc.beforeStart.tag).i32(desc.beforeStart.number);
        out.i16(desc.afterFinish.tag).i32(desc.afterFinish.number);
    }
    if (version > 3) out.text(desc.name, velkano::kRouteNameWidth);
    if (version > 4) out.u8(desc.endByte);
}

std::vector<uint8_t> encodeRouteRecord(const RouteRecordFields& desc) {
    ByteWriter out;
    appendRouteRecord(out, desc);
    return out.bytes;
}

namespace {

template <typename Fields>
std::vector<uint8_t> encodeFile(std::string_view magic, const std::vector<Fields>& records,
                                const FileFrameFields& frame,
                                void (*append)(ByteWriter&, const Fields&)) {
    ByteWriter out;
    out.raw(encodeFileHeader(magic, frame, static_cast<int>(records.size())));
    for (const Fields& record : records) append(out, record);
    return out.bytes;
}

}  // namespace

std::vector<uint8_t> encodeTpFile(const std::vector<TpRecordFields>& records,
                                  const FileFrameFields& frame) {
    return encodeFile(velkano::kTpFileMagic, records, frame, appendTpRecord);
}

std::vector<uint8_t> encodeTaskFile(const std::vector<RouteRecordFields>& records,
                                    const FileFrameFields& frame) {
    return encodeFile(velkano::kTaskFileMagic, records, frame, appendRouteRecord);
}

std::vector<uint8_t> tpFileTrailer(int32_t maxTpNumber) {
    ByteWriter out;
    return out.i32(maxTpNumber).u8(9).bytes;
}

std::vector<uint8_t> taskFileTrailer(int32_t maxRouteId) {
    ByteWriter out;
    return out.i32(maxRouteId).zeros(kTaskTrailerSize - 4).bytes;
}

RouteRecordFields routeFieldsFromRoute(const FIO_Route& route) {
    RouteRecordFields desc;
    desc.id = route.id;
    const auto& points = route.points;
    for (size_t i = 1; i + 1 < points.size(); ++i) {
        desc.listed.push_back(
            {points[i]->number, points[i]->role == velkano::kRoleFlaggedTurnpoint ? 1 : 0});
    }
    desc.listedCount = static_cast<int>(points.size()) - 2;
    desc.beforeStart = {points.front()->number};
    desc.afterFinish = {points.back()->number};
    desc.name = route.name.substr(0, velkano::longestText(velkano::kRouteNameWidth));
    return desc;
}

}  // namespace testenc
