#pragma once

#include <cstddef>
#include <string_view>

namespace vxa {

// How this system writes the directories the file browser lists and the
// paths it forms from them. Each platform has its own implementation
// (linux/, windows/), picked by the build, so no caller tests the platform.

// The separator of every join the browser makes: "/" here, "\" on Windows.
char DirSeparator();

// How many leading characters of `dir` are its root, which "[..]" never
// goes above: 0 on Linux, where the browser names the root "", and 2 for a
// Windows path that starts with a drive ("c:").
std::size_t DirRootLength(std::string_view dir);

}  // namespace vxa
