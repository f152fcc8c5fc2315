#pragma once
// Plain file access on POSIX descriptors, with the system's error texts.
// Reads go through a read-ahead block and writes through a buffer, so a file
// read or written record by record costs one system call, not one per record.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <sys/stat.h>
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

// Opens an existing plain file for reading without ever waiting: a named
// pipe, a device or a directory is refused (FileError with code 0 and no
// text for the first two). Returns the descriptor and the file's size.
int OpenPlainFileForReading(const std::string& path, std::uint64_t& size);

class File {
public:
    enum class Mode { Read, Write };

    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    // Read: an existing plain file (a directory, pipe or device is refused,
    // asked by name before opening; the descriptor is not asked again).
    // Write: created anew, an existing file replaced. Throws FileError.
    static File Open(const std::string& path, Mode mode);
    // Reads a copy of these bytes as a file of them reads, so that a reader can
    // run on data in memory (the fuzz targets) through the same code.
    static File FromMemory(const void* data, std::size_t size);

    bool IsOpen() const { return Fd >= 0 || InMemory || Collecting; }
    // The size a file opened for reading had when it was opened (the bytes of
    // a file in memory), known without asking the system again.
    std::uint64_t SizeAtOpen() const { return OpenSize; }
    // Reads up to `size` bytes at the current position, looping over short
    // reads; returns fewer only at the end of the file. Throws FileError when
    // the system call fails.
    std::size_t Read(void* buffer, std::size_t size)
    {
        return ReadBuffered(buffer, size) ? size : ReadThrough(buffer, size);
    }
    // Takes all `size` bytes from the block read ahead when it holds them;
    // false, having taken nothing, when it does not.
    bool ReadBuffered(void* buffer, std::size_t size)
    {
        const unsigned char* p = TakeBuffered(size);
        if (!p)
            return false;
        std::memcpy(buffer, p, size);
        return true;
    }
    // The next `size` bytes where they stand in the block read ahead, taken as
    // read, when it holds them all; null, having taken nothing, when it does
    // not. Valid until the next call on this file.
    const unsigned char* TakeBuffered(std::size_t size)
    {
        if (Writing || End - Begin < size)
            return nullptr;
        const unsigned char* p = Buffer.get() + Begin;
        Begin += size;
        return p;
    }
    // Queues all bytes; they reach the file when the buffer fills, on Flush or
    // on Sync. Throws FileError when writing out fails; after such a failure
    // every further Write, Flush and Sync fails too.
    void Write(const void* buffer, std::size_t size);
    // Writes out the queued bytes, looping over short writes. Throws FileError.
    void Flush();
    // Moves the position relative to the current one. Throws FileError.
    void SeekRelative(off_t delta);
    // Writes out the queued bytes and flushes the data to the disk. Throws FileError.
    void Sync();
    // Bytes still queued are dropped: only Flush and Sync can report that
    // writing failed, so a writer calls one of them first.
    void Close();

    static constexpr std::size_t BlockSize = 64 * 1024;
    // Blocks start on a page boundary: the kernel copies file bytes to or from
    // a block that starts a few bytes past one at a fraction of its speed.
    static constexpr std::size_t BlockAlignment = 4096;

    struct BlockDelete {
        void operator()(unsigned char* block) const noexcept;
    };
    using Block = std::unique_ptr<unsigned char[], BlockDelete>;
    // Uninitialised.
    static Block NewBlock(std::size_t size);

private:
    friend class AtomicFileWriter;
    explicit File(int fd)
        : Fd(fd)
    {
    }
    // Keeps every byte written in memory and writes nothing (Collected).
    static File Collector();
    std::size_t ReadThrough(void* buffer, std::size_t size);
    void WriteOut(const unsigned char* p, std::size_t size);
    int Fd = -1;
    // Read-ahead bytes (Begin..End unread) or, once written to, queued bytes (0..End).
    Block Buffer;
    std::size_t Begin = 0;
    std::size_t End = 0;
    bool Writing = false;
    int WriteFailure = 0; // errno of a write that failed
    bool InMemory = false; // Buffer holds the whole file, there is no descriptor
    bool Collecting = false; // written bytes go to Collected, there is no descriptor
    std::string Collected;
    std::uint64_t OpenSize = 0;
};

// Writes a file crash-safely: the bytes go into a temporary file in the same
// folder (unnamed where the file system allows it) which replaces the target
// only on Commit, so a failure at any point leaves the previous file as it
// was. The new file keeps the old one's mode, owner, extended attributes and
// access control list; a new file gets 0666 less the umask. A read-only file,
// a dangling or looping symbolic link and a special file are refused.
// A file with several hard links, a writable file in a folder we may not write
// to, and a file whose owner or attributes a new file could not take, are
// written in place: Commit reserves the whole new size before it overwrites a
// byte and puts the old bytes back when a write still fails.
// A save killed before its rename leaves at most one file, at LeftoverPath;
// the next save of the same target removes it.
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

    // The one name a save of the file at `targetPath` (where a symbolic link
    // leads, not the link) gives its temporary file: hidden, beside it.
    static std::string LeftoverPath(const std::string& targetPath);

private:
    bool OpenTemporary(const struct stat& old, bool exists);
    void CommitInPlace();
    std::string Target;
    std::string TempPath; // empty while the temporary file has no name
    bool InPlace = false;
    int InPlaceFd = -1; // the target itself, when written in place
    File Temp; // the temporary file, or the bytes collected for writing in place
    bool Committed = false;
};

} // namespace platform
