#include "formats/cup_reader.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <variant>

#include "formats/cp1252.h"
#include "formats/cup_fields.h"
#include "formats/cup_format.h"
#include "formats/cup_header.h"
#include "formats/cup_rows.h"
#include "formats/cup_tasks.h"

namespace velkano::tool {

namespace {

using namespace cup;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// A line whose first fields are separated by this many of another separator, and fewer commas,
// is of a file in another format.
constexpr size_t kFewestForeignSeparators = 3;

// UTF-16 with its byte-order mark, UTF-8 with or without its mark, and windows-1252 otherwise.
std::string asUtf8(std::string_view bytes) {
    if (auto utf16 = decodeUtf16WithByteOrderMark(bytes)) return std::move(*utf16);
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        bytes.remove_prefix(kByteOrderMark.size());
    return isWellFormedUtf8(bytes) ? std::string(bytes) : decodeCp1252(bytes);
}

// Every control character a blank: a zero byte would end a text field early, and no text of a
// task file has a use for the others. The C1 controls (U+0080 to U+009F, two bytes in UTF-8)
// become one blank each. Counts those replaced, but for the tab, which is a blank already, and
// the carriage return a line keeps inside quotes, which its line counts.
std::string withoutControls(std::string_view utf8, size_t& replaced) {
    std::string text;
    text.reserve(utf8.size());
    replaced = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            text += ' ';
            ++i;
            ++replaced;
        } else if (c < 0x20 || c == 0x7F) {
            text += ' ';
            replaced += c != '\t' && c != '\r';
        } else {
            text += static_cast<char>(c);
        }
    }
    return text;
}

// ';' or a tab where a line separates its fields by them rather than by commas.
std::optional<char> foreignSeparator(std::string_view line) {
    const auto commas = static_cast<size_t>(std::count(line.begin(), line.end(), ','));
    for (const char separator : {';', '\t'}) {
        const auto count = static_cast<size_t>(std::count(line.begin(), line.end(), separator));
        if (count >= kFewestForeignSeparators && count > commas) return separator;
    }
    return std::nullopt;
}

std::string plural(size_t count, const std::string& one, const std::string& many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

bool allEmpty(const std::vector<std::string>& fields) {
    for (const std::string& field : fields) {
        if (!field.empty()) return false;
    }
    return true;
}

class Importer {
public:
    explicit Importer(const CupReadOptions& options) : options_(options) {}

    void readFile(const CupFile& file);
    CupImport finish();

private:
    void noteLine(const TextLine& line, size_t controls, const Place& at);
    void readRow(const std::vector<std::string>& fields, const Header& header, const Place& at);
    void readTaskSectionLine(std::string_view line, const Place& at);

    const CupReadOptions& options_;
    TaskDocument task_;
    ImportNotes notes_;
    RowNames rows_;
    std::vector<TaskLine> taskLines_;
};

void Importer::noteLine(const TextLine& line, size_t controls, const Place& at) {
    if (line.quoteLeftOpen) {
        notes_.add(at, "quotes left open, closed at the line end",
                   "a quote left open ends with its line");
    }
    if (line.breaksInQuotes > 0) {
        notes_.add(at, "line breaks inside quotes read as blanks",
                   plural(line.breaksInQuotes, "carriage return", "carriage returns") +
                       " inside quotes read as a blank (if the quote was left open, the next "
                       "line is part of this one)");
    }
    if (controls > 0) {
        notes_.add(at, "control characters read as blanks",
                   plural(controls, "control character", "control characters") + " read as blanks");
    }
}

void Importer::readRow(const std::vector<std::string>& fields, const Header& header,
                       const Place& at) {
    auto read = turnpointFromRow(fields, header, at, options_.strict, notes_);
    if (const auto* problem = std::get_if<RowProblem>(&read)) {
        const std::string message = columnLabel(problem->column) + ": " + problem->message;
        if (!options_.skipBadRows) throw CupError(at.where(), message);
        notes_.add(at, "rows left out", message + "; row left out");
        const int nameAt = header.columns[kName];
        if (nameAt >= 0 && static_cast<size_t>(nameAt) < fields.size())
            rows_.leftOut.insert(fields[nameAt]);
        return;
    }
    if (task_.turnpoints.size() == kMaxTurnpoints) {
        throw CupError(*at.file, "more than " + std::to_string(kMaxTurnpoints) +
                                     " waypoints; a task file holds at most " +
                                     std::to_string(kMaxTurnpoints));
    }
    FIO_TPEntry& entry = task_.turnpoints.emplace_back(std::get<FIO_TPEntry>(std::move(read)));
    entry.number = static_cast<int32_t>(task_.turnpoints.size());
    rows_.names.push_back(fields[header.columns[kName]]);
    rows_.places.push_back(at);
}

void Importer::readTaskSectionLine(std::string_view line, const Place& at) {
    if (const auto detail = taskDetail(line)) {
        const std::string skipped =
            std::string(*detail) + " lines skipped: a task file has no place for them";
        notes_.add(at, skipped, skipped);
        return;
    }
    if (taskLines_.size() == kMaxRoutes) {
        throw CupError(*at.file, "more than " + std::to_string(kMaxRoutes) +
                                     " tasks; a task file holds at most " +
                                     std::to_string(kMaxRoutes));
    }
    taskLines_.push_back({at, splitFields(line)});
}

void Importer::readFile(const CupFile& file) {
    const std::string text = asUtf8(file.bytes);
    std::optional<Header> header;
    bool inTasks = false;
    bool firstContent = true;
    const size_t tasksBefore = taskLines_.size();
    size_t rows = 0;
    for (const TextLine& textLine : splitLines(text)) {
        const Place at{&file.path, textLine.number};
        size_t controls = 0;
        const std::string line = withoutControls(textLine.text, controls);
        const std::string_view content = trimmed(line);
        if (content.empty() || content.front() == '*') continue;
        noteLine(textLine, controls, at);
        if (std::exchange(firstContent, false)) {
            if (const auto separator = foreignSeparator(textLine.text)) {
                throw CupError(at.where(), std::string("fields are separated by ") +
                                               (*separator == ';' ? "';'" : "tabs") +
                                               "; CUP separates them by commas");
            }
        }
        if (lowered(content) == lowered(kTasksSeparator)) {
            inTasks = true;
            continue;
        }
        if (inTasks) {
            readTaskSectionLine(line, at);
            continue;
        }
        const std::vector<std::string> fields = splitFields(line);
        if (allEmpty(fields)) continue;
        if (!header) {
            header = matchHeader(fields);
            if (header) {
                for (const std::string& name : header->unread) {
                    const std::string unread = "column `" + name + "` is not read";
                    notes_.add(at, unread, unread);
                }
                continue;
            }
            header = classicHeader();
        }
        readRow(fields, *header, at);
        ++rows;
    }
    // An empty file is no task file of no turnpoints; a file of tasks alone names those of
    // another.
    if (rows == 0 && taskLines_.size() == tasksBefore) throw CupError(file.path, "no waypoints");
}

CupImport Importer::finish() {
    task_.routes =
        routesFromTasks(taskLines_, rows_, options_.strict, options_.skipBadRows, notes_);
    return {std::move(task_), notes_.take()};
}

}  // namespace

CupImport readCup(const std::vector<CupFile>& files, const CupReadOptions& options) {
    Importer importer(options);
    for (const CupFile& file : files) importer.readFile(file);
    return importer.finish();
}

}  // namespace velkano::tool
