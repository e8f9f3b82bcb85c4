#include "formats/cup_reader.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <unordered_map>
#include <unordered_set>

#include "formats/cp1252.h"
#include "formats/cup_format.h"
#include "velkano/fio_codes.h"

namespace velkano::tool {

namespace {

using namespace cup;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr size_t kNotesShownPerKind = 5;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kMetresPerNauticalMile = 1852.0;
constexpr double kMetresPerStatuteMile = 1609.344;
// Whole numbers the file keeps as Real48 pass through float, exact up to 2^24.
constexpr double kLargestWhole = 1 << 24;
constexpr double kLargestDirection = 360.0;
constexpr double kMinutesPerDegree = 60.0;

enum Column : int {
    kName,
    kCode,
    kCountry,
    kLat,
    kLon,
    kElev,
    kStyle,
    kRwdir,
    kRwlen,
    kRwwidth,
    kFreq,
    kDesc,
    kUserdata,
    kPics,
    kColumnCount
};
constexpr std::array<std::string_view, kColumnCount> kColumnNames = {
    "name",  "code",  "country", "lat",  "lon",  "elev",     "style",
    "rwdir", "rwlen", "rwwidth", "freq", "desc", "userdata", "pics"};
constexpr struct {
    std::string_view name;
    Column column;
} kOldColumnNames[] = {{"title", kName},      {"latitude", kLat}, {"longitude", kLon},
                       {"elevation", kElev},  {"rwydir", kRwdir}, {"direction", kRwdir},
                       {"rwylen", kRwlen},    {"length", kRwlen}, {"frequency", kFreq},
                       {"description", kDesc}};
constexpr Column kClassicColumns[] = {kName,  kCode,  kCountry, kLat,  kLon, kElev,
                                      kStyle, kRwdir, kRwlen,   kFreq, kDesc};

// Field index of each column; -1 where the file has none.
using ColumnMap = std::array<int, kColumnCount>;

// Lines of the task section that describe a task for a flight computer; a task file has no
// place for them.
constexpr struct {
    std::string_view start;  // lower case
    std::string_view name;
} kTaskDetailLines[] = {
    {"options", "Options"}, {"obszone=", "ObsZone"}, {"starts=", "STARTS"}, {"point=", "Point"}};

struct Place {
    const std::string* file;
    size_t line;
    std::string where() const { return *file + ":" + std::to_string(line); }
};

// A field that keeps a row from becoming a turnpoint.
struct BadField {
    Column column;
    std::string message;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string lowered(std::string_view text) {
    std::string low(text);
    for (char& c : low) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return low;
}

std::string columnLabel(Column column) {
    return "column " + std::string(kColumnNames[column]);
}

// One line as RFC 4180 fields: quotes around a field, "" inside them, blanks around fields
// trimmed. A quote left open ends with the line.
std::vector<std::string> splitFields(std::string_view line) {
    std::vector<std::string> fields;
    size_t i = 0;
    for (;;) {
        while (i < line.size() && isBlank(line[i])) ++i;
        std::string field;
        if (i < line.size() && line[i] == '"') {
            for (++i; i < line.size(); ++i) {
                if (line[i] != '"') {
                    field += line[i];
                } else if (i + 1 < line.size() && line[i + 1] == '"') {
                    field += line[++i];
                } else {
                    ++i;
                    break;
                }
            }
        }
        const size_t end = std::min(line.find(',', i), line.size());
        field += trimmed(line.substr(i, end - i));
        fields.push_back(std::move(field));
        if (end == line.size()) return fields;
        i = end + 1;
    }
}

// Every control character but the line feed a space: a zero byte would end a text field early,
// and no text of a task file has a use for the others. A carriage return stays before a line
// feed; the C1 controls (U+0080 to U+009F, two bytes in UTF-8) become one space each.
std::string withoutControls(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            text += ' ';
            ++i;
        } else if ((c < 0x20 && c != '\n' && !(c == '\r' && next == '\n')) || c == 0x7F) {
            text += ' ';
        } else {
            text += static_cast<char>(c);
        }
    }
    return text;
}

// A byte-order mark or well-formed UTF-8 means UTF-8; anything else is windows-1252.
std::string asUtf8(std::string_view bytes) {
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        bytes.remove_prefix(kByteOrderMark.size());
    const std::string decoded = isWellFormedUtf8(bytes) ? std::string(bytes) : decodeCp1252(bytes);
    return withoutControls(decoded);
}

// The columns a header line names, when it names at least two (a row names none).
std::optional<ColumnMap> headerColumns(const std::vector<std::string>& fields) {
    ColumnMap columns;
    columns.fill(-1);
    int named = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        const std::string name = lowered(fields[i]);
        std::optional<Column> column;
        for (int c = 0; c < kColumnCount; ++c) {
            if (kColumnNames[c] == name) column = static_cast<Column>(c);
        }
        for (const auto& old : kOldColumnNames) {
            if (old.name == name) column = old.column;
        }
        if (!column) continue;
        ++named;
        if (columns[*column] < 0) columns[*column] = static_cast<int>(i);
    }
    if (named < 2) return std::nullopt;
    return columns;
}

