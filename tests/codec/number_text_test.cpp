// The number conversions every build shares, on the inputs where a reimplementation goes
// wrong: ties, padding, the choice between fixed and scientific, out-of-range numbers. Each
// row is checked against the standard library too, which prints the same with GCC.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "number_text.h"

namespace {

namespace nt = velkano::number_text;

TEST(NumberText, FixedTextRoundsTheExactValueTiesToEven) {
    const std::pair<double, const char*> cases[] = {
        {0.0625, "0.062"},      // an exact tie goes to the even digit
        {0.1875, "0.188"},      // and up when that is the even one
        {122.0625, "122.062"},  // a frequency of that kind
        {0.0005, "0.001"},      // not a tie: the double lies above 5/10000
        {-0.0, "-0.000"},
        {-0.0004, "-0.000"},
        {999.9996, "1000.000"},
        {static_cast<double>(std::numeric_limits<float>::max()),
         "340282346638528859811704183484516925440.000"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(nt::fixedText(value, 3), text) << value;
        char standard[64];
        const auto end =
            std::to_chars(standard, standard + sizeof standard, value, std::chars_format::fixed, 3);
        EXPECT_EQ(std::string(standard, end.ptr), text) << value;
    }
}

TEST(NumberText, ShortestFloatTextIsLaidOutAsToCharsDoes) {
    const std::pair<float, const char*> cases[] = {
        {0.0f, "0"},
        {-0.0f, "-0"},
        {1e10f, "1e+10"},             // scientific when shorter
        {1200000.0f, "1200000"},      // fixed on a tie of lengths
        {123456792.0f, "123456792"},  // a padded fixed integer is printed exactly
        {1e-4f, "1e-04"},
        {0.001f, "0.001"},
        {-47.123f, "-47.123"},
        {16777216.0f, "16777216"},
        {std::numeric_limits<float>::max(), "3.4028235e+38"},
        {std::numeric_limits<float>::min(), "1.1754944e-38"},
        {std::numeric_limits<float>::denorm_min(), "1e-45"},
        {-std::numeric_limits<float>::infinity(), "-inf"},
        {std::numeric_limits<float>::quiet_NaN(), "nan"},
    };
    for (const auto& [value, text] : cases) {
        char ours[nt::kShortestFloatTextSize];
        EXPECT_EQ(std::string(ours, nt::shortestFloatText(ours, value)), text) << text;
        char standard[64];
        const auto end = std::to_chars(standard, standard + sizeof standard, value);
        EXPECT_EQ(std::string(standard, end.ptr), text) << text;
    }
}

TEST(NumberText, ParseDoubleFailsAndStopsWhereFromCharsDoes) {
    constexpr double kUntouched = -7.5;
    struct Case {
        const char* text;
        nt::Format format;
        std::errc ec;
        size_t used;
        double value;
    };
    const auto general = nt::Format::general;
    const auto fixed = nt::Format::fixed;
    const Case cases[] = {
        {"+1", general, std::errc::invalid_argument, 0, kUntouched},
        {" 1", general, std::errc::invalid_argument, 0, kUntouched},
        {".", general, std::errc::invalid_argument, 0, kUntouched},
        {"1e400", general, std::errc::result_out_of_range, 5, kUntouched},
        {"-1e400", general, std::errc::result_out_of_range, 6, kUntouched},
        {"2e-324", general, std::errc::result_out_of_range, 6, kUntouched},
        {"0.00001e-320", general, std::errc::result_out_of_range, 12, kUntouched},
        {"0e999999", general, std::errc(), 8, 0.0},  // zero digits are no underflow
        {"3e-324", general, std::errc(), 6, std::numeric_limits<double>::denorm_min()},
        {"-Infinity", general, std::errc(), 9, -HUGE_VAL},
        {"1e", general, std::errc(), 1, 1.0},
        {"1e5", fixed, std::errc(), 1, 1.0},
        {"-.5x", fixed, std::errc(), 3, -0.5},
        {"122.500", fixed, std::errc(), 7, 122.5},
    };
    for (const Case& c : cases) {
        const char* end = c.text + std::strlen(c.text);
        double ours = kUntouched;
        const auto result = nt::parseDouble(c.text, end, ours, c.format);
        EXPECT_EQ(result.ec, c.ec) << c.text;
        EXPECT_EQ(result.ptr - c.text, static_cast<ptrdiff_t>(c.used)) << c.text;
        EXPECT_EQ(ours, c.value) << c.text;
        double standard = kUntouched;
        const auto expected = std::from_chars(
            c.text, end, standard,
            c.format == fixed ? std::chars_format::fixed : std::chars_format::general);
        EXPECT_EQ(expected.ec, c.ec) << c.text;
        EXPECT_EQ(expected.ptr - c.text, static_cast<ptrdiff_t>(c.used)) << c.text;
        EXPECT_EQ(standard, c.value) << c.text;
    }
    double nan = kUntouched;
    const char text[] = "nan(payload)";
    EXPECT_EQ(nt::parseDouble(text, text + 12, nan).ptr, text + 12);
    EXPECT_TRUE(std::isnan(nan));
}

}  // namespace
