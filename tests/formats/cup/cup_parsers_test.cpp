// The CUP parsers on their own: the line and field splitter, the header matcher and the value
// parsers, negative cases first.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "formats/cup_fields.h"
#include "formats/cup_header.h"
#include "formats/cup_values.h"

using namespace velkano::tool::cup;

namespace {

using Fields = std::vector<std::string>;

TEST(CupFields, SplitsQuotedAndBareFields) {
    struct Case {
        const char* line;
        Fields fields;
    } const cases[] = {
        {"", {""}},
        {",", {"", ""}},
        {"\"open, never closed", {"open, never closed"}},
        {"  a  ,\tb\t", {"a", "b"}},
        {"\"a, b\",c", {"a, b", "c"}},
        {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
        {"\"  kept  \" ,y", {"  kept  ", "y"}},
        {"\"quoted\"tail,z", {"quotedtail", "z"}},
        {"mid\"quote,w", {"mid\"quote", "w"}},
    };
    for (const Case& c : cases) EXPECT_EQ(splitFields(c.line), c.fields) << c.line;
}

TEST(CupFields, QuotingReadsBackAsTheText) {
    for (const std::string text : {"", "plain", "a, b", "\"", "say \"hi\"", "  blanks  "}) {
        EXPECT_EQ(splitFields(quote(text) + "," + quote(text)), (Fields{text, text})) << text;
    }
    EXPECT_EQ(quoteUnlessEmpty(""), "");
    EXPECT_EQ(joinFields({"a", "", "\"c\""}), "a,,\"c\"\r\n");
}

TEST(CupFields, SplitsLinesAtTheirEnds) {
    struct Case {
        const char* text;
        std::vector<std::pair<size_t, std::string>> lines;
    } const cases[] = {
        {"", {}},
        {"a", {{1, "a"}}},
        {"a\nb\n", {{1, "a"}, {2, "b"}}},
        {"a\r\nb\r\n", {{1, "a"}, {2, "b"}}},
        {"a\n\nb", {{1, "a"}, {2, ""}, {3, "b"}}},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<size_t, std::string>> lines;
        for (const TextLine& line : splitLines(c.text))
            lines.emplace_back(line.number, std::string(line.text));
        EXPECT_EQ(lines, c.lines) << c.text;
    }
}

TEST(CupHeader, FindsColumnsByTheirNames) {
    struct Case {
        Fields header;
        std::vector<std::pair<Column, int>> columns;  // all others -1; empty: not a header
    } const cases[] = {
        {{"Hollerbach", "HOLL", "DE", "4924.726N"}, {}},
        {{"name", "Wiese"}, {}},
        {{"name", "code", "country", "lat", "lon", "elev", "style", "rwdir", "rwlen", "freq",
          "desc"},
         {{kName, 0},
          {kCode, 1},
          {kCountry, 2},
          {kLat, 3},
          {kLon, 4},
          {kElev, 5},
          {kStyle, 6},
          {kRwdir, 7},
          {kRwlen, 8},
          {kFreq, 9},
          {kDesc, 10}}},
        {{"code", "NAME", "Lat", "LON", "name"}, {{kCode, 0}, {kName, 1}, {kLat, 2}, {kLon, 3}}},
        {{"Title", "Latitude", "Longitude", "Elevation", "rwydir", "rwylen", "Frequency",
          "Description"},
         {{kName, 0},
          {kLat, 1},
          {kLon, 2},
          {kElev, 3},
          {kRwdir, 4},
          {kRwlen, 5},
          {kFreq, 6},
          {kDesc, 7}}},
    };
    for (const Case& c : cases) {
        const auto columns = matchHeader(c.header);
        ASSERT_EQ(columns.has_value(), !c.columns.empty()) << c.header[0];
        if (!columns) continue;
        ColumnMap expected;
        expected.fill(-1);
        for (const auto& [column, index] : c.columns) expected[column] = index;
        EXPECT_EQ(*columns, expected) << c.header[0];
    }
    EXPECT_EQ(classicColumns()[kDesc], 10);
    EXPECT_EQ(classicColumns()[kRwwidth], -1);
}

TEST(CupValues, ReadsCoordinatesToTheThousandthOfAMinute) {
    for (const char* bad : {"", "4612.345", "4612.345X", "4612,345N", "461.2345N", "4612.34N",
                            "4660.000N", "9000.001N", "-4612.345N", "4612.34567N"})
        EXPECT_EQ(parseLatitude(bad), std::nullopt) << bad;
    for (const char* bad : {"01430.500", "18000.001E", "1430.500E", "01460.000W"})
        EXPECT_EQ(parseLongitude(bad), std::nullopt) << bad;
    EXPECT_FLOAT_EQ(*parseLatitude("4612.345N"), static_cast<float>(46 + 12.345 / 60));
    EXPECT_FLOAT_EQ(*parseLatitude("3315.0000s"), -33.25f);
    EXPECT_FLOAT_EQ(*parseLatitude("9000.000S"), -90.0f);
    EXPECT_FLOAT_EQ(*parseLongitude("18000.000W"), -180.0f);
    EXPECT_FLOAT_EQ(*parseLongitude("00000.001E"), static_cast<float>(0.001 / 60));
}

TEST(CupValues, ReadsMeasuresInTheirUnits) {
    for (const char* bad : {"", "m", "-", ".", "hoch", "12x", "1e3m", "100km", "5nm", "99999999m"})
        EXPECT_EQ(parseElevation(bad), std::nullopt) << bad;
    for (const char* bad : {"30ft", "1.2.3m"})
        EXPECT_EQ(parseRunwayLength(bad), std::nullopt) << bad;
    for (const char* bad : {"", "-1", "361", "90deg", "x"})
        EXPECT_EQ(parseDirection(bad), std::nullopt) << bad;
    const std::pair<const char*, int32_t> elevations[] = {
        {"504.0m", 504}, {"-3", -3}, {"+12", 12}, {"1650ft", 503}, {"1650 FT", 503}, {".5m", 1}};
    for (const auto& [text, metres] : elevations) EXPECT_EQ(parseElevation(text), metres) << text;
    const std::pair<const char*, int32_t> lengths[] = {
        {"800m", 800}, {"0.35nm", 648}, {"1ml", 1609}, {"2500.0m", 2500}};
    for (const auto& [text, metres] : lengths) EXPECT_EQ(parseRunwayLength(text), metres) << text;
    EXPECT_EQ(parseDirection("08"), 8);
    EXPECT_EQ(parseDirection("360"), 360);
}

TEST(CupValues, ReadsStylesAndFrequencies) {
    for (const char* bad : {"", "x7", "7x", "1.5"}) EXPECT_EQ(parseStyle(bad), std::nullopt) << bad;
    EXPECT_EQ(parseStyle("21"), 21);
    for (const char* bad : {"", "tower", "1.2.3", "1,2.3", "."})
        EXPECT_EQ(parseFrequency(bad), std::nullopt) << bad;
    EXPECT_EQ(parseFrequency("123,500"), "123.500");
    EXPECT_EQ(parseFrequency("122.5"), "122.5");
}

TEST(CupValues, ReadsTheUserdataVelkanoWrites) {
    for (const char* foreign : {"", "ref=123", "kind=3", "surface=9", "mark=2", "code=x",
                                "kind=256;note", "kind=256;ref=1"})
        EXPECT_FALSE(parseUserdata(foreign).has_value()) << foreign;
    const auto all = parseUserdata("kind=512;surface=3;mark=1;code=icao;icao=ED;XY");
    ASSERT_TRUE(all);
    EXPECT_EQ(all->kind, 512);
    EXPECT_EQ(all->surface, 3);
    EXPECT_EQ(all->mark, 1);
    EXPECT_TRUE(all->codeIsIcao);
    EXPECT_EQ(all->icao, "ED;XY");
}

TEST(CupValues, DecimalsReadAndPrintWithoutTheLocale) {
    for (const char* bad : {"", "1e3", "inf", "nan", "12,5", " 1", "1 "})
        EXPECT_EQ(parseDecimal(bad), std::nullopt) << bad;
    EXPECT_EQ(parseDecimal("-12.5"), -12.5);
    EXPECT_EQ(printDecimal(122.475f, 3), "122.475");
    EXPECT_EQ(printDecimal(-0.5, 6), "-0.500000");
}

}  // namespace
