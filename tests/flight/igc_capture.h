// An IGC output file over a temporary stream, for reading back what the driver printed.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "velkano/host_file.h"

class IgcCapture {
public:
    IgcCapture() : file_(openTemporary(), "capture.igc", true) {}

    CStdioFile& file() { return file_; }

    std::string text() {
        std::FILE* stream = file_.stream();
        std::fflush(stream);
        const long end = std::ftell(stream);
        std::string text(static_cast<size_t>(end), '\0');
        std::rewind(stream);
        const size_t got = std::fread(text.data(), 1, text.size(), stream);
        std::fseek(stream, 0, SEEK_END);
        text.resize(got);
        return text;
    }

    // The printed lines without their line feeds; a last line without one is kept as is.
    std::vector<std::string> lines() {
        std::vector<std::string> result;
        const std::string all = text();
        size_t start = 0;
        while (start < all.size()) {
            const size_t end = all.find('\n', start);
            if (end == std::string::npos) {
                result.push_back(all.substr(start) + "<no line feed>");
                break;
            }
            result.push_back(all.substr(start, end - start));
            start = end + 1;
        }
        return result;
    }

private:
    static std::FILE* openTemporary() {
        std::FILE* stream = std::tmpfile();
        if (stream == nullptr) throw std::runtime_error("tmpfile failed");
        return stream;
    }

    CStdioFile file_;
};