ColumnMap classicColumns() {
    ColumnMap columns;
    columns.fill(-1);
    for (size_t i = 0; i < std::size(kClassicColumns); ++i)
        columns[kClassicColumns[i]] = static_cast<int>(i);
    return columns;
}

// DDMM.mmm[m]N or DDDMM.mmm[m]E: minutes below 60, degrees at most largest.
std::optional<float> parseCoordinate(std::string_view text, size_t degreeDigits, int largest,
                                     char positive, char negative) {
    const size_t pointAt = degreeDigits + 2;
    if (text.size() != pointAt + 5 && text.size() != pointAt + 6) return std::nullopt;
    const char hemisphere = lowered(text.substr(text.size() - 1))[0];
    const bool south = hemisphere == negative;
    if (hemisphere != positive && !south) return std::nullopt;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (i == pointAt ? text[i] != '.' : !isDigit(text[i])) return std::nullopt;
    }
    int degrees = 0;
    std::from_chars(text.data(), text.data() + degreeDigits, degrees);
    double minutes = 0;
    std::from_chars(text.data() + degreeDigits, text.data() + text.size() - 1, minutes);
    if (minutes >= kMinutesPerDegree || degrees > largest || (degrees == largest && minutes > 0))
        return std::nullopt;
    const double value = degrees + minutes / kMinutesPerDegree;
    return static_cast<float>(south ? -value : value);
}

float coordinate(const std::string& text, Column column) {
    const bool latitude = column == kLat;
    if (text.empty())
        throw BadField{column, std::string("empty; a turnpoint needs its ") +
                                   (latitude ? "latitude" : "longitude")};
    const auto value =
        latitude ? parseCoordinate(text, 2, 90, 'n', 's') : parseCoordinate(text, 3, 180, 'e', 'w');
    if (!value) {
        throw BadField{column,
                       "\"" + text + "\" is not a " +
                           (latitude ? "latitude DDMM.mmmN or S" : "longitude DDDMM.mmmE or W") +
                           " with minutes below 60"};
    }
    return *value;
}

// A decimal number and the unit after it ("504.0m", "1650 ft", "-3").
struct Measure {
    double value;
    std::string unit;
};

std::optional<Measure> parseMeasure(std::string_view text) {
    size_t i = text.empty() || text[0] != '+' ? 0 : 1;
    const size_t start = i;
    if (i < text.size() && text[i] == '-') ++i;
    size_t digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            ++digits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return std::nullopt;
    Measure measure{0, lowered(trimmed(text.substr(i)))};
    std::from_chars(text.data() + start, text.data() + i, measure.value);
    if (!std::isfinite(measure.value)) return std::nullopt;
    return measure;
}

std::optional<int32_t> wholeNumber(double value, double low, double high) {
    const double rounded = std::round(value);
    if (!(rounded >= low && rounded <= high)) return std::nullopt;
    return static_cast<int32_t>(rounded);
}

