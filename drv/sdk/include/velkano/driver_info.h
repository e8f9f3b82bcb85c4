// The 144-byte record FIO_DriverInfo fills: what a driver tells the host about itself.
// Every member is a byte array, so the struct has no padding and the record's layout on
// every platform; the numbers in it are little-endian int32, read and written with
// infoWord and setInfoWord.
#pragma once

#include <cstddef>
#include <cstdint>

struct FIO_DriverInfoRecord {
    char version[20];  // "Version 1.0", zero-padded
    char name[30];     // shown to the user
    char maker[34];
    uint8_t reads;   // 1: every driver reads its files
    uint8_t writes;  // 1 in the driver that implements the write exports
    uint8_t reserved86[2];
    // The words below are the capability and limit words as the host reads them.
    uint8_t fileTypes[4];       // the file-type codes handled, one bit each
    uint8_t turnpointLimit[4];  // 0x4000 in the route driver
    uint8_t routeLimit[4];      // 0x4000 in the route driver
    uint8_t routeWord100[4];    // 40 in the route driver
    uint8_t flightLimit[4];     // 0x4000 in the flight driver
    uint8_t reserved108[3][4];
    uint8_t objectLimit[4];  // 0x4000 in the route driver
    uint8_t reserved124[2][4];
    uint8_t turnpointNameLength[4];  // longest turnpoint name the route driver keeps: 29
    uint8_t routeNameWidth[4];       // the route-name field's width: 201
    uint8_t reserved140[4];
};

static_assert(sizeof(FIO_DriverInfoRecord) == 144);
static_assert(offsetof(FIO_DriverInfoRecord, name) == 20);
static_assert(offsetof(FIO_DriverInfoRecord, maker) == 50);
static_assert(offsetof(FIO_DriverInfoRecord, reads) == 84);
static_assert(offsetof(FIO_DriverInfoRecord, writes) == 85);
static_assert(offsetof(FIO_DriverInfoRecord, fileTypes) == 88);
static_assert(offsetof(FIO_DriverInfoRecord, turnpointLimit) == 92);
static_assert(offsetof(FIO_DriverInfoRecord, routeLimit) == 96);
static_assert(offsetof(FIO_DriverInfoRecord, routeWord100) == 100);
static_assert(offsetof(FIO_DriverInfoRecord, flightLimit) == 104);
static_assert(offsetof(FIO_DriverInfoRecord, objectLimit) == 120);
static_assert(offsetof(FIO_DriverInfoRecord, turnpointNameLength) == 132);
static_assert(offsetof(FIO_DriverInfoRecord, routeNameWidth) == 136);

inline int32_t infoWord(const uint8_t (&word)[4]) {
    return static_cast<int32_t>(
        static_cast<uint32_t>(word[0]) | static_cast<uint32_t>(word[1]) << 8 |
        static_cast<uint32_t>(word[2]) << 16 | static_cast<uint32_t>(word[3]) << 24);
}

inline void setInfoWord(uint8_t (&word)[4], int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) word[i] = static_cast<uint8_t>(u >> (8 * i));
}
