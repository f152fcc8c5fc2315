#include "File.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>
#include <vector>

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
{
    *this = std::move(other);
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
        Collecting = other.Collecting;
        Collected = std::move(other.Collected);
        OpenSize = other.OpenSize;
        other.Fd = -1;
        other.Begin = other.End = 0;
        other.InMemory = false;
        other.Collecting = false;
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
    // The name is not asked about again on the descriptor. Should it have
    // changed hands in between, the open has acted already and what is left is
    // reads that cannot block (O_NONBLOCK), of no more bytes than the reader
    // asks for, which it checks as it checks any file's: a directory fails
    // with its own text, a pipe without a writer ends at once, and a size
    // that is not the file's is refused by the reader that checks sizes.
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

File File::Collector()
{
    File f;
    f.Collecting = true;
    f.Writing = true;
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
    if (Collecting) {
        Collected.append(reinterpret_cast<const char*>(p), size);
        return;
    }
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
    if (!Writing || End == 0 || Collecting)
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
    if (Collecting)
        throw ErrorFromErrno(ESPIPE);
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
    if (Collecting)
        return;
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
    Collecting = false;
    Collected.clear();
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

// Hidden and fixed per target: a killed save leaves at most one file, which
// the next save removes by its name, whoever owns it, with no look through
// the folder.
constexpr const char LeftoverSuffix[] = ".px10save";
constexpr std::size_t NameMax = 255;

std::string LeftoverName(const std::string& base)
{
    std::string name = "." + base + LeftoverSuffix;
    if (name.size() <= NameMax)
        return name;
    // Too long for a name: the start of it and a digest of all of it.
    std::uint64_t digest = 14695981039346656037ull;
    for (const unsigned char c : base) {
        digest ^= c;
        digest *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(digest));
    const std::size_t keep = NameMax - 2 - 16 - (sizeof LeftoverSuffix - 1);
    return "." + base.substr(0, keep) + "~" + hex + LeftoverSuffix;
}

bool IsPermissionError(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

// Creates the temporary file under its fixed name. What the name holds is the
// file of a killed save, which goes, or of a save of the same target still
// running, which keeps it locked and makes this one fail ("busy"). The new
// file is locked at once and stays ours until the rename: another save
// removes only an unlocked file.
int CreateNamedTemporary(const std::string& path)
{
    const int old = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (old >= 0) {
        const bool inUse = ::flock(old, LOCK_EX | LOCK_NB) != 0;
        if (!inUse)
            ::unlink(path.c_str());
        ::close(old);
        if (inUse) {
            errno = EBUSY;
            return -1;
        }
    } else if (errno != ENOENT) {
        ::unlink(path.c_str()); // a link, or a file we may not read
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EEXIST)
            errno = EBUSY;
        return -1;
    }
    struct stat mine {
    }, named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &mine) != 0 || ::stat(path.c_str(), &named) != 0
        || mine.st_ino != named.st_ino || mine.st_dev != named.st_dev) {
        ::close(fd); // another save took it in between
        errno = EBUSY;
        return -1;
    }
    return fd;
}

// Reads what `call(buffer, size)` (a list or get of extended attributes)
// gives, growing the buffer as asked; false with errno set when it fails.
template <class Call> bool ReadAttributeCall(Call call, std::string& out)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        const ssize_t size = call(nullptr, 0);
        if (size < 0)
            return false;
        out.resize(static_cast<std::size_t>(size));
        const ssize_t got = size == 0 ? 0 : call(out.data(), out.size());
        if (got >= 0) {
            out.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE) // ERANGE: it grew in between
            return false;
    }
    errno = ERANGE;
    return false;
}

// The names of a list of extended attributes; a file system without them
// gives none.
template <class List> bool AttributeNames(List list, std::vector<std::string>& names)
{
    std::string buffer;
    if (!ReadAttributeCall(list, buffer))
        return errno == ENOTSUP;
    for (std::size_t start = 0; start < buffer.size();) {
        const std::size_t end = std::min(buffer.find('\0', start), buffer.size());
        if (end > start)
            names.emplace_back(buffer, start, end - start);
        start = end + 1;
    }
    return true;
}

