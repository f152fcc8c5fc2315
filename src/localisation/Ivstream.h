#pragma once
// Byte streams that dictionary files are read from (a file, a resource, bytes
// in memory), the program's named resources, and the text conversions of
// dictionary data: UTF-16 and 8-bit text of a code page to and from UTF-8.
#include "Exception.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

enum TIvByteOrder { ivboBigEndian, ivboLittleEndian };

// The class library's stream errors.
class EReadError : public Exception {
public:
    EReadError()
        : Exception("Stream read error")
    {
    }
};
class EFOpenError : public Exception {
public:
    using Exception::Exception;
};
class EInOutError : public Exception {
public:
    using Exception::Exception;
};
class EResNotFound : public Exception {
public:
    using Exception::Exception;
};

class TIvStream {
public:
    virtual ~TIvStream() = default;
    // Up to `size` bytes from the position; fewer only at the end. A failing
    // read raises EReadError, never passes for the end of the data.
    virtual size_t Read(void* buffer, size_t size) = 0;
    // Positions past the end are allowed; reading there gives nothing.
    virtual void Seek(uint64_t position) = 0;
    virtual uint64_t GetPosition() const = 0;
    virtual uint64_t GetSize() const = 0;

    // Exactly `size` bytes or EReadError.
    void ReadBuffer(void* buffer, size_t size);
};

class TIvMemoryStream : public TIvStream {
public:
    explicit TIvMemoryStream(std::string bytes)
        : FBytes(std::move(bytes))
    {
    }
    size_t Read(void* buffer, size_t size) override;
    void Seek(uint64_t position) override { FPosition = position; }
    uint64_t GetPosition() const override { return FPosition; }
    uint64_t GetSize() const override { return FBytes.size(); }
    const std::string& Bytes() const { return FBytes; }

private:
    std::string FBytes;
    uint64_t FPosition = 0;
};

// A file opened for reading; others may read and write it meanwhile.
class TIvFileStream : public TIvStream {
public:
    // Raises EFOpenError: Cannot open file "NAME". and the system's reason.
    explicit TIvFileStream(const std::string& fileName);
    ~TIvFileStream() override;
    TIvFileStream(const TIvFileStream&) = delete;
    TIvFileStream& operator=(const TIvFileStream&) = delete;
    size_t Read(void* buffer, size_t size) override;
    void Seek(uint64_t position) override { FPosition = position; }
    uint64_t GetPosition() const override { return FPosition; }
    uint64_t GetSize() const override { return FSize; }

private:
    int FFd = -1;
    uint64_t FPosition = 0;
    uint64_t FSize = 0;
};

// The whole file's bytes; EFOpenError or EReadError.
std::string IvReadFileBytes(const std::string& fileName);

// --- Named resources of the program: a table that code fills, then the Qt
// resource ":/TYPE/NAME" (read through QFile, since resources may be compressed).
void IvRegisterResource(const std::string& type, const std::string& name, std::string bytes);
void IvUnregisterResource(const std::string& type, const std::string& name);
bool IvFindResource(const std::string& type, const std::string& name, std::string& bytes);

// Converts 8-bit text of one code page to UTF-8 and back. A code page that
// the platform cannot convert raises EIvMulti naming it. Single-byte code
// pages go through a table built once, so rows decode without a converter.
class TIvCodePageText {
public:
    explicit TIvCodePageText(int codePage);
    int GetCodePage() const { return FCodePage; }
    std::string ToUtf8(std::string_view bytes) const;
    std::string FromUtf8(std::string_view text) const;
    // One character of a code page byte and back ('?' when it has none).
    char16_t CharOf(unsigned char byte) const;
    char ByteOf(char16_t c) const;

private:
    int FCodePage;
    bool FSingleByte = false;
    char16_t FTable[256] = {};
};
