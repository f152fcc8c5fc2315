#include "File.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <libgen.h>
#include <sys/stat.h>
#include <unistd.h>
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

File::~File()
{
    Close();
}

File::File(File&& other) noexcept
    : Fd(other.Fd)
{
    other.Fd = -1;
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        Close();
        Fd = other.Fd;
        other.Fd = -1;
    }
    return *this;
}

File File::Open(const std::string& path, Mode mode)
{
    int flags = O_CLOEXEC | (mode == Mode::Read ? O_RDONLY : (O_WRONLY | O_CREAT | O_TRUNC));
    int fd;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw ErrorFromErrno(errno);
    if (mode == Mode::Read) {
        struct stat st { };
        if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            throw ErrorFromErrno(EISDIR);
        }
    }
    return File(fd);
}

std::size_t File::Read(void* buffer, std::size_t size)
{
    auto* p = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::read(Fd, p + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw ErrorFromErrno(errno);
        }
        if (n == 0)
            break; // end of file
        done += static_cast<std::size_t>(n);
    }
    return done;
}

void File::Write(const void* buffer, std::size_t size)
{
    auto* p = static_cast<const unsigned char*>(buffer);
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

void File::SeekRelative(off_t delta)
{
    if (::lseek(Fd, delta, SEEK_CUR) < 0)
        throw ErrorFromErrno(errno);
}

void File::Sync()
{
    if (::fsync(Fd) != 0 && errno != EINVAL && errno != EROFS)
        throw ErrorFromErrno(errno);
}

void File::Close()
{
    if (Fd >= 0) {
        ::close(Fd);
        Fd = -1;
    }
}

AtomicFileWriter::AtomicFileWriter(std::string targetPath)
    : Target(std::move(targetPath))
{
    // A directory in place of the file cannot be replaced by a rename; say so
    // before anything is written.
    struct stat st { };
    if (::stat(Target.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        throw ErrorFromErrno(EISDIR);
    // Saving through a symbolic link writes the file it points to and keeps the
    // link, as writing in place would.
    if (::lstat(Target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(Target.c_str(), nullptr)) {
            Target = real;
            std::free(real);
        }
    }
    std::vector<char> pattern(Target.begin(), Target.end());
    const char suffix[] = ".tmpXXXXXX";
    pattern.insert(pattern.end(), suffix, suffix + sizeof suffix);
    int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw ErrorFromErrno(errno);
    TempPath.assign(pattern.data());
    // mkstemp creates 0600; give the file the usual permissions.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    Temp = File(fd);
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (!Committed) {
        Temp.Close();
        ::unlink(TempPath.c_str());
    }
}

void AtomicFileWriter::Commit()
{
    Temp.Sync();
    Temp.Close();
    if (::rename(TempPath.c_str(), Target.c_str()) != 0)
        throw ErrorFromErrno(errno);
    Committed = true;
    // Make the rename itself durable.
    std::vector<char> dir(Target.begin(), Target.end());
    dir.push_back('\0');
    int dfd = ::open(::dirname(dir.data()), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

} // namespace platform
