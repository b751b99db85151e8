#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"

namespace {

constexpr const char* kUsageText =
    "usage: vxa-tool COMMAND [ARGS]\n"
    "commands:\n"
    "  list ARCHIVE   print one line per entry: Nr, Offset, Orig. size, Packed size, C/T\n"
    "  compile [--skip-missing] ARCHIVE OUTPUT [NR=FILE]...   write OUTPUT, entry NR := FILE\n"
    "  run SCRIPT [--out OUTPUT]   replay a .vxc script: load, apply its plan, compile\n";

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << kUsageText;
        return vxa::cli::kUsage;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "list") return vxa::cli::List(args, std::cout, std::cerr);
    if (command == "compile") return vxa::cli::Compile(args, std::cerr);
    if (command == "run") return vxa::cli::Run(args, std::cerr);
    std::cerr << kUsageText;
    return vxa::cli::kUsage;
}
