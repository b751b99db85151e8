#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/View.h"

namespace vxa {

// Pictures of the browser list: 0 a folder, 1 a plain document, 2..12 one
// for each known extension.
inline constexpr int kFolderPicture = 0;
inline constexpr int kDocumentPicture = 1;
inline constexpr int kBrowserPictureCount = 13;

// The picture of a file named `name`: that of its extension (from the last
// "." to the end, matched exactly, case included), else the plain document.
int FilePicture(std::string_view name);

// Where a caption stands before the names are compared: 0 for "[..]", 1 for
// the other bracketed captions (the directories), 2 for the rest.
int CaptionGroup(std::string_view caption);

// The items of directory `dir` ("" is the root, "c:" a drive's on Windows):
// "[..]" except at a root,
// "[name]" for each subdirectory, the bare name for everything else; hidden
// entries included. Nothing when the directory cannot be read. They come in
// caption groups, byte order within each, so that a listing is reproducible;
// the window shows them in the user's collation order.
std::optional<std::vector<BrowserItem>> ListDirectory(const std::string& dir);

// The browser's form of a directory: absolute, no "." or ".." parts, no
// trailing separator, and "" for the root ("c:" for a drive's on Windows),
// so that dir + separator + name is a full path (core/io/DirStyle.h).
std::string BrowserDirOf(const std::string& dir);

// The directory above `dir` in the browser's form ("" above "/home", "c:"
// above "c:\games"); a root is its own parent.
std::string ParentDir(const std::string& dir);

}  // namespace vxa
