// The layer under every file operation, on the real system and under any
// user: its errors, interrupted and partial calls, and the write buffer.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <functional>

#include "core/Compiler.h"
#include "core/io/AtomicFile.h"
#include "core/io/BlockWriter.h"
#include "core/io/IoError.h"
#include "support/Suite.h"
#include "ui/CompileHandlers.h"

namespace vxa::test {
namespace {

// A limit on the size of files written while it lives: past it a write
// fails with EFBIG, as on a file system that is full.
struct FileSizeLimit {
    rlimit old{};
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old);
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old);
        signal(SIGXFSZ, SIG_DFL);
    }
};

TEST(PosixFiles, FailuresCarryTheRuntimesTextAndTheirFile) {
    TempDir dir;
    FileSystem& fs = RealFileSystem();
    const std::string file = dir.write("f", "12345"), gone = dir.file("gone"), d = dir.path();
    char buffer[8];
    const std::vector<std::pair<std::function<void()>, std::string>> cases{
        {[&] { fs.openRead(gone); }, gone + ": File not found"},
        {[&] { fs.openRead(d)->readAt(buffer, 1, 0); }, d + ": I/O error 21"},
        {[&] { fs.openRead(file)->readExactAt(buffer, 2, 4); }, file + ": Read beyond end of file"},
        {[&] { fs.openWrite(d); }, d + ": I/O error 21"},
        {[&] { fs.inspectTarget(d); }, d + ": I/O error 21"},
        {[&] { fs.inspectTarget(""); }, ": File not found"},
        {[&] { fs.inspectTarget(file + "/x"); }, file + "/x: I/O error 20"},
        {[&] { fs.openWrite("/dev/full")->write("x", 1); }, "/dev/full: Disk full"},
        // A device cannot be synced, which is no failure.
        {[&] { fs.openWrite("/dev/full")->flush(); }, "done"},
        {[&] { fs.openRead(file)->copyTo(*fs.openWrite("/dev/full"), 0, 5); },
         "/dev/full: Disk full"},
        {[&] { fs.openRead(file)->copyTo(*fs.openWrite("/dev/null"), 1, 5); },
         file + ": Read beyond end of file"},
        {[&] {
             AtomicFile out(fs, dir.file("o"));  // the kernel copies, and finds the end
             fs.openRead(file)->copyTo(out.file(), 1, 5);
         },
         file + ": Read beyond end of file"},
        // The kernel's copy blames the source, or the target when it is full.
        {[&] { fs.openRead(d)->copyTo(AtomicFile(fs, dir.file("o")).file(), 0, 5); },
         d + ": I/O error 21"},
        {[&] {
             AtomicFile out(fs, dir.file("o"));
             const auto in = fs.openRead(dir.write("8k", std::string(8192, 'k')));
             FileSizeLimit limit(4096);
             in->copyTo(out.file(), 0, 8192);
         },
         dir.file("o") + ": Disk full"},
        // A folder gone before the unnamed file is named: no name is free there.
        {[&] {
             const std::string sub = dir.file("sub");
             ::mkdir(sub.c_str(), 0700);
             const auto out = fs.createUnnamed(sub + "/t");
             ::rmdir(sub.c_str());
             out->link();
         },
         dir.file("sub/t") + ": File not found"},
    };
    for (const auto& [operation, failure] : cases)
        EXPECT_EQ(Failure(operation), failure);
    const auto f = fs.openRead(file);
    EXPECT_EQ(f->readAt(buffer, 8, 3), 2u);
    EXPECT_EQ(ErrorBoxText("Disk full") + ErrorBoxText("I/O error 5") + ErrorBoxText("Stop!") +
                  ErrorBoxText("Done.") + ErrorBoxText(""),
              "Disk full.I/O error 5.Stop!Done.");
    std::string texts;
    for (const int e : {ENOENT, EACCES, EPERM, EROFS, ETXTBSY, ENOSPC, EDQUOT, EFBIG, ENOMEM, EIO})
        texts += IoErrorText(e) + "|";
    EXPECT_EQ(texts,
              "File not found|File access denied|File access denied|File access denied|File "
              "access denied|Disk full|Disk full|Disk full|Out of memory|I/O error 5|");
}

