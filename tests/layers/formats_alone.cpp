// The formats library on its own, as a browser page or an embedding host uses it: a flight's
// IGC text, a CUP file and a JSON document converted from memory, with no file system, no
// driver loading and no command line linked in (check_layers.sh looks at what it imports).
#include <cstdio>
#include <string>

#include "formats/cup_reader.h"
#include "formats/cup_writer.h"
#include "formats/flight_list.h"
#include "formats/igc_output.h"
#include "formats/json_text.h"
#include "formats/task_json.h"

using namespace velkano::tool;

namespace {

constexpr char kIgc[] =
    "AXSXABC\n"
    "HFDTE150423\n"
    "HFPLTPILOT:J\xF6rg\n"
    "B1200004730000N00815000EA0123401250\n"
    "B1200054730100N00815100EA0123501260\n";

constexpr char kCup[] =
    "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n"
    "\"Home\",HOME,DE,4730.000N,00815.000E,400m,4,070,800m,123.500,\r\n"
    "Turn,T1,DE,4740.000N,00820.000E,1200ft,1,,,,\r\n"
    "-----Related Tasks-----\r\n"
    "\"Short\",\"Home\",\"Home\",\"Turn\",\"Home\",\"Home\"\r\n";

bool expect(bool condition, const char* what) {
    if (!condition) std::fprintf(stderr, "formats_alone: %s\n", what);
    return condition;
}

}  // namespace

int main() {
    bool ok = true;

    FlightLister flights;
    flights.add(1, parseIgcText(kIgc), kIgc);
    const std::string table = flightTable(flights.flights());
    ok &= expect(table.find("2023-04-15-XSX-ABC-01.igc") != std::string::npos, "flight table");
    std::string igc;
    writeIgc(kIgc, IgcCharset::utf8, LineEnding::crlf, [&](const std::string& b) { igc += b; });
    ok &= expect(igc.find("HFPLTPILOT:J\xC3\xB6rg\r\n") != std::string::npos, "IGC in UTF-8");

    const CupImport imported = readCup({{"mem.cup", kCup}}, {});
    ok &= expect(imported.task.turnpoints.size() == 2 && imported.task.routes.size() == 1,
                 "CUP rows and task");
    const CupOutput cup = formatCup(imported.task, CupColumns::current);
    ok &= expect(cup.text.find("\"Turn\",\"T1\",,4740.000N") != std::string::npos,
                 "CUP written back");

    std::string json;
    writeTaskJson(imported.task, [&](const std::string& block) { json += block; });
    const TaskDocument again = taskFromJson(parseJson(json));
    ok &= expect(formatJson(taskToJson(again)) == json, "JSON read back");

    std::printf("%s", ok ? "formats converted from memory\n" : "");
    return ok ? 0 : 1;
}
