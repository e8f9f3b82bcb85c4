#include "tool_run.h"

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "host_test_support.h"

namespace tooltest {

namespace {

#if defined(_WIN32)
// cmd.exe quoting; the arguments the tests pass hold no double quotes.
std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}
#else
std::string quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}
#endif

}  // namespace

ToolRun runVelkano(const std::vector<std::string>& args) {
    testing_support::ScratchDir capture;
    std::string command = quoted(VELKANO_TOOL_PATH);
    for (const std::string& arg : args) command += " " + quoted(arg);
#if defined(_WIN32)
    command += " <NUL >" + quoted(capture.file("out")) + " 2>" + quoted(capture.file("err"));
    // cmd.exe drops the first and last quote of a line that starts with one.
    const int status = std::system(("\"" + command + "\"").c_str());
#else
    command += " </dev/null >" + quoted(capture.file("out")) + " 2>" + quoted(capture.file("err"));
    const int wait = std::system(command.c_str());
    const int status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
#endif
    ToolRun run;
    run.status = status;
    run.out = testing_support::readFileText(capture.file("out"));
    run.err = testing_support::readFileText(capture.file("err"));
#if defined(_WIN32)
    // Diagnostics go to a text-mode stream, which ends lines with CR LF here.
    for (size_t at = run.err.find("\r\n"); at != std::string::npos; at = run.err.find("\r\n", at)) {
        run.err.erase(at, 1);
    }
#endif
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