// Where a write goes: through a chain of links to the file it ends at (a
// dangling link's target made in the link's folder), into a device or a FIFO
// as it is, never round a loop; and under the longest name a folder takes.
TEST(PosixFiles, AWriteGoesWhereLinksLeadAndIntoDevicesAsTheyAre) {
    TempDir dir, other;
    FileSystem& fs = RealFileSystem();
    const std::string loop = dir.file("loop1"), longest = dir.file(std::string(255, 'n'));
    ASSERT_EQ(symlink(other.write("f", "old").c_str(), dir.file("abs").c_str()) |
                  symlink("abs", dir.file("rel").c_str()) |
                  symlink("made", dir.file("dangling").c_str()) | symlink("loop2", loop.c_str()) |
                  symlink("loop1", dir.file("loop2").c_str()) |
                  mkfifo(dir.file("fifo").c_str(), 0600),
              0);
    for (int k = 1; k <= 38; ++k) {  // with rel and abs the longest chain followed: 40 links
        const std::string next = k < 38 ? std::string("c").append(std::to_string(k + 1)) : "rel";
        ASSERT_EQ(
            symlink(next.c_str(), dir.file(std::string("c").append(std::to_string(k))).c_str()), 0);
    }
    using Kind = WriteTarget::Found;
    for (const auto& [name, kind, path] : {std::tuple{"c1", Kind::Regular, other.file("f")},
                                           std::tuple{"dangling", Kind::New, dir.file("made")},
                                           std::tuple{"fifo", Kind::Special, dir.file("fifo")}}) {
        const WriteTarget t = fs.inspectTarget(dir.file(name));
        EXPECT_EQ(std::tie(t.Kind, t.Path), std::tie(kind, path)) << name;
    }
    EXPECT_EQ(Failure([&] { fs.inspectTarget(loop); }), loop + ": I/O error 40");
    // Root could replace /dev's nodes if a write went wrong: it writes into
    // copies of its own (null and full) where it may make them.
    std::string null = "/dev/null", full = "/dev/full";
    if (mknod(dir.file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 &&
        mknod(dir.file("full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0)
        null = dir.file("null"), full = dir.file("full");
    Harness h;
    ASSERT_EQ(LoadInWindow(h.ctx, dir.write("in.vxa", U32(4)), false), LoadOutcome::Complete);
    EXPECT_TRUE(CompileAndReport(h.ctx, null) && CompileAndReport(h.ctx, longest));
    EXPECT_FALSE(CompileAndReport(h.ctx, full));
    EXPECT_EQ(h.view.messages, std::vector<std::string>{"Disk full."});
    EXPECT_EQ(ReadFile(longest), U32(4));
    EXPECT_TRUE(std::filesystem::is_character_file(null) &&
                std::filesystem::is_character_file(full));
}

// The far end of a FIFO, worked by a SIGALRM handler every millisecond (no
// SA_RESTART): at every other tick it drains what a blocked write filled in,
// so writes come back cut short, or interrupted having written nothing; or it
// puts a byte in for a blocked read, which comes back interrupted, then finds it.
struct FarEnd {
    static inline int fd = -1;
    static inline bool drains = false;
    static inline char got[1 << 21];
    static inline volatile std::size_t size = 0;
    static inline unsigned ticks = 0;  // the handler's own
    static void tick(int) {
        if (drains && ++ticks % 2 == 0)
            return;
        const ssize_t n = drains ? read(fd, got + size, sizeof got - size) : write(fd, "x", 1);
        size = size + (drains && n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    struct sigaction old {};
    FarEnd(const std::string& fifo, bool drain) {
        drains = drain;
        size = 0;
        fd = open(fifo.c_str(), drain ? O_RDONLY | O_NONBLOCK : O_RDWR);
        struct sigaction every {};
        every.sa_handler = tick;
        sigaction(SIGALRM, &every, &old);
        const itimerval ms{{0, 1000}, {0, 1000}};
        setitimer(ITIMER_REAL, &ms, nullptr);
    }
    ~FarEnd() {
        const itimerval off{};
        setitimer(ITIMER_REAL, &off, nullptr);
        sigaction(SIGALRM, &old, nullptr);
        close(fd);
    }
};

TEST(PosixFiles, InterruptedAndPartialReadsAndWritesCarryOn) {
    TempDir dir;
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string data(1 << 20, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7 / 3);
    {
        FarEnd far(fifo, true);
        const auto out = RealFileSystem().openWrite(fifo);
        out->write(data.data(), data.size());
        out->flush();  // a pipe cannot be synced, which is no failure
        while (FarEnd::size < data.size())
            pause();
        EXPECT_TRUE(std::string(FarEnd::got, FarEnd::size) == data);
    }
    FarEnd far(fifo, false);
    char three[3];
    EXPECT_EQ(RealFileSystem().openRead(fifo)->read(three, 3), 3u);
}

// A gather reads the bytes at each position, close ones (one read) and far
// ones (a read each) alike; a file another program shrinks meanwhile fails
// the read with the runtime's text, whether a whole block or bytes are gone.
TEST(PosixFiles, GathersReadTheBytesAtEachPositionAndFailPastTheEnd) {
    TempDir dir;
    std::string data(3 * 4096 + 100, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7 / 3);
    const std::string path = dir.write("g", data);
    const auto f = RealFileSystem().openRead(path);
    const std::vector<std::uint64_t> close{1, 4095, 4096, 9000}, far{0, 12285};
    for (const auto* at : {&close, &far}) {
        std::string expected, got(3 * at->size(), '-');
        for (const std::uint64_t p : *at)
            expected += data.substr(p, 3);
        f->readGather(*at, 3, reinterpret_cast<std::uint8_t*>(got.data()));
        EXPECT_EQ(got, expected);
    }
    std::uint8_t out[12];
    for (const off_t size : {off_t{4100}, off_t{9001}}) {  // a block short, bytes short
        ASSERT_EQ(truncate(path.c_str(), size), 0);
        EXPECT_EQ(Failure([&] { f->readGather(close, 3, out); }),
                  path + ": Read beyond end of file");
    }
}

// A closed file lets go of its descriptor once: by the time the object
// goes, the number may belong to a file opened since.
TEST(PosixFiles, AClosedFileLetsGoOfItsDescriptorOnce) {
    TempDir dir;
    auto first = RealFileSystem().openRead(dir.write("a", "aaa"));
    first->close();
    const auto second = RealFileSystem().openRead(dir.write("b", "bbb"));
    first.reset();
    char got[3];
    EXPECT_EQ(second->readAt(got, 3, 0), 3u);
}

// Pieces go out in order however they meet the buffer's edges: a write that
// fills it, one larger than it, a last byte alone in it, copies from a file
// over several buffers and one large enough for the kernel to copy.
TEST(BlockWriterTest, PiecesGoOutInOrderWhereverTheBufferEnds) {
    TempDir dir;
    std::string source(100000, '\0');
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<char>(i % 251);
    const auto in = RealFileSystem().openRead(dir.write("in", source));
    const std::vector<std::pair<std::string, std::pair<std::size_t, std::size_t>>> pieces{
        {"abcd", {}},  {"e", {}},    {"", {0, 3}},     {"", {}},  {"", {10, 70000}},
        {"xyz12", {}}, {"", {5, 1}}, {"", {99990, 9}}, {"q", {}}, {"", {7, 1}}};
    std::string expected;
    for (const auto& [bytes, range] : pieces)
        expected += bytes + source.substr(range.first, range.second);
    for (const std::size_t capacity : {1, 4, 5, 7, 1 << 18}) {
        AtomicFile out(RealFileSystem(), dir.file("out"));
        BlockWriter writer(out.file(), capacity);
        for (const auto& [bytes, range] : pieces) {
            writer.write({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
            writer.copyFrom(*in, range.first, range.second);
        }
        writer.finish();
        out.commit();
        EXPECT_TRUE(ReadFile(dir.file("out")) == expected) << capacity;
    }
}

}  // namespace
}  // namespace vxa::test
