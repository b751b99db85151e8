#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace vxa {

// What the system says of an open file that changes whenever another
// program writes to it: its length and its modification time. Not its change
// time, which also moves when the file is renamed, linked or made read-only
// while it still holds the same bytes.
struct FileStamp {
    std::uint64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// An open file. Every failure throws IoError with the runtime's text and
// path(), the file it names.
class File {
  public:
    virtual ~File() = default;
    // Reads up to `size` bytes at the current position; returns how many were
    // read, fewer only at the end of the file.
    virtual std::size_t read(void* buffer, std::size_t size) = 0;
    virtual void write(const void* buffer, std::size_t size) = 0;
    virtual std::uint64_t size() = 0;
    // Pushes written data to the disk (fsync), so a rename after it is durable.
    virtual void flush() = 0;
    // Closes the file. Some write errors are reported only here (network file
    // systems, quotas), so a written file must be closed by this, not left to
    // the destructor, which closes without a word.
    virtual void close() = 0;

    // For the new file of a write (FileSystem::createUnnamed, createNamed):
    // gives it this owner and group where it has others, which only root may
    // do; then its permission bits. (On Windows, where a new file's owner and
    // access come from its creator and folder, the first does nothing and
    // the second sets the file's attributes.)
    virtual void setOwner(std::uint32_t uid, std::uint32_t gid) = 0;
    virtual void setMode(std::uint32_t mode) = 0;
    // Gives a file without a name a short free name in its folder and
    // returns that path.
    virtual std::string link() = 0;

    // Reads up to `size` bytes at `position`, leaving the current position
    // alone; returns how many were read, fewer only at the end of the file.
    virtual std::size_t readAt(void* buffer, std::size_t size, std::uint64_t position) = 0;
    // Appends bytes [position, position + size) of this file to `out` at its
    // current position; throws "Read beyond end of file" when this file ends
    // first. The default reads and writes through a buffer; a real file lets
    // the kernel copy, which on a file system that shares extents can cost
    // nothing.
    virtual void copyTo(File& out, std::uint64_t position, std::uint64_t size);
    // The stamp of the open file; the default knows only its size.
    virtual FileStamp stamp() { return {size(), 0}; }
    // The system's descriptor of the file, or -1 for one that has none.
    virtual int descriptor() const { return -1; }

    // readAt() of exactly `size` bytes or "Read beyond end of file".
    void readExactAt(void* buffer, std::size_t size, std::uint64_t position);

    // Reads `width` bytes at each of `positions`, which ascend, into `out`
    // one after the other; throws "Read beyond end of file" when one of them
    // runs past the end, also when the file shrinks meanwhile. Positions
    // close to each other are read in one readAt, others one each. (Not a
    // mapping: unmapping in a process whose other threads run costs every
    // processor a flush of its address cache, which two threads reading
    // halves of a load paid more for than the reads.)
    void readGather(std::span<const std::uint64_t> positions, std::size_t width, std::uint8_t* out);

    // The file errors name: the one opened, or the target a new file is
    // written for.
    const std::string& path() const { return path_; }

  protected:
    explicit File(std::string path = {}) : path_(std::move(path)) {}

  private:
    std::string path_;
};

// What a write to a path meets there.
struct WriteTarget {
    enum class Found {
        New,      // nothing: a new file is made
        Regular,  // a regular file, which a new one replaces
        Special,  // a device, FIFO or socket, which is written into
    };
    Found Kind = Found::New;
    // Where the data goes: the name a chain of symbolic links ends at (the
    // links stay), else the path itself.
    std::string Path;
    // The permission bits of the file replaced, else those open(2) gives a
    // new file under the process's umask; on Windows its attributes.
    std::uint32_t Mode = 0;
    // Owner and group of the file replaced.
    std::uint32_t Uid = 0;
    std::uint32_t Gid = 0;
};

// The seam between the program and the disk. Production code uses
// RealFileSystem(); tests wrap it to make chosen operations fail, since they
// run as root where permissions alone cannot produce failures.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // True only for an existing regular file (a directory does not count).
    virtual bool fileExists(const std::string& path) = 0;
    // Opens an existing file for reading only.
    virtual std::unique_ptr<File> openRead(const std::string& path) = 0;
    // Length of the regular file at `path`; nullopt when there is none (a
    // directory does not count). The default asks the opened file.
    virtual std::optional<std::uint64_t> fileSize(const std::string& path);

    // The write side, used by AtomicFile.
    // What a write to `path` meets. Throws IoError, before anything is
    // written, where the write must not happen: a loop of links ("I/O error
    // 40"), a directory ("I/O error 21"), an existing file the process may
    // not write ("File access denied", as opening it for writing would say).
    virtual WriteTarget inspectTarget(const std::string& path) = 0;
    // Opens an existing file for writing into it as it is (a Special target).
    virtual std::unique_ptr<File> openWrite(const std::string& path) = 0;
    // A new file without a name in the folder of `target`, to replace it;
    // nullptr where the file system has no such files.
    virtual std::unique_ptr<File> createUnnamed(const std::string& target) = 0;
    // A new file under a short free name in the folder of `target`, returned
    // in `name`. A SIGINT, SIGTERM or SIGHUP removes it (TempFiles.h) until
    // it is renamed or removed.
    virtual std::unique_ptr<File> createNamed(const std::string& target, std::string& name) = 0;
    // Atomically replaces `to` by `from`; errors name `to`.
    virtual void rename(const std::string& from, const std::string& to) = 0;
    // Removes a file; failures are ignored (used for clean-up).
    virtual void remove(const std::string& path) noexcept = 0;
};

// The process-wide real file system. It holds no state.
FileSystem& RealFileSystem();

}  // namespace vxa
