#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "core/io/TempFiles.h"

namespace {

constexpr const char* kUsageText =
    "usage: vxa-tool COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  list [--] ARCHIVE\n"
    "      print one line per entry: Nr, Offset, Orig. size, Packed size, C/T\n"
    "      example: vxa-tool list game.vxa\n"
    "  extract [--] ARCHIVE DIR [NR]...\n"
    "      write the stored bytes of every entry that has any (or of entries NR) to\n"
    "      files in DIR named NNNNN.EXT, as the window's \"Extract all...\" names them;\n"
    "      a shared entry gets its owner's bytes, a blank entry no file; DIR is made\n"
    "      if missing, and files of those names in it are replaced without a question\n"
    "      example: vxa-tool extract game.vxa game-files\n"
    "  compile [--skip-missing] [--from DIR] [--] ARCHIVE OUTPUT [NR=FILE]...\n"
    "      write OUTPUT with entry NR (and the entries sharing its data) replaced by FILE\n"
    "      example: vxa-tool compile game.vxa modded.vxa 12=title.pal\n"
    "      --from DIR: a file in DIR whose name begins with an entry number and \".\"\n"
    "      (00012.wav, 12.bin, 12.wav.bak: entry 12) replaces that entry and the\n"
    "      entries sharing its data when its bytes differ from the entry's; prints\n"
    "      \"NR <- FILE\" for each entry replaced. NR=FILE wins over DIR. Nothing is\n"
    "      written when an entry has two files, a file is for a blank entry, or the\n"
    "      edited files of entries that share their data differ\n"
    "      example: vxa-tool compile game.vxa modded.vxa --from game-files\n"
    "  run [--out OUTPUT] [--] SCRIPT\n"
    "      load the script's input archive, apply its plan, write OUTPUT (else its \"Out\")\n"
    "      example: vxa-tool run plan.vxc --out modded.vxa\n"
    "\n"
    "options:\n"
    "  --help      show this text\n"
    "  --version   show the version\n"
    "  --          ends a command's options: every argument after it is a path\n"
    "              or NR=FILE, so a path may begin with \"-\" there\n"
    "      example: vxa-tool list -- -old.vxa\n"
    "\n"
    "errors name the file they happened on: \"vxa-tool: out.vxa: Disk full\"\n"
    "exit status: 0 done, 1 the job failed (message on stderr), 2 bad command line\n";

}  // namespace

int main(int argc, char** argv) {
    vxa::InstallTempFileCleanup();
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << kUsageText;
        return vxa::cli::kUsage;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsageText;
        return vxa::cli::kOk;
    }
    if (command == "--version") {
        std::cout << "vxa-tool " << VXA_VERSION << "\n";
        return vxa::cli::kOk;
    }
    if (command == "list")
        return vxa::cli::List(args, std::cout, std::cerr);
    if (command == "compile")
        return vxa::cli::Compile(args, std::cout, std::cerr);
    if (command == "extract")
        return vxa::cli::Extract(args, std::cerr);
    if (command == "run")
        return vxa::cli::Run(args, std::cerr);
    std::cerr << "vxa-tool: unknown command '" << command << "'\n\n" << kUsageText;
    return vxa::cli::kUsage;
}
