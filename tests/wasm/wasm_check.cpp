// A host over the linked drivers, built natively and for WebAssembly from the same source, so
// that a script can compare what both builds make of the same files byte for byte.
//   velkano_wasm_check flights FILE.flt OUTDIR   every flight to OUTDIR/FILE-N.igc
//   velkano_wasm_check tasks FILE.rtx OUTDIR     every object read, listed in OUTDIR/FILE.txt,
//                                                and written back as OUTDIR/FILE.rtx and .top
// Exit status 0, or 1 with a message when a driver refused the input.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "number_text.h"
#include "velkano/fio_error.h"
#include "velkano/host_file.h"
#include "velkano/host_records.h"
#include "velkano/linked_drivers.h"

namespace {

constexpr unsigned kRead = CStdioFile::typeBinary | CStdioFile::modeRead;
constexpr unsigned kWrite = CStdioFile::typeBinary | CStdioFile::modeCreate | CStdioFile::modeWrite;

std::string baseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.find_last_of('.'));
}

// An IGC file per flight; the file opened for the call that finds no flight left goes, and
// so does the one of a flight the driver refused.
int convertFlights(const std::string& flights, const std::string& outDir) {
    const FIO_ExportTable& driver = velkano::linkedFlightDriver();
    if (driver.InitDriver() == nullptr) return 1;
    CStdioFile in(flights, kRead);
    for (int n = 1;; ++n) {
        const std::string igc = outDir + "/" + baseName(flights) + "-" + std::to_string(n) + ".igc";
        CStdioFile out(igc, kWrite);
        int32_t result = 0;
        try {
            result = driver.Flight2IGC(&in, &out);
        } catch (...) {
            out.Close();
            std::remove(igc.c_str());
            throw;
        }
        out.Close();
        if (result != 1) {
            std::remove(igc.c_str());
            break;
        }
    }
    driver.ExitDriver();
    return 0;
}

std::string floatText(float value) {
    char text[velkano::number_text::kShortestFloatTextSize];
    return std::string(text, velkano::number_text::shortestFloatText(text, value));
}

void list(std::FILE* out, const FIO_TPEntry& e) {
    std::fprintf(out, "turnpoint %d \"%s\" \"%s\" \"%s\" elevation %d mark %d at %s %s kind %d ",
                 e.number, e.name.c_str(), e.shortName.c_str(), e.comment.c_str(), e.elevation,
                 e.markFlag, floatText(e.latitude).c_str(), floatText(e.longitude).c_str(), e.kind);
    std::fprintf(out, "icao \"%s\" frequency \"%s\" runway %d %d surface %d role %d word %d\n",
                 e.icaoCode.c_str(), e.frequency.c_str(), e.runwayLength, e.runwayDirection,
                 e.surface, e.role, e.extraWords[0]);
}

int readTasks(const std::string& tasks, const std::string& outDir) {
    const FIO_ExportTable& driver = velkano::linkedRouteDriver();
    if (driver.InitDriver() == nullptr) return 1;
    std::vector<FIO_TPEntry> turnpoints;
    std::vector<std::unique_ptr<FIO_Route>> routes;
    const std::string listing = outDir + "/" + baseName(tasks);
    std::FILE* out = std::fopen((listing + ".txt").c_str(), "wb");
    if (out == nullptr) return 1;
    {
        CStdioFile in(tasks, kRead);
        for (;;) {
            FIO_TPEntry entry;
            auto route = std::make_unique<FIO_Route>();
            const int32_t result = driver.ReadObject(&in, &entry, route.get());
            if (result == 1) {
                list(out, entry);
                turnpoints.push_back(entry);
            } else if (result == 2) {
                std::fprintf(out, "route %d \"%s\"", route->id, route->name.c_str());
                for (const FIO_TPEntry* point : route->points)
                    std::fprintf(out, " %d/%d", point->number, point->role);
                std::fprintf(out, "\n");
                routes.push_back(std::move(route));
            } else {
                break;
            }
        }
    }
    std::fclose(out);
    driver.ExitDriver();

    // Written back in a session of its own, which closes the turnpoint file at its end.
    if (driver.InitDriver() == nullptr) return 1;
    CStdioFile copy(listing + ".rtx", kWrite);
    FIO_Header header;
    header.kind = FIO_Header::kBegin;
    header.turnpointCount = static_cast<int32_t>(turnpoints.size());
    header.routeCount = static_cast<int32_t>(routes.size());
    bool written = driver.WriteHeader(&copy, &header) == 1;
    for (FIO_TPEntry& entry : turnpoints) written = written && driver.WriteTP(nullptr, &entry) == 1;
    for (auto& route : routes) written = written && driver.WriteRoute(&copy, route.get()) == 1;
    header.kind = FIO_Header::kEnd;
    written = written && driver.WriteHeader(&copy, &header) == 1;
    copy.Close();
    driver.ExitDriver();
    return written ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string usage = "usage: velkano_wasm_check flights|tasks FILE OUTDIR\n";
    if (argc != 4) {
        std::fputs(usage.c_str(), stderr);
        return 2;
    }
    const std::string command = argv[1];
    try {
        if (command == "flights") return convertFlights(argv[2], argv[3]);
        if (command == "tasks") return readTasks(argv[2], argv[3]);
    } catch (const FIO_Error& error) {
        std::fprintf(stderr, "%s: %s\n", argv[2], error.message.c_str());
        return 1;
    } catch (const CFileException& error) {
        std::fprintf(stderr, "%s: %s\n", argv[2], error.what());
        return 1;
    }
    std::fputs(usage.c_str(), stderr);
    return 2;
}
