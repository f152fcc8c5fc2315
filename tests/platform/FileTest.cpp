// Own definitions of system calls follow, which fortified headers would inline.
#undef _FORTIFY_SOURCE
#include "File.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <csignal>
#include <filesystem>
#include <functional>
#include <fstream>
#include <cstdarg>
#include <fcntl.h>
#include <random>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "support/FileSizeLimit.h"

namespace fs = std::filesystem;
using platform::AtomicFileWriter;
using platform::File;
using platform::FileError;

namespace {

// Writing made to fail on demand: this program's own definitions of the calls
// below come before the C library's.
struct Faults {
    std::size_t WriteBudget = 0; // positional writes write this much more,
    int WriteError = 0; // then fail with this: once, or every time when Sticky
    bool Sticky = false;
    int Writes = 0; // positional writes tried
    bool NoReserving = false; // as a file system that cannot reserve room
    bool NoUnnamedFiles = false; // as a file system without unnamed files
} Fault;

} // namespace

extern "C" ssize_t pwrite(int fd, const void* buffer, size_t size, off_t offset)
{
    ++Fault.Writes;
    if (Fault.WriteError != 0) {
        if (Fault.WriteBudget == 0) {
            errno = Fault.WriteError;
            Fault.WriteError = Fault.Sticky ? errno : 0;
            return -1;
        }
        size = std::min(size, Fault.WriteBudget);
        Fault.WriteBudget -= size;
    }
    return syscall(SYS_pwrite64, fd, buffer, size, offset);
}

extern "C" int fallocate(int fd, int mode, off_t offset, off_t length)
{
    if (Fault.NoReserving)
        return errno = EOPNOTSUPP, -1;
    return static_cast<int>(syscall(SYS_fallocate, fd, mode, offset, length));
}

extern "C" int open(const char* path, int flags, ...)
{
    unsigned mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, unsigned);
        va_end(args);
    }
    if (Fault.NoUnnamedFiles && (flags & O_TMPFILE) == O_TMPFILE)
        return errno = EOPNOTSUPP, -1;
    return static_cast<int>(syscall(SYS_openat, AT_FDCWD, path, flags, mode));
}

namespace {

class TempDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/px10-file-XXXXXX";
        Dir = mkdtemp(pattern);
    }
    void TearDown() override
    {
        Fault = {};
        fs::remove_all(Dir);
    }
    std::string Path(const std::string& name) const { return (Dir / name).string(); }
    static std::string Slurp(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return { std::istreambuf_iterator<char>(in), {} };
    }
    static void Put(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static void Save(const std::string& path, const std::string& bytes)
    {
        AtomicFileWriter w(path);
        w.Write(bytes.data(), bytes.size());
        w.Commit();
    }
    // The system's text of the error a save raises, or "saved".
    static std::string SaveError(const std::string& path, const std::string& bytes)
    {
        try {
            Save(path, bytes);
        } catch (const FileError& e) {
            return e.Text.empty() ? "(no system text)" : e.Text;
        }
        return "saved";
    }
    std::size_t FileCount(const std::string& sub = {}) const
    {
        const fs::path d = sub.empty() ? Dir : Dir / sub;
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(d), fs::directory_iterator()));
    }
    fs::path Dir;
};

