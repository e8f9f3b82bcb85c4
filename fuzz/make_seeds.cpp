// Writes the seed corpora of the harnesses with our own test encoders:
//   fuzz_make_seeds DIR  ->  DIR/fuzz_route_read, DIR/fuzz_flight_igc, DIR/fuzz_build_json,
//                            DIR/fuzz_properties, DIR/fuzz_cup_read
// Seeds are small on purpose: the fuzzer grows them, and small inputs run fast.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "byte_writer.h"
#include "example_flight.h"
#include "flight_file_encoder.h"
#include "igc_import.h"
#include "route_file_encoder.h"
#include "tp_record_encoder.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

constexpr size_t kFixesFromRealLogs = 24;

void save(const fs::path& directory, const std::string& name, const Bytes& bytes) {
    fs::create_directories(directory);
    std::ofstream out(directory / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + (directory / name).string());
}

void save(const fs::path& directory, const std::string& name, const std::string& text) {
    save(directory, name, Bytes(text.begin(), text.end()));
}

// The route harness's input: companion length, companion bytes, task bytes.
Bytes routeInput(const Bytes& companion, const Bytes& task) {
    ByteWriter out;
    out.i16(static_cast<int>(companion.size())).raw(companion).raw(task);
    return out.bytes;
}

testenc::TpRecordFields turnpoint(int32_t number, int version = 5) {
    testenc::TpRecordFields made = testenc::exampleTurnpoint(number);
    made.version = version;
    return made;
}

testenc::RouteRecordFields route(int32_t id, int version,
                                 std::vector<testenc::RoutePointFields> listed) {
    testenc::RouteRecordFields made;
    made.id = id;
    made.version = version;
    made.listed = std::move(listed);
    made.beforeStart = {1};
    made.afterFinish = {2};
    made.name = "Route " + std::to_string(id);
    return made;
}

void routeSeeds(const fs::path& directory) {
    const std::vector<testenc::TpRecordFields> two = {turnpoint(1), turnpoint(2)};
    save(directory, "two_turnpoints_one_route",
         routeInput(testenc::encodeTpFile(two),
                    testenc::encodeTaskFile({route(7, 5, {{1, 0}, {2, 1}, {1, 0}})})));

    // Every route record version, and turnpoint records of older versions.
    std::vector<testenc::RouteRecordFields> versions;
    for (int version = 0; version <= 5; ++version)
        versions.push_back(route(version, version, {{2, 0}, {1, 1}}));
    save(directory, "route_versions",
         routeInput(testenc::encodeTpFile({turnpoint(1, 1), turnpoint(2, 4)}),
                    testenc::encodeTaskFile(versions)));

    // An airfield with a point list, two runways and a comment, in a headerless companion.
    testenc::TpRecordFields airfield = turnpoint(3);
    airfield.kindByte = 12;
    airfield.icao = "EDXY";
    airfield.frequency = 122.5;
    airfield.points = {{46.0, 7.0}, {46.5, 7.5}};
    airfield.runways = {{800.0, 250, 'G'}, {600.0, 2700, 'H'}};
    airfield.comment = "grass strip";
    airfield.markByte = 1;
    airfield.junkInReserved = true;
    testenc::FileFrameFields headerless;
    headerless.headerless = true;
    save(directory, "airfield_headerless",
         routeInput(testenc::encodeTpFile({airfield}, headerless),
                    testenc::encodeTaskFile({route(9, 5, {{3, 0}})}, headerless)));

    // No turnpoints, two routes; and a companion whose magic is followed by junk.
    testenc::FileFrameFields oddMagic;
    oddMagic.magicField = std::string("Velkano TP File") + '\0' + "left over";
    oddMagic.marker = 0;
    oddMagic.version = 3;
    save(directory, "no_turnpoints",
         routeInput(testenc::encodeTpFile({}, oddMagic),
                    testenc::encodeTaskFile({route(1, 5, {}), route(-5, 3, {{-1, 0}, {4, 2}})})));

    // What the driver itself writes, trailers included.
    Bytes companion = testenc::encodeTpFile({turnpoint(1)});
    const Bytes tpTrailer = testenc::tpFileTrailer(1);
    companion.insert(companion.end(), tpTrailer.begin(), tpTrailer.end());
    Bytes task = testenc::encodeTaskFile({route(3, 5, {{1, 0}})});
    const Bytes taskTrailer = testenc::taskFileTrailer(3);
    task.insert(task.end(), taskTrailer.begin(), taskTrailer.end());
    save(directory, "with_trailers", routeInput(companion, task));
}

