#include "core/io/HugePages.h"

namespace vxa {

// Large pages on Windows need a privilege that ordinary users lack and
// memory reserved for them up front: the arrays keep ordinary pages there.
void AdviseHugePages(void*, std::size_t) {}

}  // namespace vxa
