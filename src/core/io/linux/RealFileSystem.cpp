// The POSIX file system: every file operation of the program on Linux.
#include "core/io/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include "core/io/IoError.h"
#include "core/io/TempFiles.h"
#include "core/io/WritePaths.h"

namespace vxa {

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
        return fill(buffer, size,
                    [&](char* at, std::size_t left, std::size_t) { return ::read(fd_, at, left); });
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

    std::uint64_t size() override { return static_cast<std::uint64_t>(status().st_size); }

    std::size_t readAt(void* buffer, std::size_t size, std::uint64_t position) override {
        return fill(buffer, size, [&](char* at, std::size_t left, std::size_t done) {
            return ::pread(fd_, at, left, static_cast<off_t>(position + done));
        });
    }

    void copyTo(File& out, std::uint64_t position, std::uint64_t size) override;

    FileStamp stamp() override {
        const struct stat st = status();
        return {static_cast<std::uint64_t>(st.st_size), Nanoseconds(st.st_mtim)};
    }

    int descriptor() const override { return fd_; }

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
    // Reads until `size` bytes or the end of the file, whatever pieces the
    // kernel hands back; `step(at, left, done)` is one read or pread.
    template <typename Step>
    std::size_t fill(void* buffer, std::size_t size, Step step) {
        auto* out = static_cast<char*>(buffer);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = step(out + done, size - done, done);
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
    static std::int64_t Nanoseconds(const timespec& t) {
        return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
    }
    struct stat status() const {
        struct stat st {};
        if (::fstat(fd_, &st) != 0)
            ThrowErrno(errno, path());
        return st;
    }
    // Copies with copy_file_range from `position` to the current position of
    // `to`; returns how many bytes are left when the kernel refuses to copy
    // between these files (another file system, an old kernel, a file system
    // that cannot), else 0.
    std::uint64_t kernelCopy(File& out, std::uint64_t position, std::uint64_t size);

    int fd_;
    // The device of a file the kernel refused to copy into, so that the
    // other ranges of that compile go through memory at once.
    std::optional<dev_t> refusedDevice_;
};

// The bits open(2) gives a new file: 0666 under the process's umask.
std::uint32_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::uint64_t PosixFile::kernelCopy(File& out, std::uint64_t position, std::uint64_t size) {
    const int to = out.descriptor();
    auto from = static_cast<off_t>(position);
    while (size > 0) {
        const ssize_t n = ::copy_file_range(fd_, &from, to, nullptr, size, 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)
                return size;
            // A full disk or quota is the target's; anything else is taken
            // as the source's.
            const bool target = errno == ENOSPC || errno == EDQUOT || errno == EFBIG;
            ThrowErrno(errno, target ? out.path() : path());
        }
        if (n == 0)
            throw IoError(kReadBeyondEnd, path());
        size -= static_cast<std::uint64_t>(n);
    }
    return 0;
}

void PosixFile::copyTo(File& out, std::uint64_t position, std::uint64_t size) {
    const int to = out.descriptor();
    struct stat st {};
    if (to >= 0 && ::fstat(to, &st) != 0)
        ThrowErrno(errno, out.path());
    if (to < 0 || refusedDevice_ == st.st_dev || size == 0) {
        File::copyTo(out, position, size);
        return;
    }
    const off_t target = ::lseek(to, 0, SEEK_CUR);
    if (target < 0)
        ThrowErrno(errno, out.path());
    // A file system that shares extents (XFS with reflink, Btrfs) shares
    // only whole blocks, at offsets that are multiples of its block size in
    // both files. When the source and the target offset agree within a
    // block, the range is cut into a head up to the first block boundary,
    // the whole blocks, and a tail, so that the middle can be shared.
    const std::uint64_t block =
        st.st_blksize > 0 ? static_cast<std::uint64_t>(st.st_blksize) : 4096;
    std::uint64_t pieces[3] = {size, 0, 0};
    if (position % block == static_cast<std::uint64_t>(target) % block) {
        const std::uint64_t head = (block - position % block) % block;
        if (size >= head + block) {
            const std::uint64_t middle = (size - head) / block * block;
            pieces[0] = head;
            pieces[1] = middle;
            pieces[2] = size - head - middle;
        }
    }
    for (const std::uint64_t piece : pieces) {
        const std::uint64_t left =
            refusedDevice_ == st.st_dev ? piece : kernelCopy(out, position, piece);
        if (left > 0)
            refusedDevice_ = st.st_dev;
        File::copyTo(out, position + piece - left, left);
        position += piece;
    }
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
            t.Path = EndOfLinks(path);
            t.Mode = NewFileMode();
            return t;
        }
        if (S_ISDIR(st.st_mode))
            ThrowErrno(EISDIR, path);
        // As opening it for writing would be refused; root passes, as it does
        // there. A target on a read-only file system is refused here too.
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
            ThrowErrno(errno, path);
        if (!S_ISREG(st.st_mode)) {
            t.Kind = WriteTarget::Found::Special;
            t.Path = path;
            return t;
        }
        t.Kind = WriteTarget::Found::Regular;
        t.Path = EndOfLinks(path);
        t.Mode = st.st_mode & 07777;
        t.Uid = st.st_uid;
        t.Gid = st.st_gid;
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
