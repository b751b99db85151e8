#include "ScriptHandlers.h"

namespace vxa {

void SvsBtnClick(Context&) {}
void RsBtnClick(Context&) {}

}  // namespace vxa
