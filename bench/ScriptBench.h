#pragma once

#include <functional>
#include <string>

namespace vxa::bench {

// One row of the table: case, measured, reference, ratio, target, met.
using TableRow = std::function<void(const std::string&, const std::string&, const std::string&,
                                    const std::string&, const std::string&, bool)>;

// Judges damaged scripts of each shape, 100 MiB (8 MiB when quick), each in
// a fresh process running `self script FILE`, and adds a row for each.
void ScriptRows(const TableRow& row, const std::string& self, const std::string& dir, bool quick);

// `vxa-bench script FILE`: reads and judges the script as "Run script..."
// does; prints the seconds, the peak resident KiB and 1 when it is valid.
int ScriptCommand(const std::string& path);

}  // namespace vxa::bench
