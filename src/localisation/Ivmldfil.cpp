#include "Ivmldfil.h"

#include "CodePage.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t ChunkSize = 64 * 1024;

template <class Enum> Enum Flag(uint8_t value)
{
    return static_cast<Enum>(value != 0);
}

} // namespace

TIvContextType IvContextCodeToType(int contextCode)
{
    switch (contextCode) {
    case ivccFull:
        return (1u << ivctForm) | (1u << ivctComponent);
    case ivccComponent:
        return 1u << ivctComponent;
    case ivccForm:
        return 1u << ivctForm;
    default:
        return 0;
    }
}

TIvMLDFile::TIvMLDFile() = default;
TIvMLDFile::~TIvMLDFile() = default;

void TIvMLDFile::SetStream(std::unique_ptr<TIvStream> stream)
{
    FStream = std::move(stream);
    FSize = FStream ? FStream->GetSize() : 0;
    FLimit = FSize;
    FBufferStart = 0;
    FBufferPos = 0;
    FBufferLen = 0;
    FBlockRemaining = 0;
    FTextCodePage = -1;
}

void TIvMLDFile::Open()
{
    ReadHeader();
}

void TIvMLDFile::OpenFile(const std::string& name)
{
    OpenStream(std::make_unique<TIvFileStream>(name));
}

void TIvMLDFile::OpenStream(std::unique_ptr<TIvStream> stream)
{
    SetStream(std::move(stream));
    ReadHeader();
    TakeTextCodePage();
    // A dictionary without languages has no language section to go to.
    if (GetLanguageCount() > 0)
        GoLanguageSection();
}

void TIvMLDFile::Close()
{
    FStream.reset();
    FBuffer.clear();
    FBufferLen = FBufferPos = 0;
}

uint16_t TIvMLDFile::HeaderWord(int offset) const
{
    return static_cast<uint16_t>(FHeader[offset] | (FHeader[offset + 1] << 8));
}

uint32_t TIvMLDFile::HeaderDWord(int offset) const
{
    return static_cast<uint32_t>(FHeader[offset]) | (static_cast<uint32_t>(FHeader[offset + 1]) << 8)
        | (static_cast<uint32_t>(FHeader[offset + 2]) << 16)
        | (static_cast<uint32_t>(FHeader[offset + 3]) << 24);
}

void TIvMLDFile::ReadHeader()
{
    if (!FStream)
        throw EReadError();
    Seek(0);
    std::array<uint8_t, IvMLDHeaderSize> h {};
    ReadRaw(h.data(), h.size());
    if (std::memcmp(h.data(), "MLD", 3) != 0 || h[3] == 0)
        throw Exception("The stream is not a valid MLD stream");
    if (h[3] == 1) {
        h[5] = h[7];
        h[7] = 0;
        std::fill(h.begin() + 30, h.begin() + 36, 0);
    }
    if (h[4] == 0) {
        // Counts and offsets are kept little-endian, whatever the file's order.
        for (int at : { 12, 18, 24, 30 }) {
            std::swap(h[at], h[at + 1]);
            std::reverse(h.begin() + at + 2, h.begin() + at + 6);
        }
    }
    FHeader = h;
    FBlockRemaining = 0;
    CheckSections();
    // Nothing more is read until a section is chosen.
    FLimit = IvMLDHeaderSize;
}

// The starts of the sections that hold bytes: a count of 0 (or no
// information) leaves a section empty wherever its offset points.
std::vector<uint64_t> TIvMLDFile::SectionStarts() const
{
    std::vector<uint64_t> starts;
    auto add = [&](int count, uint32_t offset) {
        if (count > 0 && offset != 0)
            starts.push_back(offset);
    };
    add(GetLanguageCount(), GetLanguageOffset());
    add(GetTranslationCount(), GetTranslationOffset());
    add(GetLocaleCount(), GetLocaleOffset());
    add(1, GetInfoOffset());
    return starts;
}