struct stat StatOf(const std::string& path)
{
    struct stat st { };
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

// Runs `check` as an ordinary user (nobody when we are the super-user, who
// passes every permission check) in a child process; true when it held.
bool AsOrdinaryUser(const std::function<bool()>& check)
{
    if (::geteuid() != 0)
        return check();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 && check();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(TempDir, OpenMissingFileGivesSystemText)
{
    try {
        File::Open(Path("missing.udf"), File::Mode::Read);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Code, ENOENT);
        EXPECT_EQ(e.Text, "No such file or directory");
    }
}

TEST_F(TempDir, ReadStopsOnlyAtEndOfFile)
{
    std::ofstream(Path("a"), std::ios::binary) << std::string(100, 'x');
    File f = File::Open(Path("a"), File::Mode::Read);
    char buf[60];
    EXPECT_EQ(f.Read(buf, 60), 60u);
    EXPECT_EQ(f.Read(buf, 60), 40u);
    EXPECT_EQ(f.Read(buf, 60), 0u);
    f.SeekRelative(-60);
    EXPECT_EQ(f.Read(buf, 60), 60u);
}

// Bytes 0..n-1 of a pattern that shows any misplaced block.
static std::string Pattern(std::size_t n)
{
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return s;
}

TEST_F(TempDir, ReadAheadKeepsPositionsAcrossBlocksSeeksAndLargeReads)
{
    const std::size_t size = File::BlockSize * 2 + 1234;
    const std::string data = Pattern(size);
    std::ofstream(Path("big"), std::ios::binary) << data;
    File f = File::Open(Path("big"), File::Mode::Read);
    char rec[60];
    std::size_t pos = 0;
    bool steppedBack = false;
    // Records across the first block boundary, with a step back inside the block.
    while (pos + 60 <= File::BlockSize + 120) {
        ASSERT_EQ(f.Read(rec, 60), 60u);
        ASSERT_EQ(std::string(rec, 60), data.substr(pos, 60)) << pos;
        pos += 60;
        if (pos == 600 && !steppedBack) {
            f.SeekRelative(-60);
            pos -= 60;
            steppedBack = true;
        }
    }
    // A step back past the start of the block in hand goes to the system.
    f.SeekRelative(-static_cast<off_t>(File::BlockSize));
    pos -= File::BlockSize;
    ASSERT_EQ(f.Read(rec, 60), 60u);
    EXPECT_EQ(std::string(rec, 60), data.substr(pos, 60));
    pos += 60;
    // A step forward past the block, then a read larger than a block.
    f.SeekRelative(70000);
    pos += 70000;
    std::string rest(size, '\0');
    std::size_t n = f.Read(rest.data(), rest.size());
    EXPECT_EQ(n, size - pos);
    EXPECT_EQ(rest.substr(0, n), data.substr(pos));
    EXPECT_EQ(f.Read(rec, 60), 0u);
    // Before the start of the file: the system's error.
    try {
        f.SeekRelative(-static_cast<off_t>(size) - 1);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Code, EINVAL);
    }
}

// Bytes are handed out where they stand only while the block holds all of
// them; otherwise nothing is taken and reading goes on from the same place.
TEST_F(TempDir, TakingFromTheBlockIsAllOrNothing)
{
    const std::string data = Pattern(200);
    std::ofstream(Path("a"), std::ios::binary) << data;
    File f = File::Open(Path("a"), File::Mode::Read);
    EXPECT_EQ(f.TakeBuffered(60), nullptr); // nothing read ahead yet
    char rec[60];
    ASSERT_EQ(f.Read(rec, 60), 60u);
    EXPECT_EQ(std::string(rec, 60), data.substr(0, 60));
    const unsigned char* run = f.TakeBuffered(100);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(run), 100), data.substr(60, 100));
    // The block starts on a page boundary, so the kernel copies at full speed.
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(run - 60) % File::BlockAlignment, 0u);
    EXPECT_EQ(f.TakeBuffered(41), nullptr);
    EXPECT_EQ(f.Read(rec, 60), 40u);
    EXPECT_EQ(std::string(rec, 40), data.substr(160));

    File w = File::Open(Path("b"), File::Mode::Write);
    w.Write(data.data(), 100);
    EXPECT_EQ(w.TakeBuffered(10), nullptr); // queued bytes are not read back
}

