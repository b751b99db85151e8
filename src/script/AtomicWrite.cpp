#include "AtomicWrite.h"

namespace vxa {

void WriteFileAtomically(FileSystem& fs, const std::string& path, std::string_view bytes) {
    std::string temp;
    auto file = fs.createTempBeside(path, temp);
    try {
        file->write(bytes.data(), bytes.size());
        file->flush();
        file.reset();  // closed before the rename, so every byte is in place
        fs.copyPermissions(path, temp);
        fs.rename(temp, path);
    } catch (...) {
        file.reset();
        fs.remove(temp);
        throw;
    }
}

}  // namespace vxa