// Each section lies after the header and inside the file, and no two start
// together; a section then ends where the next one starts. A damaged length
// or count makes a read cross that end and the file is refused, instead of
// later texts being read from the wrong place.
void TIvMLDFile::CheckSections() const
{
    std::vector<uint64_t> starts = SectionStarts();
    std::sort(starts.begin(), starts.end());
    for (size_t i = 0; i < starts.size(); ++i)
        if (starts[i] < IvMLDHeaderSize || starts[i] >= FSize || (i > 0 && starts[i] == starts[i - 1]))
            throw EReadError();
}

uint64_t TIvMLDFile::SectionEnd(uint64_t start) const
{
    uint64_t end = FSize;
    for (uint64_t other : SectionStarts())
        if (other > start && other < end)
            end = other;
    return end;
}

void TIvMLDFile::GoSection(uint32_t offset)
{
    Seek(offset);
    FLimit = SectionEnd(offset);
    FBlockRemaining = 0;
}

void TIvMLDFile::TakeTextCodePage()
{
    uint64_t position = Position();
    int64_t block = FBlockRemaining;
    uint64_t limit = FLimit;
    FTextCodePage = 1252;
    // A dictionary without languages has no language 0 to take a code page from.
    if (GetLanguageCount() == 0)
        return;
    TIvLanguage language;
    GoLanguageSection();
    ReadLanguageRecord(language, false);
    if (language.GetCodePage() > 0)
        FTextCodePage = language.GetCodePage();
    Seek(position);
    FBlockRemaining = block;
    FLimit = limit;
}

// ------------------------------------------------------------ buffered reading

void TIvMLDFile::Seek(uint64_t position)
{
    if (position >= FBufferStart && position <= FBufferStart + FBufferLen) {
        FBufferPos = static_cast<size_t>(position - FBufferStart);
        return;
    }
    FBufferStart = position;
    FBufferPos = 0;
    FBufferLen = 0;
}

const char* TIvMLDFile::Take(size_t size)
{
    const uint64_t position = Position();
    if (position > FLimit || FLimit - position < size)
        throw EReadError();
    if (FBufferLen - FBufferPos < size) {
        if (!FStream)
            throw EReadError();
        size_t rest = FBufferLen - FBufferPos;
        if (rest > 0)
            std::memmove(FBuffer.data(), FBuffer.data() + FBufferPos, rest);
        FBufferStart = position;
        FBufferPos = 0;
        FBufferLen = rest;
        // Never more than the data holds, so a large count allocates nothing.
        size_t want = std::max(size, ChunkSize);
        want = static_cast<size_t>(std::min<uint64_t>(want, FSize - position));
        if (FBuffer.size() < want)
            FBuffer.resize(want);
        FStream->Seek(position + rest);
        FBufferLen += FStream->Read(FBuffer.data() + rest, want - rest);
        if (FBufferLen < size)
            throw EReadError();
    }
    const char* p = FBuffer.data() + FBufferPos;
    FBufferPos += size;
    FBlockRemaining -= static_cast<int64_t>(size);
    return p;
}

void TIvMLDFile::ReadRaw(void* out, size_t size)
{
    std::memcpy(out, Take(size), size);
}

uint8_t TIvMLDFile::ReadByte()
{
    return static_cast<uint8_t>(*Take(1));
}

