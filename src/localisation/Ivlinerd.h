#pragma once
// Line readers of text dictionaries: 8-bit ("ANSI"), UTF-8 and UTF-16 text
// from a file or from a resource of type "PAROLEX". Line ends (CR, LF) are
// not part of a line; the file readers and the 8-bit and UTF-8 resource
// readers pass over empty lines, the UTF-16 resource reader returns them.
#include "Ivstream.h"

#include <cstdint>
#include <string>
#include <span>
#include <string_view>

class EIvNotUnicodeFile : public Exception {
public:
    EIvNotUnicodeFile()
        : Exception("Not a Unicode file")
    {
    }
};

class EIvUTF8 : public Exception {
public:
    EIvUTF8(const std::string& message, std::string text)
        : Exception(message)
        , Text(std::move(text))
    {
    }
    std::string Text; // the whole text that failed to decode
};

// UTF-8 decoded strictly (platform::Utf8ToUtf16Strict); what it refuses raises EIvUTF8
// "Invalid UTF-8 string".
void IvUTF8ToWStr(const std::string& text, std::u16string& result);

constexpr char IvLineResourceType[] = "PAROLEX";

class TIvBaseReader {
public:
    virtual ~TIvBaseReader() = default;
    std::string FileName; // the file, or the resource's name
    virtual void Open() = 0;
    virtual void Close() { }
    virtual bool Eof() = 0;
};

class TIvBaseAnsiReader : public TIvBaseReader {
public:
    virtual std::string ReadLine() = 0;
};

class TIvBaseWideReader : public TIvBaseReader {
public:
    virtual std::u16string ReadLine() = 0;
};

// Buffered bytes of an open file. A failing read raises, never passes for the end.
class TIvFileBytes {
public:
    ~TIvFileBytes() { Close(); }
    // EInOutError "Could not open the file NAME" when it does not open.
    void Open(const std::string& name);
    void Close();
    bool IsOpen() const { return FHandle >= 0; }
    bool Next(uint8_t& byte);
    bool Peek(uint8_t& byte);
    bool AtEnd();
    // Passes over `prefix` when the file starts with it; only before the first byte is taken.
    bool SkipPrefix(std::string_view prefix);
    // The bytes up to the next CR or LF, then passes over every CR and LF that follows.
    std::string TakeLine();
    // The bytes read and not yet taken, after a new read when none are left; empty at the end.
    std::span<const uint8_t> Buffered();
    void Skip(size_t count);

    // One read fills this much.
    static constexpr size_t BufferSize = 4096;

private:
    bool Fill();
    int FHandle = -1; // 0 is a valid descriptor
    size_t FCount = 0;
    size_t FPosition = 0;
    uint8_t FBuffer[BufferSize];
};

class TIvAnsiReader : public TIvBaseAnsiReader {
public:
    ~TIvAnsiReader() override { Close(); }
    void Open() override { FBytes.Open(FileName); }
    void Close() override { FBytes.Close(); }
    bool Eof() override { return FBytes.AtEnd(); }
    std::string ReadLine() override;

private:
    TIvFileBytes FBytes;
};

class TIvResourceAnsiReader : public TIvBaseAnsiReader {
public:
    // EInOutError "Could not open the resource NAME" when there is none.
    void Open() override;
    bool Eof() override { return FPosition >= FData.size(); }
    std::string ReadLine() override;

protected:
    std::string FData;
    size_t FPosition = 0;
};

class TIvUTF8Reader : public TIvBaseWideReader {
public:
    ~TIvUTF8Reader() override { Close(); }
    // A leading byte-order mark is passed over.
    void Open() override;
    void Close() override { FBytes.Close(); }
    bool Eof() override { return FBytes.AtEnd(); }
    std::u16string ReadLine() override;

private:
    TIvFileBytes FBytes;
};

class TIvUTF16Reader : public TIvBaseWideReader {
public:
    // The byte order is used when the mark is not checked.
    TIvUTF16Reader(TIvByteOrder byteOrder, bool checkByteOrderMark);
    ~TIvUTF16Reader() override { Close(); }
    // With the check, the mark FF FE or FE FF sets the byte order; without
    // one the file is closed and EIvNotUnicodeFile raised.
    void Open() override;
    void Close() override { FBytes.Close(); }
    bool Eof() override;
    std::u16string ReadLine() override;
    bool IsBigEndian() const { return FBigEndian; }

private:
    bool Next(char16_t& c);
    bool Peek(char16_t& c);
    char16_t Unit(uint8_t first, uint8_t second) const;
    TIvFileBytes FBytes;
    bool FBigEndian;
    bool FCheck;
    char16_t FHeld = 0;
    bool FHasHeld = false;
};

class TIvResourceUTF8Reader : public TIvBaseWideReader {
public:
    void Open() override;
    bool Eof() override { return FPosition >= FData.size(); }
    std::u16string ReadLine() override;

private:
    std::string FData;
    size_t FPosition = 0;
};

// Machine order (little-endian) unless the data starts with a byte-order mark.
class TIvResourceUTF16Reader : public TIvBaseWideReader {
public:
    void Open() override;
    bool Eof() override { return FPosition + 1 >= FData.size(); }
    std::u16string ReadLine() override;

private:
    char16_t Unit(size_t at) const;
    std::string FData;
    size_t FPosition = 0;
    bool FBigEndian = false;
};
