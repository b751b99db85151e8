#include "core/io/DirStyle.h"

namespace vxa {

char DirSeparator() {
    return '/';
}

std::size_t DirRootLength(std::string_view) {
    return 0;
}

}  // namespace vxa
