// Test encoder building block: appends little-endian fields to a byte buffer. Its Real48
// encoder is written independently of the driver's (from frexp, with all 39 fraction bits),
// so tests do not check the driver against itself.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ByteWriter {
public:
    ByteWriter& u8(int value) {
        bytes.push_back(static_cast<uint8_t>(value & 0xFF));
        return *this;
    }
    ByteWriter& i16(int value) {
        const auto u = static_cast<uint32_t>(value);
        return u8(static_cast<int>(u & 0xFF)).u8(static_cast<int>((u >> 8) & 0xFF));
    }
    ByteWriter& i32(int32_t value) {
        const auto u = static_cast<uint32_t>(value);
        for (int i = 0; i < 4; ++i) u8(static_cast<int>((u >> (8 * i)) & 0xFF));
        return *this;
    }
    // A width-byte text field: the text's bytes (cut at width), zero-padded.
    ByteWriter& text(std::string_view value, size_t width) {
        for (size_t i = 0; i < width; ++i) u8(i < value.size() ? value[i] : 0);
        return *this;
    }
    ByteWriter& zeros(size_t count) {
        bytes.insert(bytes.end(), count, 0);
        return *this;
    }
    ByteWriter& raw(const std::vector<uint8_t>& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    ByteWriter& real48(double value) {
        const auto encoded = encodeReal48Exact(value);
        bytes.insert(bytes.end(), encoded.begin(), encoded.end());
        return *this;
    }
    // 'r' pair: longitude first.
    ByteWriter& coordPair(double latitude, double longitude, int tag = 'r') {
        return i16(tag).real48(longitude).real48(latitude);
    }

    // value = (-1)^s * 2^(e-129) * (1 + f/2^39), f truncated to 39 bits.
    static std::vector<uint8_t> encodeReal48Exact(double value) {
        std::vector<uint8_t> out(6, 0);
        if (value == 0.0 || !std::isfinite(value)) return out;
        const bool negative = value < 0;
        int exp2 = 0;
        const double mantissa = std::frexp(std::fabs(value), &exp2);  // [0.5, 1)
        const int e = exp2 - 1 + 129;
        if (e <= 0 || e > 255) return out;
        const double frac = mantissa * 2.0 - 1.0;  // [0, 1)
        const auto f = static_cast<uint64_t>(std::ldexp(frac, 39));
        out[0] = static_cast<uint8_t>(e);
        for (int i = 0; i < 5; ++i) out[1 + i] = static_cast<uint8_t>((f >> (8 * i)) & 0xFF);
        out[5] = static_cast<uint8_t>((out[5] & 0x7F) | (negative ? 0x80 : 0));
        return out;
    }

    std::vector<uint8_t> bytes;
};
