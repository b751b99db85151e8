#include <ostream>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/Session.h"
#include "plan/GridRows.h"

namespace vxa::cli {

int List(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Syntax syntax{"list", "usage: vxa-tool list [--] ARCHIVE\n", {}, 1, 1};
    const auto parsed = ParseArgs(syntax, args, err);
    if (!parsed)
        return kUsage;
    Session s(err);
    if (!s.load(parsed->Operands[0]))
        return kFailed;
    // The rows as the window's grid shows them after the load.
    const EntryTable& t = s.Archive.Table;
    const GridRows grid = LoadedRows(t.EntryCount);
    std::string line;
    for (int row = 1; row <= t.EntryCount; ++row) {
        const GridRowTexts texts = GridRow(grid, t, row);
        line.clear();
        for (int col = 0; col <= 4; ++col) {
            if (col > 0)
                line += '\t';
            line += texts[static_cast<std::size_t>(col)];
        }
        line += '\n';
        out << line;
    }
    return out.flush() ? kOk : kFailed;
}

}  // namespace vxa::cli