TEST_F(TempDir, QueuedWritesReachTheFileWholeAndInOrder)
{
    const std::string data = Pattern(File::BlockSize * 3 + 17);
    AtomicFileWriter w(Path("w.udf"));
    // Small writes that fill and spill the buffer, then one larger than a block.
    std::size_t pos = 0;
    for (; pos + 60 <= File::BlockSize + 300; pos += 60)
        w.Write(data.data() + pos, 60);
    w.Write(data.data() + pos, data.size() - pos);
    w.Commit();
    EXPECT_EQ(Slurp(Path("w.udf")), data);
}

TEST_F(TempDir, AWriteThatFailsStaysFailed)
{
    File f = File::Open("/dev/full", File::Mode::Write);
    f.Write("abc", 3); // only queued
    try {
        f.Flush();
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Text, "No space left on device");
    }
    // Nothing written later may make the file look complete.
    EXPECT_THROW(f.Write("d", 1), FileError);
    EXPECT_THROW(f.Flush(), FileError);
    EXPECT_THROW(f.Sync(), FileError);
}

// A failure to write the queued bytes surfaces at Commit, before the rename,
// and leaves the previous file as it was.
TEST_F(TempDir, AtomicWriterReportsAQueuedWriteFailureBeforeTheRename)
{
    std::ofstream(Path("t.udf"), std::ios::binary) << "old";
    std::string error;
    {
        FileSizeLimit limit(1000);
        AtomicFileWriter w(Path("t.udf"));
        w.Write(std::string(5000, 'x').data(), 5000);
        try {
            w.Commit();
        } catch (const FileError& e) {
            error = e.Text;
        }
    }
    EXPECT_EQ(error, "File too large");
    EXPECT_EQ(Slurp(Path("t.udf")), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
}

TEST_F(TempDir, ReadingADirectoryFails)
{
    EXPECT_THROW(File::Open(Dir.string(), File::Mode::Read), FileError);
}

TEST_F(TempDir, AtomicWriterReplacesOnlyOnCommit)
{
    std::ofstream(Path("t.udf"), std::ios::binary) << "old";
    {
        AtomicFileWriter w(Path("t.udf"));
        w.Write("new contents", 12);
        // Not committed: the old file stays and the temporary file goes.
    }
    EXPECT_EQ(Slurp(Path("t.udf")), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
    {
        AtomicFileWriter w(Path("t.udf"));
        w.Write("new contents", 12);
        w.Commit();
    }
    EXPECT_EQ(Slurp(Path("t.udf")), "new contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
}

TEST_F(TempDir, AtomicWriterKeepsASymbolicLinkAndWritesItsTarget)
{
    fs::create_directory(Path("real"));
    std::ofstream(Path("real/t.udf"), std::ios::binary) << "old";
    fs::create_symlink(Path("real/t.udf"), Path("link.udf"));
    {
        AtomicFileWriter w(Path("link.udf"));
        w.Write("new", 3);
        w.Commit();
    }
    EXPECT_TRUE(fs::is_symlink(Path("link.udf")));
    EXPECT_EQ(Slurp(Path("real/t.udf")), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(Path("real")), fs::directory_iterator()), 1);
}

TEST_F(TempDir, KilledSavesLeaveNoTemporaryFilesBehind)
{
    const std::string target = Path("t.udf");
    const std::string oldBytes(18180, 'o');
    const std::string newBytes(18180, 'n');
    Put(target, oldBytes);
    std::mt19937 random(17);
    std::size_t mostFiles = 0;
    for (int kill = 0; kill < 300; ++kill) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (;;)
                Save(target, kill % 2 ? newBytes : oldBytes);
        }
        ::usleep(100 + random() % 1500);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        // The target is whole at every moment, and at most the temporary file
        // of the last killed save is left: each save clears what came before.
        const std::string now = Slurp(target);
        ASSERT_TRUE(now == oldBytes || now == newBytes) << "kill " << kill;
        mostFiles = std::max(mostFiles, FileCount());
    }
    EXPECT_LE(mostFiles, 2u);
    Save(target, newBytes);
    EXPECT_EQ(FileCount(), 1u);
    EXPECT_EQ(Slurp(target), newBytes);
}

