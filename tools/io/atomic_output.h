// Output files that appear complete or not at all: written under a temporary name in the
// destination directory, moved over the final name only once everything succeeded. An
// output that is destroyed without being committed removes its temporaries.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace velkano::tool {

class AtomicOutput {
public:
    // Creates ".<base>.tmpXXXXXX<ext>" beside finalPath, open for binary writing. Each of
    // siblingExtensions reserves one more temporary of the same name with that extension
    // (created empty, for a writer that opens it itself); it is committed to finalPath with
    // that extension. Throws ToolError naming the directory when nothing can be created.
    explicit AtomicOutput(std::string finalPath, std::vector<std::string> siblingExtensions = {});
    ~AtomicOutput();

    AtomicOutput(const AtomicOutput&) = delete;
    AtomicOutput& operator=(const AtomicOutput&) = delete;

    std::FILE* stream() const { return stream_; }
    const std::string& temporaryPath() const { return temporary_; }
    const std::string& finalPath() const { return final_; }

    // Writes bytes to the stream; throws ToolError naming the final path on failure.
    void write(const std::string& bytes);
    // Flushes and closes the stream; throws ToolError naming the final path on failure.
    void close();
    // Closes, then moves the siblings and then the file over their final paths.
    void commit();
    // Closes, then moves the file (it must have no siblings) to path unless something is
    // there already: false then, and the output stays uncommitted.
    bool commitIfAbsent(const std::string& path);

private:
    struct Sibling {
        std::string temporary;
        std::string final;
    };

    void removeTemporaries() noexcept;

    std::string final_;
    std::string temporary_;
    std::vector<Sibling> siblings_;
    std::FILE* stream_ = nullptr;
    bool committed_ = false;
};

}  // namespace velkano::tool