void flightSeeds(const fs::path& directory) {
    for (const int version : {2, 5, 6, 7}) {
        testenc::FlightFileFields file;
        file.version = version;
        file.flights = {testenc::exampleFlight(3, 3)};
        save(directory, "version_" + std::to_string(version), testenc::encodeFlightFile(file));
    }

    testenc::FlightFileFields extension;
    extension.version = 6;
    extension.flights = {testenc::exampleFlight(2, 2)};
    extension.flights[0].extensionMarker = testenc::kExtensionMarker;
    extension.flights[0].extensionCount = 2;
    extension.flights[0].junkInSkipped = true;
    save(directory, "extension_block", testenc::encodeFlightFile(extension));

    testenc::FlightFileFields headerless;
    headerless.header = false;
    headerless.version = 5;
    headerless.flights = {testenc::exampleFlight(1, 0)};
    save(directory, "headerless", testenc::encodeFlightFile(headerless));

    testenc::FlightFileFields none;
    none.flights = {};
    save(directory, "no_flights", testenc::encodeFlightFile(none));

    // The start of real logs, converted by our IGC importer.
    const std::string igcDirectory = std::string(VELKANO_SOURCE_DIR) + "/tests/fixtures/igc";
    for (const auto& sample : testenc::flightSamples()) {
        testenc::FlightFileFields file;
        file.version = sample.version;
        for (const std::string& name : sample.logs) {
            const auto log = testenc::parseIgc(testenc::readWholeFile(igcDirectory + "/" + name));
            testenc::FlightFields made = testenc::flightFromIgc(log, sample.version);
            if (made.fixes.size() > kFixesFromRealLogs) made.fixes.resize(kFixesFromRealLogs);
            file.flights.push_back(made);
        }
        save(directory, "real_" + fs::path(sample.fileName).stem().string(),
             testenc::encodeFlightFile(file));
    }
}

void jsonSeeds(const fs::path& directory) {
    save(directory, "empty_document", std::string("{}\n"));
    save(directory, "two_turnpoints_one_route", std::string(R"({
  "turnpoints": [
    {
      "number": 1, "kind": 256, "name": "Alpha", "shortName": "AL", "comment": "grass strip",
      "elevation": 450, "markFlag": 1, "latitude": 47.5, "longitude": 8.25, "icaoCode": "EDXY",
      "frequency": "122.500", "runwayLength": 800, "runwayDirection": 250, "surface": 1
    },
    {"number": 2, "name": "Beta", "latitude": -33.125, "longitude": -70.5}
  ],
  "routes": [
    {
      "id": 12, "name": "Triangle",
      "points": [
        {"number": 1, "role": 6}, {"number": 1, "role": 4}, {"number": 2, "role": 3},
        {"number": 1, "role": 7}, {"number": 2, "role": 5}
      ]
    }
  ]
}
)"));
    save(directory, "route_without_outer_points", std::string(R"({
  "turnpoints": [{"number": 10, "name": "Gamma \u00e9\u20ac"}],
  "routes": [{"id": -5, "points": [{"number": 10}, {"number": -1, "role": 3}]}, {"id": 7}]
}
)"));
    save(directory, "refused_member",
         std::string(R"({"turnpoints": [{"number": 1, "number": 2}]})"));
}

