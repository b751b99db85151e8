#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/EntryTable.h"

namespace vxa {

// Texts that bound what a load writes into the grid's columns 0 to 4
// ("Nr", "Offset", "Orig. size", "Packed size", "C/T") for entries
// 0..EntryCount-1: every cell is no wider than one of its column's texts
// once each digit is drawn as the font's widest digit. Found from the
// table's maxima in one pass over its arrays, without formatting a row.
// Column 0 allows for the "+" that marks a row's sharing group.
std::array<std::vector<std::string>, 5> WidestEntryTexts(const EntryTable& table);

}  // namespace vxa