std::optional<int32_t> metres(std::string_view text, Column column) {
    const auto measure = parseMeasure(text);
    if (!measure) return std::nullopt;
    double factor = 0;
    if (measure->unit.empty() || measure->unit == "m") factor = 1;
    if (column == kElev && measure->unit == "ft") factor = kMetresPerFoot;
    if (column == kRwlen && measure->unit == "nm") factor = kMetresPerNauticalMile;
    if (column == kRwlen && measure->unit == "ml") factor = kMetresPerStatuteMile;
    if (factor == 0) return std::nullopt;
    return wholeNumber(measure->value * factor, -kLargestWhole, kLargestWhole);
}

std::optional<int32_t> direction(std::string_view text) {
    const auto measure = parseMeasure(text);
    if (!measure || !measure->unit.empty()) return std::nullopt;
    return wholeNumber(measure->value, 0, kLargestDirection);
}

std::optional<int32_t> style(std::string_view text) {
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// Digits with an optional decimal point or comma ("123,45" -> "123.45").
std::optional<std::string> frequency(std::string text) {
    size_t digits = 0;
    size_t points = 0;
    for (char& c : text) {
        if (c == ',') c = '.';
        if (isDigit(c)) {
            ++digits;
        } else if (c == '.') {
            ++points;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || points > 1) return std::nullopt;
    return text;
}

// What `velkano cup` keeps in userdata. Another program's userdata is not ours: ignored.
struct Tag {
    std::optional<int32_t> kind;
    std::optional<int32_t> surface;
    std::optional<int32_t> mark;
    std::optional<std::string> icao;
    bool codeIsIcao = false;
};

std::optional<int32_t> oneOf(std::string_view text, std::span<const int32_t> allowed) {
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    for (const int32_t a : allowed) {
        if (a == value) return value;
    }
    return std::nullopt;
}

std::optional<Tag> parseTag(std::string_view userdata) {
    if (userdata.empty()) return std::nullopt;
    static constexpr int32_t kMarks[] = {0, 1};
    Tag tag;
    for (;;) {
        const size_t end = std::min(userdata.find(kTagSeparator), userdata.size());
        const std::string_view member = userdata.substr(0, end);
        const size_t equals = member.find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        const std::string_view key = member.substr(0, equals);
        const std::string_view value = member.substr(equals + 1);
        if (key == kTagKind) {
            if (!(tag.kind = oneOf(value, kKinds))) return std::nullopt;
        } else if (key == kTagSurface) {
            if (!(tag.surface = oneOf(value, kSurfaces))) return std::nullopt;
        } else if (key == kTagMark) {
            if (!(tag.mark = oneOf(value, kMarks))) return std::nullopt;
        } else if (key == kTagIcao) {
            // Always the last member, so that the code may hold any character.
            tag.icao = std::string(userdata.substr(equals + 1));
            return tag;
        } else if (key == kTagCode && value == kCodeIsIcao) {
            tag.codeIsIcao = true;
        } else {
            return std::nullopt;
        }
        if (end == userdata.size()) return tag;
        userdata.remove_prefix(end + 1);
    }
}

// The first row of a name, and how many rows share it.
struct NameRows {
    size_t first;
    size_t count;
};

// A task line waiting for every row of every file.
struct TaskLine {
    Place at;
    std::vector<std::string> fields;
};

class Importer {
public:
    explicit Importer(const CupReadOptions& options) : options_(options) {}

    void readFile(const CupFile& file);
    CupImport finish();

private:
    void readRow(const std::vector<std::string>& fields, const ColumnMap& columns, const Place& at);
    FIO_TPEntry entryFromRow(const std::vector<std::string>& fields, const ColumnMap& columns,
                             const Place& at);
    void readTaskSectionLine(std::string_view line, const Place& at,
                             std::set<std::string_view>& detailsNoted);
    void readTask(const TaskLine& line);
    std::optional<size_t> resolve(const std::string& name, const Place& at, size_t column);
    std::string storedText(const std::string& utf8, const Place& at, const std::string& column,
                           size_t longest);
    template <typename T>
    T valueOrDefault(std::optional<T> value, T fallback, const std::string& text, Column column,
                     const Place& at, const char* what);
    void note(const Place& at, const std::string& kind, std::string message);

    const CupReadOptions& options_;
    TaskDocument task_;
    Notes notes_;
    std::map<std::pair<std::string, std::string>, size_t> noteCounts_;
    std::vector<std::pair<std::string, std::string>> notesOverflowing_;
    std::vector<std::string> rowNames_;  // UTF-8, as the rows give them
    std::vector<Place> rowPlaces_;
    std::unordered_set<std::string> namesLeftOut_;
    std::vector<TaskLine> taskLines_;
    std::unordered_map<std::string, NameRows> exact_;
    std::unordered_map<std::string, NameRows> folded_;
};

// Notes of one kind beyond the first few in a file are only counted: a national list can have
// a thousand long descriptions.
void Importer::note(const Place& at, const std::string& kind, std::string message) {
    const size_t count = ++noteCounts_[{*at.file, kind}];
    if (count <= kNotesShownPerKind) notes_.push_back({at.where(), std::move(message)});
    if (count == kNotesShownPerKind + 1) notesOverflowing_.emplace_back(*at.file, kind);
}

std::string Importer::storedText(const std::string& utf8, const Place& at,
                                 const std::string& column, size_t longest) {
    bool approximated = false;
    std::string bytes = encodeCp1252Approximately(utf8, approximated);
    if (approximated) {
        if (options_.strict) {
            throw CupError(at.where(), column + ": character " +
                                           firstCharacterWithoutCp1252Byte(utf8) +
                                           " has no windows-1252 byte");
        }
        note(at, "texts windows-1252 cannot hold in " + column,
             column + ": \"" + utf8 + "\" is stored as \"" + decodeCp1252(bytes) +
                 "\" (windows-1252 lacks some of its characters)");
    }
    if (bytes.size() > longest) {
        note(at, "texts longer than their field in " + column,
             column + ": longer than " + std::to_string(longest) +
                 " characters; the file keeps the first " + std::to_string(longest));
    }
    return bytes;
}

template <typename T>
T Importer::valueOrDefault(std::optional<T> value, T fallback, const std::string& text,
                           Column column, const Place& at, const char* what) {
    if (text.empty()) return fallback;
    if (value) return *value;
    note(at, "unreadable values in " + columnLabel(column),
         columnLabel(column) + ": \"" + text + "\" is not " + what + "; left at its default");
    return fallback;
}

FIO_TPEntry Importer::entryFromRow(const std::vector<std::string>& fields, const ColumnMap& columns,
                                   const Place& at) {
    auto field = [&](Column column) {
        const int i = columns[column];
        return i >= 0 && static_cast<size_t>(i) < fields.size() ? fields[i] : std::string();
    };
    FIO_TPEntry entry;
    std::memset(entry.tail, 0, sizeof entry.tail);
    const std::string name = field(kName);
    if (name.empty()) throw BadField{kName, "empty; a turnpoint needs a name"};
    entry.latitude = coordinate(field(kLat), kLat);
    entry.longitude = coordinate(field(kLon), kLon);

    const std::string styleText = field(kStyle);
    const int32_t styleCode =
        valueOrDefault(style(styleText), 0, styleText, kStyle, at, "a style number");
    const std::optional<Tag> tag = parseTag(field(kUserdata));
    const KindAndSurface implied = kindForStyle(styleCode);
    entry.kind = tag && tag->kind ? *tag->kind : implied.kind;
    entry.surface = tag && tag->surface ? *tag->surface : implied.surface;
    entry.markFlag = tag && tag->mark ? *tag->mark : 0;

    const bool codeIsIcao = tag && tag->codeIsIcao;
    const std::string code = storedText(
        field(kCode), at, columnLabel(kCode),
        codeIsIcao ? longestText(kTurnpointIcaoWidth) : longestText(kTurnpointShortNameWidth));
    entry.name = storedText(name, at, columnLabel(kName), longestText(kTurnpointNameWidth));
    if (!codeIsIcao) entry.shortName = code;
    if (tag && tag->icao) {
        entry.icaoCode =
            storedText(*tag->icao, at, columnLabel(kUserdata), longestText(kTurnpointIcaoWidth));
    } else if (codeIsIcao || (isAirfieldKind(entry.kind) && code.size() == kIcaoCodeLength)) {
        entry.icaoCode = code;
    }

    // The ICAO code `velkano cup` added to desc is in the tag as well.
    std::string desc = field(kDesc);
    if (tag && !entry.icaoCode.empty() && entry.icaoCode != code) {
        const std::string added = std::string(kDescIcao) + decodeCp1252(entry.icaoCode);
        const std::string separated = std::string(kDescSeparator) + added;
        if (desc == added) {
            desc.clear();
        } else if (desc.size() > separated.size() &&
                   desc.compare(desc.size() - separated.size(), separated.size(), separated) == 0) {
            desc.resize(desc.size() - separated.size());
        }
    }
    entry.comment = storedText(desc, at, columnLabel(kDesc), longestText(kTurnpointCommentWidth));

    const std::string elev = field(kElev);
    entry.elevation =
        valueOrDefault(metres(elev, kElev), 0, elev, kElev, at, "an elevation (m or ft)");
    const std::string rwdir = field(kRwdir);
    entry.runwayDirection =
        valueOrDefault(direction(rwdir), 0, rwdir, kRwdir, at, "a runway direction (0 to 360)");
    const std::string rwlen = field(kRwlen);
    entry.runwayLength = valueOrDefault(metres(rwlen, kRwlen), 0, rwlen, kRwlen, at,
                                        "a runway length (m, nm or ml)");
    const std::string freq = field(kFreq);
    entry.frequency =
        valueOrDefault(frequency(freq), std::string(), freq, kFreq, at, "a frequency");
    return entry;
}

void Importer::readRow(const std::vector<std::string>& fields, const ColumnMap& columns,
                       const Place& at) {
    FIO_TPEntry entry;
    try {
        entry = entryFromRow(fields, columns, at);
    } catch (const BadField& bad) {
        const std::string message = columnLabel(bad.column) + ": " + bad.message;
        if (!options_.skipBadRows) throw CupError(at.where(), message);
        note(at, "rows left out", message + "; row left out");
        const int nameAt = columns[kName];
        if (nameAt >= 0 && static_cast<size_t>(nameAt) < fields.size())
            namesLeftOut_.insert(fields[nameAt]);
        return;
    }
    if (task_.turnpoints.size() == kMaxTurnpoints) {
        throw CupError(*at.file, "more than " + std::to_string(kMaxTurnpoints) +
                                     " waypoints; a task file holds at most " +
                                     std::to_string(kMaxTurnpoints));
    }
    entry.number = static_cast<int32_t>(task_.turnpoints.size() + 1);
    task_.turnpoints.push_back(entry);
    rowNames_.push_back(fields[columns[kName]]);
    rowPlaces_.push_back(at);
}

void Importer::readTaskSectionLine(std::string_view line, const Place& at,
                                   std::set<std::string_view>& detailsNoted) {
    const std::string start = lowered(trimmed(line).substr(0, 8));
    for (const auto& detail : kTaskDetailLines) {
        if (start.rfind(detail.start, 0) != 0) continue;
        if (detailsNoted.insert(detail.name).second) {
            note(at, "task details",
                 std::string(detail.name) + " lines have no place in a task file; skipped");
        }
        return;
    }
    std::vector<std::string> fields = splitFields(line);
    if (taskLines_.size() == kMaxRoutes) {
        throw CupError(*at.file, "more than " + std::to_string(kMaxRoutes) +
                                     " tasks; a task file holds at most " +
                                     std::to_string(kMaxRoutes));
    }
    taskLines_.push_back({at, std::move(fields)});
}

void Importer::readFile(const CupFile& file) {
    const std::string text = asUtf8(file.bytes);
    std::optional<ColumnMap> columns;
    bool inTasks = false;
    std::set<std::string_view> detailsNoted;
    size_t lineStart = 0;
    for (size_t number = 1; lineStart < text.size(); ++number) {
        const size_t end = std::min(text.find('\n', lineStart), text.size());
        std::string_view line = std::string_view(text).substr(lineStart, end - lineStart);
        lineStart = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const Place at{&file.path, number};
        const std::string_view content = trimmed(line);
        if (content.empty() || content.front() == '*') continue;
        if (lowered(content) == lowered(kTasksSeparator)) {
            inTasks = true;
            continue;
        }
        if (inTasks) {
            readTaskSectionLine(line, at, detailsNoted);
            continue;
        }
        const std::vector<std::string> fields = splitFields(line);
        bool blank = true;
        for (const std::string& field : fields) blank = blank && field.empty();
        if (blank) continue;
        if (!columns) {
            columns = headerColumns(fields);
            if (columns) continue;
            columns = classicColumns();
        }
        readRow(fields, *columns, at);
    }
}

std::optional<size_t> Importer::resolve(const std::string& name, const Place& at, size_t column) {
    // Exactly first, then ignoring case.
    const NameRows* rows = nullptr;
    if (const auto e = exact_.find(name); e != exact_.end()) {
        rows = &e->second;
    } else if (const auto f = folded_.find(lowered(name)); f != folded_.end()) {
        rows = &f->second;
    }
    if (rows == nullptr) return std::nullopt;
    if (rows->count > 1) {
        note(at, "task points naming several rows",
             "column " + std::to_string(column) + ": \"" + name + "\" names " +
                 std::to_string(rows->count) + " rows; the first (" +
                 rowPlaces_[rows->first].where() + ") is taken");
    }
    return rows->first;
}

void Importer::readTask(const TaskLine& line) {
    const Place& at = line.at;
    std::vector<std::pair<size_t, size_t>> rows;  // (column, row)
    size_t lastPoint = line.fields.size();
    while (lastPoint > 1 && line.fields[lastPoint - 1].empty()) --lastPoint;
    for (size_t c = 1; c < lastPoint; ++c) {
        const std::string& name = line.fields[c];
        if (name.empty()) continue;
        const auto row = resolve(name, at, c + 1);
        if (!row) {
            const std::string message =
                "column " + std::to_string(c + 1) + ": \"" + name + "\" names no row of any input" +
                (namesLeftOut_.count(name) != 0 ? " (its row was left out)" : "");
            if (!options_.skipBadRows) throw CupError(at.where(), message);
            note(at, "tasks left out", message + "; task left out");
            return;
        }
        rows.emplace_back(c, *row);
    }
    RouteFields route;
    route.id = static_cast<int32_t>(task_.routes.size() + 1);
    route.name = storedText(line.fields[0], at, "column 1", longestText(kRouteNameWidth));
    for (size_t i = 0; i < rows.size(); ++i) {
        int32_t role = kRoleTurnpoint;
        if (i == 0) {
            role = kRoleBeforeStart;
        } else if (i + 1 == rows.size()) {
            role = kRoleAfterFinish;
        } else if (i == 1) {
            role = kRoleStart;
        } else if (i + 2 == rows.size()) {
            role = kRoleFinish;
        }
        route.points.push_back({static_cast<int32_t>(rows[i].second + 1), role});
    }
    task_.routes.push_back(std::move(route));
}

CupImport Importer::finish() {
    for (size_t i = 0; i < rowNames_.size(); ++i) {
        auto [exact, newName] = exact_.try_emplace(rowNames_[i], NameRows{i, 0});
        ++exact->second.count;
        auto [folded, newFolded] = folded_.try_emplace(lowered(rowNames_[i]), NameRows{i, 0});
        ++folded->second.count;
    }
    for (const TaskLine& line : taskLines_) readTask(line);
    for (const auto& [file, kind] : notesOverflowing_) {
        notes_.push_back({file, std::to_string(noteCounts_[{file, kind}] - kNotesShownPerKind) +
                                    " more notes of the kind above not shown: " + kind});
    }
    return {std::move(task_), std::move(notes_)};
}

}  // namespace

CupImport readCup(const std::vector<CupFile>& files, const CupReadOptions& options) {
    Importer importer(options);
    for (const CupFile& file : files) importer.readFile(file);
    return importer.finish();
}

}  // namespace velkano::tool
