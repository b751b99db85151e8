#include "MemoryFileSystem.h"

#include <algorithm>
#include <cstring>

#include "core/IoError.h"

namespace vxa::test {

namespace {

class MemoryFile final : public File {
  public:
    MemoryFile(std::shared_ptr<std::string> bytes, bool writable)
        : bytes_(std::move(bytes)), writable_(writable) {}

    std::size_t read(void* buffer, std::size_t size) override {
        const std::size_t n = pos_ >= bytes_->size() ? 0 : std::min(size, bytes_->size() - pos_);
        if (n > 0)
            std::memcpy(buffer, bytes_->data() + pos_, n);
        pos_ += n;
        return n;
    }
    void write(const void* buffer, std::size_t size) override {
        if (!writable_)
            throw IoError(kAccessDenied);
        if (bytes_->size() < pos_ + size)
            bytes_->resize(pos_ + size);
        std::memcpy(bytes_->data() + pos_, buffer, size);
        pos_ += size;
    }
    void seek(std::uint64_t position) override { pos_ = position; }
    std::uint64_t size() override { return bytes_->size(); }
    void flush() override {}

  private:
    std::shared_ptr<std::string> bytes_;
    bool writable_;
    std::size_t pos_ = 0;
};

}  // namespace

std::unique_ptr<File> MemoryFileSystem::openRead(const std::string& path) {
    auto it = files.find(path);
    if (it == files.end())
        throw IoError(kFileNotFound);
    return std::make_unique<MemoryFile>(it->second, false);
}

std::unique_ptr<File> MemoryFileSystem::createTempBeside(const std::string& target,
                                                         std::string& tempPath) {
    tempPath = target + ".tmp" + std::to_string(++temps_);
    auto bytes = std::make_shared<std::string>();
    files[tempPath] = bytes;
    return std::make_unique<MemoryFile>(bytes, true);
}

void MemoryFileSystem::rename(const std::string& from, const std::string& to) {
    auto it = files.find(from);
    if (it == files.end())
        throw IoError(kFileNotFound);
    files[to] = it->second;
    files.erase(from);
}

}  // namespace vxa::test