// A killed save leaves one file under a fixed name, whoever owns it; the next
// save removes it. A save still running keeps its file locked.
TEST_F(TempDir, TheNextSaveRemovesWhatAKilledSaveLeft)
{
    const std::string target = Path("t.udf");
    const std::string leftover = AtomicFileWriter::LeftoverPath(target);
    for (const bool named : { false, true }) {
        Fault.NoUnnamedFiles = named;
        Put(leftover, "half");
        (void)!::chown(leftover.c_str(), 65534, 65534);
        Save(target, "new");
        EXPECT_EQ(FileCount(), 1u) << named;
    }
    const std::string longName = Path(std::string(250, 'l')); // as long as names go
    Put(AtomicFileWriter::LeftoverPath(longName), "half");
    Save(longName, "x");
    EXPECT_EQ(FileCount(), 2u);

    Put(leftover, "running");
    const int running = ::open(leftover.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);
    EXPECT_EQ(SaveError(target, "other"), "Device or resource busy");
    ::close(running);
    EXPECT_EQ(Slurp(target), "new");
}

TEST_F(TempDir, SavingKeepsModeAndOwnerAndRefusesAReadOnlyFile)
{
    const std::string priv = Path("private.udf");
    Put(priv, "old");
    ::chmod(priv.c_str(), 0600);
    Save(priv, "new");
    EXPECT_EQ(StatOf(priv).st_mode & 07777, 0600u);
    EXPECT_EQ(Slurp(priv), "new");

    const std::string readOnly = Path("ro.udf");
    Put(readOnly, "old");
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_EQ(SaveError(readOnly, "new"), "Permission denied");
    EXPECT_EQ(Slurp(readOnly), "old");
    EXPECT_EQ(StatOf(readOnly).st_mode & 07777, 0444u);

    // A new file: 0666 less the umask in force, which saving leaves alone.
    const mode_t previous = ::umask(027);
    Save(Path("new.udf"), "x");
    EXPECT_EQ(::umask(previous), 027u);
    EXPECT_EQ(StatOf(Path("new.udf")).st_mode & 07777, 0640u);

    if (::geteuid() == 0) {
        const std::string owned = Path("owned.udf");
        Put(owned, "old");
        ASSERT_EQ(::chown(owned.c_str(), 65534, 65534), 0);
        Save(owned, "new");
        EXPECT_EQ(StatOf(owned).st_uid, 65534u);
        EXPECT_EQ(StatOf(owned).st_gid, 65534u);
    }
    EXPECT_EQ(FileCount(), 4u);
}

TEST_F(TempDir, HardLinksAndUnwritableFoldersAreWrittenInPlace)
{
    const std::string a = Path("a.udf");
    const std::string b = Path("b.udf");
    Put(a, "old contents");
    ASSERT_EQ(::link(a.c_str(), b.c_str()), 0);
    const ino_t inode = StatOf(a).st_ino;
    Save(a, "new");
    EXPECT_EQ(Slurp(b), "new"); // shorter than before: the rest is cut off
    EXPECT_EQ(StatOf(a).st_ino, inode);
    EXPECT_EQ(StatOf(a).st_nlink, 2u);
    EXPECT_EQ(FileCount(), 2u);

    // A writable file in a folder the user may not write to.
    fs::create_directory(Dir / "locked");
    const std::string inLocked = Path("locked/c.udf");
    Put(inLocked, "old");
    ASSERT_EQ(::chmod(Dir.c_str(), 0755), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(inLocked.c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chown((Dir / "locked").c_str(), 65534, 65534), 0);
    }
    ASSERT_EQ(::chmod((Dir / "locked").c_str(), 0555), 0);
    EXPECT_TRUE(AsOrdinaryUser([&] { return SaveError(inLocked, "new bytes") == "saved"; }));
    EXPECT_EQ(Slurp(inLocked), "new bytes");
    EXPECT_TRUE(
        AsOrdinaryUser([&] { return SaveError(Path("locked/other.udf"), "x") == "Permission denied"; }));
    ::chmod((Dir / "locked").c_str(), 0755);
    EXPECT_EQ(FileCount("locked"), 1u);
}