uint16_t TIvMLDFile::ReadWord()
{
    const auto* p = reinterpret_cast<const uint8_t*>(Take(2));
    return GetByteOrder() == ivboBigEndian ? static_cast<uint16_t>((p[0] << 8) | p[1])
                                           : static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t TIvMLDFile::ReadDWord()
{
    const auto* p = reinterpret_cast<const uint8_t*>(Take(4));
    if (GetByteOrder() == ivboBigEndian)
        return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void TIvMLDFile::SkipBytes(uint64_t count)
{
    const uint64_t position = Position();
    if (position > FLimit || FLimit - position < count)
        throw EReadError();
    if (count <= FBufferLen - FBufferPos)
        FBufferPos += static_cast<size_t>(count);
    else
        Seek(position + count);
    FBlockRemaining -= static_cast<int64_t>(count);
}

void TIvMLDFile::SetBlockSize()
{
    FBlockRemaining = 0;
    uint16_t size = ReadWord();
    FBlockRemaining = static_cast<int64_t>(size) - 2;
}

void TIvMLDFile::MoveToBlockEnd()
{
    // A block smaller than what was read skips nothing.
    if (FBlockRemaining > 0)
        SkipBytes(static_cast<uint64_t>(FBlockRemaining));
    FBlockRemaining = 0;
}

const TIvCodePageText& TIvMLDFile::Text(int codePage)
{
    if (codePage <= 0) {
        if (FTextCodePage < 0)
            TakeTextCodePage();
        codePage = FTextCodePage;
    }
    for (const auto& t : FTexts)
        if (t->GetCodePage() == codePage)
            return *t;
    FTexts.push_back(std::make_unique<TIvCodePageText>(codePage));
    return *FTexts.back();
}

std::string TIvMLDFile::Decode(size_t units, int codePage)
{
    if (!IsUnicode()) {
        // The code page first: finding the text code page moves the buffer.
        const TIvCodePageText& text = Text(codePage);
        return text.ToUtf8(std::string_view(Take(units), units));
    }
    const auto* p = reinterpret_cast<const uint8_t*>(Take(units * 2));
    if (GetByteOrder() == ivboBigEndian)
        return platform::Utf16UnitsToUtf8(
            units, [p](size_t i) { return static_cast<uint32_t>((p[2 * i] << 8) | p[2 * i + 1]); });
    return platform::Utf16UnitsToUtf8(
        units, [p](size_t i) { return static_cast<uint32_t>(p[2 * i] | (p[2 * i + 1] << 8)); });
}

char TIvMLDFile::ReadChar(int codePage)
{
    if (!IsUnicode())
        return static_cast<char>(ReadByte());
    char16_t c = static_cast<char16_t>(ReadWord());
    return c < 0x80 ? static_cast<char>(c) : Text(codePage).ByteOf(c);
}

std::string TIvMLDFile::ReadChars(int count, int codePage)
{
    std::string text = Decode(count, codePage);
    // Fixed fields are padded with zeros.
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

std::string TIvMLDFile::ReadString(int codePage)
{
    size_t units = ReadWord();
    if (units == 0)
        return {};
    return Decode(units, codePage);
}

void TIvMLDFile::SkipString()
{
    size_t units = ReadWord();
    SkipBytes(units * (IsUnicode() ? 2 : 1));
}

// ------------------------------------------------------------ sections

void TIvMLDFile::GoLanguageSection()
{
    if (GetLanguageOffset() == 0)
        throw Exception("Invalid language offset");
    GoSection(GetLanguageOffset());
}

void TIvMLDFile::GoTranslationSection()
{
    if (GetTranslationOffset() == 0)
        throw Exception("Invalid translation offset");
    GoSection(GetTranslationOffset());
}

void TIvMLDFile::GoLocaleSection()
{
    if (GetLocaleCount() == 0)
        throw Exception("No custom locales");
    if (GetLocaleOffset() == 0)
        throw Exception("Invalid locale offset");
    GoSection(GetLocaleOffset());
}

void TIvMLDFile::GoInfoSection()
{
    if (GetInfoOffset() == 0) {
        Seek(FSize);
        FLimit = FSize;
    } else {
        GoSection(GetInfoOffset());
    }
}

// ------------------------------------------------------------ records

void TIvMLDFile::ReadLanguageRecord(TIvLanguage& language, bool decodeTexts)
{
    const int version = GetVersion();
    language = TIvLanguage {};
    if (version >= 3)
        SetBlockSize();
    auto text = [&](int codePage) {
        if (decodeTexts)
            return ReadString(codePage);
        SkipString();
        return std::string();
    };
    language.PrimaryId = ReadWord();
    if (version >= 2)
        language.IsoLanguage = decodeTexts ? ReadChars(2, 0) : (SkipBytes(IsUnicode() ? 4 : 2), "");
    language.DefaultSub = ReadWord();
    if (version >= 2)
        language.IsoCountry = decodeTexts ? ReadChars(2, 0) : (SkipBytes(IsUnicode() ? 4 : 2), "");
    language.SetAllSubs(text(0));
    if (version >= 2)
        language.SetISOAllCountries(text(0));
    if (version >= 3)
        ReadWord(); // the character set follows from the code page
    language.SetCodePage(ReadWord());
    language.Options = ReadByte() & 3;
    language.EnglishName = text(0);
    language.NativeName = text(language.GetCodePage());
    language.FontName = text(0);
    language.FontSize = ReadByte();
    if (version >= 3)
        MoveToBlockEnd();
    if (decodeTexts)
        language.Init();
}

void TIvMLDFile::ReadLocaleRecord(TIvLocale& locale)
{
    const int version = GetVersion();
    locale = TIvLocale {};
    if (version >= 3)
        SetBlockSize();
    locale.PrimaryId = ReadWord();
    if (version >= 2)
        locale.IsoLanguage = ReadChars(2, 0);
    locale.SubId = ReadWord();
    if (version >= 2)
        locale.IsoCountry = ReadChars(2, 0);
    if (version >= 3)
        locale.Charset = static_cast<uint8_t>(ReadWord());
    locale.CodePage = ReadWord();
    const int cp = locale.CodePage;
    locale.Custom = ReadBoolean();
    locale.EnglishLanguageName = ReadString(0);
    locale.EnglishCountryName = ReadString(0);
    locale.NativeLanguageName = ReadString(cp);
    locale.NativeCountryName = ReadString(cp);
    locale.LocalizedLanguageName = ReadString(0);
    locale.LocalizedCountryName = ReadString(0);
    locale.MeasurementSystem = Flag<TIvMeasurementSystem>(ReadByte());
    locale.CurrencySymbol = ReadString(cp);
    locale.CurrencyFormat = ReadByte();
    locale.NegativeCurrencyFormat = ReadByte();
    locale.CurrencyDecimals = ReadByte();
    locale.ThousandSeparator = ReadChar(cp);
    locale.DecimalSeparator = ReadChar(cp);
    locale.DateSeparator = ReadChar(cp);
    locale.ShortDateFormat = ReadString(cp);
    locale.LongDateFormat = ReadString(cp);
    locale.TimeSeparator = ReadChar(cp);
    locale.TimeAMString = ReadString(cp);
    locale.TimePMString = ReadString(cp);
    locale.HourLeadingZero = ReadBoolean();
    locale.TimeFormat = Flag<TIvTimeFormat>(ReadByte());
    locale.TimeMarkPosition = Flag<TIvTimeMarkPosition>(ReadByte());
    locale.CalendarType = ReadByte();
    locale.OptionalCalendarType = ReadByte();
    locale.FirstDayOfWeek = ReadByte();
    locale.FirstWeekOfYear = ReadByte();
    for (auto& name : locale.ShortMonthNames)
        name = ReadString(cp);
    for (auto& name : locale.LongMonthNames)
        name = ReadString(cp);
    for (auto& name : locale.ShortDayNames)
        name = ReadString(cp);
    for (auto& name : locale.LongDayNames)
        name = ReadString(cp);
    if (version >= 3)
        MoveToBlockEnd();
    locale.Init();
}

TIvLanguage& TIvMLDFile::GetCurrentLanguage()
{
    ReadLanguageRecord(FLanguage, true);
    return FLanguage;
}

TIvLocale& TIvMLDFile::GetCurrentLocale()
{
    ReadLocaleRecord(FLocale);
    return FLocale;
}

TIvLanguage& TIvMLDFile::GetLanguage(int index)
{
    if (index < 0 || index >= GetLanguageCount())
        throw ERangeError("Out of language range");
    GoLanguageSection();
    for (int i = 0; i < index; ++i)
        ReadLanguageRecord(FLanguage, false);
    return GetCurrentLanguage();
}

TIvLocale& TIvMLDFile::GetLocale(int index)
{
    if (index < 0 || index >= GetLocaleCount())
        throw ERangeError("Out of locale range");
    GoLocaleSection();
    for (int i = 0; i <= index; ++i)
        ReadLocaleRecord(FLocale);
    return FLocale;
}

void TIvMLDFile::GetKey(TIvTranslation& row)
{
    row.Native = ReadString(0);
    row.FormContext = UseFormContext() ? ReadString(0) : std::string();
    row.ComponentContext = UseComponentContext() ? ReadString(0) : std::string();
    for (int k = 1; k < GetLanguageCount(); ++k)
        SkipString();
}

std::string TIvMLDFile::GetColumn(int index, int fallbackIndex, int codePage, int fallbackCodePage)
{
    TIvTranslation row;
    GetTranslation(row, index, codePage, fallbackIndex, fallbackCodePage);
    if (index == 0)
        return row.Native;
    return row.Translation;
}

int TIvMLDFile::GetTranslation(
    TIvTranslation& row, int languageIndex, int codePage, int fallbackIndex, int fallbackCodePage)
{
    row.Native = ReadString(0);
    row.FormContext = UseFormContext() ? ReadString(0) : std::string();
    row.ComponentContext = UseComponentContext() ? ReadString(0) : std::string();
    std::string candidate;
    std::string fallback;
    const int count = GetLanguageCount();
    for (int k = 1; k < count; ++k) {
        if (k == languageIndex)
            candidate = ReadString(codePage);
        else if (k == fallbackIndex)
            fallback = ReadString(fallbackCodePage);
        else
            SkipString();
    }
    if (!candidate.empty()) {
        row.Translation = std::move(candidate);
        row.Status = TIvTranslation::Translated;
    } else if (!fallback.empty()) {
        row.Translation = std::move(fallback);
        row.Status = TIvTranslation::FromFallback;
    } else {
        row.Translation.clear();
        row.Status = TIvTranslation::Untranslated;
    }
    return row.Status;
}

void TIvMLDFile::GetTranslations(
    TIvContext& context, std::vector<std::string>& strings, const std::vector<int>& columnCodePages)
{
    strings.clear();
    context.Clear();
    strings.push_back(ReadString(0));
    if (UseFormContext())
        context.Form = ReadString(0);
    if (UseComponentContext())
        context.Component = ReadString(0);
    for (int k = 1; k < GetLanguageCount(); ++k)
        strings.push_back(ReadString(k < static_cast<int>(columnCodePages.size()) ? columnCodePages[k] : 0));
}

// ------------------------------------------------------------ information

bool TIvMLDFile::GetInfo(TIvMLDInfo& info)
{
    info = TIvMLDInfo {};
    if (GetInfoOffset() == 0)
        return false;
    GoInfoSection();
    info.Description = ReadString(0);
    info.Owner = ReadString(0);
    int users = ReadWord();
    for (int i = 0; i < users; ++i)
        info.Users.push_back(ReadString(0));
    if (GetVersion() >= 3) {
        info.Date.Day = ReadByte();
        info.Date.Month = ReadByte();
        info.Date.Year = ReadWord();
        info.Date.Hour = ReadByte();
        info.Date.Minute = ReadByte();
        info.Date.Second = ReadByte();
    }
    return true;
}

std::string TIvMLDFile::GetDescription()
{
    TIvMLDInfo info;
    GetInfo(info);
    return info.Description;
}

std::string TIvMLDFile::GetOwner()
{
    TIvMLDInfo info;
    GetInfo(info);
    return info.Owner;
}

int TIvMLDFile::GetUsers(std::vector<std::string>& users)
{
    TIvMLDInfo info;
    GetInfo(info);
    users.insert(users.end(), info.Users.begin(), info.Users.end());
    return static_cast<int>(info.Users.size());
}
