#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/FileSystem.h"

namespace vxa::test {

// The tests' file system: the real disk, or files held in memory (for the
// fuzzers). It counts the steps that touch files and makes a chosen one fail
// as a full disk or a failing device would: tests run as root, where
// permissions alone cannot produce such failures. The steps, as trace() names
// them: "open", "inspect" (what a write meets), "create" (a write's new file),
// "read", "write", "flush", "size", "chown", "chmod", "link", "close",
// "rename". Queries by path are no steps; `sizes` fakes their answers.
class TestFileSystem final : public FileSystem {
  public:
    enum class Backing { Disk, Memory };
    explicit TestFileSystem(Backing backing = Backing::Disk);
    ~TestFileSystem() override;

    std::map<std::string, std::shared_ptr<std::string>> files;  // the memory backing's
    void put(const std::string& path, std::string bytes) {
        files[path] = std::make_shared<std::string>(std::move(bytes));
    }
    std::map<std::string, std::uint64_t> sizes;  // fileSize() answers these
    bool refuseUnnamed = false;    // new files are named from the start (always in memory)
    std::function<void()> onOpen;  // runs before each "open", as another program would

    // Step `step` (from 1) throws the IoError of `errnum` without doing anything.
    void failStep(int step, int errnum) { failAt_ = step, errnum_ = errnum, shortRead_ = false; }
    // Step `step`, a read, gives one byte fewer than asked, as a file that shrank does.
    void shortenRead(int step) { failAt_ = step, shortRead_ = true; }
    void reset() { trace_.clear(), steps_ = failAt_ = 0; }
    // The steps' names, kept on disk only: fuzzing in memory takes millions.
    const std::vector<std::string>& trace() const { return trace_; }
    // Counts a step and throws when it is the failing one; true for a read to cut short.
    bool step(const char* name);

    bool fileExists(const std::string& path) override { return inner_.fileExists(path); }
    std::unique_ptr<File> openRead(const std::string& path) override {
        if (onOpen)
            onOpen();
        step("open");
        return wrap(inner_.openRead(path));
    }
    std::optional<std::uint64_t> fileSize(const std::string& path) override {
        const auto it = sizes.find(path);
        return it != sizes.end() ? it->second : inner_.fileSize(path);
    }
    WriteTarget inspectTarget(const std::string& path) override {
        step("inspect");
        return inner_.inspectTarget(path);
    }
    std::unique_ptr<File> openWrite(const std::string& path) override {
        step("open");
        return wrap(inner_.openWrite(path));
    }
    std::unique_ptr<File> createUnnamed(const std::string& target) override {
        if (refuseUnnamed || memory_)
            return nullptr;
        step("create");
        return wrap(inner_.createUnnamed(target));
    }
    std::unique_ptr<File> createNamed(const std::string& target, std::string& name) override {
        step("create");
        return wrap(inner_.createNamed(target, name));
    }
    void rename(const std::string& from, const std::string& to) override {
        step("rename");
        inner_.rename(from, to);
    }
    void remove(const std::string& path) noexcept override { inner_.remove(path); }

  private:
    // The file, each of its operations a step of this file system.
    std::unique_ptr<File> wrap(std::unique_ptr<File> file);

    std::unique_ptr<FileSystem> memory_;
    FileSystem& inner_;
    std::vector<std::string> trace_;
    int steps_ = 0, failAt_ = 0, errnum_ = 0;
    bool shortRead_ = false;
};

}  // namespace vxa::test
