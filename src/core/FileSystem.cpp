#include "FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include "IoError.h"

namespace vxa {

namespace {

// The buffer of a copy that goes through memory.
constexpr std::size_t kCopyChunk = std::size_t{1} << 20;

}  // namespace

void File::readExact(void* buffer, std::size_t size) {
    if (read(buffer, size) != size)
        throw IoError(kReadBeyondEnd);
}

void File::readExactAt(void* buffer, std::size_t size, std::uint64_t position) {
    if (readAt(buffer, size, position) != size)
        throw IoError(kReadBeyondEnd);
}

std::size_t File::readAt(void* buffer, std::size_t size, std::uint64_t position) {
    seek(position);
    return read(buffer, size);
}

void File::copyTo(File& out, std::uint64_t position, std::uint64_t size) {
    if (size == 0)
        return;
    const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(size, kCopyChunk));
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(chunk);
    while (size > 0) {
        const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(size, chunk));
        readExactAt(buffer.get(), step, position);
        out.write(buffer.get(), step);
        position += step;
        size -= step;
    }
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

    std::uint64_t size() override { return static_cast<std::uint64_t>(status().st_size); }

    std::size_t readAt(void* buffer, std::size_t size, std::uint64_t position) override {
        auto* out = static_cast<char*>(buffer);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n =
                ::pread(fd_, out + done, size - done, static_cast<off_t>(position + done));
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

    void copyTo(File& out, std::uint64_t position, std::uint64_t size) override;

    FileStamp stamp() override {
        const struct stat st = status();
        return {static_cast<std::uint64_t>(st.st_size), Nanoseconds(st.st_mtim),
                Nanoseconds(st.st_ctim)};
    }

    int descriptor() const override { return fd_; }

    void flush() override {
        if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS)
            ThrowErrno(errno);
    }

  private:
    static std::int64_t Nanoseconds(const timespec& t) {
        return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
    }
    struct stat status() const {
        struct stat st {};
        if (::fstat(fd_, &st) != 0)
            ThrowErrno(errno);
        return st;
    }
    // Copies with copy_file_range from `position` to the current position of
    // `to`; returns how many bytes are left when the kernel refuses to copy
    // between these files (another file system, an old kernel, a file system
    // that cannot), else 0.
    std::uint64_t kernelCopy(int to, std::uint64_t position, std::uint64_t size);

    int fd_;
    // The device of a file the kernel refused to copy into, so that the
    // other ranges of that compile go through memory at once.
    std::optional<dev_t> refusedDevice_;
};

std::uint64_t PosixFile::kernelCopy(int to, std::uint64_t position, std::uint64_t size) {
    auto from = static_cast<off_t>(position);
    while (size > 0) {
        const ssize_t n = ::copy_file_range(fd_, &from, to, nullptr, size, 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)
                return size;
            ThrowErrno(errno);
        }
        if (n == 0)
            throw IoError(kReadBeyondEnd);
        size -= static_cast<std::uint64_t>(n);
    }
    return 0;
}

void PosixFile::copyTo(File& out, std::uint64_t position, std::uint64_t size) {
    const int to = out.descriptor();
    struct stat st {};
    if (to >= 0 && ::fstat(to, &st) != 0)
        ThrowErrno(errno);
    if (to < 0 || refusedDevice_ == st.st_dev || size == 0) {
        File::copyTo(out, position, size);
        return;
    }
    const off_t target = ::lseek(to, 0, SEEK_CUR);
    if (target < 0)
        ThrowErrno(errno);
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
            refusedDevice_ == st.st_dev ? piece : kernelCopy(to, position, piece);
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
