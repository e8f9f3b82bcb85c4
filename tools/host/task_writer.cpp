#include "host/task_writer.h"

#include <stdexcept>

#include "host/driver_session.h"
#include "host/failure.h"
#include "io/atomic_output.h"
#include "io/paths.h"
#include "velkano/companion_path.h"

namespace velkano::tool {

namespace {

// The extension of the companion the driver writes beside path, in the case it gives it.
std::string companionExtension(const std::string& path) {
    return companionPathForWriting(path).substr(withExtension(path, "").size());
}

void expectWritten(int32_t result) {
    if (result != kDone) throw std::runtime_error("the driver refused the record");
}

void writeRecords(DriverLibrary& driver, TaskDocument& task,
                  const std::vector<std::unique_ptr<FIO_Route>>& routes, AtomicOutput& output) {
    CStdioFile taskFile(output.stream(), output.temporaryPath(), false);
    DriverSession session(driver);
    // The user knows both files by their final names.
    ErrorScene scene(output.finalPath(), "writing header");
    scene.renamed = {{output.temporaryPath(), output.finalPath()},
                     {companionPathForWriting(output.temporaryPath()),
                      companionPathForWriting(output.finalPath())}};
    try {
        FIO_Header header;
        header.kind = FIO_Header::kBegin;
        header.turnpointCount = static_cast<int32_t>(task.turnpoints.size());
        header.routeCount = static_cast<int32_t>(routes.size());
        expectWritten(driver.WriteHeader(&taskFile, &header));
        for (size_t i = 0; i < task.turnpoints.size(); ++i) {
            scene.record = "writing turnpoint " + std::to_string(i + 1);
            expectWritten(driver.WriteTP(nullptr, &task.turnpoints[i]));
        }
        for (size_t i = 0; i < routes.size(); ++i) {
            scene.record = "writing route " + std::to_string(i + 1);
            expectWritten(driver.WriteRoute(&taskFile, routes[i].get()));
        }
        scene.record = "writing trailer";
        header.kind = FIO_Header::kEnd;
        expectWritten(driver.WriteHeader(&taskFile, &header));
    } catch (...) {
        throw currentError(scene);
    }
}

}  // namespace

void writeTaskFile(DriverLibrary& driver, TaskDocument& task,
                   const std::vector<std::unique_ptr<FIO_Route>>& routes, const std::string& path) {
    AtomicOutput output(path, {companionExtension(path)});
    writeRecords(driver, task, routes, output);
    output.commit();
}

}  // namespace velkano::tool
