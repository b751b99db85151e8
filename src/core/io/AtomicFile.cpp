#include "core/io/AtomicFile.h"

namespace vxa {

// Hand-written rather than taken from a library: the toolkit's QSaveFile does
// the same, but this layer must stay free of the toolkit and go through the
// FileSystem seam so that tests can make every step fail.
AtomicFile::AtomicFile(FileSystem& fs, const std::string& target)
    : fs_(fs), target_(fs.inspectTarget(target)) {
    if (target_.Kind == WriteTarget::Found::Special) {
        // Renaming a regular file over it would replace a device node or cut
        // a FIFO's reader off; cp writes into it too.
        file_ = fs_.openWrite(target_.Path);
        return;
    }
    file_ = fs_.createUnnamed(target_.Path);
    if (!file_)
        file_ = fs_.createNamed(target_.Path, temp_);
}

AtomicFile::~AtomicFile() {
    // Not committed, or the commit failed: the new file goes. Unlinking it
    // before its descriptor is closed is fine.
    if (!temp_.empty())
        fs_.remove(temp_);
}

void AtomicFile::commit() {
    if (target_.Kind != WriteTarget::Found::Special) {
        if (target_.Kind == WriteTarget::Found::Regular) {
            // Synced before the rename only when the rename replaces a
            // file: a system crash between a rename and the write-back of
            // its data could otherwise leave neither the old contents nor
            // the new. A new file has no old contents to lose, and waiting
            // for the disk would make writing a big archive several times
            // slower than copying it.
            file_->flush();
            // Root replacing another user's file leaves it theirs. The
            // owner first: changing it clears set-user-ID bits.
            file_->setOwner(target_.Uid, target_.Gid);
        }
        file_->setMode(target_.Mode);
        if (temp_.empty())
            temp_ = file_->link();
    }
    file_->close();
    if (target_.Kind != WriteTarget::Found::Special) {
        fs_.rename(temp_, target_.Path);
        temp_.clear();  // the target's name now
    }
}

}  // namespace vxa
