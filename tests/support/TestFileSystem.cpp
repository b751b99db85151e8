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
        if (bytes_->size() < pos_ + size)
            bytes_->resize(pos_ + size);
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

    bool fileExists(const std::string& path) override { return files_.count(path) != 0; }
    std::unique_ptr<File> openRead(const std::string& path) override {
        const auto it = files_.find(path);
        if (it == files_.end())
            throw IoError(kFileNotFound, path);
        return std::make_unique<MemoryFile>(path, it->second, false);
    }
    WriteTarget inspectTarget(const std::string& path) override {
        using Kind = WriteTarget::Kind;
        return {fileExists(path) ? Kind::Regular : Kind::New, path, 0644};
    }
    std::unique_ptr<File> openWrite(const std::string& path) override {
        return std::make_unique<MemoryFile>(path, files_.at(path), true);
    }
    std::unique_ptr<File> createUnnamed(const std::string&) override { return nullptr; }
    std::unique_ptr<File> createNamed(const std::string& target, std::string& name) override {
        name = target + ".tmp" + std::to_string(++temps_);
        auto bytes = std::make_shared<std::string>();
        files_[name] = bytes;
        return std::make_unique<MemoryFile>(target, bytes, true);
    }
    void rename(const std::string& from, const std::string& to) override {
        const auto it = files_.find(from);
        if (it == files_.end())
            throw IoError(kFileNotFound, to);
        files_[to] = it->second;
        files_.erase(from);
    }
    void remove(const std::string& path) noexcept override { files_.erase(path); }

  private:
    Files& files_;
    int temps_ = 0;
};

class FaultyFile final : public File {
  public:
    FaultyFile(TestFileSystem& fs, std::unique_ptr<File> inner)
        : File(inner->path()), fs_(fs), inner_(std::move(inner)) {}

    std::size_t read(void* buffer, std::size_t size) override {
        if (fs_.step("read"))
            return inner_->read(buffer, size > 0 ? size - 1 : 0);
        return inner_->read(buffer, size);
    }
    void write(const void* buffer, std::size_t size) override {
        fs_.step("write");
        inner_->write(buffer, size);
    }
    void seek(std::uint64_t position) override { inner_->seek(position); }
    std::uint64_t size() override {
        fs_.step("size");
        return inner_->size();
    }
    void flush() override {
        fs_.step("flush");
        inner_->flush();
    }
    void close() override {
        fs_.step("close");
        inner_->close();
    }
    void setOwner(std::uint32_t uid, std::uint32_t gid) override {
        fs_.step("chown");
        inner_->setOwner(uid, gid);
    }
    void setMode(std::uint32_t mode) override {
        fs_.step("chmod");
        inner_->setMode(mode);
    }
    std::string link() override {
        fs_.step("link");
        return inner_->link();
    }

  private:
    TestFileSystem& fs_;
    std::unique_ptr<File> inner_;
};

std::unique_ptr<File> Wrap(TestFileSystem& fs, std::unique_ptr<File> file) {
    return file ? std::make_unique<FaultyFile>(fs, std::move(file)) : nullptr;
}

}  // namespace

TestFileSystem::TestFileSystem(Backing backing)
    : memory_(backing == Backing::Memory ? std::make_unique<MemoryFileSystem>(files) : nullptr),
      inner_(memory_ ? *memory_ : RealFileSystem()) {}

TestFileSystem::~TestFileSystem() = default;

void TestFileSystem::failStep(int step, int errnum) {
    failAt_ = step;
    errnum_ = errnum;
    shortRead_ = false;
}

void TestFileSystem::shortenRead(int step) {
    failAt_ = step;
    shortRead_ = true;
}

void TestFileSystem::reset() {
    trace_.clear();
    steps_ = 0;
    failAt_ = 0;
    shortRead_ = false;
}

bool TestFileSystem::step(const char* name) {
    if (!memory_)
        trace_.emplace_back(name);
    if (++steps_ != failAt_)
        return false;
    if (shortRead_)
        return true;
    ThrowErrno(errnum_);
}

std::unique_ptr<File> TestFileSystem::openRead(const std::string& path) {
    if (onOpen)
        onOpen();
    step("open");
    return Wrap(*this, inner_.openRead(path));
}

std::optional<std::uint64_t> TestFileSystem::fileSize(const std::string& path) {
    if (const auto it = sizes.find(path); it != sizes.end())
        return it->second;
    return inner_.fileSize(path);
}

WriteTarget TestFileSystem::inspectTarget(const std::string& path) {
    step("inspect");
    return inner_.inspectTarget(path);
}

std::unique_ptr<File> TestFileSystem::openWrite(const std::string& path) {
    step("open");
    return Wrap(*this, inner_.openWrite(path));
}

std::unique_ptr<File> TestFileSystem::createUnnamed(const std::string& target) {
    if (refuseUnnamed || memory_)
        return nullptr;
    step("create");
    return Wrap(*this, inner_.createUnnamed(target));
}

std::unique_ptr<File> TestFileSystem::createNamed(const std::string& target, std::string& name) {
    step("create");
    return Wrap(*this, inner_.createNamed(target, name));
}

void TestFileSystem::rename(const std::string& from, const std::string& to) {
    step("rename");
    inner_.rename(from, to);
}

}  // namespace vxa::test
