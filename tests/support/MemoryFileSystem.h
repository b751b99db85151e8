#pragma once

#include <map>
#include <memory>
#include <string>

#include "core/FileSystem.h"

namespace vxa::test {

// Files held in memory: fast and side-effect free, for fuzzing and for
// tests that need many archives.
class MemoryFileSystem final : public FileSystem {
  public:
    std::map<std::string, std::shared_ptr<std::string>> files;

    void put(const std::string& path, std::string bytes) {
        files[path] = std::make_shared<std::string>(std::move(bytes));
    }

    bool fileExists(const std::string& path) override { return files.count(path) != 0; }
    std::unique_ptr<File> openRead(const std::string& path) override;
    std::unique_ptr<File> createTempBeside(const std::string& target,
                                           std::string& tempPath) override;
    void rename(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) noexcept override { files.erase(path); }
    void copyPermissions(const std::string&, const std::string&) override {}

  private:
    int temps_ = 0;
};

}  // namespace vxa::test
