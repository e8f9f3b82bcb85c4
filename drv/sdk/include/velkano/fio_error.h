// The exception every driver reader throws on malformed input. Thrown by value out of the
// exports; a host catches it by type.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

class FIO_Error {
public:
    static constexpr int32_t kMalformed = -2;
    // The two messages: a record or sub-record that is wrong or cut short, and a file
    // header whose count is out of range or that is cut short.
    static constexpr const char* kBadObject = "bad object";
    static constexpr const char* kBadFile = "bad file";

    FIO_Error(int32_t code, std::string message, int32_t param1 = 0, int32_t param2 = 0)
        : message(std::move(message)), param1(param1), code(code), param2(param2) {}

    std::string message;  // kBadObject or kBadFile
    int32_t param1;
    int32_t code;
    int32_t param2;
};
