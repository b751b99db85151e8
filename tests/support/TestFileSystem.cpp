#include "TestFileSystem.h"

#include "core/io/IoError.h"

namespace vxa::test {

namespace {

class FaultyFile final : public File {
  public:
    FaultyFile(TestFileSystem& fs, std::unique_ptr<File> inner)
        : File(inner->path()), fs_(fs), inner_(std::move(inner)) {}

    std::size_t read(void* buffer, std::size_t size) override {
        return at("read").read(buffer, size);
    }
    void write(const void* buffer, std::size_t size) override { at("write").write(buffer, size); }
    std::size_t readAt(void* buffer, std::size_t size, std::uint64_t position) override {
        fs_.step("read", position + size);
        return inner_->readAt(buffer, size, position);
    }
    std::uint64_t size() override { return at("size").size(); }
    void flush() override { at("flush").flush(); }
    void close() override { at("close").close(); }
    void setOwner(std::uint32_t uid, std::uint32_t gid) override { at("chown").setOwner(uid, gid); }
    void setMode(std::uint32_t mode) override { at("chmod").setMode(mode); }
    std::string link() override { return at("link").link(); }

  private:
    // Counts the step, which may fail, and gives the real file to do it.
    File& at(const char* step) {
        fs_.step(step);
        return *inner_;
    }
    TestFileSystem& fs_;
    std::unique_ptr<File> inner_;
};

}  // namespace

FileSystem& TestFileSystem::step(const char* name, std::uint64_t end) {
    const std::lock_guard lock(mutex_);
    trace_.emplace_back(name);
    if (trace_.size() == static_cast<std::size_t>(failAt_) || end > badFrom_)
        ThrowErrno(errnum_);
    return disk_;
}

std::unique_ptr<File> TestFileSystem::wrap(std::unique_ptr<File> file) {
    return file ? std::make_unique<FaultyFile>(*this, std::move(file)) : nullptr;
}

}  // namespace vxa::test
