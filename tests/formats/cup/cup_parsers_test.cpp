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

TEST(CupFields, SplitsLinesAtEveryLineEndInAnyMix) {
    struct Line {
        size_t number;
        std::string text;
        bool quoteLeftOpen = false;
        size_t breaksInQuotes = 0;
        bool operator==(const Line&) const = default;
    };
    struct Case {
        const char* text;
        std::vector<Line> lines;
    } const cases[] = {
        {"", {}},
        {"\"open\nnext", {{1, "\"open", true}, {2, "next"}}},
        {"\"open\r\nnext\r", {{1, "\"open", true}, {2, "next"}}},
        {"\"stray\rCR\",x\ny", {{1, "\"stray\rCR\",x", false, 1}, {2, "y"}}},
        {"a,\"b\"\"\r\",c\rd", {{1, "a,\"b\"\"\r\",c", false, 1}, {2, "d"}}},
        {"mid\"quote\rnext", {{1, "mid\"quote"}, {2, "next"}}},
        {"a", {{1, "a"}}},
        {"a\nb\n", {{1, "a"}, {2, "b"}}},
        {"a\r\nb\r\n", {{1, "a"}, {2, "b"}}},
        {"a\rb\r", {{1, "a"}, {2, "b"}}},
        {"a\r\nb\rc\nd", {{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}}},
        {"a\r\r\nb", {{1, "a"}, {2, ""}, {3, "b"}}},
        {"a\n\rb\n\n", {{1, "a"}, {2, ""}, {3, "b"}, {4, ""}}},
        {"\"q\",\"r\"\rs", {{1, "\"q\",\"r\""}, {2, "s"}}},
    };
    for (const Case& c : cases) {
        std::vector<Line> lines;
        for (const TextLine& line : splitLines(c.text)) {
            lines.push_back(
                {line.number, std::string(line.text), line.quoteLeftOpen, line.breaksInQuotes});
        }
        EXPECT_EQ(lines, c.lines) << c.text;
    }
}

TEST(CupHeader, FindsColumnsByTheirNamesInTheUsualSpellings) {
    struct Case {
        Fields header;
        std::vector<std::pair<Column, int>> columns;  // all others -1; empty: not a header
        std::vector<std::pair<Column, std::string>> units = {};
        Fields unread = {};
    } const cases[] = {
        {{"Hollerbach", "HOLL", "DE", "4924.726N"}, {}},
        {{"name", "Wiese"}, {}},
        {{"elev (km)", "lat [deg]", "name"}, {}},
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
        {{"code", "NAME", "Lat", "LON", "name"},
         {{kCode, 0}, {kName, 1}, {kLat, 2}, {kLon, 3}},
         {},
         {"name"}},
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
        {{"name", "lat", "lon", "elev (m)", "rwlen [nm]", "Radio (MHz)", "comment"},
         {{kName, 0}, {kLat, 1}, {kLon, 2}, {kElev, 3}, {kRwlen, 4}, {kFreq, 5}, {kDesc, 6}},
         {{kElev, "m"}, {kRwlen, "nm"}, {kFreq, "mhz"}}},
        {{"name", "lat", "lon", "Elevation [ft]", "RWY", "remarks", "Country"},
         {{kName, 0}, {kLat, 1}, {kLon, 2}, {kElev, 3}, {kRwdir, 4}, {kDesc, 5}, {kCountry, 6}},
         {{kElev, "ft"}}},
        {{"name", "lat", "lon", "altitude ft", "runway", "rwwidth"},
         {{kName, 0}, {kLat, 1}, {kLon, 2}, {kElev, 3}, {kRwdir, 4}, {kRwwidth, 5}},
         {{kElev, "ft"}}},
        {{"name", "lat", "lon", "height", "elev (km)", "ALT", "wind dir", "pics", ""},
         {{kName, 0}, {kLat, 1}, {kLon, 2}, {kElev, 3}, {kPics, 7}},
         {},
         {"elev (km)", "ALT", "wind dir"}},
    };
    for (const Case& c : cases) {
        const auto header = matchHeader(c.header);
        ASSERT_EQ(header.has_value(), !c.columns.empty()) << c.header[0];
        if (!header) continue;
        ColumnMap expected;
        expected.fill(-1);
        for (const auto& [column, index] : c.columns) expected[column] = index;
        EXPECT_EQ(header->columns, expected) << c.header[3];
        std::array<std::string, kColumnCount> units;
        for (const auto& [column, unit] : c.units) units[column] = unit;
        EXPECT_EQ(header->units, units) << c.header[3];
        EXPECT_EQ(header->unread, c.unread) << c.header[3];
        EXPECT_EQ(header->fieldCount, c.header.size());
    }
    EXPECT_EQ(classicHeader().columns[kDesc], 10);
    EXPECT_EQ(classicHeader().columns[kRwwidth], -1);
    EXPECT_EQ(matchHeader({"name", "", "lat"})->unnamed, std::vector<size_t>{1});
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
    // A unit in the header counts for bare numbers only.
    EXPECT_EQ(parseElevation("1650", "ft"), 503);
    EXPECT_EQ(parseElevation("500m", "ft"), 500);
    EXPECT_EQ(parseRunwayLength("0.5", "nm"), 926);
    EXPECT_EQ(parseElevation("1", "nm"), std::nullopt);
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
    EXPECT_EQ(parseFrequency(".5"), "0.5");
}

TEST(CupValues, ReadsOurUserdataMembersInAnyOrderAndKeepsTheRestApart) {
    struct Case {
        const char* userdata;
        std::optional<int32_t> kind, surface, mark;
        std::optional<std::string> icao;
        bool codeIsIcao;
        Fields notOurs;
    } const cases[] = {
        {"", {}, {}, {}, {}, false, {}},
        {"ref=123", {}, {}, {}, {}, false, {"ref=123"}},
        {"kind=3;surface=9;mark=2;code=x",
         {},
         {},
         {},
         {},
         false,
         {"kind=3", "surface=9", "mark=2", "code=x"}},
        {"a note; kind=256", 256, {}, {}, {}, false, {"a note"}},
        {"kind=512;surface=3;mark=1;code=icao;icao=ED;XY", 512, 3, 1, "ED;XY", true, {}},
        {"icao=EDFZ;kind=1024;surface=1", 1024, 1, {}, "EDFZ", false, {}},
        {"icao=A;B=C;mark=1;pic=x", {}, {}, 1, "A;B=C", false, {"pic=x"}},
        {"icao=;kind=768", 768, {}, {}, "", false, {}},
    };
    for (const Case& c : cases) {
        const Userdata tag = parseUserdata(c.userdata);
        EXPECT_EQ(tag.kind, c.kind) << c.userdata;
        EXPECT_EQ(tag.surface, c.surface) << c.userdata;
        EXPECT_EQ(tag.mark, c.mark) << c.userdata;
        EXPECT_EQ(tag.icao, c.icao) << c.userdata;
        EXPECT_EQ(tag.codeIsIcao, c.codeIsIcao) << c.userdata;
        EXPECT_EQ(tag.notOurs, c.notOurs) << c.userdata;
    }
}

TEST(CupValues, DecimalsReadAndPrintWithoutTheLocale) {
    for (const char* bad : {"", "1e3", "inf", "nan", "12,5", " 1", "1 "})
        EXPECT_EQ(parseDecimal(bad), std::nullopt) << bad;
    EXPECT_EQ(parseDecimal("-12.5"), -12.5);
    EXPECT_EQ(printDecimal(122.475f, 3), "122.475");
    EXPECT_EQ(printDecimal(-0.5, 6), "-0.500000");
}

}  // namespace
