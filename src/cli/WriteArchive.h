#pragma once

#include <string>

#include "core/Context.h"

namespace vxa::cli {

// Compiles the loaded archive with the current plan to `path`, exactly as
// the window's compile does. A failure is printed by the console view (the
// program's message, on the error stream). Returns the exit code.
int WriteArchive(Context& c, const std::string& path);

}  // namespace vxa::cli
