#pragma once

#include <string>
#include <string_view>

#include "core/FileSystem.h"

namespace vxa {

// Replaces the file at `path` by `bytes` in one step: the bytes go to a new
// file beside it, which is flushed to the disk and then renamed over the
// target. Whatever fails, the old file stays as it was and no temporary file
// is left behind. Throws IoError.
void WriteFileAtomically(FileSystem& fs, const std::string& path, std::string_view bytes);

}  // namespace vxa
