#include "AtomicFile.h"

namespace vxa {

// Hand-written rather than taken from a library: the toolkit's QSaveFile does
// the same, but this layer must stay free of the toolkit and go through the
// FileSystem seam so that tests can make every step fail.
AtomicFile::AtomicFile(FileSystem& fs, const std::string& target)
    : fs_(fs), target_(fs.resolveLinks(target)), replacing_(fs.fileExists(target_)) {
    file_ = fs_.createTempBeside(target_, temp_);
}

AtomicFile::~AtomicFile() {
    if (!committed_)
        discard();
}

void AtomicFile::discard() noexcept {
    file_.reset();
    if (!temp_.empty())
        fs_.remove(temp_);
}

void AtomicFile::commit() {
    try {
        // Synced before the rename only when the rename replaces a file: a
        // system crash between a rename and the write-back of its data could
        // otherwise leave neither the old contents nor the new. A new file
        // has no old contents to lose, and waiting for the disk would make
        // writing a big archive several times slower than copying it.
        if (replacing_)
            file_->flush();
        fs_.copyPermissions(target_, temp_);
        file_.reset();  // closed before the rename, so no handle outlives it
        fs_.rename(temp_, target_);
        committed_ = true;
    } catch (...) {
        discard();
        committed_ = true;  // nothing left for the destructor to do
        throw;
    }
}

}  // namespace vxa
