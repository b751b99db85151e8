#pragma once

#include <memory>
#include <string>

#include "core/FileSystem.h"
#include "core/IoError.h"

namespace vxa::test {

// The real disk, with chosen operations made to fail as a full disk or a
// refused rename would. Tests run as root, where permissions cannot do it.
class FailingFileSystem final : public FileSystem {
  public:
    bool failWrite = false;   // File::write on temporary files throws "Disk full"
    bool failRename = false;  // rename throws "File access denied"
    bool failCreate = false;  // createTempBeside throws "File access denied"

    bool fileExists(const std::string& path) override { return real_.fileExists(path); }
    std::unique_ptr<File> openRead(const std::string& path) override {
        return real_.openRead(path);
    }
    std::unique_ptr<File> createTempBeside(const std::string& target,
                                           std::string& tempPath) override {
        if (failCreate)
            throw IoError(kAccessDenied);
        auto file = real_.createTempBeside(target, tempPath);
        if (!failWrite)
            return file;
        return std::make_unique<FullDisk>(std::move(file));
    }
    void rename(const std::string& from, const std::string& to) override {
        if (failRename)
            throw IoError(kAccessDenied);
        real_.rename(from, to);
    }
    void remove(const std::string& path) noexcept override { real_.remove(path); }
    void copyPermissions(const std::string& model, const std::string& path) override {
        real_.copyPermissions(model, path);
    }

  private:
    // Takes a few bytes, then reports the disk full.
    class FullDisk final : public File {
      public:
        explicit FullDisk(std::unique_ptr<File> inner) : inner_(std::move(inner)) {}
        std::size_t read(void* b, std::size_t n) override { return inner_->read(b, n); }
        void write(const void* b, std::size_t n) override {
            inner_->write(b, n < 8 ? n : 8);
            throw IoError(kDiskFull);
        }
        void seek(std::uint64_t p) override { inner_->seek(p); }
        std::uint64_t size() override { return inner_->size(); }
        void flush() override { inner_->flush(); }

      private:
        std::unique_ptr<File> inner_;
    };

    FileSystem& real_ = RealFileSystem();
};

}  // namespace vxa::test
