#include "record_io.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "real48.h"

namespace velkano {

void throwBadObject() {
    throw FIO_Error(FIO_Error::kMalformed, FIO_Error::kBadObject, 0, 0);
}
void throwBadFile() {
    throw FIO_Error(FIO_Error::kMalformed, FIO_Error::kBadFile, 0, 0);
}

namespace {

// Room for one text field: on the stack for every width the files use, on the heap beyond.
class TextField {
public:
    explicit TextField(int32_t width) {
        if (width > static_cast<int32_t>(sizeof small_)) {
            large_.resize(static_cast<size_t>(width));
            data_ = large_.data();
        }
    }
    TextField(const TextField&) = delete;
    TextField& operator=(const TextField&) = delete;

    char* data() { return data_; }

private:
    char small_[256];
    std::vector<char> large_;
    char* data_ = small_;
};

}  // namespace

uint32_t readAvailable(CFile& file, void* buffer, uint32_t width) {
    std::memset(buffer, 0, width);
    const uint32_t got = std::min(file.Read(buffer, width), width);
    // What the host did not fill may hold anything it left there.
    std::memset(static_cast<uint8_t*>(buffer) + got, 0, width - got);
    return got;
}

void readField(CFile& file, void* buffer, uint32_t width) {
    // A short read throws before any byte is used, so only the bytes a host claims to have
    // written and never did need defined values: zeroed once, before the read.
    std::memset(buffer, 0, width);
    if (file.Read(buffer, width) < width) throwBadObject();
}

std::string textOf(const char* field, int32_t width) {
    size_t length = 0;
    while (length < static_cast<size_t>(width) && field[length] != '\0') ++length;
    return std::string(field, length);
}

int32_t int16Of(const uint8_t* bytes) {
    return static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | bytes[1] << 8));
}

namespace {

// A field of known width: zeroed and checked as readField does, without a call per field.
template <size_t Width>
void readBytes(CFile& file, uint8_t (&bytes)[Width]) {
    std::memset(bytes, 0, Width);
    if (file.Read(bytes, Width) < Width) throwBadObject();
}

}  // namespace

int32_t readByte(CFile& file) {
    uint8_t b[1];
    readBytes(file, b);
    return static_cast<int8_t>(b[0]);
}

int32_t readInt16(CFile& file) {
    uint8_t b[2];
    readBytes(file, b);
    return int16Of(b);
}

int32_t readInt32(CFile& file) {
    uint8_t b[4];
    readBytes(file, b);
    const uint32_t u = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                       static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
    return static_cast<int32_t>(u);
}

std::string readText(CFile& file, int32_t width) {
    if (width <= 0) return {};
    TextField field(width);
    readField(file, field.data(), static_cast<uint32_t>(width));
    return textOf(field.data(), width);
}

float readReal48(CFile& file) {
    uint8_t b[6];
    readBytes(file, b);
    return decodeReal48(b);
}

void expectTag(CFile& file, int32_t expected) {
    if (readInt16(file) != expected) throwBadObject();
}

void readCoordPair(CFile& file, float& latitude, float& longitude) {
    expectTag(file, kTagCoordPair);
    longitude = readReal48(file);
    latitude = readReal48(file);
}

void skipBytes(CFile& file, uint32_t count) {
    uint8_t sink[64];
    while (count > 0) {
        const uint32_t chunk = count < sizeof sink ? count : static_cast<uint32_t>(sizeof sink);
        readField(file, sink, chunk);
        count -= chunk;
    }
}

void writeByte(CFile& file, int32_t value) {
    const uint8_t b = static_cast<uint8_t>(value & 0xFF);
    file.Write(&b, 1);
}

void writeInt16(CFile& file, int32_t value) {
    const uint32_t u = static_cast<uint32_t>(value);
    const uint8_t b[2] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8)};
    file.Write(b, 2);
}

void writeInt32(CFile& file, int32_t value) {
    const uint32_t u = static_cast<uint32_t>(value);
    const uint8_t b[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                          static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)};
    file.Write(b, 4);
}

void writeText(CFile& file, std::string_view text, int32_t width) {
    if (width <= 0) return;
    TextField field(width);
    std::memset(field.data(), 0, static_cast<size_t>(width));
    text.copy(field.data(), std::min(text.size(), static_cast<size_t>(width - 1)));
    file.Write(field.data(), static_cast<uint32_t>(width));
}

void writeReal48(CFile& file, float value) {
    uint8_t b[6];
    encodeReal48(value, b);
    file.Write(b, 6);
}

void writeCoordPair(CFile& file, float latitude, float longitude) {
    writeInt16(file, kTagCoordPair);
    writeReal48(file, longitude);
    writeReal48(file, latitude);
}

void writeZeros(CFile& file, uint32_t count) {
    static const uint8_t zeros[128] = {};
    while (count > 0) {
        const uint32_t chunk = count < sizeof zeros ? count : static_cast<uint32_t>(sizeof zeros);
        file.Write(zeros, chunk);
        count -= chunk;
    }
}

int32_t truncateToInt32(float value) {
    // Both limits are exact as floats; NaN fails both tests and lands on the fallback.
    if (value >= 2147483648.0f) return INT32_MAX;
    if (value >= -2147483648.0f) return static_cast<int32_t>(value);
    return value < 0.0f ? INT32_MIN : 0;
}

}  // namespace velkano
