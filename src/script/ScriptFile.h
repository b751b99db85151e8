#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/ReplRec.h"
#include "core/io/FileSystem.h"

namespace vxa {

// What a script file holds: the input archive, the output archive (empty
// when none was chosen) and the plan.
struct Script {
    std::string In;
    std::string Out;
    ReplRec Items;
    bool operator==(const Script&) const = default;
};

// What a script that cannot be run is said to be.
inline constexpr const char* kScriptDamaged = "Script file is incorrect or damaged";

inline constexpr const char* kScriptDescription =
    "This is script file created by ORN VXA Manager. If you don't know what it contains, better "
    "don't try to edit it manually";

// The bytes of a script file: section "General" with "Description", "In",
// "Out" and "Count", then sections "0", "1", ... with "Index" and "Path".
std::string FormatScript(const std::string& in, const std::string& out, const ReplRec& items);

// True when `value` reads back from a script file exactly as written: the
// reader trims blanks, cuts long values and knows no line break inside one.
bool ScriptValueRoundTrips(std::string_view value);

// The first of the paths that a script cannot hold, none when it can hold
// them all. A value that would read back differently (a line break in a file
// name, for one) would make a script that quietly does something else when
// run.
const std::string* PathScriptCannotHold(const std::string& in, const std::string& out,
                                        const ReplRec& items);

// Writes the script of `in`, `out` and `items` at `path`; false when it
// could not be written. The file is written beside and renamed over the old
// script, so a failed save leaves that whole and nothing of it mixes into
// the new one.
bool WriteScript(FileSystem& fs, const std::string& path, const std::string& in,
                 const std::string& out, const ReplRec& items);

// Reads a script's text; nullopt when it is incorrect or damaged ("In" empty
// or absent, "Count" below 1 or not a number, an item section below Count
// missing, or an item without a number for "Index" or with an empty "Path").
std::optional<Script> ParseScript(std::string_view text);

// Reads the script file at `path` whole. Throws IoError ("File not found"
// when no file is there).
std::string ReadScriptText(FileSystem& fs, const std::string& path);

}  // namespace vxa
