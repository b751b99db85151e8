#include "FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "IoError.h"

namespace vxa {

void File::readExact(void* buffer, std::size_t size) {
    if (read(buffer, size) != size)
        throw IoError(kReadBeyondEnd);
}

std::optional<std::uint64_t> FileSystem::fileSize(const std::string& path) {
    if (!fileExists(path))
        return std::nullopt;
    return openRead(path)->size();
}

namespace {

class PosixFile final : public File {
  public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override { ::close(fd_); }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    std::size_t read(void* buffer, std::size_t size) override {
        auto* out = static_cast<char*>(buffer);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::read(fd_, out + done, size - done);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                ThrowErrno(errno);
            }
            if (n == 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        return done;
    }

    void write(const void* buffer, std::size_t size) override {
        const auto* in = static_cast<const char*>(buffer);
        while (size > 0) {
            const ssize_t n = ::write(fd_, in, size);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                ThrowErrno(errno);
            }
            in += n;
            size -= static_cast<std::size_t>(n);
        }
    }

    void seek(std::uint64_t position) override {
        if (::lseek(fd_, static_cast<off_t>(position), SEEK_SET) < 0)
            ThrowErrno(errno);
    }

    std::uint64_t size() override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0)
            ThrowErrno(errno);
        return static_cast<std::uint64_t>(st.st_size);
    }

    void flush() override {
        if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS)
            ThrowErrno(errno);
    }

  private:
    int fd_;
};

class PosixFileSystem final : public FileSystem {
  public:
    bool fileExists(const std::string& path) override {
        struct stat st {};
        return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }

    std::unique_ptr<File> openRead(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            ThrowErrno(errno);
        return std::make_unique<PosixFile>(fd);
    }

    std::unique_ptr<File> createTempBeside(const std::string& target,
                                           std::string& tempPath) override {
        std::string name = target + ".XXXXXX";
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0)
            ThrowErrno(errno);
        tempPath = name;
        return std::make_unique<PosixFile>(fd);
    }

    void rename(const std::string& from, const std::string& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0)
            ThrowErrno(errno);
    }

    void remove(const std::string& path) noexcept override { ::unlink(path.c_str()); }

    std::optional<std::uint64_t> fileSize(const std::string& path) override {
        struct stat st {};
        if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(st.st_size);
    }

    std::string resolveLinks(const std::string& path) override {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        // A dangling link has no real path: the rename then replaces the link.
        char* real = ::realpath(path.c_str(), nullptr);
        if (!real)
            return path;
        std::string out(real);
        std::free(real);
        return out;
    }

    void copyPermissions(const std::string& model, const std::string& path) override {
        struct stat st {};
        mode_t mode = 0;
        if (::stat(model.c_str(), &st) == 0) {
            mode = st.st_mode & 07777;
        } else {
            // A new file gets what open(2) would have given it; mkstemp makes 0600.
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        if (::chmod(path.c_str(), mode) != 0)
            ThrowErrno(errno);
    }
};

}  // namespace

FileSystem& RealFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

}  // namespace vxa
