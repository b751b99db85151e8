#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vxa::cli {

// Exit codes of vxa-tool.
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;  // the job could not be done (load, write, missing files)
inline constexpr int kUsage = 2;   // the command line is wrong

// Each command's options end at "--" (Args.h).
// `list ARCHIVE`: one line per entry with the texts of grid columns 0 to 4.
int List(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// `extract ARCHIVE DIR [NR]...`: writes the stored bytes of every entry that
// has any, or of entries NR (from 1), into DIR, named as the window names
// them; files of those names are replaced.
int Extract(const std::vector<std::string>& args, std::ostream& err);
// `compile [--skip-missing] [--from DIR] ARCHIVE OUTPUT [NR=FILE]...`:
// replaces entry NR (from 1) and its sharing group by FILE, as the window
// does, and compiles. --from DIR adds the edited entry files of DIR
// (FolderFiles.h) for the groups no NR=FILE names, printing one line per
// entry they replace.
int Compile(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// `run [--out OUTPUT] SCRIPT`: loads the script's input archive, applies its
// plan and compiles to OUTPUT, or else to the script's "Out".
int Run(const std::vector<std::string>& args, std::ostream& err);

}  // namespace vxa::cli
