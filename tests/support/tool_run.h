// Runs the built velkano binary as a user would and captures what it says.
#pragma once

#include <string>
#include <vector>

namespace tooltest {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs velkano with args, standard input from /dev/null.
ToolRun runVelkano(const std::vector<std::string>& args);

// Names of the entries in a directory, sorted.
std::vector<std::string> listDirectory(const std::string& path);

}  // namespace tooltest
