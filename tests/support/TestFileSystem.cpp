#include "TestFileSystem.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "core/IoError.h"

namespace vxa::test {

namespace {

using Files = std::map<std::string, std::shared_ptr<std::string>>;

class MemoryFile final : public File {
  public:
    MemoryFile(const std::string& path, std::shared_ptr<std::string> bytes, bool writable)
        : File(path), bytes_(std::move(bytes)), writable_(writable) {}

    std::size_t read(void* buffer, std::size_t size) override {
        const std::size_t n = pos_ >= bytes_->size() ? 0 : std::min(size, bytes_->size() - pos_);
        if (n > 0)
            std::memcpy(buffer, bytes_->data() + pos_, n);
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
    void seek(std::uint64_t position) override { pos_ = position; }
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

class MemoryFileSystem final : public FileSystem {
  public:
    explicit MemoryFileSystem(Files& files) : files_(files) {}

    bool fileExists(const std::string& path) override { return files_.contains(path); }
    std::unique_ptr<File> openRead(const std::string& path) override {
        if (!fileExists(path))
            throw IoError(kFileNotFound, path);
        return std::make_unique<MemoryFile>(path, files_[path], false);
    }
    WriteTarget inspectTarget(const std::string& path) override {
        return {fileExists(path) ? WriteTarget::Kind::Regular : WriteTarget::Kind::New, path};
    }
    std::unique_ptr<File> openWrite(const std::string& path) override {
        return std::make_unique<MemoryFile>(path, files_.at(path), true);
    }
    std::unique_ptr<File> createUnnamed(const std::string&) override { return nullptr; }
    std::unique_ptr<File> createNamed(const std::string& target, std::string& name) override {
        name = target + ".tmp";
        files_[name] = std::make_shared<std::string>();
        return std::make_unique<MemoryFile>(target, files_[name], true);
    }
    void rename(const std::string& from, const std::string& to) override {
        files_[to] = files_.at(from);
        files_.erase(from);
    }
    void remove(const std::string& path) noexcept override { files_.erase(path); }

  private:
    Files& files_;
};

// A file whose every operation is a step of the file system that opened it.
class FaultyFile final : public File {
  public:
    FaultyFile(TestFileSystem& fs, std::unique_ptr<File> inner)
        : File(inner->path()), fs_(fs), inner_(std::move(inner)) {}

    std::size_t read(void* buffer, std::size_t size) override {
        return inner_->read(buffer, fs_.step("read") && size > 0 ? size - 1 : size);
    }
    void write(const void* buffer, std::size_t size) override {
        fs_.step("write");
        inner_->write(buffer, size);
    }
    void seek(std::uint64_t position) override { inner_->seek(position); }
    std::uint64_t size() override { return fs_.step("size"), inner_->size(); }
    void flush() override { fs_.step("flush"), inner_->flush(); }
    void close() override { fs_.step("close"), inner_->close(); }
    void setOwner(std::uint32_t uid, std::uint32_t gid) override {
        fs_.step("chown"), inner_->setOwner(uid, gid);
    }
    void setMode(std::uint32_t mode) override { fs_.step("chmod"), inner_->setMode(mode); }
    std::string link() override { return fs_.step("link"), inner_->link(); }

  private:
    TestFileSystem& fs_;
    std::unique_ptr<File> inner_;
};

}  // namespace

TestFileSystem::TestFileSystem(Backing backing)
    : memory_(backing == Backing::Memory ? std::make_unique<MemoryFileSystem>(files) : nullptr),
      inner_(memory_ ? *memory_ : RealFileSystem()) {}

TestFileSystem::~TestFileSystem() = default;

bool TestFileSystem::step(const char* name) {
    if (!memory_)
        trace_.emplace_back(name);
    if (++steps_ != failAt_)
        return false;
    if (!shortRead_)
        ThrowErrno(errnum_);
    return true;
}

std::unique_ptr<File> TestFileSystem::wrap(std::unique_ptr<File> file) {
    return file ? std::make_unique<FaultyFile>(*this, std::move(file)) : nullptr;
}

}  // namespace vxa::test
