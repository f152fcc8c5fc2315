#include "File.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

std::string SystemErrorText(int errorCode)
{
    if (errorCode == 0)
        return {};
    char buffer[256];
    // GNU strerror_r returns a pointer that may or may not be the buffer.
    const char* text = strerror_r(errorCode, buffer, sizeof buffer);
    if (text == nullptr || *text == '\0')
        return {};
    std::string s(text);
    if (s.rfind("Unknown error", 0) == 0)
        return {};
    return s;
}

static FileError ErrorFromErrno(int code)
{
    return FileError(code, SystemErrorText(code));
}

// One block kept per thread for the next file: a fresh block would cost the
// kernel a page fault per page on every load.
static thread_local File::Block SpareBlock;

void File::BlockDelete::operator()(unsigned char* block) const noexcept
{
    ::operator delete[](block, std::align_val_t(BlockAlignment));
}

File::Block File::NewBlock(std::size_t size)
{
    return Block(static_cast<unsigned char*>(::operator new[](size, std::align_val_t(BlockAlignment))));
}

static File::Block TakeBlock()
{
    if (SpareBlock)
        return std::move(SpareBlock);
    return File::NewBlock(File::BlockSize);
}

static void ReturnBlock(File::Block block)
{
    if (block && !SpareBlock)
        SpareBlock = std::move(block);
}

File::~File()
{
    Close();
}

File::File(File&& other) noexcept
    : Fd(other.Fd)
    , Buffer(std::move(other.Buffer))
    , Begin(other.Begin)
    , End(other.End)
    , Writing(other.Writing)
    , WriteFailure(other.WriteFailure)
    , InMemory(other.InMemory)
    , OpenSize(other.OpenSize)
{
    other.Fd = -1;
    other.Begin = other.End = 0;
    other.InMemory = false;
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        Close();
        Fd = other.Fd;
        Buffer = std::move(other.Buffer);
        Begin = other.Begin;
        End = other.End;
        Writing = other.Writing;
        WriteFailure = other.WriteFailure;
        InMemory = other.InMemory;
        OpenSize = other.OpenSize;
        other.Fd = -1;
        other.Begin = other.End = 0;
        other.InMemory = false;
    }
    return *this;
}

// Only a plain file is read: a named pipe or a device would block the program
// for ever or hand it endless data.
static void RefuseSpecialFile(const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        throw ErrorFromErrno(EISDIR);
    if (!S_ISREG(st.st_mode))
        throw FileError(0, {});
}

int OpenPlainFileForReading(const std::string& path, std::uint64_t& size)
{
    struct stat st { };
    // Asked before opening, since opening some devices acts on them; the
    // open itself does not wait for a pipe's writer.
    if (::stat(path.c_str(), &st) == 0)
        RefuseSpecialFile(st);
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw ErrorFromErrno(errno);
    // The name may have changed hands since it was asked about.
    try {
        if (::fstat(fd, &st) != 0)
            throw ErrorFromErrno(errno);
        RefuseSpecialFile(st);
    } catch (...) {
        ::close(fd);
        throw;
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return fd;
}

File File::Open(const std::string& path, Mode mode)
{
    if (mode == Mode::Read) {
        std::uint64_t size = 0;
        File file(OpenPlainFileForReading(path, size));
        file.OpenSize = size;
        return file;
    }
    int fd;
    do {
        fd = ::open(path.c_str(), O_CLOEXEC | O_NOCTTY | O_WRONLY | O_CREAT | O_TRUNC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw ErrorFromErrno(errno);
    return File(fd);
}

File File::FromMemory(const void* data, std::size_t size)
{
    File f;
    f.InMemory = true;
    f.Buffer = NewBlock(size ? size : 1);
    if (size)
        std::memcpy(f.Buffer.get(), data, size);
    f.End = size;
    f.OpenSize = size;
    return f;
}

std::size_t File::ReadThrough(void* buffer, std::size_t size)
{
    if (Writing)
        Flush();
    auto* p = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        if (Begin < End) {
            std::size_t n = std::min(End - Begin, size - done);
            std::memcpy(p + done, Buffer.get() + Begin, n);
            Begin += n;
            done += n;
            continue;
        }
        if (InMemory)
            break; // the end of the bytes is the end of the file
        // The buffer is empty: a large request goes straight to the caller,
        // anything smaller reads a whole block ahead.
        const bool direct = size - done >= BlockSize;
        Begin = End = 0;
        if (!direct && !Buffer)
            Buffer = TakeBlock();
        ssize_t n = direct ? ::read(Fd, p + done, size - done) : ::read(Fd, Buffer.get(), BlockSize);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw ErrorFromErrno(errno);
        }
        if (n == 0)
            break; // end of file
        if (direct)
            done += static_cast<std::size_t>(n);
        else
            End = static_cast<std::size_t>(n);
    }
    return done;
}

void File::WriteOut(const unsigned char* p, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(Fd, p + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw ErrorFromErrno(errno);
        }
        if (n == 0)
            throw ErrorFromErrno(EIO);
        done += static_cast<std::size_t>(n);
    }
}

