#include <filesystem>
#include <ostream>
#include <set>
#include <system_error>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/EntryNumbers.h"
#include "cli/Session.h"
#include "core/EntryFiles.h"
#include "core/io/IoError.h"
#include "core/io/Utf8Path.h"

namespace vxa::cli {

namespace {

const Syntax kExtractSyntax{
    "extract", "usage: vxa-tool extract [--] ARCHIVE DIR [NR]...\n", {}, 2, std::nullopt};

// Makes folder `dir` and any missing folders above it, so that the first
// step of a modding session can name a new folder. Throws IoError.
void MakeFolder(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(FsPath(dir), ec);
    if (ec)
        ThrowError(ec, dir);
}

}  // namespace

int Extract(const std::vector<std::string>& args, std::ostream& err) {
    const auto parsed = ParseArgs(kExtractSyntax, args, err);
    if (!parsed)
        return kUsage;
    const std::vector<std::string>& operands = parsed->Operands;
    const std::string& dir = operands[1];
    std::vector<std::uint64_t> numbers;
    for (std::size_t k = 2; k < operands.size(); ++k) {
        const auto nr = ParseEntryNumber(operands[k]);
        if (!nr) {
            err << "vxa-tool extract: entry number \"" << operands[k] << "\" is not a number\n"
                << kExtractSyntax.Usage;
            return kUsage;
        }
        numbers.push_back(*nr);
    }
    Session s(err);
    if (!s.load(operands[0]))
        return kFailed;
    const LoadedArchive& state = s.Archive;

    std::vector<EntryFile> files;
    std::set<std::uint64_t> listed;
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        const std::string e = CheckEntryNumber(state.Table, numbers[k], operands[k + 2], "extract");
        if (!e.empty()) {
            err << "vxa-tool extract: " << e << '\n';
            return kUsage;
        }
        if (listed.insert(numbers[k]).second)
            files.push_back(EntryFileIn(state, dir, static_cast<std::int32_t>(numbers[k] - 1)));
    }
    if (numbers.empty())
        files = AllEntryFiles(state, dir);
    try {
        MakeFolder(dir);
        WriteEntryFiles(state, s.Fs, files, {});
    } catch (const IoError& e) {
        s.ioError(e.path().empty() ? dir : e.path(), e.what());
        return kFailed;
    }
    return kOk;
}

}  // namespace vxa::cli
