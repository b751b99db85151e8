#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/FileSystem.h"

namespace vxa::test {

// A file system that passes every call on to another one, counts the steps
// that touch the disk and makes a chosen step fail, the way a full disk, a
// vanished file or a failing device would. Tests run as root, where
// permissions alone cannot produce such failures.
//
// Counted steps, as named in trace(): "open" (an existing file), "create"
// (the temporary file), "read", "write", "flush", "size" (of an open file),
// "rename" and "chmod". Existence and size queries by path are not steps;
// their sizes can be overridden to fake files of any length.
class FaultyFileSystem final : public FileSystem {
  public:
    explicit FaultyFileSystem(FileSystem& inner = RealFileSystem()) : inner_(inner) {}

    // Step `step` (from 1) throws the IoError of `errnum` without doing anything.
    void failStep(int step, int errnum);
    // Step `step`, a read, gives one byte fewer than asked (none at all for
    // a read of one byte), as a file that shrank meanwhile does.
    void shortenRead(int step);
    // Forgets the counted steps and the fault.
    void reset();

    int steps() const { return static_cast<int>(trace_.size()); }
    const std::vector<std::string>& trace() const { return trace_; }

    // fileSize() answers these lengths for these paths.
    std::map<std::string, std::uint64_t> sizes;
    // Runs before each "open", as another program would meanwhile.
    std::function<void()> onOpen;

    // Counts a step; throws when it is the failing one. Returns true when
    // the step is a read to be cut short.
    bool step(const char* name);

    bool fileExists(const std::string& path) override { return inner_.fileExists(path); }
    std::unique_ptr<File> openRead(const std::string& path) override;
    std::unique_ptr<File> createTempBeside(const std::string& target,
                                           std::string& tempPath) override;
    void rename(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) noexcept override { inner_.remove(path); }
    void copyPermissions(const std::string& model, const std::string& path) override;
    std::optional<std::uint64_t> fileSize(const std::string& path) override;
    std::string resolveLinks(const std::string& path) override { return inner_.resolveLinks(path); }

  private:
    FileSystem& inner_;
    std::vector<std::string> trace_;
    int failAt_ = 0;
    int errnum_ = 0;
    bool shortRead_ = false;
};

}  // namespace vxa::test
