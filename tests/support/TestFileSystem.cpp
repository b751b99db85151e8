#include "TestFileSystem.h"

#include "core/IoError.h"

namespace vxa::test {

namespace {

class FaultyFile final : public File {
  public:
    FaultyFile(TestFileSystem& fs, std::unique_ptr<File> inner)
        : File(inner->path()), fs_(fs), inner_(std::move(inner)) {}

    std::size_t read(void* buffer, std::size_t size) override {
        fs_.step("read");
        return inner_->read(buffer, size);
    }
    void write(const void* buffer, std::size_t size) override {
        fs_.step("write");
        inner_->write(buffer, size);
    }
    std::size_t readAt(void* buffer, std::size_t size, std::uint64_t position) override {
        fs_.step("read");
        return inner_->readAt(buffer, size, position);
    }
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

}  // namespace

void TestFileSystem::step(const char* name) {
    trace_.emplace_back(name);
    if (trace_.size() == static_cast<std::size_t>(failAt_))
        ThrowErrno(errnum_);
}

std::unique_ptr<File> TestFileSystem::wrap(std::unique_ptr<File> file) {
    return file ? std::make_unique<FaultyFile>(*this, std::move(file)) : nullptr;
}

}  // namespace vxa::test
