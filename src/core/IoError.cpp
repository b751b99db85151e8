#include "IoError.h"

namespace vxa {

void ThrowErrno(int errnum, const std::string& path) {
    throw IoError(IoErrorText(errnum), path);
}

std::string ErrorBoxText(const std::string& text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        return text + ".";
    return text;
}

}  // namespace vxa
