#include "route_operations.h"

#include <algorithm>

#include "file_header.h"
#include "route_framing.h"
#include "route_record.h"
#include "tp_record.h"
#include "velkano/companion_path.h"

namespace velkano {

namespace {

void startCounts(RecordCounts& counts, int32_t total) {
    counts.total = total;
    counts.done = 0;
    counts.headerWritten = false;
}

// The turnpoints belong to the task file they sit beside: a host that moves on to another
// task file must not be handed the first file's turnpoints.
CFile& openReadCompanion(RouteState& state, const CFile& taskFile) {
    std::string taskPath = taskFile.GetFilePath();
    if (state.readCompanion != nullptr && taskPath == state.readTaskPath) {
        return *state.readCompanion;
    }
    std::string path = companionPathForReading(taskPath);
    state.readTaskPath = std::move(taskPath);
    if (state.readCompanion == nullptr || path != state.readCompanionPath) {
        state.readCompanion.reset();
        state.readCompanionPath.clear();
        state.readCompanion = std::make_unique<CFIOFile>(path, CFIOFile::kReadFlags);
        state.readCompanionPath = std::move(path);
    }
    return *state.readCompanion;
}

// Makes writeCompanion the companion of the task file being written, creating (emptying)
// it when none is open or the open one belongs to another task file.
void openWriteCompanion(RouteState& state, const CFile& taskFile) {
    std::string path = companionPathForWriting(taskFile.GetFilePath());
    if (state.writeCompanion != nullptr && path == state.writeCompanionPath) return;

    std::unique_ptr<CFIOFile> previous = std::move(state.writeCompanion);
    state.writeCompanionPath.clear();
    state.turnpoints.headerWritten = false;
    state.routes.headerWritten = false;
    // Closing flushes; a failure to store the previous companion's content must be heard.
    if (previous != nullptr) previous->Close();

    state.writeCompanion = std::make_unique<CFIOFile>(path, CFIOFile::kWriteFlags);
    state.writeCompanionPath = std::move(path);
}

// Readers stop at the header's count, so a short write corrects the count rather than
// leaving the trailer where a record is expected.
void correctShortCount(RecordCounts& counts, CFile& file) {
    if (counts.headerWritten && counts.done < counts.total) {
        rewriteHeaderCount(file, counts.done);
        counts.total = counts.done;
    }
}

void announce(RecordCounts& counts, int32_t count) {
    counts.total = static_cast<int16_t>(count);  // what the header holds
    counts.done = 0;
    counts.headerWritten = true;
}

// A file read from its start begins with the header that gives its record count.
bool allRead(RecordCounts& counts, CFile& file, int32_t (*readHeader)(CFile&)) {
    if (file.GetPosition() == 0) startCounts(counts, readHeader(file));
    return counts.finished();
}

}  // namespace

bool readNextTurnpoint(RouteState& state, CFile& tpFile, FIO_TPEntry& entry) {
    if (allRead(state.turnpoints, tpFile, readTpFileHeader)) return false;
    readTpRecord(tpFile, entry);
    state.maxTpNumber = std::max(state.maxTpNumber, entry.number);
    ++state.turnpoints.done;
    return true;
}

bool readNextRoute(RouteState& state, CFile& taskFile, FIO_Route& route) {
    if (allRead(state.routes, taskFile, readTaskFileHeader)) return false;
    readRouteRecord(taskFile, route);
    state.maxRouteId = std::max(state.maxRouteId, route.id);
    ++state.routes.done;
    return true;
}

bool writeNextTurnpoint(RouteState& state, CFile& tpFile, const FIO_TPEntry& entry) {
    if (state.turnpoints.finished()) return false;
    writeTpRecord(tpFile, entry, state.turnpoints.done + 1);
    ++state.turnpoints.done;
    state.maxTpNumber = std::max(state.maxTpNumber, state.turnpoints.done);
    return true;
}

bool writeNextRoute(RouteState& state, CFile& taskFile, const FIO_Route& route) {
    if (state.routes.finished()) return false;
    if (!writeRouteRecord(taskFile, route)) return false;
    state.maxRouteId = std::max(state.maxRouteId, route.id);
    ++state.routes.done;
    return true;
}

bool startTpFile(RouteState& state, CFile& tpFile, int32_t count) {
    if (tpFile.GetPosition() != 0) return false;
    writeTpFileHeader(tpFile, count);
    announce(state.turnpoints, count);
    return true;
}

bool startTaskFile(RouteState& state, CFile& taskFile, int32_t count) {
    if (taskFile.GetPosition() != 0) return false;
    writeTaskFileHeader(taskFile, count);
    announce(state.routes, count);
    return true;
}

void finishTpFile(RouteState& state, CFile& tpFile) {
    correctShortCount(state.turnpoints, tpFile);
    writeTpTrailer(tpFile, state.maxTpNumber);
}

void finishTaskFile(RouteState& state, CFile& taskFile) {
    correctShortCount(state.routes, taskFile);
    writeTaskTrailer(taskFile, state.maxRouteId);
}

int32_t readObject(RouteState& state, CFile& taskFile, FIO_TPEntry& entry, FIO_Route& route) {
    // A companion without turnpoints goes straight on to the routes: hosts read until -1,
    // and a -1 here would lose every route of the file.
    if (readNextTurnpoint(state, openReadCompanion(state, taskFile), entry)) return kReadTurnpoint;
    return readNextRoute(state, taskFile, route) ? kReadRoute : kRefused;
}

int32_t writeHeader(RouteState& state, CFile& taskFile, const FIO_Header& header) {
    openWriteCompanion(state, taskFile);
    CFIOFile& companion = *state.writeCompanion;
    switch (header.kind) {
        case FIO_Header::kBegin:
            if (!startTpFile(state, companion, header.turnpointCount)) return kRefused;
            return startTaskFile(state, taskFile, header.routeCount) ? kDone : kRefused;
        case FIO_Header::kEnd:
            finishTpFile(state, companion);
            finishTaskFile(state, taskFile);
            // Write errors of the companion surface here, not lost at close.
            companion.Flush();
            return kDone;
        default:
            return kDone;
    }
}

int32_t writeTurnpoint(RouteState& state, const FIO_TPEntry& entry) {
    if (state.writeCompanion == nullptr) return kRefused;
    return writeNextTurnpoint(state, *state.writeCompanion, entry) ? kDone : kRefused;
}

}  // namespace velkano
