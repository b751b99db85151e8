#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/io/FileSystem.h"

namespace vxa::test {

// The real disk, with a count of the steps that touch files; a chosen step
// fails as a full disk or a failing device would: tests run as root, where
// permissions alone cannot produce such failures. The steps, as trace()
// names them: "open", "inspect" (what a write meets), "create" (a write's new
// file), "read", "write", "flush", "size", "chown", "chmod", "link", "close",
// "rename". Queries by path are no steps; `sizes` fakes their answers.
class TestFileSystem final : public FileSystem {
  public:
    std::map<std::string, std::uint64_t> sizes;  // fileSize() answers these
    bool refuseUnnamed = false;                  // new files are named from the start
    std::function<void()> onOpen;  // runs before each "open", as another program would

    // Step `step` (from 1) throws the IoError of `errnum` without doing anything.
    void failStep(int step, int errnum) { failAt_ = step, errnum_ = errnum; }
    // So does every read that reaches past `position`, as a bad stretch of a disk.
    void failReadsFrom(std::uint64_t position, int errnum) {
        badFrom_ = position, errnum_ = errnum;
    }
    void reset() { trace_.clear(), failAt_ = 0, badFrom_ = UINT64_MAX; }
    const std::vector<std::string>& trace() const { return trace_; }
    // Counts a step; throws when it is the failing one, else gives the disk.
    // A load reads from two threads at once.
    FileSystem& step(const char* name, std::uint64_t end = 0);

    bool fileExists(const std::string& path) override { return disk_.fileExists(path); }
    std::unique_ptr<File> openRead(const std::string& path) override {
        if (onOpen)
            onOpen();
        step("open");
        return wrap(disk_.openRead(path));
    }
    std::optional<std::uint64_t> fileSize(const std::string& path) override {
        const auto it = sizes.find(path);
        return it != sizes.end() ? it->second : disk_.fileSize(path);
    }
    WriteTarget inspectTarget(const std::string& path) override {
        return step("inspect").inspectTarget(path);
    }
    std::unique_ptr<File> openWrite(const std::string& path) override {
        return wrap(step("open").openWrite(path));
    }
    std::unique_ptr<File> createUnnamed(const std::string& target) override {
        if (refuseUnnamed)
            return nullptr;
        step("create");
        return wrap(disk_.createUnnamed(target));
    }
    std::unique_ptr<File> createNamed(const std::string& target, std::string& name) override {
        return wrap(step("create").createNamed(target, name));
    }
    void rename(const std::string& from, const std::string& to) override {
        step("rename").rename(from, to);
    }
    void remove(const std::string& path) noexcept override { disk_.remove(path); }

  private:
    // The file, each of its operations a step of this file system.
    std::unique_ptr<File> wrap(std::unique_ptr<File> file);

    FileSystem& disk_ = RealFileSystem();
    std::vector<std::string> trace_;
    int failAt_ = 0, errnum_ = 0;
    std::uint64_t badFrom_ = UINT64_MAX;
    std::mutex mutex_;
};

}  // namespace vxa::test
