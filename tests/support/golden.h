// Expected outputs live in an expected/ folder beside a test's inputs, one file per output.
// With VELKANO_UPDATE_GOLDEN=1 in the environment the tests rewrite them instead of comparing
// (review the diff before committing it).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "host_test_support.h"

namespace testing_support {

inline void expectGolden(const std::string& expectedPath, const std::string& actual) {
    if (std::getenv("VELKANO_UPDATE_GOLDEN") != nullptr) writeFileText(expectedPath, actual);
    EXPECT_EQ(actual, readFileText(expectedPath)) << expectedPath;
}

}  // namespace testing_support
