#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/EntryTable.h"

namespace vxa::cli {

// An entry number as vxa-tool reads it, on the command line or at the start
// of a file name: decimal digits only, counting from 1. nullopt when `text`
// is anything else; a number too long for 64 bits gives UINT64_MAX, which
// names no entry either.
std::optional<std::uint64_t> ParseEntryNumber(std::string_view text);

// An error text when `nr` names no entry of `t`, or a blank one, which has
// nothing to `verb` ("replace", "extract"); the text quotes argument `arg`.
std::string CheckEntryNumber(const EntryTable& t, std::uint64_t nr, const std::string& arg,
                             const char* verb);

}  // namespace vxa::cli
