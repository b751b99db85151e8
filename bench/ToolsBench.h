#pragma once

#include <string>

#include "ScriptBench.h"

namespace vxa::bench {

// The entry tools over plain data: Find Next over `many` (an archive of
// many small entries, records in entry order), then "Extract all" of `big`
// into an empty folder against `cp -r` of the result, and "Replace from
// folder" over those files with `edited` of them changed, against reading
// them all once with `cat`. Adds a row for each.
void ToolRows(const TableRow& row, const std::string& many, const std::string& big,
              const std::string& bigName, const std::string& dir, int runs, int edited);

// `vxa-bench find ARCHIVE`: prints the seconds of a first and a second Find
// Next that matches nothing.
void FindCommand(const std::string& archive);

}  // namespace vxa::bench
