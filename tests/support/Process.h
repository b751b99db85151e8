#pragma once

#include <string>
#include <vector>

namespace vxa::test {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program with arguments (no shell) and collects its output.
RunResult Run(const std::vector<std::string>& argv);

}  // namespace vxa::test
