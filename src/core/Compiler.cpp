#include "Compiler.h"

namespace vxa {

void SvhBtnClick(Context&) {}
void SvahBtnClick(Context&) {}
bool CheckReplacementFiles(Context&) { return true; }
void CompileArchive(Context&, const std::string&) {}

}  // namespace vxa
