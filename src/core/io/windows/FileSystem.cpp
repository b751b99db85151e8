#include "core/io/FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "Replace.h"
#include "Wide.h"
#include "core/io/IoError.h"
#include "core/io/TempFiles.h"
#include "core/io/WritePaths.h"

namespace vxa {

namespace {

// Every file is shared for reading, writing and deleting, so that the
// archive the program holds open can be replaced by a compile onto it, and
// other programs may read and replace the files it reads.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The most one ReadFile or WriteFile call takes.
constexpr std::size_t kMaxCall = std::size_t{1} << 30;
// The attributes a replaced file hands on to the file replacing it.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::int64_t Nanoseconds(const LARGE_INTEGER& t) {
    return t.QuadPart * 100;
}

class WinFile final : public File {
  public:
    WinFile(HANDLE h, const std::string& path, std::string temp = {})
        : File(path), handle_(h), temp_(std::move(temp)) {}
    ~WinFile() override {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    WinFile(const WinFile&) = delete;
    WinFile& operator=(const WinFile&) = delete;

    // The file keeps its own position and every call names its offset, so
    // the handle's shared position never matters.
    std::size_t read(void* buffer, std::size_t size) override {
        const std::size_t n = readAt(buffer, size, position_);
        position_ += n;
        return n;
    }

    void write(const void* buffer, std::size_t size) override {
        const auto* in = static_cast<const char*>(buffer);
        while (size > 0) {
            OVERLAPPED at = At(position_);
            DWORD n = 0;
            if (!WriteFile(handle_, in, static_cast<DWORD>(std::min(size, kMaxCall)), &n, &at))
                fail();
            in += n;
            size -= n;
            position_ += n;
        }
    }

    std::size_t readAt(void* buffer, std::size_t size, std::uint64_t position) override {
        auto* out = static_cast<char*>(buffer);
        std::size_t done = 0;
        while (done < size) {
            OVERLAPPED at = At(position + done);
            DWORD n = 0;
            if (!ReadFile(handle_, out + done, static_cast<DWORD>(std::min(size - done, kMaxCall)),
                          &n, &at)) {
                if (GetLastError() == ERROR_HANDLE_EOF)
                    break;
                fail();
            }
            if (n == 0)
                break;
            done += n;
        }
        return done;
    }

    std::uint64_t size() override {
        LARGE_INTEGER n{};
        if (!GetFileSizeEx(handle_, &n))
            fail();
        return static_cast<std::uint64_t>(n.QuadPart);
    }

    // Size and last-write time, from the open handle.
    FileStamp stamp() override {
        FILE_BASIC_INFO basic{};
        if (!GetFileInformationByHandleEx(handle_, FileBasicInfo, &basic, sizeof basic))
            fail();
        return {size(), Nanoseconds(basic.LastWriteTime)};
    }

    void flush() override {
        // Consoles, pipes and devices have nothing to flush.
        if (!FlushFileBuffers(handle_) && GetLastError() != ERROR_INVALID_HANDLE &&
            GetLastError() != ERROR_INVALID_FUNCTION)
            fail();
    }

    void close() override {
        HANDLE h = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        if (!CloseHandle(h))
            fail();
    }

    // Windows gives a new file the owner and access of its creator and its
    // folder: there is nothing to hand on.
    void setOwner(std::uint32_t, std::uint32_t) override {}

    // The replaced file's attributes (WriteTarget::Mode on Windows).
    void setMode(std::uint32_t attributes) override {
        FILE_BASIC_INFO basic{};  // times of 0 stay as they are
        basic.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
        if (!SetFileInformationByHandle(handle_, FileBasicInfo, &basic, sizeof basic))
            fail();
    }

    // The new file was made under its name, marked for deletion: it loses
    // the mark, and the console handler takes over until the rename.
    std::string link() override {
        RegisterTempFile(temp_);
        if (!MarkForDeletion(handle_, false)) {
            ForgetTempFile(temp_);
            fail();
        }
        return temp_;
    }

    void copyTo(File& out, std::uint64_t position, std::uint64_t size) override;

    static bool MarkForDeletion(HANDLE h, bool mark) {
        FILE_DISPOSITION_INFO info{};
        info.DeleteFile = mark ? TRUE : FALSE;
        return SetFileInformationByHandle(h, FileDispositionInfo, &info, sizeof info);
    }

  private:
    [[noreturn]] void fail() { ThrowLastError(path()); }
    static OVERLAPPED At(std::uint64_t position) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        return at;
    }

