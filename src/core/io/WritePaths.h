#pragma once

#include <string>

namespace vxa {

// The folder the last component of `path` lies in: "." for a bare name.
std::string FolderOf(const std::string& path);

// `folder`, the system's separator ("/", on Windows "\") and `name`, without
// looking for a separator already at the end of `folder`.
std::string JoinPath(const std::string& folder, const std::string& name);

// Follows a chain of symbolic links to the name it ends at, which need not
// exist (a dangling link names the file to create). A relative link is
// relative to its own folder. Throws IoError "I/O error 40" (ELOOP), naming
// `path`, after as many links as the kernel follows.
std::string EndOfLinks(const std::string& path);

// ".vxa-" and eight random letters and digits: a temporary file's name.
std::string RandomTempName();

// `folder` + "/" + a short random name for a temporary file (".vxa-" and
// eight letters and digits). It does not grow with the target's name, so a
// target of the longest legal name still gets one.
std::string RandomTempPath(const std::string& folder);

}  // namespace vxa