void File::Write(const void* buffer, std::size_t size)
{
    auto* p = static_cast<const unsigned char*>(buffer);
    Writing = true;
    if (End + size > BlockSize || WriteFailure != 0)
        Flush();
    if (size >= BlockSize) {
        try {
            WriteOut(p, size);
        } catch (const FileError& e) {
            WriteFailure = e.Code;
            throw;
        }
        return;
    }
    if (!Buffer)
        Buffer = TakeBlock();
    std::memcpy(Buffer.get() + End, p, size);
    End += size;
}

void File::Flush()
{
    // A file that lost bytes stays failed: nothing written later may make it
    // look complete.
    if (WriteFailure != 0)
        throw ErrorFromErrno(WriteFailure);
    if (!Writing || End == 0)
        return;
    const std::size_t queued = End;
    End = 0;
    try {
        WriteOut(Buffer.get(), queued);
    } catch (const FileError& e) {
        WriteFailure = e.Code;
        throw;
    }
}

void File::SeekRelative(off_t delta)
{
    if (InMemory) {
        // As lseek: before the start is an error; past the end reads nothing.
        const off_t target = static_cast<off_t>(Begin) + delta;
        if (target < 0)
            throw ErrorFromErrno(EINVAL);
        Begin = std::min(static_cast<std::size_t>(target), End);
        return;
    }
    if (Writing) {
        Flush();
    } else if (End > 0) {
        // Within the read-ahead block only the read position moves.
        const off_t target = static_cast<off_t>(Begin) + delta;
        if (target >= 0 && target <= static_cast<off_t>(End)) {
            Begin = static_cast<std::size_t>(target);
            return;
        }
        // The descriptor stands at the end of the block.
        delta -= static_cast<off_t>(End - Begin);
        Begin = End = 0;
    }
    if (::lseek(Fd, delta, SEEK_CUR) < 0)
        throw ErrorFromErrno(errno);
}

void File::Sync()
{
    Flush();
    if (::fsync(Fd) != 0 && errno != EINVAL && errno != EROFS)
        throw ErrorFromErrno(errno);
}

void File::Close()
{
    if (Fd >= 0) {
        ::close(Fd);
        Fd = -1;
    }
    if (InMemory)
        Buffer.reset(); // not a block of the read-ahead size
    else
        ReturnBlock(std::move(Buffer));
    InMemory = false;
    Begin = End = 0;
    Writing = false;
    WriteFailure = 0;
}

namespace {

// The folder part of a path ("." for a bare name) and the name part.
std::pair<std::string, std::string> SplitPath(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return { ".", path };
    return { slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1) };
}

constexpr const char TempInfix[] = ".tmp";
constexpr std::size_t TempRandomLength = 6;

std::string RandomSuffix()
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 generator { std::random_device {}() };
    std::string s(TempRandomLength, ' ');
    for (char& c : s)
        c = letters[generator() % (sizeof letters - 1)];
    return s;
}

