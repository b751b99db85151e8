#pragma once

#include <memory>
#include <string>

#include "core/io/FileSystem.h"

namespace vxa {

// Writes a file so that nobody ever sees it half written: the data goes to a
// new file in the target's folder, which replaces the target only in
// commit(). Until then, and after any failure, an existing target is
// untouched and the new file is gone. Writing over the file that is being
// read from works, since the old contents stay in place until the rename.
//
// The new file has no name while it is written where the file system allows
// (O_TMPFILE), so a process killed meanwhile leaves nothing behind; it gets a
// short name only for the moment between linking it and the rename.
// Elsewhere it has a short name from the start, which SIGINT, SIGTERM and
// SIGHUP remove (TempFiles.h) but kill -9 cannot.
//
// A symbolic link is written through: the file it ends at is replaced or,
// for a dangling link, made, and the link stays. A device, FIFO or socket is
// written into as it is, never replaced by a regular file.
class AtomicFile {
  public:
    // Finds out what the write replaces and creates the new file. Throws
    // IoError, before anything is written, where the write must not happen.
    AtomicFile(FileSystem& fs, const std::string& target);
    // Without a commit, drops everything written.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    File& file() { return *file_; }

    // Pushes the data to the disk when it replaces a file, gives the new file
    // the owner, group and permission bits of the file it replaces, closes it
    // and renames it over the target. Every step is checked: on IoError the
    // target is as it was, and the new file goes with this object.
    void commit();

  private:
    FileSystem& fs_;
    WriteTarget target_;
    std::string temp_;  // the new file's name while it has one of its own
    std::unique_ptr<File> file_;
};

}  // namespace vxa
