#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vxa {

// What the system says of an open file that changes whenever another
// program writes to it: its length, its modification time and its change
// time (which even a writer that puts the modification time back changes).
struct FileStamp {
    std::uint64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    std::int64_t ChangedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// An open file. Every failure throws IoError with the runtime's text.
class File {
  public:
    virtual ~File() = default;
    // Reads up to `size` bytes at the current position; returns how many were
    // read, fewer only at the end of the file.
    virtual std::size_t read(void* buffer, std::size_t size) = 0;
    virtual void write(const void* buffer, std::size_t size) = 0;
    virtual void seek(std::uint64_t position) = 0;
    virtual std::uint64_t size() = 0;
    // Pushes written data to the disk (fsync), so a rename after it is durable.
    virtual void flush() = 0;

    // Reads up to `size` bytes at `position`; returns how many were read,
    // fewer only at the end of the file. A file that can read without a
    // position of its own (pread) leaves the current position alone; this
    // default seeks and reads.
    virtual std::size_t readAt(void* buffer, std::size_t size, std::uint64_t position);
    // Appends bytes [position, position + size) of this file to `out` at its
    // current position; throws "Read beyond end of file" when this file ends
    // first. The default reads and writes through a buffer; a real file lets
    // the kernel copy, which on a file system that shares extents can cost
    // nothing.
    virtual void copyTo(File& out, std::uint64_t position, std::uint64_t size);
    // The stamp of the open file; the default knows only its size.
    virtual FileStamp stamp() { return {size(), 0, 0}; }
    // The system's descriptor of the file, or -1 for one that has none.
    virtual int descriptor() const { return -1; }

    // Reads exactly `size` bytes or throws "Read beyond end of file".
    void readExact(void* buffer, std::size_t size);
    // readAt() of exactly `size` bytes or "Read beyond end of file".
    void readExactAt(void* buffer, std::size_t size, std::uint64_t position);
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
    // Creates a new file next to `target` that no one else uses, for writing;
    // its name is returned in `tempPath`.
    virtual std::unique_ptr<File> createTempBeside(const std::string& target,
                                                   std::string& tempPath) = 0;
    // Atomically replaces `to` by `from`.
    virtual void rename(const std::string& from, const std::string& to) = 0;
    // Removes a file; failures are ignored (used for clean-up).
    virtual void remove(const std::string& path) noexcept = 0;
    // Gives `path` the permission bits of `model` when `model` exists, else
    // the bits a newly created file gets under the process's umask.
    virtual void copyPermissions(const std::string& model, const std::string& path) = 0;
    // Length of the regular file at `path`; nullopt when there is none (a
    // directory does not count). The default asks the opened file.
    virtual std::optional<std::uint64_t> fileSize(const std::string& path);
    // The path a replacing write to `path` must rename onto: the file a
    // symbolic link finally points to, so the link survives; else `path`.
    virtual std::string resolveLinks(const std::string& path) { return path; }
};

// The process-wide real file system. It holds no state.
FileSystem& RealFileSystem();

}  // namespace vxa
