#pragma once

#include <iosfwd>
#include <string>

#include "core/LoadedArchive.h"
#include "core/ReplRec.h"
#include "core/io/FileSystem.h"

namespace vxa::cli {

// What every command works on: an archive loaded whole, a plan for it, the
// disk, and the stream messages go to. The messages are the window's own
// texts, one a line; errors of the runtime name their file:
// "vxa-tool: PATH: TEXT".
struct Session {
    explicit Session(std::ostream& errors) : Err(errors) {}

    LoadedArchive Archive;
    ReplRec Plan;
    FileSystem& Fs = RealFileSystem();
    std::ostream& Err;

    // Loads the archive at `path`; false, with the message printed, when
    // there is no file there or it cannot be read whole.
    bool load(const std::string& path);
    // Compiles the archive with the plan to `output`, as the window's compile
    // does; false, with the message printed, when it fails.
    bool compile(const std::string& output);
    // A message box's text: its CR line breaks become LF.
    void message(const std::string& text);
    // The error of an operation on the file at `path` (none: "").
    void ioError(const std::string& path, const std::string& text);
};

}  // namespace vxa::cli