// Gives the file `to` exactly the extended attributes of the file at `from`,
// its access control list among them (which also sets the group bits of the
// mode to the list's mask). False when that cannot be done.
bool CopyAttributes(const std::string& from, int to)
{
    std::vector<std::string> oldNames, newNames;
    if (!AttributeNames([&](char* b, std::size_t n) { return ::listxattr(from.c_str(), b, n); }, oldNames)
        || !AttributeNames([&](char* b, std::size_t n) { return ::flistxattr(to, b, n); }, newNames))
        return false;
    // What the new file took on its own (a list inherited from the folder) goes.
    for (const std::string& name : newNames) {
        if (std::find(oldNames.begin(), oldNames.end(), name) == oldNames.end()
            && ::fremovexattr(to, name.c_str()) != 0 && errno != ENODATA)
            return false;
    }
    std::string value, current;
    for (const std::string& name : oldNames) {
        if (!ReadAttributeCall(
                [&](char* b, std::size_t n) { return ::getxattr(from.c_str(), name.c_str(), b, n); },
                value)) {
            if (errno == ENODATA)
                continue; // removed in between
            return false;
        }
        // Already so (a security label the system gave): left alone.
        if (ReadAttributeCall(
                [&](char* b, std::size_t n) { return ::fgetxattr(to, name.c_str(), b, n); }, current)
            && current == value)
            continue;
        if (::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0)
            return false;
    }
    return true;
}

// The errno of a failure, else 0.
int WriteAllAt(int fd, const char* p, std::size_t size, off_t offset)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, p, size, offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        p += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return 0;
}

} // namespace

std::string AtomicFileWriter::LeftoverPath(const std::string& targetPath)
{
    const auto [folder, base] = SplitPath(targetPath);
    return (folder == "/" ? std::string() : folder) + "/" + LeftoverName(base);
}

