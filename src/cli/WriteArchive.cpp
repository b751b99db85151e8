#include "cli/WriteArchive.h"

#include "cli/Commands.h"
#include "core/Compiler.h"

namespace vxa::cli {

int WriteArchive(Context& c, const std::string& path) {
    return CompileAndReport(c, path) ? kOk : kFailed;
}

}  // namespace vxa::cli
