// What the tests expect of the drivers' answers, stated once: how malformed input fails and
// which members make two turnpoint entries the same.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "velkano/fio_error.h"
#include "velkano/host_records.h"

namespace testing_support {

// FIO_Error with the given message, the malformed-input code and both parameters zero.
inline void expectFioError(const std::function<void()>& call, const std::string& message) {
    try {
        call();
        ADD_FAILURE() << "no FIO_Error, expected \"" << message << '"';
    } catch (const FIO_Error& error) {
        EXPECT_EQ(error.message, message);
        EXPECT_EQ(error.code, FIO_Error::kMalformed);
        EXPECT_EQ(error.param1, 0);
        EXPECT_EQ(error.param2, 0);
    }
}

// Every member of an entry but the uninitialised tail, for one EXPECT_EQ over two entries.
inline auto entryMembers(const FIO_TPEntry& e) {
    return std::tuple(e.number, e.aux, e.name, e.shortName, e.comment, e.elevation, e.markFlag,
                      e.latitude, e.longitude, e.kind, e.extraText, e.extraValue, e.icaoCode,
                      e.frequency, e.runwayLength, e.runwayDirection, e.surface, e.extraText2,
                      std::vector<int32_t>(std::begin(e.extraWords), std::end(e.extraWords)),
                      e.role);
}

}  // namespace testing_support
