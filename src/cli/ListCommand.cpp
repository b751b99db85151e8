#include <ostream>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/ConsoleView.h"
#include "core/Loader.h"

namespace vxa::cli {

int List(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Syntax syntax{"list", "usage: vxa-tool list [--] ARCHIVE\n", {}, 1, 1};
    const auto parsed = ParseArgs(syntax, args, err);
    if (!parsed)
        return kUsage;
    AppState state;
    ConsoleView view(state.Table, err);
    Context c{state, view, RealFileSystem()};
    if (LoadArchive(c, parsed->operands[0], false) != LoadOutcome::Complete)
        return kFailed;
    std::string line;
    for (int row = 1; row <= state.Table.EntryCount; ++row) {
        line.clear();
        for (int col = 0; col <= 4; ++col) {
            if (col > 0)
                line += '\t';
            line += view.cell(col, row);
        }
        line += '\n';
        out << line;
    }
    return out.flush() ? kOk : kFailed;
}

}  // namespace vxa::cli
