#include "Ivstream.h"

#include "CodePage.h"
#include "File.h"
#include "Ivdictio.h"
#include "Nls.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <unistd.h>

// ------------------------------------------------------------ streams

void TIvStream::ReadBuffer(void* buffer, size_t size)
{
    if (size > 0 && Read(buffer, size) != size)
        throw EReadError();
}

size_t TIvMemoryStream::Read(void* buffer, size_t size)
{
    if (FPosition >= FBytes.size())
        return 0;
    size_t n = std::min<uint64_t>(size, FBytes.size() - FPosition);
    std::memcpy(buffer, FBytes.data() + FPosition, n);
    FPosition += n;
    return n;
}

TIvFileStream::TIvFileStream(const std::string& fileName)
{
    try {
        FFd = platform::OpenPlainFileForReading(fileName, FSize);
    } catch (const platform::FileError& e) {
        throw EFOpenError("Cannot open file \"" + fileName + "\"." + (e.Text.empty() ? "" : " " + e.Text));
    }
}

TIvFileStream::~TIvFileStream()
{
    if (FFd >= 0)
        ::close(FFd);
}

size_t TIvFileStream::Read(void* buffer, size_t size)
{
    size_t done = 0;
    while (done < size) {
        ssize_t n
            = ::pread(FFd, static_cast<char*>(buffer) + done, size - done, static_cast<off_t>(FPosition));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EReadError();
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
        FPosition += static_cast<uint64_t>(n);
    }
    return done;
}

std::string IvReadFileBytes(const std::string& fileName)
{
    TIvFileStream stream(fileName);
    std::string bytes;
    char chunk[65536];
    size_t n;
    while ((n = stream.Read(chunk, sizeof chunk)) > 0)
        bytes.append(chunk, n);
    return bytes;
}

// ------------------------------------------------------------ resources

namespace {

std::mutex gResourceLock;

std::map<std::string, std::string>& ResourceTable()
{
    static std::map<std::string, std::string> table;
    return table;
}

std::string ResourceKey(const std::string& type, const std::string& name)
{
    return type + '/' + name;
}

} // namespace

void IvRegisterResource(const std::string& type, const std::string& name, std::string bytes)
{
    std::lock_guard lock(gResourceLock);
    ResourceTable()[ResourceKey(type, name)] = std::move(bytes);
}

void IvUnregisterResource(const std::string& type, const std::string& name)
{
    std::lock_guard lock(gResourceLock);
    ResourceTable().erase(ResourceKey(type, name));
}

bool IvFindResource(const std::string& type, const std::string& name, std::string& bytes)
{
    {
        std::lock_guard lock(gResourceLock);
        auto it = ResourceTable().find(ResourceKey(type, name));
        if (it != ResourceTable().end()) {
            bytes = it->second;
            return true;
        }
    }
    if (type.empty() || name.empty())
        return false;
    QFile file(QString::fromStdString(":/" + ResourceKey(type, name)));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray data = file.readAll();
    bytes.assign(data.constData(), static_cast<size_t>(data.size()));
    return true;
}

// ------------------------------------------------------------ text conversions

TIvCodePageText::TIvCodePageText(int codePage)
    : FCodePage(codePage)
{
    auto& nls = platform::CurrentNls();
    if (codePage <= 0 || !nls.IsCodePageSupported(codePage))
        throw EIvMulti("The code page " + std::to_string(codePage) + " cannot be converted");
    if (codePage == 65001 || codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950
        || codePage == 1361)
        return;
    // All 256 bytes in one conversion: a single-byte code page gives one unit each.
    std::string bytes(256, '\0');
    for (int b = 0; b < 256; ++b)
        bytes[b] = static_cast<char>(b);
    std::u16string units = nls.ToUtf16(bytes, codePage);
    if (units.size() != 256)
        return;
    FSingleByte = true;
    std::copy(units.begin(), units.end(), FTable);
}

std::string TIvCodePageText::ToUtf8(std::string_view bytes) const
{
    if (FCodePage == 65001)
        return std::string(bytes);
    if (!FSingleByte)
        return platform::Utf16ToUtf8(platform::CurrentNls().ToUtf16(bytes, FCodePage));
    return platform::Utf16UnitsToUtf8(bytes.size(), [&](size_t i) -> uint32_t {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        return b < 0x80 ? b : FTable[b];
    });
}

std::string TIvCodePageText::FromUtf8(std::string_view text) const
{
    if (FCodePage == 65001)
        return std::string(text);
    bool ascii = true;
    for (char c : text)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        return std::string(text);
    return platform::CurrentNls().FromUtf16(platform::Utf8ToUtf16Lenient(text), FCodePage);
}

char16_t TIvCodePageText::CharOf(unsigned char byte) const
{
    if (FSingleByte)
        return FTable[byte];
    if (byte < 0x80)
        return byte;
    char b = static_cast<char>(byte);
    std::u16string c = platform::CurrentNls().ToUtf16(std::string_view(&b, 1), FCodePage);
    return c.size() == 1 ? c[0] : u'?';
}

char TIvCodePageText::ByteOf(char16_t c) const
{
    if (c < 0x80)
        return static_cast<char>(c);
    std::string b = platform::CurrentNls().FromUtf16(std::u16string_view(&c, 1), FCodePage);
    return b.size() == 1 ? b[0] : '?';
}
