#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/EntryTable.h"
#include "plan/FolderFiles.h"

namespace vxa::cli {

using vxa::ParseEntryNumber;  // plan/FolderFiles.h

// An error text when `nr` names no entry of `t`, or a blank one, which has
// nothing to `verb` ("replace", "extract"); the text quotes argument `arg`.
std::string CheckEntryNumber(const EntryTable& t, std::uint64_t nr, const std::string& arg,
                             const char* verb);

}  // namespace vxa::cli
