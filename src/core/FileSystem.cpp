#include "FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "IoError.h"
#include "TempFiles.h"
#include "WritePaths.h"

namespace vxa {

void File::readExact(void* buffer, std::size_t size) {
    if (read(buffer, size) != size)
        throw IoError(kReadBeyondEnd, path());
}

std::optional<std::uint64_t> FileSystem::fileSize(const std::string& path) {
    if (!fileExists(path))
        return std::nullopt;
    return openRead(path)->size();
}

namespace {

class PosixFile final : public File {
  public:
    PosixFile(int fd, const std::string& path) : File(path), fd_(fd) {}
    ~PosixFile() override {
        if (fd_ >= 0)
            ::close(fd_);
    }
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
                fail();
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
                fail();
            }
            in += n;
            size -= static_cast<std::size_t>(n);
        }
    }

    void seek(std::uint64_t position) override {
        if (::lseek(fd_, static_cast<off_t>(position), SEEK_SET) < 0)
            fail();
    }

    std::uint64_t size() override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0)
            fail();
        return static_cast<std::uint64_t>(st.st_size);
    }

    void flush() override {
        if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS)
            fail();
    }

    void close() override {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            fail();
    }

    void setOwner(std::uint32_t uid, std::uint32_t gid) override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0)
            fail();
        if ((st.st_uid != uid || st.st_gid != gid) && ::fchown(fd_, uid, gid) != 0)
            fail();
    }

    void setMode(std::uint32_t mode) override {
        if (::fchmod(fd_, static_cast<mode_t>(mode)) != 0)
            fail();
    }

    std::string link() override {
        // The one way to name an O_TMPFILE file without privileges: the
        // kernel's link to the open file under /proc.
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        const std::string folder = FolderOf(path());
        for (int attempt = 0;; ++attempt) {
            std::string name = RandomTempPath(folder);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                RegisterTempFile(name);
                return name;
            }
            if (errno != EEXIST || attempt == 100)
                fail();
        }
    }

  private:
    [[noreturn]] void fail() { ThrowErrno(errno, path()); }

    int fd_;
};

// The bits open(2) gives a new file: 0666 under the process's umask.
std::uint32_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

class PosixFileSystem final : public FileSystem {
  public:
    bool fileExists(const std::string& path) override {
        struct stat st {};
        return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }

    std::unique_ptr<File> openRead(const std::string& path) override {
        return open(path, O_RDONLY | O_CLOEXEC);
    }

    std::optional<std::uint64_t> fileSize(const std::string& path) override {
        struct stat st {};
        if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(st.st_size);
    }

    WriteTarget inspectTarget(const std::string& path) override {
        WriteTarget t;
        struct stat st {};
        if (path.empty())
            ThrowErrno(ENOENT, path);
        if (::stat(path.c_str(), &st) != 0) {
            // ENOENT: nothing there, or a dangling link to the file to make.
            // Anything else (ELOOP, ENOTDIR, EACCES) stops the write.
            if (errno != ENOENT)
                ThrowErrno(errno, path);
            t.path = EndOfLinks(path);
            t.mode = NewFileMode();
            return t;
        }
        if (S_ISDIR(st.st_mode))
            ThrowErrno(EISDIR, path);
        // As opening it for writing would be refused; root passes, as it does
        // there. A target on a read-only file system is refused here too.
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
            ThrowErrno(errno, path);
        if (!S_ISREG(st.st_mode)) {
            t.kind = WriteTarget::Kind::Special;
            t.path = path;
            return t;
        }
        t.kind = WriteTarget::Kind::Regular;
        t.path = EndOfLinks(path);
        t.mode = st.st_mode & 07777;
        t.uid = st.st_uid;
        t.gid = st.st_gid;
        return t;
    }

    std::unique_ptr<File> openWrite(const std::string& path) override {
        // Without O_NONBLOCK a FIFO with no reader blocks here until one
        // comes, as it does for cp and for the shell's ">": whoever names a
        // FIFO is about to start its reader, and failing with ENXIO would race
        // with that. No O_TRUNC: a device or FIFO has nothing to truncate.
        return open(path, O_WRONLY | O_NOCTTY | O_CLOEXEC);
    }

    std::unique_ptr<File> createUnnamed(const std::string& target) override {
        // Linking it needs /proc; without it the named fallback is used.
        static const bool haveProc = ::access("/proc/self/fd", X_OK) == 0;
        if (!haveProc)
            return nullptr;
        const int fd = ::open(FolderOf(target).c_str(), O_RDWR | O_TMPFILE | O_CLOEXEC, 0600);
        if (fd < 0) {
            // What file systems without unnamed files answer.
            if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
                return nullptr;
            ThrowErrno(errno, target);
        }
        return std::make_unique<PosixFile>(fd, target);
    }

    std::unique_ptr<File> createNamed(const std::string& target, std::string& name) override {
        std::string pattern = RandomTempPath(FolderOf(target));
        pattern.replace(pattern.size() - 6, 6, "XXXXXX");
        const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd < 0)
            ThrowErrno(errno, target);
        RegisterTempFile(pattern);
        name = pattern;
        return std::make_unique<PosixFile>(fd, target);
    }

    void rename(const std::string& from, const std::string& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0)
            ThrowErrno(errno, to);
        ForgetTempFile(from);
    }

    void remove(const std::string& path) noexcept override {
        ::unlink(path.c_str());
        ForgetTempFile(path);
    }

  private:
    static std::unique_ptr<File> open(const std::string& path, int flags) {
        const int fd = ::open(path.c_str(), flags);
        if (fd < 0)
            ThrowErrno(errno, path);
        return std::make_unique<PosixFile>(fd, path);
    }
};

}  // namespace

FileSystem& RealFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

}  // namespace vxa