// A failed save of a file written in place leaves both its names holding the
// old bytes: refused before a byte is written when there is no room, the old
// bytes put back when a write fails all the same.
TEST_F(TempDir, AFailedInPlaceSaveLeavesTheOldBytes)
{
    const std::string a = Path("a.udf");
    const std::string b = Path("b.udf");
    const std::string oldBytes = Pattern(18180);
    Put(a, oldBytes);
    ASSERT_EQ(::link(a.c_str(), b.c_str()), 0);
    {
        FileSizeLimit limit(20000);
        EXPECT_EQ(SaveError(a, std::string(30000, 'n')), "File too large");
    }
    EXPECT_EQ(Fault.Writes, 0);
    Fault.WriteBudget = 4096;
    Fault.WriteError = ENOSPC;
    EXPECT_EQ(SaveError(a, std::string(18000, 'n')), "No space left on device");
    EXPECT_EQ(Slurp(b), oldBytes);
    // Where room cannot be reserved the file grows first, past its old end
    // only: a disk that stays full leaves the old bytes untouched.
    Fault = { .WriteBudget = 100, .WriteError = EDQUOT, .Sticky = true, .NoReserving = true };
    EXPECT_EQ(SaveError(a, std::string(30000, 'n')), "Disk quota exceeded");
    EXPECT_EQ(Slurp(b), oldBytes);
    Fault.WriteError = 0;
    Save(a, std::string(30000, 'n'));
    EXPECT_EQ(Slurp(b), std::string(30000, 'n'));
}

