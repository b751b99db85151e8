#include "FaultyFileSystem.h"

#include "core/IoError.h"

namespace vxa::test {

namespace {

class FaultyFile final : public File {
  public:
    FaultyFile(FaultyFileSystem& fs, std::unique_ptr<File> inner)
        : fs_(fs), inner_(std::move(inner)) {}

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

  private:
    FaultyFileSystem& fs_;
    std::unique_ptr<File> inner_;
};

}  // namespace

void FaultyFileSystem::failStep(int step, int errnum) {
    failAt_ = step;
    errnum_ = errnum;
    shortRead_ = false;
}

void FaultyFileSystem::shortenRead(int step) {
    failAt_ = step;
    shortRead_ = true;
}

void FaultyFileSystem::reset() {
    trace_.clear();
    failAt_ = 0;
    shortRead_ = false;
}

bool FaultyFileSystem::step(const char* name) {
    trace_.emplace_back(name);
    if (steps() != failAt_)
        return false;
    if (shortRead_)
        return true;
    ThrowErrno(errnum_);
}

std::unique_ptr<File> FaultyFileSystem::openRead(const std::string& path) {
    if (onOpen)
        onOpen();
    step("open");
    return std::make_unique<FaultyFile>(*this, inner_.openRead(path));
}

std::unique_ptr<File> FaultyFileSystem::createTempBeside(const std::string& target,
                                                         std::string& tempPath) {
    step("create");
    return std::make_unique<FaultyFile>(*this, inner_.createTempBeside(target, tempPath));
}

void FaultyFileSystem::rename(const std::string& from, const std::string& to) {
    step("rename");
    inner_.rename(from, to);
}

void FaultyFileSystem::copyPermissions(const std::string& model, const std::string& path) {
    step("chmod");
    inner_.copyPermissions(model, path);
}

std::optional<std::uint64_t> FaultyFileSystem::fileSize(const std::string& path) {
    if (const auto it = sizes.find(path); it != sizes.end())
        return it->second;
    return inner_.fileSize(path);
}

}  // namespace vxa::test
