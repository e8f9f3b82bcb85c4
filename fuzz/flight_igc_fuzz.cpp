// A flight file converted as a host converts it: FIO_Flight2IGC until it returns 0 or
// throws, printing into a scratch file, then FIO_ExitDriver. The printed text must stay
// valid IGC whatever the flight file held.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "mem_file.h"
#include "velkano/fio_exports.h"

namespace {

constexpr size_t kFixLineLength = 41;       // B1305094730000N00815000EA0123401250000007
constexpr size_t kDeclarationLength = 25;   // C050704000000000000000102
constexpr size_t kTaskPointFixedPart = 18;  // C4730000N00815000E, then the name

bool digits(std::string_view line, size_t from, size_t count) {
    if (line.size() < from + count) return false;
    for (size_t i = from; i < from + count; ++i) {
        if (line[i] < '0' || line[i] > '9') return false;
    }
    return true;
}

int number(std::string_view line, size_t from, size_t count) {
    int value = 0;
    for (size_t i = from; i < from + count; ++i) value = value * 10 + (line[i] - '0');
    return value;
}

// DDMMmmmN at from, then DDDMMmmmE.
void checkPosition(std::string_view line, size_t from) {
    FUZZ_CHECK(digits(line, from, 7) && digits(line, from + 8, 8));
    const char ns = line[from + 7];
    const char ew = line[from + 16];
    FUZZ_CHECK(ns == 'N' || ns == 'S');
    FUZZ_CHECK(ew == 'E' || ew == 'W');
    const int latDegrees = number(line, from, 2);
    const int latRest = number(line, from + 2, 5);
    const int lonDegrees = number(line, from + 8, 3);
    const int lonRest = number(line, from + 11, 5);
    FUZZ_CHECK(number(line, from + 2, 2) < 60 && number(line, from + 11, 2) < 60);
    FUZZ_CHECK(latDegrees < 90 || (latDegrees == 90 && latRest == 0));
    FUZZ_CHECK(lonDegrees < 180 || (lonDegrees == 180 && lonRest == 0));
}

void checkAltitude(std::string_view field) {
    const bool negative = field[0] == '-';
    FUZZ_CHECK(digits(field, negative ? 1 : 0, negative ? 4 : 5));
}

void checkLine(std::string_view line) {
    FUZZ_CHECK(!line.empty());
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        FUZZ_CHECK(byte >= 0x20 && byte != 0x7F);
    }
    switch (line[0]) {
        case 'A':
            FUZZ_CHECK(line.size() >= 4 && line.size() <= 10);
            break;
        case 'H':
            if (line.substr(0, 5) == "HFDTE") FUZZ_CHECK(line.size() == 11 && digits(line, 5, 6));
            break;
        case 'I':
            FUZZ_CHECK(line == "I023638FXA3941ENL");
            break;
        case 'C':
            if (line.size() == kDeclarationLength && digits(line, 1, 24)) break;
            FUZZ_CHECK(line.size() >= kTaskPointFixedPart);
            checkPosition(line, 1);
            break;
        case 'B':
            FUZZ_CHECK(line.size() == kFixLineLength);
            FUZZ_CHECK(digits(line, 1, 6));
            FUZZ_CHECK(number(line, 1, 2) < 24 && number(line, 3, 2) < 60 &&
                       number(line, 5, 2) < 60);
            checkPosition(line, 7);
            FUZZ_CHECK(line[24] == 'A' || line[24] == 'V');
            checkAltitude(line.substr(25, 5));
            checkAltitude(line.substr(30, 5));
            FUZZ_CHECK(line.substr(35, 3) == "000" && digits(line, 38, 3));
            break;
        default:
            FUZZ_CHECK(!"a known record letter");
    }
}

void checkIgc(std::string_view text) {
    if (text.empty()) return;
    FUZZ_CHECK(text.back() == '\n');
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        checkLine(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string contents(std::FILE* stream) {
    std::fflush(stream);
    const long size = std::ftell(stream);
    std::string text(static_cast<size_t>(size), '\0');
    if (size > 0 && pread(fileno(stream), text.data(), text.size(), 0) != size) {
        fuzz::fail("cannot read the scratch output back");
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::FILE* const output = std::fopen(fuzz::scratchFile("out.igc").c_str(), "w+b");
    FUZZ_CHECK(output != nullptr);
    std::rewind(output);
    FUZZ_CHECK(ftruncate(fileno(output), 0) == 0);

    {
        fuzz::InputScope scope(size);
        MemFile flightFile(std::vector<uint8_t>(data, data + size), "/fuzz/flight.flt");
        CStdioFile igcFile(output, "out.igc", false);
        int32_t flights = 0;
        long printedBefore = 0;
        try {
            // No FIO_InitDriver: the export creates the state itself.
            for (;;) {
                const uint32_t positionBefore = flightFile.GetPosition();
                std::fflush(output);
                printedBefore = std::ftell(output);
                scope.countCall();
                const int32_t result = FIO_Flight2IGC(&flightFile, &igcFile);
                if (result == 0) break;
                FUZZ_CHECK(result == 1);
                FUZZ_CHECK(flightFile.GetPosition() > positionBefore);
                FUZZ_CHECK(++flights <= velkano::kMaxRecordCount);
            }
        } catch (const FIO_Error& error) {
            FUZZ_CHECK(error.code == FIO_Error::kMalformed && error.param1 == 0 &&
                       error.param2 == 0);
            FUZZ_CHECK(error.message == FIO_Error::kBadObject ||
                       error.message == FIO_Error::kBadFile);
            // A malformed flight prints nothing of itself.
            std::fflush(output);
            FUZZ_CHECK(std::ftell(output) == printedBefore);
        }
        FIO_ExitDriver();
    }
    checkIgc(contents(output));
    return 0;
}
