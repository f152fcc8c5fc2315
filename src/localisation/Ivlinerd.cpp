#include "Ivlinerd.h"

#include "CodePage.h"
#include "File.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <unistd.h>

namespace {

constexpr char CR = 13;
constexpr char LF = 10;

bool IsLineEnd(uint32_t c)
{
    return c == CR || c == LF;
}

std::string FindLineResource(const std::string& name)
{
    std::string data;
    if (!IvFindResource(IvLineResourceType, name, data))
        throw EInOutError("Could not open the resource " + name);
    return data;
}

bool HasUtf8Mark(const std::string& data)
{
    return data.size() >= 3 && data.compare(0, 3, "\xEF\xBB\xBF") == 0;
}

// A line of 8-bit units out of bytes held in memory.
std::string ReadMemoryLine(const std::string& data, size_t& position)
{
    position = std::min(position, data.size());
    size_t end = std::min(data.find_first_of("\r\n", position), data.size());
    std::string line = data.substr(position, end - position);
    position = std::min(data.find_first_not_of("\r\n", end), data.size());
    return line;
}

std::u16string Utf8Line(const std::string& bytes)
{
    std::u16string line;
    IvUTF8ToWStr(bytes, line);
    return line;
}

} // namespace

void IvUTF8ToWStr(const std::string& text, std::u16string& result)
{
    std::optional<std::u16string> decoded = platform::Utf8ToUtf16Strict(text);
    if (!decoded)
        throw EIvUTF8("Invalid UTF-8 string", text);
    result = std::move(*decoded);
}

// ------------------------------------------------------------ file bytes

void TIvFileBytes::Open(const std::string& name)
{
    Close();
    try {
        uint64_t size = 0;
        FHandle = platform::OpenPlainFileForReading(name, size);
    } catch (const platform::FileError&) {
        throw EInOutError("Could not open the file " + name);
    }
}

void TIvFileBytes::Close()
{
    if (FHandle >= 0)
        ::close(FHandle);
    FHandle = -1;
    FCount = FPosition = 0;
}

bool TIvFileBytes::Fill()
{
    FPosition = 0;
    FCount = 0;
    if (FHandle < 0)
        return false;
    ssize_t n;
    do
        n = ::read(FHandle, FBuffer, sizeof FBuffer);
    while (n < 0 && errno == EINTR);
    if (n < 0)
        throw EReadError();
    FCount = static_cast<size_t>(n);
    return FCount > 0;
}

bool TIvFileBytes::SkipPrefix(std::string_view prefix)
{
    if (FPosition != 0 || (FCount == 0 && !Fill()))
        return false;
    // A regular file fills the buffer on the first read; anything shorter has no prefix.
    if (FCount < prefix.size()
        || std::string_view(reinterpret_cast<const char*>(FBuffer), prefix.size()) != prefix)
        return false;
    FPosition = prefix.size();
    return true;
}

// A line is taken a buffer at a time rather than byte by byte.
std::string TIvFileBytes::TakeLine()
{
    std::string line;
    while (!AtEnd()) {
        const uint8_t* start = FBuffer + FPosition;
        const uint8_t* end = FBuffer + FCount;
        const uint8_t* stop = std::find_if(start, end, [](uint8_t b) { return IsLineEnd(b); });
        line.append(reinterpret_cast<const char*>(start), static_cast<size_t>(stop - start));
        FPosition = static_cast<size_t>(stop - FBuffer);
        if (stop != end)
            break;
    }
    while (!AtEnd() && IsLineEnd(FBuffer[FPosition]))
        ++FPosition;
    return line;
}

std::span<const uint8_t> TIvFileBytes::Buffered()
{
    if (AtEnd())
        return {};
    return { FBuffer + FPosition, FCount - FPosition };
}

void TIvFileBytes::Skip(size_t count)
{
    FPosition = std::min(FCount, FPosition + count);
}

bool TIvFileBytes::AtEnd()
{
    return FPosition >= FCount && !Fill();
}

bool TIvFileBytes::Next(uint8_t& byte)
{
    if (AtEnd())
        return false;
    byte = FBuffer[FPosition++];
    return true;
}

bool TIvFileBytes::Peek(uint8_t& byte)
{
    if (AtEnd())
        return false;
    byte = FBuffer[FPosition];
    return true;
}

// ------------------------------------------------------------ 8-bit readers

std::string TIvAnsiReader::ReadLine()
{
    return FBytes.TakeLine();
}

void TIvResourceAnsiReader::Open()
{
    FData = FindLineResource(FileName);
    FPosition = 0;
}

std::string TIvResourceAnsiReader::ReadLine()
{
    return ReadMemoryLine(FData, FPosition);
}

