// CUP files read from memory: what is refused, and every kind of change the report counts.
#include <gtest/gtest.h>

#include <map>

#include "formats/change_report.h"
#include "formats/cup_reader.h"

using namespace velkano::tool;

namespace {

const std::string kHeader = "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\n";
const std::string kRow = "\"Alpha\",A,,5000.000N,01000.000E,100m,1,,,,\n";

CupImport import(const std::string& text, CupReadOptions options = {}) {
    return readCup({CupFile{"in.cup", text}}, options);
}

std::map<std::string, size_t> countsOf(const Notes& notes) {
    std::map<std::string, size_t> counts;
    for (const InputChanges& input : summariseNotes(notes)) {
        EXPECT_EQ(input.input, "in.cup");
        for (const KindCount& kind : input.kinds) counts[kind.kind] = kind.count;
    }
    return counts;
}

TEST(CupImport, RefusesFilesThatAreNoCupWaypoints) {
    struct Case {
        std::string text;
        std::string where;
        std::string message;
    } const cases[] = {
        {"", "in.cup", "no waypoints"},
        {"* only a comment\r\n\r\n", "in.cup", "no waypoints"},
        {kHeader, "in.cup", "no waypoints"},
        {kHeader + "-----Related Tasks-----\nOptions,TaskTime=01:00:00\n", "in.cup",
         "no waypoints"},
        {"name;code;country;lat;lon\n\"A\";A;;5000.000N;01000.000E\n", "in.cup:1",
         "fields are separated by ';'; CUP separates them by commas"},
        {"* list\n\"A\";A;;5000.000N;01000.000E;\"123,500\"\n", "in.cup:2",
         "fields are separated by ';'; CUP separates them by commas"},
        {"name\tcode\tlat\tlon\nA\tA\t5000.000N\t01000.000E\n", "in.cup:1",
         "fields are separated by tabs; CUP separates them by commas"},
    };
    for (const Case& c : cases) {
        try {
            import(c.text, {false, true});
            ADD_FAILURE() << c.text;
        } catch (const CupError& e) {
            EXPECT_EQ(e.where(), c.where) << c.text;
            EXPECT_EQ(std::string(e.what()), c.message) << c.text;
        }
    }
    // Tasks alone name the rows of a file beside them.
    const auto both = readCup({{"rows.cup", kHeader + kRow},
                               {"tasks.cup", "-----Related Tasks-----\n\"T\",Alpha,Alpha\n"}},
                              {});
    EXPECT_EQ(both.task.routes.size(), 1u);
}

TEST(CupImport, ReportsEveryKindOfChangeWithItsCount) {
    struct Case {
        std::string text;
        std::map<std::string, size_t> counts;
    } const cases[] = {
        // Every line end, none of them noted.
        {"name,code,lat,lon\r\"A\",,5000.000N,01000.000E\r\nB,,5000.000N,01000.000E\nC,,"
         "5000.000N,01000.000E",
         {}},
        // Blanks are no value, and no frequency.
        {kHeader + "\"Alpha\",A,\"  \",5000.000N,01000.000E,\" \",\"  \",,,\"      \",\n", {}},
        {kHeader + "\"Alpha\",A,,5000.000N,01000.000E,100m,1,,,,\"open\n" + kRow,
         {{"quotes left open, closed at the line end", 1}}},
        {kHeader + "\"Alpha\",A,,5000.000N,01000.000E,100m,1,,,,\"two\rlines\"\r\n",
         {{"line breaks inside quotes read as blanks", 1}}},
        {kHeader + "\"Al" + std::string(1, '\0') + "pha\x01\",A,,5000.000N,01000.000E\n",
         {{"control characters read as blanks", 1}}},
        {"name,lat,lon,elev in m,Elevation [ft],altitude\nAlpha,5000.000N,01000.000E,1,2,3\n",
         {{"column `elev in m` is not read", 1}, {"column `altitude` is not read", 1}}},
        {"name,code,country,lat,lon,rwwidth,pics,userdata,\n"
         "Alpha,A,DE,5000.000N,01000.000E,20m,a.jpg,\"ref=1;kind=256;x\",\n"
         "Beta,B,AT,5000.000N,01000.000E,,,,extra,more\n",
         {{"column country is not kept", 2},
          {"column rwwidth is not kept", 1},
          {"column pics is not kept", 1},
          {"userdata of other programs is not kept", 2},
          {"fields in no column are not read", 2}}},
        {kHeader + "\"Alpha\",ALPHA-EAST,,5000.000N,01000.000E\n"
                   "\"B\",BB,,5000.000N,01000.000E\n",
         {{"codes longer than the name: the task file gives them as the name", 2}}},
        {kHeader + "\"P1\",,,5000.000N,01000.000E,100m,0\n"
                   "\"P2\",,,5000.000N,01000.000E,100m,3\n"
                   "\"P3\",,,5000.000N,01000.000E,100m,3\n"
                   "\"P4\",,,5000.000N,01000.000E,100m,7\n"
                   "\"P5\",,,5000.000N,01000.000E,100m,21\n"
                   "\"P6\",,,5000.000N,01000.000E,100m,22\n"
                   "\"P7\",,,5000.000N,01000.000E,100m,2\n"
                   "\"P8\",,,5000.000N,01000.000E,100m,5,090,800m\n"
                   "\"P9\",,,5000.000N,01000.000E,100m,4\n",
         {{"style 0 (unknown): stored as a point, exported as style 1", 1},
          {"style 3 (outlanding field): stored as an airfield, exported as style 4", 2},
          {"style 7 (mountain top): stored as a point, exported as style 1", 1},
          {"style 21 (paraglider landing zone): stored as a point, exported as style 1", 1},
          {"style 22 (no CUP style): stored as a point, exported as style 1", 1},
          {"style 2 (airfield with grass runway): stored as an airfield without its surface "
           "(kept only with a runway), exported as style 4",
           1}}},
        {"name,lat,lon,style,userdata,freq\n"
         "Alpha,5000.000N,01000.000E,4,surface=3,118.0055\n"
         "Beta,5000.000N,01000.000E,1,icao=EDXY,122.5\n"
         "Gamma,5000.000N,01000.000E,4,icao=EDXYZ,\n",
         {{"surfaces the task file keeps only with a runway", 1},
          {"frequencies the task file keeps to three decimals", 1},
          {"ICAO codes the task file keeps only for airfields, of four letters", 2}}},
        {kHeader + "\"Alpha\",A,,5000.000N,01000.000E,hoch,x,400,5km,tower,\n",
         {{"unreadable values in column elev", 1},
          {"unreadable values in column style", 1},
          {"unreadable values in column rwdir", 1},
          {"unreadable values in column rwlen", 1},
          {"unreadable values in column freq", 1}}},
        {kHeader + "\"\u0141\u00f3d\u017a\",A,,5000.000N,01000.000E,,,,,," + std::string(100, 'd') +
             "\n",
         {{"texts windows-1252 cannot hold in column name", 1},
          {"texts longer than their field in column desc", 1}}},
        {kHeader + kRow + "\"Alpha\",A,,5001.000N,01000.000E\n,,,,\n" +
             "-----Related Tasks-----\n\"T\",Alpha,ALPHA\nOptions,WpDis=True\nObsZone=0\n"
             "ObsZone=1\n",
         {{"task points naming several rows", 2},
          {"Options lines skipped: a task file has no place for them", 1},
          {"ObsZone lines skipped: a task file has no place for them", 2}}},
        {kHeader + ",,,5000.000N,01000.000E\n" + kRow +
             "-----Related Tasks-----\n\"T\",Alpha,Nowhere\n",
         {{"rows left out", 1}, {"tasks left out", 1}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(countsOf(import(c.text, {false, true}).notes), c.counts) << c.text;
}

// UTF-16 with its byte-order mark, as spreadsheets save "Unicode text".
std::string utf16(std::u16string_view text, bool little) {
    std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t unit : text) {
        const auto low = static_cast<char>(unit & 0xFF);
        const auto high = static_cast<char>(unit >> 8);
        bytes += little ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

TEST(CupImport, ReadsUtf16AndUnitsOfTheHeaderAndKeepsNameAndCodeAsTheyAre) {
    for (const bool little : {true, false}) {
        const CupImport imported = import(
            utf16(u"Name,Lat,Lon,Elevation [ft],code\r\n"
                  u"\u0141\u00f3d\u017a \U0001D11E,5000.000N,01000.000E,1650,Longer code\r\n",
                  little));
        ASSERT_EQ(imported.task.turnpoints.size(), 1u);
        const FIO_TPEntry& entry = imported.task.turnpoints[0];
        EXPECT_EQ(entry.name,
                  "L\xF3"
                  "dz ?");
        EXPECT_EQ(entry.shortName, "Longer code");  // reading the task file exchanges them
        EXPECT_EQ(entry.elevation, 503);
    }
}

TEST(CupImport, ReportShowsCountsAndTheFirstPlaces) {
    Notes notes;
    for (const int line : {3, 5, 8, 9})
        notes.push_back({"a.cup:" + std::to_string(line), "m", "rows left out", "a.cup"});
    notes.push_back({"a.cup:1", "column `x` is not read", "", "a.cup"});
    notes.push_back({"route 2", "id 7 is read back as 2", "route ids not kept", "t.rtx"});
    const auto changes = summariseNotes(notes);
    EXPECT_EQ(formatChangeReport(changes, ReportDetail::firstPlaces, "velkano: "),
              "velkano: a.cup: 5 notes\n"
              "  rows left out: 4 (a.cup:3, a.cup:5, a.cup:8 and 1 more)\n"
              "  column `x` is not read: 1 (a.cup:1)\n"
              "velkano: t.rtx: 1 note\n"
              "  route ids not kept: 1 (route 2)\n");
    EXPECT_EQ(formatChangeReport(changes, ReportDetail::counts, ""),
              "a.cup: 5 notes\n"
              "  rows left out: 4\n"
              "  column `x` is not read: 1\n"
              "t.rtx: 1 note\n"
              "  route ids not kept: 1\n");
    EXPECT_EQ(formatNote(notes[0]), "a.cup:3: m");
    EXPECT_EQ(formatNote(notes[5]), "t.rtx: route 2: id 7 is read back as 2");
}

}  // namespace
