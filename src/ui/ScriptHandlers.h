#pragma once

#include "ui/Context.h"

namespace vxa {

// "Save to script": writes the plan to a .vxc file chosen with SaveDialog2.
void SvsBtnClick(Context& c);
// "Run script...": reads, summarises, loads, applies and compiles a script.
void RsBtnClick(Context& c);

}  // namespace vxa