// ------------------------------------------------------------ UTF-8 readers

void TIvUTF8Reader::Open()
{
    FBytes.Open(FileName);
    FBytes.SkipPrefix("\xEF\xBB\xBF");
}

std::u16string TIvUTF8Reader::ReadLine()
{
    return Utf8Line(FBytes.TakeLine());
}

void TIvResourceUTF8Reader::Open()
{
    FData = FindLineResource(FileName);
    FPosition = HasUtf8Mark(FData) ? 3 : 0;
}

std::u16string TIvResourceUTF8Reader::ReadLine()
{
    return Utf8Line(ReadMemoryLine(FData, FPosition));
}

// ------------------------------------------------------------ UTF-16 readers

TIvUTF16Reader::TIvUTF16Reader(TIvByteOrder byteOrder, bool checkByteOrderMark)
    : FBigEndian(byteOrder == ivboBigEndian)
    , FCheck(checkByteOrderMark)
{
}

void TIvUTF16Reader::Open()
{
    // A unit peeked at in a file read before is no part of this one.
    FHasHeld = false;
    FBytes.Open(FileName);
    if (!FCheck)
        return;
    uint8_t a = 0;
    uint8_t b = 0;
    bool two = FBytes.Next(a) && FBytes.Next(b);
    if (two && a == 0xFF && b == 0xFE) {
        FBigEndian = false;
    } else if (two && a == 0xFE && b == 0xFF) {
        FBigEndian = true;
    } else {
        FBytes.Close();
        throw EIvNotUnicodeFile();
    }
}

// A unit spans two bytes, also across two reads of the buffer; a last odd
// byte is dropped. A unit peeked at is held until it is taken.
bool TIvUTF16Reader::Next(char16_t& c)
{
    if (FHasHeld) {
        c = FHeld;
        FHasHeld = false;
        return true;
    }
    uint8_t a;
    uint8_t b;
    if (!FBytes.Next(a) || !FBytes.Next(b))
        return false;
    c = Unit(a, b);
    return true;
}

char16_t TIvUTF16Reader::Unit(uint8_t first, uint8_t second) const
{
    return FBigEndian ? static_cast<char16_t>((first << 8) | second)
                      : static_cast<char16_t>(first | (second << 8));
}

bool TIvUTF16Reader::Peek(char16_t& c)
{
    if (!FHasHeld && !Next(FHeld))
        return false;
    FHasHeld = true;
    c = FHeld;
    return true;
}

bool TIvUTF16Reader::Eof()
{
    return !FHasHeld && FBytes.AtEnd();
}

// Whole units are decoded straight from the buffer; a unit held by Peek or
// split between two reads goes through Next.
std::u16string TIvUTF16Reader::ReadLine()
{
    std::u16string line;
    char16_t c;
    for (;;) {
        if (!FHasHeld) {
            std::span<const uint8_t> bytes = FBytes.Buffered();
            size_t used = 0;
            bool ended = false;
            while (!ended && used + 1 < bytes.size()) {
                c = Unit(bytes[used], bytes[used + 1]);
                used += 2;
                ended = IsLineEnd(c);
                if (!ended)
                    line.push_back(c);
            }
            FBytes.Skip(used);
            if (ended)
                break;
        }
        if (!Next(c) || IsLineEnd(c))
            break;
        line.push_back(c);
    }
    while (Peek(c) && IsLineEnd(c))
        Next(c);
    return line;
}

void TIvResourceUTF16Reader::Open()
{
    FData = FindLineResource(FileName);
    FPosition = 0;
    FBigEndian = false;
    if (FData.size() >= 2) {
        uint8_t a = static_cast<uint8_t>(FData[0]);
        uint8_t b = static_cast<uint8_t>(FData[1]);
        if ((a == 0xFF && b == 0xFE) || (a == 0xFE && b == 0xFF)) {
            FBigEndian = a == 0xFE;
            FPosition = 2;
        }
    }
}

char16_t TIvResourceUTF16Reader::Unit(size_t at) const
{
    uint8_t a = static_cast<uint8_t>(FData[at]);
    uint8_t b = static_cast<uint8_t>(FData[at + 1]);
    return FBigEndian ? static_cast<char16_t>((a << 8) | b) : static_cast<char16_t>(a | (b << 8));
}

std::u16string TIvResourceUTF16Reader::ReadLine()
{
    std::u16string line;
    while (!Eof()) {
        char16_t c = Unit(FPosition);
        FPosition += 2;
        if (c == LF)
            break;
        if (c == CR) {
            // Only an LF after the CR belongs to this line end.
            if (!Eof() && Unit(FPosition) == LF)
                FPosition += 2;
            break;
        }
        line.push_back(c);
    }
    return line;
}