AtomicFileWriter::AtomicFileWriter(std::string targetPath)
    : Target(std::move(targetPath))
{
    struct stat st { };
    // Saving through a symbolic link writes the file it points to and keeps the
    // link. A link that leads nowhere (dangling, or a loop) is an error, never
    // replaced by a file.
    bool exists = ::lstat(Target.c_str(), &st) == 0;
    if (exists && S_ISLNK(st.st_mode)) {
        // A link to a pipe or a device is refused as one, also where the path
        // it leads to cannot be resolved (/dev/stdout on a pipe: "pipe:[n]").
        struct stat to { };
        if (::stat(Target.c_str(), &to) == 0 && !S_ISREG(to.st_mode))
            RefuseSpecialFile(to);
        char* real = ::realpath(Target.c_str(), nullptr);
        if (!real)
            throw ErrorFromErrno(errno);
        Target = real;
        std::free(real);
        exists = ::stat(Target.c_str(), &st) == 0;
    }
    if (exists) {
        // A directory cannot be replaced by a rename; a pipe or a device is not
        // ours to replace. Say so before anything is written.
        if (!S_ISREG(st.st_mode))
            RefuseSpecialFile(st);
        // A read-only file stays as it is; the mode bits are asked as well, as
        // the super-user passes every access check.
        if (::faccessat(AT_FDCWD, Target.c_str(), W_OK, AT_EACCESS) != 0)
            throw ErrorFromErrno(errno);
        if ((st.st_mode & 0222) == 0)
            throw ErrorFromErrno(EACCES);
        // Replacing a file with several names would split it from the others.
        InPlace = st.st_nlink > 1;
    }
    if (!InPlace && !OpenTemporary(st, exists))
        InPlace = true;
    if (InPlace) {
        // Read as well: the old bytes are kept, to be put back should a write fail.
        InPlaceFd = ::open(Target.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (InPlaceFd < 0)
            throw ErrorFromErrno(errno);
        // Nothing reaches the file before Commit knows the whole size.
        Temp = File::Collector();
    }
}

// False when the file is to be written in place instead: the folder may not
// be written to, or a new file could not take the old one's owner, mode or
// attributes.
bool AtomicFileWriter::OpenTemporary(const struct stat& old, bool exists)
{
    // Unnamed where the file system allows it, so a crash leaves nothing.
    // The mode given here passes through the umask in the system, which is
    // how the umask is honoured without reading or changing it.
    int fd = ::open(SplitPath(Target).first.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0 && !IsPermissionError(errno) && errno != ENOENT && errno != ENOTDIR) {
        TempPath = LeftoverPath(Target);
        fd = CreateNamedTemporary(TempPath);
    }
    if (fd < 0) {
        const int error = errno;
        TempPath.clear();
        // A writable file in a folder we may not write to is written in place.
        if (!(exists && IsPermissionError(error)))
            throw ErrorFromErrno(error);
        return false;
    }
    // The owner first, then the mode (a change of owner clears the set-id
    // bits), then the attributes (an access list sets the group bits).
    if (exists
        && (::fchown(fd, old.st_uid, old.st_gid) != 0 || ::fchmod(fd, old.st_mode & 07777) != 0
            || !CopyAttributes(Target, fd))) {
        ::close(fd);
        if (!TempPath.empty())
            ::unlink(TempPath.c_str());
        TempPath.clear();
        return false;
    }
    Temp = File(fd);
    return true;
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (!Committed && !TempPath.empty())
        ::unlink(TempPath.c_str());
    Temp.Close();
    if (InPlaceFd >= 0)
        ::close(InPlaceFd);
}

void AtomicFileWriter::CommitInPlace()
{
    const std::string& bytes = Temp.Collected;
    const int fd = InPlaceFd;
    struct stat st { };
    if (::fstat(fd, &st) != 0)
        throw ErrorFromErrno(errno);
    // The old bytes, to be put back should a write fail part way.
    std::string old(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t got = 0;
    while (got < old.size()) {
        const ssize_t n = ::pread(fd, old.data() + got, old.size() - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw ErrorFromErrno(errno);
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    old.resize(got);
    const off_t oldSize = static_cast<off_t>(old.size());
    const off_t newSize = static_cast<off_t>(bytes.size());

    // Room for the whole new file before a byte is overwritten: a full disk,
    // a quota or a size limit fails here, the file as it was.
    std::size_t head = bytes.size(); // bytes still to write from the start
    int error = 0;
    if (newSize > 0) {
        int r;
        do {
            r = ::fallocate(fd, 0, 0, newSize);
        } while (r != 0 && errno == EINTR);
        if (r != 0 && (errno == EOPNOTSUPP || errno == ENOSYS)) {
            // No reserving here: the file grows first, past its old end only.
            if (newSize > oldSize) {
                error = WriteAllAt(fd, bytes.data() + oldSize, bytes.size() - old.size(), oldSize);
                head = old.size();
            }
        } else if (r != 0) {
            error = errno;
        }
        if (error != 0) {
            (void)!::ftruncate(fd, oldSize); // what was added in part
            throw ErrorFromErrno(error);
        }
    }
    error = WriteAllAt(fd, bytes.data(), head, 0);
    if (error == 0 && newSize < oldSize && ::ftruncate(fd, newSize) != 0)
        error = errno;
    if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        error = errno;
    if (error != 0) {
        // The old bytes back where they were: their room is there.
        (void)WriteAllAt(fd, old.data(), old.size(), 0);
        (void)!::ftruncate(fd, oldSize);
        (void)::fsync(fd);
        throw ErrorFromErrno(error);
    }
}

void AtomicFileWriter::Commit()
{
    if (InPlace) {
        CommitInPlace();
        Committed = true;
        Temp.Close();
        ::close(InPlaceFd);
        InPlaceFd = -1;
        return;
    }
    Temp.Sync();
    if (TempPath.empty()) {
        // The unnamed file gets its name only now, just before the rename.
        const std::string name = LeftoverPath(Target);
        const std::string self = "/proc/self/fd/" + std::to_string(Temp.Fd);
        for (int attempt = 0;; ++attempt) {
            int r = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
            if (r != 0 && errno != EEXIST) // without /proc
                r = ::linkat(Temp.Fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
            if (r == 0)
                break;
            if (errno != EEXIST || attempt > 0)
                throw ErrorFromErrno(errno);
            ::unlink(name.c_str()); // what a killed save left
        }
        TempPath = name;
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
