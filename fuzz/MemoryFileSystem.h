#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "core/io/FileSystem.h"
#include "core/io/IoError.h"

namespace vxa::fuzz {

// Files held in memory: the fuzzers run millions of loads and compiles,
// which the disk would slow down and wear.
class MemoryFileSystem final : public FileSystem {
  public:
    std::map<std::string, std::shared_ptr<std::string>> files;
    void put(const std::string& path, std::string bytes) {
        files[path] = std::make_shared<std::string>(std::move(bytes));
    }

    bool fileExists(const std::string& path) override { return files.contains(path); }
    std::unique_ptr<File> openRead(const std::string& path) override {
        if (!fileExists(path))
            throw IoError(kFileNotFound, path);
        return std::make_unique<MemoryFile>(path, files[path], false);
    }
    WriteTarget inspectTarget(const std::string& path) override {
        return {fileExists(path) ? WriteTarget::Found::Regular : WriteTarget::Found::New, path};
    }
    std::unique_ptr<File> openWrite(const std::string& path) override {
        return std::make_unique<MemoryFile>(path, files.at(path), true);
    }
    std::unique_ptr<File> createUnnamed(const std::string&) override { return nullptr; }
    std::unique_ptr<File> createNamed(const std::string& target, std::string& name) override {
        name = target + ".tmp";
        files[name] = std::make_shared<std::string>();
        return std::make_unique<MemoryFile>(target, files[name], true);
    }
    void rename(const std::string& from, const std::string& to) override {
        files[to] = files.at(from);
        files.erase(from);
    }
    void remove(const std::string& path) noexcept override { files.erase(path); }

  private:
    class MemoryFile final : public File {
      public:
        MemoryFile(const std::string& path, std::shared_ptr<std::string> bytes, bool writable)
            : File(path), bytes_(std::move(bytes)), writable_(writable) {}

        std::size_t read(void* buffer, std::size_t size) override {
            const std::size_t n = readAt(buffer, size, pos_);
            pos_ += n;
            return n;
        }
        void write(const void* buffer, std::size_t size) override {
            if (!writable_)
                throw IoError(kAccessDenied, path());
            bytes_->resize(std::max(bytes_->size(), pos_ + size));
            std::memcpy(bytes_->data() + pos_, buffer, size);
            pos_ += size;
        }
        std::size_t readAt(void* buffer, std::size_t size, std::uint64_t position) override {
            const std::size_t n = position >= bytes_->size()
                                      ? 0
                                      : std::min<std::uint64_t>(size, bytes_->size() - position);
            if (n > 0)
                std::memcpy(buffer, bytes_->data() + position, n);
            return n;
        }
        std::uint64_t size() override { return bytes_->size(); }
        void flush() override {}
        void close() override {}
        void setOwner(std::uint32_t, std::uint32_t) override {}
        void setMode(std::uint32_t) override {}
        std::string link() override { throw std::logic_error("memory files always have a name"); }

      private:
        std::shared_ptr<std::string> bytes_;
        bool writable_;
        std::size_t pos_ = 0;
    };
};

}  // namespace vxa::fuzz
