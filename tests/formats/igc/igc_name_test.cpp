#include "formats/igc_name.h"

#include <gtest/gtest.h>

#include "formats/igc_output.h"

using namespace velkano::tool;

namespace {

TEST(IgcName, NamesAFlightByItsDateAndRecorder) {
    struct Case {
        const char* igc;
        int number;
        const char* name;
    };
    const Case cases[] = {
        {"AABC12345\nHFDTE050704\nHFFXA100\n", 1, "2004-07-05-ABC-12345-01.igc"},
        {"AXCS001\r\nHFDTE311298\r\n", 2, "1998-12-31-XCS-001-02.igc"},
        {"AXCS001\nHFDTE311279\n", 1, "2079-12-31-XCS-001-01.igc"},
        {"AXCS001\nHFDTE010280\n", 12, "1980-02-01-XCS-001-12.igc"},
        {"AXCS001\nHFDTEDATE:010223,01\n", 100, "2023-02-01-XCS-001-100.igc"},
        // The driver pads a short maker code; the padding is not part of the name.
        {"A AB7\nHFDTE050704\n", 1, "2004-07-05-AB-7-01.igc"},
        // Maker and serial come from the file: nothing in them may form a path.
        {"A../../etc/x y\nHFDTE050704\n", 1, "2004-07-05-___-___etc_x_y-01.igc"},
        {"AXXX\xC4\xD6\nHFDTE050704\n", 1, "2004-07-05-XXX-__-01.igc"},
        {"A\nHFDTE050704\n", 1, "2004-07-05-XXX-000-01.igc"},
        // Dates the driver printed from out-of-range values are not dates.
        {"AABC1\nHFDTE-10704\n", 1, "0000-00-00-ABC-1-01.igc"},
        {"AABC1\nHFDTE1230704\n", 1, "0000-00-00-ABC-1-01.igc"},
        {"", 1, "0000-00-00-XXX-000-01.igc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(igcFileName(identifyFlight(c.igc), c.number), c.name) << c.igc;
}

TEST(IgcName, TheSerialIsCutToALengthEveryFileSystemTakes) {
    const std::string serial(300, '7');
    const FlightIdentity flight = identifyFlight("AABC" + serial + "\nHFDTE050704\n");
    EXPECT_EQ(flight.serial, std::string(64, '7'));
}

TEST(IgcOutput, CrlfEndsEveryLineWithCarriageReturnAndLineFeed) {
    EXPECT_EQ(withLineEnding("A1\nB2\n", LineEnding::crlf), "A1\r\nB2\r\n");
    // As a text-mode file does: each line feed gains a carriage return, whatever precedes it.
    EXPECT_EQ(withLineEnding("A\r\n\n", LineEnding::crlf), "A\r\r\n\r\n");
    EXPECT_EQ(withLineEnding("A1\nB2", LineEnding::lf), "A1\nB2");
    EXPECT_EQ(withLineEnding("", LineEnding::crlf), "");
}

TEST(IgcOutput, WrittenInBlocksItIsTheWholeConvertedText) {
    std::string fixes;
    for (int i = 0; i < 3000; ++i) fixes += "B1305094730000N00815000EA0123401250000007\n";
    const std::string texts[] = {"", "A1\nB2", "A\r\n\n",
                                 "AXXX\xe4\nHFPLTPILOT:J\xfcrg\n" + fixes + "C\xe9 late\nB9\n",
                                 "HFPLTPILOT:\xc6\n" + fixes};
    for (const std::string& text : texts) {
        for (const IgcCharset charset : {IgcCharset::utf8, IgcCharset::ascii, IgcCharset::raw}) {
            for (const LineEnding ending : {LineEnding::crlf, LineEnding::lf}) {
                std::string written;
                writeIgc(text, charset, ending, [&](const std::string& block) {
                    EXPECT_FALSE(block.empty());
                    written += block;
                });
                EXPECT_EQ(written, withLineEnding(withIgcCharset(text, charset), ending))
                    << text.substr(0, 20);
            }
        }
    }
}

}  // namespace
