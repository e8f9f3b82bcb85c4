#include "tool_run.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "host_test_support.h"

namespace tooltest {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string fileText(const std::string& path) {
    const auto bytes = testing_support::readFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

ToolRun runVelkano(const std::vector<std::string>& args) {
    testing_support::ScratchDir capture;
    std::string command = quoted(VELKANO_TOOL_PATH);
    for (const std::string& arg : args) command += " " + quoted(arg);
    command += " </dev/null >" + quoted(capture.file("out")) + " 2>" + quoted(capture.file("err"));
    const int wait = std::system(command.c_str());
    ToolRun run;
    run.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    run.out = fileText(capture.file("out"));
    run.err = fileText(capture.file("err"));
    return run;
}

std::vector<std::string> listDirectory(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tooltest
