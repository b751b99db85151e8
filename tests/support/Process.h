#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace vxa::test {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Starts a program with arguments (no shell) in folder `cwd` (empty: this
// one), its output going to the files `out` and `err`; returns its id.
pid_t Start(const std::vector<std::string>& argv, const std::string& cwd = {},
            const std::string& out = "/dev/null", const std::string& err = "/dev/null");
// Runs a program to its end and collects its output.
RunResult Run(const std::vector<std::string>& argv, const std::string& cwd = {});

#ifdef VXA_TOOL_PATH
// Runs the vxa-tool under test with these arguments.
inline RunResult Tool(std::vector<std::string> args, const std::string& cwd = {}) {
    args.insert(args.begin(), VXA_TOOL_PATH);
    return Run(args, cwd);
}
#endif

}  // namespace vxa::test
