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

#ifdef VXA_TOOL_PATH
// Runs the vxa-tool under test with these arguments.
inline RunResult Tool(std::vector<std::string> args) {
    args.insert(args.begin(), VXA_TOOL_PATH);
    return Run(args);
}
#endif

}  // namespace vxa::test
