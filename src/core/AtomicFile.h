#pragma once

#include <memory>
#include <string>

#include "FileSystem.h"

namespace vxa {

// Writes a file so that nobody ever sees it half written: the data goes to a
// new file beside the target, which replaces the target only in commit().
// Until then, and after any failure, an existing target is untouched and the
// new file is removed. Writing over the file that is being read from works,
// since the old contents stay in place until the rename.
class AtomicFile {
  public:
    // Creates the temporary file. Throws IoError.
    AtomicFile(FileSystem& fs, const std::string& target);
    // Without a commit, drops everything written.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    File& file() { return *file_; }

    // Pushes the data to the disk when it replaces a file, gives the new file
    // the permission bits of the file it replaces and renames it over the
    // target. Throws IoError; the target is then as it was and the temporary
    // file is gone.
    void commit();

  private:
    void discard() noexcept;

    FileSystem& fs_;
    std::string target_;
    std::string temp_;
    std::unique_ptr<File> file_;
    bool replacing_ = false;  // the target existed when writing began
    bool committed_ = false;
};

}  // namespace vxa
