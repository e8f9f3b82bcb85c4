// One flight as read from a flight file: the working storage of one conversion.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "velkano/host_records.h"

// One logged position.
struct FIO_FixEntry {
    float latitude = 0.0f;         // degrees, north positive
    float longitude = 0.0f;        // degrees, east positive
    int32_t seconds = 0;           // time of day; may run past midnight in flights that cross it
    int32_t pressureAltitude = 0;  // metres
    int32_t gnssAltitude = 0;      // metres
    int32_t valid = 0;             // non-zero for a valid fix
    int32_t enl = 0;               // engine noise level
    int32_t extra[3] = {};         // carried along, not used
};

struct FIO_Flight {
    static constexpr int32_t kMaxTaskSize = 20;

    std::vector<FIO_FixEntry> fixes;  // in file order
    int32_t day = 0;
    int32_t month = 0;
    int32_t year = 0;            // as stored: 1998, 2004 or 98
    std::string recorderMaker;   // at least 3 characters once read
    std::string recorderSerial;  // never empty once read
    std::string recorderType;
    std::string pilot;
    std::string gliderType;
    std::string gliderId;  // empty before version 7
    std::string competitionId;
    std::string competitionClass;
    // The declared task points; the first taskSize are read from the file, the rest keep
    // their defaults.
    std::array<FIO_TPEntry, kMaxTaskSize> task;
    int32_t taskSize = 0;  // 10, or 20 from version 6 on
};
