#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/FileSystem.h"

namespace vxa::test {

// The tests' file system: the real disk, or files held in memory (fast and
// side-effect free, for fuzzing and tests that need many archives). It counts
// the steps that touch the files and makes a chosen one fail, the way a full
// disk, a vanished file or a failing device would: tests run as root, where
// permissions alone cannot produce such failures.
//
// Counted steps, as named in trace(): "open" (an existing file), "inspect"
// (what a write meets), "create" (the new file of a write), "read", "write",
// "flush", "size" (of an open file), "chown", "chmod", "link", "close" and
// "rename". Existence and size queries by path are not steps; their sizes can
// be overridden to fake files of any length.
class TestFileSystem final : public FileSystem {
  public:
    enum class Backing { Disk, Memory };
    explicit TestFileSystem(Backing backing = Backing::Disk);
    ~TestFileSystem() override;

    // The files of the memory backing, by path.
    std::map<std::string, std::shared_ptr<std::string>> files;
    void put(const std::string& path, std::string bytes) {
        files[path] = std::make_shared<std::string>(std::move(bytes));
    }
    // fileSize() answers these lengths for these paths.
    std::map<std::string, std::uint64_t> sizes;
    // New files of writes get a name from the start, as on file systems
    // without unnamed files (always so in memory).
    bool refuseUnnamed = false;

    // Step `step` (from 1) throws the IoError of `errnum` without doing anything.
    void failStep(int step, int errnum);
    // Step `step`, a read, gives one byte fewer than asked (none at all for
    // a read of one byte), as a file that shrank meanwhile does.
    void shortenRead(int step);
    // Forgets the counted steps and the fault.
    void reset();

    int steps() const { return steps_; }
    // The steps' names, kept on disk only: fuzzing in memory takes millions
    // of steps, and the list would outgrow the fuzzers' allocation bound.
    const std::vector<std::string>& trace() const { return trace_; }

    // Runs before each "open", as another program would meanwhile.
    std::function<void()> onOpen;

    // Counts a step; throws when it is the failing one. Returns true when
    // the step is a read to be cut short.
    bool step(const char* name);

    bool fileExists(const std::string& path) override { return inner_.fileExists(path); }
    std::unique_ptr<File> openRead(const std::string& path) override;
    std::optional<std::uint64_t> fileSize(const std::string& path) override;
    WriteTarget inspectTarget(const std::string& path) override;
    std::unique_ptr<File> openWrite(const std::string& path) override;
    std::unique_ptr<File> createUnnamed(const std::string& target) override;
    std::unique_ptr<File> createNamed(const std::string& target, std::string& name) override;
    void rename(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) noexcept override { inner_.remove(path); }

  private:
    std::unique_ptr<FileSystem> memory_;
    FileSystem& inner_;
    std::vector<std::string> trace_;
    int steps_ = 0;
    int failAt_ = 0;
    int errnum_ = 0;
    bool shortRead_ = false;
};

}  // namespace vxa::test
