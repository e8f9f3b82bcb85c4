// velkano igc, run as a user runs it, on flight files from our own encoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include "flight_file_encoder.h"
#include "route_file_encoder.h"
#include "host_test_support.h"
#include "tool_run.h"

using namespace testing_support;
using namespace tooltest;

namespace {

testenc::FlightFields flight(int day, const std::string& maker, const std::string& serial,
                             int fixes) {
    testenc::FlightFields desc;
    desc.day = day;
    desc.month = 7;
    desc.year = 2004;
    desc.recorderMaker = maker;
    desc.recorderSerial = serial;
    desc.pilot = "Pilot " + std::to_string(day);
    for (int i = 0; i < fixes; ++i) {
        testenc::FixFields fix;
        fix.latitude = 47.5 + i * 0.001;
        fix.longitude = 8.25;
        fix.seconds = 47109 + i;
        fix.pressureAltitude = 1234;
        fix.gnssAltitude = 1250;
        desc.fixes.push_back(fix);
    }
    return desc;
}

// Two flights of one day from one recorder, then one of the next day.
std::vector<uint8_t> threeFlights() {
    testenc::FlightFileFields file;
    file.flights = {flight(5, "ABCD", "123", 3), flight(5, "ABCD", "123", 2),
                    flight(6, "ABCD", "123", 1)};
    return testenc::encodeFlightFile(file);
}

const std::vector<std::string> kThreeFlightFiles = {
    "2004-07-05-ABC-123-01.igc", "2004-07-05-ABC-123-02.igc", "2004-07-06-ABC-123-01.igc"};

std::vector<std::string> with(std::vector<std::string> names,
                              const std::vector<std::string>& more) {
    names.insert(names.end(), more.begin(), more.end());
    std::sort(names.begin(), names.end());
    return names;
}

// Every line ends in CR LF, and dropping the CRs gives back the text.
void expectCrlfOf(const std::string& crlf, const std::string& lf) {
    std::string stripped;
    for (size_t i = 0; i < crlf.size(); ++i) {
        if (crlf[i] == '\r') {
            ASSERT_TRUE(i + 1 < crlf.size() && crlf[i + 1] == '\n') << "bare CR at " << i;
            continue;
        }
        if (crlf[i] == '\n') {
            ASSERT_TRUE(i > 0 && crlf[i - 1] == '\r') << "bare LF at " << i;
        }
        stripped += crlf[i];
    }
    EXPECT_EQ(stripped, lf);
}

TEST(IgcCommand, WritesOneFilePerFlightNamedByDateRecorderAndNumberOfTheDay) {
    ScratchDir dir;
    writeFileBytes(dir.file("log.flt"), threeFlights());
    const auto run = runVelkano({"igc", dir.file("log.flt")});
    ASSERT_EQ(run.status, 0) << run.err;
    // Each file written, on a line of its own.
    EXPECT_EQ(run.out, dir.file(kThreeFlightFiles[0]) + "\n" + dir.file(kThreeFlightFiles[1]) +
                           "\n" + dir.file(kThreeFlightFiles[2]) + "\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(listDirectory(dir.path().string()), with(kThreeFlightFiles, {"log.flt"}));

    const std::string first = readFileText(dir.file(kThreeFlightFiles[0]));
    EXPECT_EQ(first.rfind("AABC123\r\nHFDTE050704\r\n", 0), 0u) << first;
    EXPECT_NE(first.find("HFPLTPILOT:Pilot 5\r\n"), std::string::npos);
    EXPECT_NE(first.find("\r\nB1305094730000N00815000EA0123401250000000\r\n"), std::string::npos)
        << first;
    EXPECT_NE(readFileText(dir.file(kThreeFlightFiles[2])).find("HFDTE060704\r\n"),
              std::string::npos);
}

TEST(IgcCommand, NeverReplacesAnExistingFileButNumbersOn) {
    ScratchDir dir;
    writeFileBytes(dir.file("log.flt"), threeFlights());
    writeFileBytes(dir.file(kThreeFlightFiles[0]), {'k', 'e', 'e', 'p'});
    ASSERT_EQ(runVelkano({"igc", dir.file("log.flt"), "-o", dir.path().string()}).status, 0);
    EXPECT_EQ(readFileText(dir.file(kThreeFlightFiles[0])), "keep");
    EXPECT_EQ(listDirectory(dir.path().string()),
              with(kThreeFlightFiles, {"2004-07-05-ABC-123-03.igc", "log.flt"}));
    // The flight that found its name taken moved on to the next number of its day.
    EXPECT_NE(readFileText(dir.file("2004-07-05-ABC-123-02.igc")).find("B130509"),
              std::string::npos);
}

TEST(IgcCommand, LineEndingsAreCrlfByDefaultAndTheDriversBytesWithLf) {
    ScratchDir dir;
    writeFileBytes(dir.file("log.flt"), threeFlights());
    std::filesystem::create_directory(dir.file("crlf"));
    std::filesystem::create_directory(dir.file("lf"));
    ASSERT_EQ(runVelkano({"igc", dir.file("log.flt"), "-o", dir.file("crlf")}).status, 0);
    ASSERT_EQ(runVelkano({"igc", "--line-ending", "lf", dir.file("log.flt"), "-o", dir.file("lf")})
                  .status,
              0);
    std::string allLf;
    for (const std::string& name : kThreeFlightFiles) {
        const std::string lf = readFileText(dir.file("lf/" + name));
        EXPECT_EQ(lf.find('\r'), std::string::npos);
        expectCrlfOf(readFileText(dir.file("crlf/" + name)), lf);
        allLf += lf;
    }
    // To standard output: every flight in order and nothing else, with the same line ends.
    const auto toStdout =
        runVelkano({"igc", dir.file("log.flt"), "-o", "-", "--line-ending", "lf"});
    ASSERT_EQ(toStdout.status, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, allLf);
    EXPECT_EQ(toStdout.err, "");
    const auto crlfStdout = runVelkano({"igc", dir.file("log.flt"), "-o", "-"});
    expectCrlfOf(crlfStdout.out, allLf);
}

TEST(IgcCommand, AMalformedFlightKeepsTheFlightsBeforeItAndTheNextFileIsConverted) {
    ScratchDir dir;
    testenc::FlightFileFields file;
    file.flights = {flight(5, "ABC", "1", 2), flight(6, "ABC", "1", 2), flight(7, "ABC", "1", 2)};
    const std::vector<uint8_t> intact = testenc::encodeFlightFile(file);
    file.flights[1].fixes[1].tag = 'x';
    const std::vector<uint8_t> broken = testenc::encodeFlightFile(file);
    writeFileBytes(dir.file("bad.flt"), broken);
    // The broken tag is the first byte that differs.
    const size_t badFix = static_cast<size_t>(
        std::mismatch(intact.begin(), intact.end(), broken.begin()).first - intact.begin());
    testenc::FlightFileFields good;
    good.flights = {flight(9, "XYZ", "2", 1)};
    writeFileBytes(dir.file("good.flt"), testenc::encodeFlightFile(good));

    testenc::FlightFileFields tooMany;
    tooMany.flightCount = velkano::kMaxRecordCount + 1;
    writeFileBytes(dir.file("count.flt"), testenc::encodeFlightFile(tooMany));
    // Cut inside its second flight; too short for a header; empty; sound but without flights.
    writeFileBytes(dir.file("cut.flt"), std::vector<uint8_t>(intact.begin(), intact.end() - 40));
    writeFileBytes(dir.file("short.flt"),
                   std::vector<uint8_t>(intact.begin(), intact.begin() + 55));
    writeFileBytes(dir.file("empty.flt"), {});
    writeFileBytes(dir.file("none.flt"), testenc::encodeFlightFile(testenc::FlightFileFields{}));
    writeFileBytes(dir.file("task.rtx"), testenc::encodeTaskFile({}));

    const auto run = runVelkano({"igc", "-q", dir.file("missing.flt"), dir.file("bad.flt"),
                                 dir.file("count.flt"), dir.file("cut.flt"), dir.file("short.flt"),
                                 dir.file("empty.flt"), dir.file("none.flt"), dir.file("task.rtx"),
                                 dir.file("good.flt")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "velkano: " + dir.file("missing.flt") + ": No such file or directory\n" +
                           "velkano: " + dir.file("bad.flt") + ": bad object (flight 2, byte " +
                           std::to_string(badFix) + ")\nvelkano: " + dir.file("count.flt") +
                           ": bad file (header, byte 54)\nvelkano: " + dir.file("cut.flt") +
                           ": file ends at byte " + std::to_string(intact.size() - 40) +
                           " inside flight 3 (cut short?)\nvelkano: " + dir.file("short.flt") +
                           ": not a flight file (55 bytes)\nvelkano: " + dir.file("empty.flt") +
                           ": not a flight file (0 bytes)\nvelkano: " + dir.file("none.flt") +
                           ": no flights\nvelkano: " + dir.file("task.rtx") +
                           ": is a task file; use velkano dump or velkano cup\n");
    EXPECT_EQ(run.out, "");
    // Of bad.flt and cut.flt the flights before the broken one; nothing else.
    EXPECT_EQ(listDirectory(dir.path().string()),
              (std::vector<std::string>{"2004-07-05-ABC-1-01.igc", "2004-07-05-ABC-1-02.igc",
                                        "2004-07-06-ABC-1-01.igc", "2004-07-09-XYZ-2-01.igc",
                                        "bad.flt", "count.flt", "cut.flt", "empty.flt", "good.flt",
                                        "none.flt", "short.flt", "task.rtx"}));
}

// --flight picks flights by number, --force replaces their files, -o makes the directory.
TEST(IgcCommand, ChosenFlightsReplaceTheirFilesInANewDirectory) {
    ScratchDir dir;
    writeFileBytes(dir.file("log.flt"), threeFlights());
    const auto first =
        runVelkano({"igc", dir.file("log.flt"), "-o", dir.file("new"), "--flight", "3,1", "-q"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "");
    EXPECT_EQ(listDirectory(dir.file("new")),
              (std::vector<std::string>{kThreeFlightFiles[0], kThreeFlightFiles[2]}));
    writeFileBytes(dir.file("new/" + kThreeFlightFiles[0]), {'o', 'l', 'd'});
    const auto again = runVelkano({"igc", dir.file("log.flt"), "-o", dir.file("new"), "--force"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(listDirectory(dir.file("new")), kThreeFlightFiles);
    EXPECT_EQ(readFileText(dir.file("new/" + kThreeFlightFiles[0])).rfind("AABC123", 0), 0u);

    const auto missing = runVelkano({"igc", dir.file("log.flt"), "-o", "-", "--flight", "4"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "velkano: " + dir.file("log.flt") + ": has no flight 4 (it holds 3)\n");
    EXPECT_EQ(runVelkano({"igc", dir.file("log.flt"), "-o", dir.file("no/such/dir")}).status, 2);
}

TEST(IgcCommand, AFailingStandardOutputIsReportedOnce) {
#if defined(_WIN32)
    GTEST_SKIP() << "needs /dev/full and a POSIX shell";
#else
    ScratchDir dir;
    writeFileBytes(dir.file("log.flt"), threeFlights());
    const std::string command = std::string("'") + VELKANO_TOOL_PATH + "' igc '" +
                                dir.file("log.flt") + "' '" + dir.file("log.flt") +
                                "' -o - >/dev/full 2>'" + dir.file("err") + "'";
    const int wait = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(wait), 1);
    EXPECT_EQ(readFileText(dir.file("err")), "velkano: standard output: No space left on device\n");

    // A reader that goes away is no failure: velkano ends quietly.
    const std::string big = std::string(VELKANO_SOURCE_DIR) + "/examples/midnight_task.flt";
    const std::string piped = std::string("'") + VELKANO_TOOL_PATH + "' igc '" + big + "' '" + big +
                              "' -o - 2>'" + dir.file("err") +
                              "' | head -c 1 >/dev/null; exit ${PIPESTATUS[0]}";
    const std::string script = piped + "\n";
    writeFileBytes(dir.file("piped.sh"), std::vector<uint8_t>(script.begin(), script.end()));
    const int pipeWait = std::system(("bash '" + dir.file("piped.sh") + "'").c_str());
    EXPECT_EQ(WEXITSTATUS(pipeWait), 0);
    EXPECT_EQ(readFileText(dir.file("err")), "");
#endif
}

}  // namespace