    HANDLE handle_;
    std::uint64_t position_ = 0;
    std::string temp_;  // a new file's own name
};

void WinFile::copyTo(File& out, std::uint64_t position, std::uint64_t size) {
    auto* to = dynamic_cast<WinFile*>(&out);
    const std::uint64_t cluster = to && size > 0 ? CloneCluster(handle_, to->handle_) : 0;
    if (cluster == 0 || position % cluster != to->position_ % cluster) {
        File::copyTo(out, position, size);
        return;
    }
    // Whole clusters are shared; the head up to the first cluster boundary
    // and the tail go through memory.
    const std::uint64_t head = std::min(size, (cluster - position % cluster) % cluster);
    File::copyTo(out, position, head);
    position += head;
    size -= head;
    const std::uint64_t shared =
        CloneRange(handle_, to->handle_, position, to->position_, size / cluster * cluster);
    to->position_ += shared;
    File::copyTo(out, position + shared, size - shared);
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9, with any extension, trailing dots or
// blanks: names every folder has, which open the device.
bool IsDeviceName(const std::string& path) {
    const auto sep = path.find_last_of("\\/:");
    std::string base = path.substr(sep == std::string::npos ? 0 : sep + 1);
    base = base.substr(0, base.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (char& c : base)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
        base == "CONOUT$")
        return true;
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
           base[3] >= '1' && base[3] <= '9';
}

class WinFileSystem final : public FileSystem {
  public:
    bool fileExists(const std::string& path) override {
        const DWORD a = path.empty() ? INVALID_FILE_ATTRIBUTES : Attributes(path);
        return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
    }

    std::unique_ptr<File> openRead(const std::string& path) override {
        return open(path, GENERIC_READ);
    }

    std::optional<std::uint64_t> fileSize(const std::string& path) override {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (path.empty() ||
            !GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return std::nullopt;
        return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    }

    WriteTarget inspectTarget(const std::string& path) override;

    std::unique_ptr<File> openWrite(const std::string& path) override {
        return open(path, GENERIC_WRITE);
    }

    // A new file under a free name, marked for deletion at once: whatever
    // ends the process (Ctrl+C, taskkill /F, a crash), the system removes it
    // when its handle goes. Under Wine the mark is the same unlink-on-close.
    std::unique_ptr<File> createUnnamed(const std::string& target) override {
        std::string name;
        HANDLE h = create(target, name);
        if (!WinFile::MarkForDeletion(h, true)) {
            // A file system without the mark: the named way.
            CloseHandle(h);
            DeleteFileW(WidePath(name).c_str());
            return nullptr;
        }
        return std::make_unique<WinFile>(h, target, name);
    }

    std::unique_ptr<File> createNamed(const std::string& target, std::string& name) override {
        HANDLE h = create(target, name);
        RegisterTempFile(name);
        return std::make_unique<WinFile>(h, target);
    }

    void rename(const std::string& from, const std::string& to) override {
        ReplaceByRename(from, to);
    }

    void remove(const std::string& path) noexcept override {
        DeleteFileW(WidePath(path).c_str());
        ForgetTempFile(path);
    }

  private:
    static DWORD Attributes(const std::string& path) {
        return GetFileAttributesW(WidePath(path).c_str());
    }

    static std::unique_ptr<File> open(const std::string& path, DWORD access) {
        HANDLE h = CreateFileW(WidePath(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            ThrowLastError(path);
        return std::make_unique<WinFile>(h, path);
    }

    // A new file beside `target` under a short free name, put in `name`.
    static HANDLE create(const std::string& target, std::string& name) {
        for (int attempt = 0;; ++attempt) {
            name = RandomTempPath(FolderOf(target));
            HANDLE h = CreateFileW(WidePath(name).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                   kShareAll, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (h != INVALID_HANDLE_VALUE)
                return h;
            if (GetLastError() != ERROR_FILE_EXISTS || attempt == 100)
                ThrowLastError(target);
        }
    }
};

WriteTarget WinFileSystem::inspectTarget(const std::string& path) {
    WriteTarget t;
    if (path.empty())
        ThrowErrno(ERROR_PATH_NOT_FOUND, path);
    if (IsDeviceName(path))
        throw IoError(kReservedName, path);
    const DWORD a = Attributes(path);
    if (a == INVALID_FILE_ATTRIBUTES) {
        // Nothing there, or no such folder, which making the file reports.
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            ThrowErrno(static_cast<int>(error), path);
        t.Path = path;
        t.Mode = FILE_ATTRIBUTE_ARCHIVE;  // what the system gives a new file
        return t;
    }
    // As opening it for writing would answer.
    if (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
        ThrowErrno(ERROR_ACCESS_DENIED, path);
    // "\\.\pipe\name" and other device paths are written into as they are.
    if (path.starts_with("\\\\.\\") || path.starts_with("//./")) {
        t.Kind = WriteTarget::Found::Special;
        t.Path = path;
        return t;
    }
    t.Kind = WriteTarget::Found::Regular;
    t.Path = EndOfLinks(path);
    t.Mode = a & kKeptAttributes;
    return t;
}

}  // namespace

FileSystem& RealFileSystem() {
    static WinFileSystem fs;
    return fs;
}

}  // namespace vxa
