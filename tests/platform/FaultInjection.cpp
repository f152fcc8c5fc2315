#undef _FORTIFY_SOURCE
#include "FaultInjection.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace faults {

namespace {
std::size_t WriteBudget = 0;
int WriteError = 0;
bool FailOnce = true;
int Writes = 0;
} // namespace

bool NoReserving = false;
bool NoUnnamedFiles = false;

void FailPositionalWritesAfter(std::size_t bytes, int error, bool once)
{
    WriteBudget = bytes;
    WriteError = error;
    FailOnce = once;
}

int PositionalWrites()
{
    return Writes;
}

void Reset()
{
    WriteError = 0;
    Writes = 0;
    NoReserving = NoUnnamedFiles = false;
}

} // namespace faults

extern "C" ssize_t pwrite(int fd, const void* buffer, size_t size, off_t offset)
{
    using namespace faults;
    ++Writes;
    if (WriteError != 0) {
        if (WriteBudget == 0) {
            errno = WriteError;
            if (FailOnce)
                WriteError = 0;
            return -1;
        }
        size = std::min(size, WriteBudget);
        WriteBudget -= size;
    }
    return syscall(SYS_pwrite64, fd, buffer, size, offset);
}

extern "C" int fallocate(int fd, int mode, off_t offset, off_t length)
{
    if (faults::NoReserving) {
        errno = EOPNOTSUPP;
        return -1;
    }
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
    if (faults::NoUnnamedFiles && (flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return static_cast<int>(syscall(SYS_openat, AT_FDCWD, path, flags, mode));
}
