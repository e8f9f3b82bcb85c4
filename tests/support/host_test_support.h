// Helpers for tests that act as the host: driver paths, scratch directories, file bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "velkano/host_file.h"

namespace testing_support {

// The modes a host opens its task and flight files with.
inline constexpr unsigned kHostRead = CStdioFile::typeBinary | CStdioFile::modeRead;
inline constexpr unsigned kHostWrite =
    CStdioFile::typeBinary | CStdioFile::modeCreate | CStdioFile::modeWrite;

// Path of a built driver (e.g. "Velkano17Rte.drf").
std::string driverPath(const std::string& fileName);

// A fresh empty directory, removed with its contents when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::vector<uint8_t> readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::string readFileText(const std::string& path);
void writeFileText(const std::string& path, const std::string& text);

// Number of open file descriptors of this process.
int openDescriptorCount();

}  // namespace testing_support
