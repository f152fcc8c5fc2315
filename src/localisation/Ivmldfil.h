#pragma once
// The MLD dictionary file: a 42-byte header, then sections of languages,
// translation rows (one column per language), custom locales and an
// information block. Versions 1 to 3, either byte order, UTF-16 or 8-bit
// strings. Every count, length and offset comes from a file that may be
// damaged: reads are bounded by the section they belong to and one that
// would cross its end raises "Stream read error".
#include "Ivdictio.h"
#include "Ivstream.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Header byte 5: 0 means UTF-16 strings, any other value 8-bit strings.
constexpr uint8_t ivcsUnicode = 0;

constexpr int IvMLDHeaderSize = 42;
constexpr int IvMLDLatestVersion = 3;

struct TIvMLDDate {
    int Day = 0;
    int Month = 0;
    int Year = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

struct TIvMLDInfo {
    std::string Description;
    std::string Owner;
    std::vector<std::string> Users;
    TIvMLDDate Date; // version 3 only
};

TIvContextType IvContextCodeToType(int contextCode);

class TIvMLDFile {
public:
    TIvMLDFile();
    ~TIvMLDFile();
    TIvMLDFile(const TIvMLDFile&) = delete;
    TIvMLDFile& operator=(const TIvMLDFile&) = delete;

    // The reader reads from `stream`, owning it; Open reads the header.
    void SetStream(std::unique_ptr<TIvStream> stream);
    void Open();
    // Opens the named file, reads the header, takes language 0's code page
    // for texts and positions at the language section.
    void OpenFile(const std::string& name);
    // The same over a stream already set.
    void OpenStream(std::unique_ptr<TIvStream> stream);
    void Close();
    bool IsOpen() const { return FStream != nullptr; }

    // Header.
    int GetVersion() const { return FHeader[3]; }
    TIvByteOrder GetByteOrder() const { return FHeader[4] == 0 ? ivboBigEndian : ivboLittleEndian; }
    uint8_t GetCharacterSet() const { return FHeader[5]; }
    bool IsUnicode() const { return FHeader[5] == ivcsUnicode; }
    int GetContextCode() const { return FHeader[6]; }
    TIvContextType GetContextType() const { return IvContextCodeToType(GetContextCode()); }
    bool UseFormContext() const { return GetContextCode() == ivccFull || GetContextCode() == ivccForm; }
    bool UseComponentContext() const
    {
        return GetContextCode() == ivccFull || GetContextCode() == ivccComponent;
    }
    int GetLanguageCount() const { return HeaderWord(12); }
    int GetTranslationCount() const { return HeaderWord(18); }
    int GetLocaleCount() const { return HeaderWord(24); }
    uint32_t GetLanguageOffset() const { return HeaderDWord(14); }
    uint32_t GetTranslationOffset() const { return HeaderDWord(20); }
    uint32_t GetLocaleOffset() const { return HeaderDWord(26); }
    uint32_t GetInfoOffset() const { return HeaderDWord(32); }
    // The 42 header bytes as read (the version 1 character set moved, the
    // counts and offsets in machine order).
    const std::array<uint8_t, IvMLDHeaderSize>& GetHeader() const { return FHeader; }
    // The code page of 8-bit texts that belong to no language: language 0's, else 1252.
    int GetTextCodePage() const { return FTextCodePage; }
    void SetTextCodePage(int codePage) { FTextCodePage = codePage; }

    void GoLanguageSection();
    void GoTranslationSection();
    void GoLocaleSection();
    void GoInfoSection();

    // Record readers: each reads at the position and advances.
    TIvLanguage& GetCurrentLanguage();
    TIvLocale& GetCurrentLocale();
    // Reads one row for language L (text in `codePage`) with fallback
    // language F (in `fallbackCodePage`); returns the row's status.
    int GetTranslation(
        TIvTranslation& row, int languageIndex, int codePage, int fallbackIndex, int fallbackCodePage);
    // The row's texts: the native text, then column 1 to count - 1 each in
    // its language's code page (`columnCodePages[k]`, else the text code page).
    void GetTranslations(
        TIvContext& context, std::vector<std::string>& strings, const std::vector<int>& columnCodePages = {});
    // The native text and contexts of a row, the columns skipped.
    void GetKey(TIvTranslation& row);
    // Column `index` of a row (0 is the native text), or column
    // `fallbackIndex` when that one is empty; each in its code page.
    std::string GetColumn(int index, int fallbackIndex, int codePage, int fallbackCodePage);

    // Positions at the section and reads records 0 to i; i is checked first.
    TIvLanguage& GetLanguage(int index);
    TIvLocale& GetLocale(int index);

    // Information (empty values when the file has none).
    bool GetInfo(TIvMLDInfo& info);
    std::string GetDescription();
    std::string GetOwner();
    int GetUsers(std::vector<std::string>& users);

    // Primitive readers; every read lowers the bytes left in the record block.
    uint8_t ReadByte();
    bool ReadBoolean() { return ReadByte() != 0; }
    uint16_t ReadWord();
    uint32_t ReadDWord();
    // One character of a fixed field, as a byte of `codePage`.
    char ReadChar(int codePage);
    std::string ReadChars(int count, int codePage);
    std::string ReadString(int codePage);
    void SkipString();
    void SkipBytes(uint64_t count);
    void SetBlockSize();
    void MoveToBlockEnd();

private:
    uint16_t HeaderWord(int offset) const;
    uint32_t HeaderDWord(int offset) const;
    void ReadHeader();
    std::vector<uint64_t> SectionStarts() const;
    void CheckSections() const;
    uint64_t SectionEnd(uint64_t start) const;
    void GoSection(uint32_t offset);
    void TakeTextCodePage();
    void Seek(uint64_t position);
    uint64_t Position() const { return FBufferStart + FBufferPos; }
    void ReadRaw(void* out, size_t size);
    // `size` bytes at the position, contiguous in the buffer.
    const char* Take(size_t size);
    const TIvCodePageText& Text(int codePage);
    std::string Decode(size_t units, int codePage);
    void ReadLanguageRecord(TIvLanguage& language, bool decodeTexts);
    void ReadLocaleRecord(TIvLocale& locale);

    std::unique_ptr<TIvStream> FStream;
    std::array<uint8_t, IvMLDHeaderSize> FHeader {};
    int FTextCodePage = 1252;
    TIvLanguage FLanguage;
    TIvLocale FLocale;
    int64_t FBlockRemaining = 0;
    uint64_t FSize = 0;
    uint64_t FLimit = 0; // reads stop here: the end of the section being read
    std::vector<char> FBuffer;
    uint64_t FBufferStart = 0;
    size_t FBufferPos = 0;
    size_t FBufferLen = 0;
    std::vector<std::unique_ptr<TIvCodePageText>> FTexts;
};
