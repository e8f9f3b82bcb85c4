#include "formats/cup_reader.h"

#include <optional>
#include <set>
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
    void readRow(const std::vector<std::string>& fields, const ColumnMap& columns, const Place& at);
    void readTaskSectionLine(std::string_view line, const Place& at,
                             std::set<std::string_view>& detailsNoted);

    const CupReadOptions& options_;
    TaskDocument task_;
    ImportNotes notes_;
    RowNames rows_;
    std::vector<TaskLine> taskLines_;
};

void Importer::readRow(const std::vector<std::string>& fields, const ColumnMap& columns,
                       const Place& at) {
    auto read = turnpointFromRow(fields, columns, at, options_.strict, notes_);
    if (const auto* problem = std::get_if<RowProblem>(&read)) {
        const std::string message = columnLabel(problem->column) + ": " + problem->message;
        if (!options_.skipBadRows) throw CupError(at.where(), message);
        notes_.add(at, "rows left out", message + "; row left out");
        const int nameAt = columns[kName];
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
    rows_.names.push_back(fields[columns[kName]]);
    rows_.places.push_back(at);
}

void Importer::readTaskSectionLine(std::string_view line, const Place& at,
                                   std::set<std::string_view>& detailsNoted) {
    if (const auto detail = taskDetail(line)) {
        if (detailsNoted.insert(*detail).second) {
            notes_.add(at, "task details",
                       std::string(*detail) + " lines have no place in a task file; skipped");
        }
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
    std::optional<ColumnMap> columns;
    bool inTasks = false;
    std::set<std::string_view> detailsNoted;
    for (const TextLine& line : splitLines(text)) {
        const Place at{&file.path, line.number};
        const std::string_view content = trimmed(line.text);
        if (content.empty() || content.front() == '*') continue;
        if (lowered(content) == lowered(kTasksSeparator)) {
            inTasks = true;
            continue;
        }
        if (inTasks) {
            readTaskSectionLine(line.text, at, detailsNoted);
            continue;
        }
        const std::vector<std::string> fields = splitFields(line.text);
        if (allEmpty(fields)) continue;
        if (!columns) {
            columns = matchHeader(fields);
            if (columns) continue;
            columns = classicColumns();
        }
        readRow(fields, *columns, at);
    }
}

CupImport Importer::finish() {
    task_.routes =
        routesFromTasks(taskLines_, rows_, options_.strict, options_.skipBadRows, notes_);
    return {std::move(task_), notes_.finish()};
}

}  // namespace

CupImport readCup(const std::vector<CupFile>& files, const CupReadOptions& options) {
    Importer importer(options);
    for (const CupFile& file : files) importer.readFile(file);
    return importer.finish();
}

}  // namespace velkano::tool
