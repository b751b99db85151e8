#include "core/io/DirStyle.h"

namespace vxa {

char DirSeparator() {
    return '\\';
}

std::size_t DirRootLength(std::string_view dir) {
    const bool letter =
        dir.size() >= 2 && ((dir[0] >= 'a' && dir[0] <= 'z') || (dir[0] >= 'A' && dir[0] <= 'Z'));
    return letter && dir[1] == ':' ? 2 : 0;
}

}  // namespace vxa
