#pragma once
// Plain file access on POSIX descriptors, with the system's error texts.
#include <cstddef>
#include <string>
#include <sys/types.h>

namespace platform {

// The system's message text for an errno value; empty when there is none.
std::string SystemErrorText(int errorCode);

// Thrown when a system call on a file fails; carries the errno value so that
// callers can choose their own message when the system has no text.
class FileError : public std::exception {
public:
    FileError(int errorCode, std::string text)
        : Code(errorCode)
        , Text(std::move(text))
    {
    }
    const char* what() const noexcept override { return Text.c_str(); }
    int Code;
    std::string Text;
};

class File {
public:
    enum class Mode { Read, Write };

    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    // Read: an existing plain file (a directory, pipe or device is refused).
    // Write: created anew, an existing file replaced. Throws FileError.
    static File Open(const std::string& path, Mode mode);

    bool IsOpen() const { return Fd >= 0; }
    // Reads up to `size` bytes, looping over short reads; returns fewer only at
    // the end of the file. Throws FileError when the system call fails.
    std::size_t Read(void* buffer, std::size_t size);
    // Writes all bytes, looping over short writes. Throws FileError.
    void Write(const void* buffer, std::size_t size);
    // Moves the position relative to the current one. Throws FileError.
    void SeekRelative(off_t delta);
    // Flushes the data to the disk. Throws FileError.
    void Sync();
    void Close();

private:
    friend class AtomicFileWriter;
    explicit File(int fd)
        : Fd(fd)
    {
    }
    int Fd = -1;
};

// Writes a file crash-safely: the bytes go into a temporary file in the same
// folder (unnamed where the file system allows it) which replaces the target
// only on Commit, so a failure at any point leaves the previous file as it
// was. The new file keeps the old one's mode and, where allowed, its owner;
// a new file gets 0666 less the umask. A read-only file, a dangling or looping
// symbolic link and a special file are refused. A file with several hard links,
// or a writable file in a folder we may not write to, is written in place.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string targetPath); // throws FileError
    ~AtomicFileWriter(); // removes the temporary file unless committed
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    File& Stream() { return Temp; }
    void Write(const void* buffer, std::size_t size) { Temp.Write(buffer, size); }
    // Flushes, closes and renames over the target. Throws FileError.
    void Commit();

private:
    std::string Target;
    std::string TempPath; // empty while the temporary file has no name
    bool InPlace = false;
    File Temp;
    bool Committed = false;
};

} // namespace platform