// The CUP files of the tests, and one small file in each form of line end, header and encoding
// that other programs write.
void cupSeeds(const fs::path& directory) {
    const fs::path corpus = fs::path(VELKANO_SOURCE_DIR) / "tests" / "formats" / "cup";
    for (const auto& [folder, prefix] : {std::pair{corpus, "corpus_"},
                                         {corpus / "refused", "refused_"},
                                         {corpus / "expected", "written_"}}) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() != ".cup") continue;
            save(directory, prefix + entry.path().filename().string(),
                 testenc::readWholeFile(entry.path().string()));
        }
    }

    const std::vector<std::string> lines = {
        "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc",
        "\"Home\",HOME,DE,4730.000N,00815.000E,400m,5,070,800m,\"123.500\",\"Tower, \"\"Ost\"\"\"",
        "Turn,T1,,4740.000N,00820.000E,1200ft,3,,,\"      \",", "-----Related Tasks-----",
        "\"Short\",\"Home\",\"Home\",\"Turn\",\"Home\",\"Home\""};
    const std::pair<const char*, std::vector<const char*>> lineEnds[] = {
        {"lf", {"\n"}},
        {"crlf", {"\r\n"}},
        {"cr", {"\r"}},
        {"mixed", {"\r\n", "\n", "\r", "\r\r\n"}}};
    for (const auto& [name, ends] : lineEnds) {
        std::string text;
        for (size_t i = 0; i < lines.size(); ++i) text += lines[i] + ends[i % ends.size()];
        save(directory, std::string("line_ends_") + name, text);
    }
    save(directory, "quotes_across_line_ends",
         std::string("name,lat,lon,desc\r\nA,4730.000N,00815.000E,\"stray\rCR\"\r\n"
                     "B,4731.000N,00815.000E,\"open\nC,4732.000N,00815.000E,\r"));

    const char* headers[] = {
        "Title,Code,Country,Latitude,Longitude,Elevation,Style,rwydir,rwylen,Frequency,Description",
        "NAME,CODE,LAT,LON,elev (m),STYLE,Runway,rwlen [nm],Radio (MHz),Remarks,pics",
        "name,code,lat,lon,Elevation [ft],style,rwy,length,radio,comment,Altitude,wind",
        "code,name,lat,lon,alt ft,height,,userdata,,rwwidth"};
    const char* row =
        "\"Home\",HOME,4730.000N,00815.000E,1650,4,27,0.4,122.8,Grass,\"icao=EDXY;kind=1024\"";
    for (size_t i = 0; i < std::size(headers); ++i)
        save(directory, "header_" + std::to_string(i), std::string(headers[i]) + "\n" + row + "\n");

    // UTF-16 with its byte-order mark, both ways round, and fields separated otherwise.
    const std::string text = lines[0] + "\r\n" + lines[1] + "\r\n";
    for (const bool little : {true, false}) {
        std::string utf16 = little ? "\xFF\xFE" : "\xFE\xFF";
        for (const char c : text) utf16 += little ? std::string{c, '\0'} : std::string{'\0', c};
        save(directory, little ? "utf16_le" : "utf16_be", utf16);
    }
    for (const auto& [name, separator] : {std::pair{"semicolons", ';'}, {"tabs", '\t'}}) {
        std::string separated = text;
        for (char& c : separated) {
            if (c == ',') c = separator;
        }
        save(directory, name, separated);
    }
}

// Real48 bytes, float bits and resolution, as the property harness reads them.
Bytes propertyInput(const Bytes& real48, float value, int32_t resolution) {
    ByteWriter out;
    out.raw(real48);
    uint32_t bits = 0;
    static_assert(sizeof bits == sizeof value);
    std::memcpy(&bits, &value, sizeof bits);
    out.i32(static_cast<int32_t>(bits)).i32(resolution);
    return out.bytes;
}

void propertySeeds(const fs::path& directory) {
    save(directory, "one", propertyInput(ByteWriter::encodeReal48Exact(1.0), 47.5f, 1000));
    save(directory, "near_pole", propertyInput(ByteWriter::encodeReal48Exact(0.1), 89.99999f, 100));
    save(directory, "date_line", propertyInput({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, -180.5f, 0));
    save(directory, "small", propertyInput({0x02, 0, 0, 0, 0, 0x80}, 62.953125f, 100000));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1];
    routeSeeds(root / "fuzz_route_read");
    flightSeeds(root / "fuzz_flight_igc");
    jsonSeeds(root / "fuzz_build_json");
    propertySeeds(root / "fuzz_properties");
    cupSeeds(root / "fuzz_cup_read");
    return 0;
}
