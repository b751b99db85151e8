#pragma once

#include <cstddef>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vxa::cli {

// One option of a command: a flag ("--skip-missing") or one that takes the
// next argument as its value ("--out OUTPUT").
struct Option {
    std::string Name;
    bool TakesValue = false;
};

// What a command accepts.
struct Syntax {
    std::string Command;  // "compile"
    std::string Usage;    // the usage line, ending in "\n"
    std::vector<Option> Options;
    std::size_t MinOperands = 0;
    std::optional<std::size_t> MaxOperands;  // nullopt: no limit
};

struct Args {
    std::map<std::string, std::string> Options;  // given: name -> value ("" for a flag)
    std::vector<std::string> Operands;

    bool has(const std::string& name) const { return Options.count(name) != 0; }
};

// Reads a command's arguments. Options may come anywhere before "--"; every
// argument after it is an operand, so a path may begin with "-" there. A lone
// "-" is an operand too. A wrong command line prints
// "vxa-tool COMMAND: WHAT" and the usage to `err` and gives nullopt.
std::optional<Args> ParseArgs(const Syntax& syntax, const std::vector<std::string>& args,
                              std::ostream& err);

}  // namespace vxa::cli