bool IsOurTempName(const std::string& entry, const std::string& base)
{
    const std::size_t prefix = base.size() + sizeof TempInfix - 1;
    if (entry.size() != prefix + TempRandomLength || entry.compare(0, base.size(), base) != 0
        || entry.compare(base.size(), sizeof TempInfix - 1, TempInfix) != 0)
        return false;
    return std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix), entry.end(),
        [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// A save killed between naming its temporary file and the rename leaves that
// file behind; the next save of the same file removes it. A temporary file
// still in use is locked by its writer and stays.
void RemoveLeftovers(const std::string& folder, const std::string& base)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* e = ::readdir(dir)) {
        if (!IsOurTempName(e->d_name, base))
            continue;
        const int fd = ::openat(dirFd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st { };
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, e->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

bool IsPermissionError(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::string targetPath)
    : Target(std::move(targetPath))
{
    struct stat st { };
    // Saving through a symbolic link writes the file it points to and keeps the
    // link. A link that leads nowhere (dangling, or a loop) is an error, never
    // replaced by a file.
    if (::lstat(Target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* real = ::realpath(Target.c_str(), nullptr);
        if (!real)
            throw ErrorFromErrno(errno);
        Target = real;
        std::free(real);
    }
    const bool exists = ::stat(Target.c_str(), &st) == 0;
    if (exists) {
        // A directory cannot be replaced by a rename; a pipe or a device is not
        // ours to replace. Say so before anything is written.
        if (S_ISDIR(st.st_mode))
            throw ErrorFromErrno(EISDIR);
        if (!S_ISREG(st.st_mode))
            throw FileError(0, {});
        // A read-only file stays as it is; the mode bits are asked as well, as
        // the super-user passes every access check.
        if (::faccessat(AT_FDCWD, Target.c_str(), W_OK, AT_EACCESS) != 0)
            throw ErrorFromErrno(errno);
        if ((st.st_mode & 0222) == 0)
            throw ErrorFromErrno(EACCES);
        // Replacing a file with several names would split it from the others.
        InPlace = st.st_nlink > 1;
    }
    const auto [folder, base] = SplitPath(Target);
    if (!InPlace) {
        RemoveLeftovers(folder, base);
        // Unnamed where the file system allows it, so a crash leaves nothing.
        // The mode given here passes through the umask in the system, which is
        // how the umask is honoured without reading or changing it.
        int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd < 0 && !IsPermissionError(errno) && errno != ENOENT && errno != ENOTDIR) {
            for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
                TempPath = Target + TempInfix + RandomSuffix();
                fd = ::open(TempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
                if (fd < 0 && errno != EEXIST)
                    break;
            }
        }
        if (fd < 0) {
            const int error = errno;
            TempPath.clear();
            // A writable file in a folder we may not write to is written in place.
            if (!(exists && IsPermissionError(error)))
                throw ErrorFromErrno(error);
            InPlace = true;
        } else {
            (void)::flock(fd, LOCK_EX); // marks it in use for RemoveLeftovers
            if (exists) {
                // The new file takes the old one's owner where allowed, then its
                // mode (a change of owner clears the set-id bits).
                if (::fchown(fd, st.st_uid, st.st_gid) != 0)
                    (void)!::fchown(fd, static_cast<uid_t>(-1), st.st_gid);
                ::fchmod(fd, st.st_mode & 07777);
            }
            Temp = File(fd);
        }
    }
    if (InPlace) {
        const int fd = ::open(Target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            throw ErrorFromErrno(errno);
        Temp = File(fd);
    }
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (!Committed && !TempPath.empty())
        ::unlink(TempPath.c_str());
    Temp.Close();
}

void AtomicFileWriter::Commit()
{
    if (InPlace) {
        Temp.Flush(); // the queued bytes count towards the new end
        const off_t end = ::lseek(Temp.Fd, 0, SEEK_CUR);
        if (end < 0 || ::ftruncate(Temp.Fd, end) != 0)
            throw ErrorFromErrno(errno);
        Temp.Sync();
        Temp.Close();
        Committed = true;
        return;
    }
    Temp.Sync();
    if (TempPath.empty()) {
        // The unnamed file gets a name only now, just before the rename.
        const std::string self = "/proc/self/fd/" + std::to_string(Temp.Fd);
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string name = Target + TempInfix + RandomSuffix();
            int r = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
            if (r != 0 && errno != EEXIST) // without /proc
                r = ::linkat(Temp.Fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
            if (r == 0) {
                TempPath = name;
                break;
            }
            if (errno != EEXIST)
                throw ErrorFromErrno(errno);
        }
        if (TempPath.empty())
            throw ErrorFromErrno(EEXIST);
    }
    // The temporary file stays open (and locked) until it has its final name.
    if (::rename(TempPath.c_str(), Target.c_str()) != 0)
        throw ErrorFromErrno(errno);
    Committed = true;
    Temp.Close();
    // Make the rename itself durable.
    const int dfd = ::open(SplitPath(Target).first.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

} // namespace platform