// The same on a full file system, where one can be mounted.
TEST_F(TempDir, AFullFileSystemRefusesAnInPlaceSaveBeforeItWrites)
{
    const std::string small = Path("small");
    fs::create_directory(small);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
            ::_exit(77);
        Put(small + "/a.udf", Pattern(18180));
        ::link((small + "/a.udf").c_str(), (small + "/b.udf").c_str());
        std::ofstream filler(small + "/filler", std::ios::binary);
        while (filler << std::string(4096, 'f') << std::flush) { }
        const bool held = SaveError(small + "/a.udf", std::string(30000, 'n')) == "No space left on device"
            && Fault.Writes == 0 && Slurp(small + "/b.udf") == Pattern(18180);
        ::_exit(held ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no file system can be mounted here";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

std::string Attribute(const std::string& path, const char* name)
{
    char value[512];
    const ssize_t n = ::getxattr(path.c_str(), name, value, sizeof value);
    return n < 0 ? "(none)" : std::string(value, static_cast<std::size_t>(n));
}

// An access list as the system keeps it: version 2, then entries of tag,
// permissions and id (the saver's own and nobody's): the owner, user 65534,
// the group, the mask, others.
std::string AccessList(std::uint16_t named)
{
    const std::uint16_t entries[][4] = { { 1, 6, 0xFFFF, 0xFFFF }, { 2, named, 65534, 0 },
        { 4, 4, 0xFFFF, 0xFFFF }, { 0x10, 6, 0xFFFF, 0xFFFF }, { 0x20, 0, 0xFFFF, 0xFFFF } };
    const std::uint32_t version = 2;
    return std::string(reinterpret_cast<const char*>(&version), 4)
        + std::string(reinterpret_cast<const char*>(entries), sizeof entries);
}

TEST_F(TempDir, SavingKeepsExtendedAttributesAndTheAccessList)
{
    const std::string t = Path("t.udf");
    Put(t, "old");
    const std::string list = AccessList(6);
    if (::setxattr(t.c_str(), "user.site", "north", 5, 0) != 0
        || ::setxattr(t.c_str(), "system.posix_acl_access", list.data(), list.size(), 0) != 0)
        GTEST_SKIP() << "no extended attributes or access lists here";
    const ino_t inode = StatOf(t).st_ino;
    Save(t, "new");
    EXPECT_NE(StatOf(t).st_ino, inode); // replaced, not written in place
    EXPECT_EQ(Attribute(t, "user.site"), "north");
    EXPECT_EQ(Attribute(t, "system.posix_acl_access"), list);
    EXPECT_EQ(StatOf(t).st_mode & 0777, 0660u);

    // A folder's list for new files does not reach a file that had none.
    fs::create_directory(Path("shared"));
    const std::string inherited = AccessList(7);
    ASSERT_EQ(
        ::setxattr(Path("shared").c_str(), "system.posix_acl_default", inherited.data(), inherited.size(), 0),
        0);
    Put(Path("shared/own.udf"), "old");
    ::removexattr(Path("shared/own.udf").c_str(), "system.posix_acl_access");
    Save(Path("shared/own.udf"), "new");
    EXPECT_EQ(Attribute(Path("shared/own.udf"), "system.posix_acl_access"), "(none)");
}

// An owner a new file could not take: the file is written in place instead.
TEST_F(TempDir, AFileOfAnotherOwnerIsWrittenInPlace)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs another user";
    const std::string t = Path("root.udf");
    Put(t, "old");
    ::chmod(t.c_str(), 0666);
    ASSERT_EQ(::chmod(Dir.c_str(), 0777), 0);
    const struct stat before = StatOf(t);
    EXPECT_TRUE(AsOrdinaryUser([&] { return SaveError(t, "new") == "saved"; }));
    EXPECT_EQ(Slurp(t), "new");
    EXPECT_EQ(StatOf(t).st_ino, before.st_ino);
    EXPECT_EQ(StatOf(t).st_uid, before.st_uid);
}

TEST_F(TempDir, LinksThatLeadNowhereAndSpecialFilesAreRefused)
{
    fs::create_symlink(Path("missing.udf"), Path("dangling.udf"));
    EXPECT_EQ(SaveError(Path("dangling.udf"), "x"), "No such file or directory");
    EXPECT_TRUE(fs::is_symlink(Path("dangling.udf")));
    fs::create_symlink(Path("loop2.udf"), Path("loop1.udf"));
    fs::create_symlink(Path("loop1.udf"), Path("loop2.udf"));
    EXPECT_EQ(SaveError(Path("loop1.udf"), "x"), "Too many levels of symbolic links");
    EXPECT_TRUE(fs::is_symlink(Path("loop1.udf")));

    // A named pipe would block a reader for ever; a device is not a file.
    ASSERT_EQ(::mkfifo(Path("pipe.udf").c_str(), 0600), 0);
    for (const std::string& special : { Path("pipe.udf"), std::string("/dev/null") }) {
        try {
            File::Open(special, File::Mode::Read);
            ADD_FAILURE() << special << " opened";
        } catch (const FileError& e) {
            EXPECT_TRUE(e.Text.empty()) << e.Text;
        }
    }
    EXPECT_EQ(SaveError(Path("pipe.udf"), "x"), "(no system text)");
    EXPECT_TRUE(fs::is_fifo(Path("pipe.udf")));
    EXPECT_EQ(FileCount(), 4u);
}

TEST_F(TempDir, AtomicWriterInMissingFolderFails)
{
    EXPECT_THROW(AtomicFileWriter(Path("no/such/dir.udf")), FileError);
}

TEST_F(TempDir, AtomicWriterOverDirectoryFails)
{
    fs::create_directory(Path("d"));
    EXPECT_THROW(AtomicFileWriter(Path("d")), FileError);
}

} // namespace
