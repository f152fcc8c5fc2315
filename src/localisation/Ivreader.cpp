#include "Ivreader.h"

#include "Ivmldfil.h"
#include "Ivstream.h"

#include <cstring>

namespace {

void CheckVersion(int version, const char* what)
{
    if (version < 1 || version > IvFormDataVersion)
        throw Exception(std::string("Unknown ") + what + " data version: " + std::to_string(version));
}

bool IsKnownTag(uint8_t tag)
{
    return tag <= vaCollection;
}

} // namespace

// ------------------------------------------------------------ reader

void TIvReader::ReadFormBlocks(const std::string& formClassName, const std::string& componentClassName,
    const std::string& componentName, const TBlockReaders& readers)
{
    auto block = [&](const char* property, const std::function<void(TIvReader&)>& read) {
        auto reader = OpenForm(formClassName);
        try {
            reader->FindPropertyData(componentClassName, componentName, property);
        } catch (const EResNotFound&) {
            return;
        }
        read(*reader);
    };
    block("Languages", readers.Languages);
    block("Translations", readers.Translations);
    block("Locales", readers.Locales);
}

std::unique_ptr<TIvReader> TIvReader::OpenForm(const std::string& formClassName)
{
    std::string data;
    if (!IvFindResource(IvFormResourceType, formClassName, data))
        throw EResNotFound("Resource " + formClassName + " not found");
    return std::make_unique<TIvReader>(std::move(data));
}

const char* TIvReader::Take(size_t size)
{
    if (FPos > FData.size() || FData.size() - FPos < size)
        throw EReadError();
    const char* p = FData.data() + FPos;
    FPos += size;
    return p;
}

TIvValueType TIvReader::ReadValue()
{
    uint8_t tag = Byte();
    if (!IsKnownTag(tag))
        throw EIvFormStream("Invalid property value");
    return static_cast<TIvValueType>(tag);
}

TIvValueType TIvReader::NextValue() const
{
    if (FPos >= FData.size())
        throw EReadError();
    uint8_t tag = static_cast<uint8_t>(FData[FPos]);
    if (!IsKnownTag(tag))
        throw EIvFormStream("Invalid property value");
    return static_cast<TIvValueType>(tag);
}

bool TIvReader::EndOfList() const
{
    if (FPos >= FData.size())
        throw EReadError();
    return FData[FPos] == vaNull;
}

void TIvReader::ReadListBegin()
{
    if (ReadValue() != vaList)
        throw EIvFormStream("Invalid property value");
}

void TIvReader::ReadListEnd()
{
    if (ReadValue() != vaNull)
        throw EIvFormStream("Invalid property value");
}

int TIvReader::ReadInteger()
{
    switch (ReadValue()) {
    case vaInt8:
        return static_cast<int8_t>(Byte());
    case vaInt16: {
        const auto* p = reinterpret_cast<const uint8_t*>(Take(2));
        return static_cast<int16_t>(p[0] | (p[1] << 8));
    }
    case vaInt32: {
        const auto* p = reinterpret_cast<const uint8_t*>(Take(4));
        return static_cast<int32_t>(
            uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24));
    }
    default:
        throw EIvFormStream("Invalid property value");
    }
}

std::string TIvReader::ReadLongString()
{
    const auto* p = reinterpret_cast<const uint8_t*>(Take(4));
    size_t n = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    return std::string(Take(n), n);
}

std::string TIvReader::ReadString()
{
    switch (ReadValue()) {
    case vaString:
    case vaIdent: {
        size_t n = Byte();
        return std::string(Take(n), n);
    }
    case vaLString:
        return ReadLongString();
    default:
        throw EIvFormStream("Invalid property value");
    }
}

char TIvReader::ReadChar()
{
    std::string s = ReadString();
    if (s.size() != 1)
        throw EIvFormStream("Invalid property value");
    return s[0];
}

bool TIvReader::ReadBoolean()
{
    switch (ReadValue()) {
    case vaFalse:
        return false;
    case vaTrue:
        return true;
    default:
        throw EIvFormStream("Invalid property value");
    }
}

std::string TIvReader::ReadShortText()
{
    size_t n = Byte();
    return std::string(Take(n), n);
}

void TIvReader::ReadSignature()
{
    if (std::memcmp(Take(4), IvFormSignature, 4) != 0)
        throw EIvFormStream("Invalid stream format");
}

void TIvReader::SkipValue()
{
    SkipValue(0);
}

void TIvReader::SkipValue(int depth)
{
    if (depth > IvFormMaxDepth)
        throw EIvFormStream("Form stream nested too deeply");
    switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
        break;
    case vaList:
        while (!EndOfList())
            SkipValue(depth + 1);
        ReadListEnd();
        break;
    case vaInt8:
        Take(1);
        break;
    case vaInt16:
        Take(2);
        break;
    case vaInt32:
        Take(4);
        break;
    case vaExtended:
        Take(10);
        break;
    case vaString:
    case vaIdent:
        Take(Byte());
        break;
    case vaBinary:
    case vaLString:
        ReadLongString();
        break;
    case vaSet:
        SkipSetBody();
        break;
    case vaCollection:
        while (!EndOfList()) {
            TIvValueType next = NextValue();
            if (next == vaInt8 || next == vaInt16 || next == vaInt32)
                ReadInteger();
            ReadListBegin();
            SkipProperties(depth + 1);
        }
        ReadListEnd();
        break;
    }
}

void TIvReader::SkipSetBody()
{
    while (!ReadShortText().empty()) { }
}

void TIvReader::SkipProperty()
{
    ReadShortText();
    SkipValue(0);
}

void TIvReader::SkipProperties(int depth)
{
    while (!EndOfList()) {
        ReadShortText();
        SkipValue(depth);
    }
    ReadListEnd();
}

void TIvReader::SkipComponentHeader()
{
    ReadShortText();
    ReadShortText();
}

void TIvReader::SkipComponentBody()
{
    SkipProperties(0);
    while (!EndOfList())
        SkipComponent(1);
    ReadListEnd();
}

void TIvReader::SkipComponent()
{
    SkipComponent(0);
}

void TIvReader::SkipComponent(int depth)
{
    if (depth > IvFormMaxDepth)
        throw EIvFormStream("Form stream nested too deeply");
    SkipComponentHeader();
    SkipProperties(depth);
    while (!EndOfList())
        SkipComponent(depth + 1);
    ReadListEnd();
}

void TIvReader::FindPropertyData(
    const std::string& componentClassName, const std::string& componentName, const std::string& propertyName)
{
    FPos = 0;
    ReadSignature();
    SkipComponentHeader();
    SkipProperties(0);
    while (!EndOfList()) {
        std::string className = ReadShortText();
        std::string name = ReadShortText();
        if (className == componentClassName && name == componentName) {
            while (!EndOfList()) {
                if (ReadShortText() == propertyName)
                    return;
                SkipValue(0);
            }
            break;
        }
        SkipProperties(0);
        while (!EndOfList())
            SkipComponent(1);
        ReadListEnd();
    }
    throw EResNotFound("Could not find the property");
}

// ------------------------------------------------------------ writer

void TIvWriter::WriteInteger(int value)
{
    if (value >= -128 && value <= 127) {
        WriteValue(vaInt8);
        FData.push_back(static_cast<char>(value));
    } else if (value >= -32768 && value <= 32767) {
        WriteValue(vaInt16);
        FData.push_back(static_cast<char>(value & 0xFF));
        FData.push_back(static_cast<char>((value >> 8) & 0xFF));
    } else {
        WriteValue(vaInt32);
        for (int i = 0; i < 4; ++i)
            FData.push_back(static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF));
    }
}

void TIvWriter::WriteString(const std::string& value)
{
    if (value.size() <= 255) {
        WriteValue(vaString);
        FData.push_back(static_cast<char>(value.size()));
    } else {
        WriteValue(vaLString);
        uint32_t n = static_cast<uint32_t>(value.size());
        for (int i = 0; i < 4; ++i)
            FData.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    }
    FData += value;
}

void TIvWriter::WriteShortText(const std::string& text)
{
    std::string t = text.substr(0, 255);
    FData.push_back(static_cast<char>(t.size()));
    FData += t;
}

void TIvWriter::WriteComponentHeader(const std::string& className, const std::string& name)
{
    WriteShortText(className);
    WriteShortText(name);
}

// ------------------------------------------------------------ records

void ReadLanguage(TIvReader& reader, TIvLanguage& language, int dataVersion)
{
    language = TIvLanguage {};
    reader.ReadListBegin();
    language.PrimaryId = reader.ReadInteger();
    language.SetAllSubs(reader.ReadString());
    language.DefaultSub = reader.ReadInteger();
    if (dataVersion >= 2)
        reader.ReadInteger(); // the character set follows from the code page
    language.SetCodePage(reader.ReadInteger());
    language.EnglishName = reader.ReadString();
    language.NativeName = reader.ReadString();
    language.FontName = reader.ReadString();
    language.FontSize = reader.ReadInteger();
    language.Options = 0;
    if (reader.ReadBoolean())
        language.Options |= 1u << ivloTest;
    if (reader.ReadBoolean())
        language.Options |= 1u << ivloPureASCII;
    reader.ReadListEnd();
    language.Init();
}

void WriteLanguage(TIvWriter& writer, const TIvLanguage& language)
{
    writer.WriteListBegin();
    writer.WriteInteger(language.PrimaryId);
    writer.WriteString(language.GetAllSubs());
    writer.WriteInteger(language.DefaultSub);
    writer.WriteInteger(language.Charset);
    writer.WriteInteger(language.GetCodePage());
    writer.WriteString(language.EnglishName);
    writer.WriteString(language.NativeName);
    writer.WriteString(language.FontName);
    writer.WriteInteger(language.FontSize);
    writer.WriteBoolean(language.Options & (1u << ivloTest));
    writer.WriteBoolean(language.Options & (1u << ivloPureASCII));
    writer.WriteListEnd();
}

void ReadLocale(TIvReader& reader, TIvLocale& locale, int dataVersion)
{
    locale = TIvLocale {};
    locale.PrimaryId = reader.ReadInteger();
    locale.SubId = reader.ReadInteger();
    if (dataVersion >= 2)
        locale.Charset = static_cast<uint8_t>(reader.ReadInteger());
    locale.CodePage = reader.ReadInteger();
    locale.Custom = reader.ReadBoolean();
    locale.EnglishLanguageName = reader.ReadString();
    locale.EnglishCountryName = reader.ReadString();
    locale.NativeLanguageName = reader.ReadString();
    locale.NativeCountryName = reader.ReadString();
    locale.LocalizedLanguageName = reader.ReadString();
    locale.LocalizedCountryName = reader.ReadString();
    locale.MeasurementSystem = reader.ReadInteger() ? ivmsUS : ivmsMetric;
    locale.CurrencySymbol = reader.ReadString();
    locale.CurrencyFormat = static_cast<uint8_t>(reader.ReadInteger());
    locale.NegativeCurrencyFormat = static_cast<uint8_t>(reader.ReadInteger());
    locale.CurrencyDecimals = static_cast<uint8_t>(reader.ReadInteger());
    locale.ThousandSeparator = reader.ReadChar();
    locale.DecimalSeparator = reader.ReadChar();
    locale.DateSeparator = reader.ReadChar();
    locale.ShortDateFormat = reader.ReadString();
    locale.LongDateFormat = reader.ReadString();
    locale.TimeSeparator = reader.ReadChar();
    locale.TimeAMString = reader.ReadString();
    locale.TimePMString = reader.ReadString();
    locale.HourLeadingZero = reader.ReadBoolean();
    locale.TimeFormat = reader.ReadInteger() ? ivtf24 : ivtf12;
    locale.TimeMarkPosition = reader.ReadInteger() ? ivtmPrefix : ivtmSuffix;
    locale.CalendarType = static_cast<uint8_t>(reader.ReadInteger());
    locale.OptionalCalendarType = static_cast<uint8_t>(reader.ReadInteger());
    locale.FirstDayOfWeek = static_cast<uint8_t>(reader.ReadInteger());
    locale.FirstWeekOfYear = static_cast<uint8_t>(reader.ReadInteger());
    for (auto& name : locale.ShortMonthNames)
        name = reader.ReadString();
    for (auto& name : locale.LongMonthNames)
        name = reader.ReadString();
    for (auto& name : locale.ShortDayNames)
        name = reader.ReadString();
    for (auto& name : locale.LongDayNames)
        name = reader.ReadString();
    locale.Init();
}

void WriteLocale(TIvWriter& writer, const TIvLocale& locale)
{
    writer.WriteInteger(locale.PrimaryId);
    writer.WriteInteger(locale.SubId);
    writer.WriteInteger(locale.Charset);
    writer.WriteInteger(locale.CodePage);
    writer.WriteBoolean(locale.Custom);
    writer.WriteString(locale.EnglishLanguageName);
    writer.WriteString(locale.EnglishCountryName);
    writer.WriteString(locale.NativeLanguageName);
    writer.WriteString(locale.NativeCountryName);
    writer.WriteString(locale.LocalizedLanguageName);
    writer.WriteString(locale.LocalizedCountryName);
    writer.WriteInteger(locale.MeasurementSystem);
    writer.WriteString(locale.CurrencySymbol);
    writer.WriteInteger(locale.CurrencyFormat);
    writer.WriteInteger(locale.NegativeCurrencyFormat);
    writer.WriteInteger(locale.CurrencyDecimals);
    writer.WriteChar(locale.ThousandSeparator);
    writer.WriteChar(locale.DecimalSeparator);
    writer.WriteChar(locale.DateSeparator);
    writer.WriteString(locale.ShortDateFormat);
    writer.WriteString(locale.LongDateFormat);
    writer.WriteChar(locale.TimeSeparator);
    writer.WriteString(locale.TimeAMString);
    writer.WriteString(locale.TimePMString);
    writer.WriteBoolean(locale.HourLeadingZero);
    writer.WriteInteger(locale.TimeFormat);
    writer.WriteInteger(locale.TimeMarkPosition);
    writer.WriteInteger(locale.CalendarType);
    writer.WriteInteger(locale.OptionalCalendarType);
    writer.WriteInteger(locale.FirstDayOfWeek);
    writer.WriteInteger(locale.FirstWeekOfYear);
    for (const auto& name : locale.ShortMonthNames)
        writer.WriteString(name);
    for (const auto& name : locale.LongMonthNames)
        writer.WriteString(name);
    for (const auto& name : locale.ShortDayNames)
        writer.WriteString(name);
    for (const auto& name : locale.LongDayNames)
        writer.WriteString(name);
}

// ------------------------------------------------------------ blocks

namespace {

// List begin and data version; the count follows.
int BeginBlock(TIvReader& reader, const char* what)
{
    reader.ReadListBegin();
    int version = reader.ReadInteger();
    CheckVersion(version, what);
    return version;
}

// Native, contexts and columns of one row: the row's list up to its end.
struct RowReader {
    TIvContextType Context = 0;

    void Read(TIvReader& reader, int languageIndex, int fallbackIndex, TIvTranslation& row)
    {
        reader.ReadListBegin();
        row.Native = reader.ReadString();
        row.FormContext = (Context & (1u << ivctForm)) ? reader.ReadString() : std::string();
        row.ComponentContext = (Context & (1u << ivctComponent)) ? reader.ReadString() : std::string();
        std::string candidate;
        std::string fallback;
        for (int k = 1; !reader.EndOfList(); ++k) {
            if (k == languageIndex)
                candidate = reader.ReadString();
            else if (k == fallbackIndex)
                fallback = reader.ReadString();
            else
                reader.ReadString();
        }
        reader.ReadListEnd();
        row.Status = !candidate.empty() ? TIvTranslation::Translated
            : !fallback.empty()         ? TIvTranslation::FromFallback
                                        : TIvTranslation::Untranslated;
        row.Translation = !candidate.empty() ? std::move(candidate) : std::move(fallback);
    }
};

TIvContextType BeginTranslations(TIvReader& reader, int& count)
{
    int version = BeginBlock(reader, "translation");
    int code = version >= 2 ? reader.ReadInteger() : ivccFlat;
    count = reader.ReadInteger();
    return IvContextCodeToType(code);
}

} // namespace

int SkipLanguages(TIvReader& reader)
{
    int version = BeginBlock(reader, "language");
    int count = reader.ReadInteger();
    TIvLanguage language;
    for (int i = 0; i < count; ++i)
        ReadLanguage(reader, language, version);
    reader.ReadListEnd();
    return count;
}

int SkipTranslations(TIvReader& reader, int languageCount)
{
    RowReader rows;
    int count = 0;
    rows.Context = BeginTranslations(reader, count);
    TIvTranslation row;
    for (int i = 0; i < count; ++i)
        rows.Read(reader, 0, 0, row);
    reader.ReadListEnd();
    return count;
}

int SkipLocales(TIvReader& reader)
{
    int version = BeginBlock(reader, "locale");
    int count = reader.ReadInteger();
    TIvLocale locale;
    for (int i = 0; i < count; ++i)
        ReadLocale(reader, locale, version);
    reader.ReadListEnd();
    return count;
}

void WriteLanguagesBlock(TIvWriter& writer, const std::vector<TIvLanguage>& languages)
{
    writer.WriteListBegin();
    writer.WriteInteger(IvFormDataVersion);
    writer.WriteInteger(static_cast<int>(languages.size()));
    for (const auto& language : languages)
        WriteLanguage(writer, language);
    writer.WriteListEnd();
}

void WriteTranslationsBlock(
    TIvWriter& writer, TIvContextCode contextCode, const std::vector<TIvFormRow>& rows)
{
    TIvContextType context = IvContextCodeToType(contextCode);
    writer.WriteListBegin();
    writer.WriteInteger(IvFormDataVersion);
    writer.WriteInteger(contextCode);
    writer.WriteInteger(static_cast<int>(rows.size()));
    for (const auto& row : rows) {
        writer.WriteListBegin();
        writer.WriteString(row.Native);
        if (context & (1u << ivctForm))
            writer.WriteString(row.FormContext);
        if (context & (1u << ivctComponent))
            writer.WriteString(row.ComponentContext);
        for (const auto& column : row.Columns)
            writer.WriteString(column);
        writer.WriteListEnd();
    }
    writer.WriteListEnd();
}

void WriteLocalesBlock(TIvWriter& writer, const std::vector<TIvLocale>& locales)
{
    writer.WriteListBegin();
    writer.WriteInteger(IvFormDataVersion);
    writer.WriteInteger(static_cast<int>(locales.size()));
    for (const auto& locale : locales)
        WriteLocale(writer, locale);
    writer.WriteListEnd();
}

void DoGetLanguageData(TIvReader& reader, int index, TIvLanguage& language)
{
    int version = BeginBlock(reader, "language");
    int count = reader.ReadInteger();
    if (index < 0 || index >= count)
        throw ERangeError("Out of language range");
    for (int i = 0; i <= index; ++i)
        ReadLanguage(reader, language, version);
}

void DoGetLanguageDatas(TIvReader& reader, std::vector<std::unique_ptr<TIvLanguage>>& list)
{
    int version = BeginBlock(reader, "language");
    int count = reader.ReadInteger();
    for (int i = 0; i < count; ++i) {
        auto language = std::make_unique<TIvLanguage>();
        ReadLanguage(reader, *language, version);
        list.push_back(std::move(language));
    }
    reader.ReadListEnd();
}

void DoGetLocaleData(TIvReader& reader, int index, TIvLocale& locale)
{
    int version = BeginBlock(reader, "locale");
    int count = reader.ReadInteger();
    if (index < 0 || index >= count)
        throw ERangeError("Out of locale range");
    for (int i = 0; i <= index; ++i)
        ReadLocale(reader, locale, version);
}

void DoGetLocaleDatas(TIvReader& reader, std::vector<std::unique_ptr<TIvLocale>>& list)
{
    int version = BeginBlock(reader, "locale");
    int count = reader.ReadInteger();
    for (int i = 0; i < count; ++i) {
        auto locale = std::make_unique<TIvLocale>();
        ReadLocale(reader, *locale, version);
        list.push_back(std::move(locale));
    }
    reader.ReadListEnd();
}

TIvContextType DoLoadTranslation(
    TIvReader& reader, int languageIndex, int fallbackIndex, TIvTranslationTable& table)
{
    RowReader rows;
    int count = 0;
    rows.Context = BeginTranslations(reader, count);
    for (int i = 0; i < count; ++i) {
        TIvTranslation row;
        rows.Read(reader, languageIndex, fallbackIndex, row);
        if (row.Status != TIvTranslation::Untranslated)
            table.push_back(std::move(row));
    }
    reader.ReadListEnd();
    return rows.Context;
}

namespace {

std::unique_ptr<TIvReader> OpenBlock(const TIvFormLocation& at, const char* property)
{
    auto reader = TIvReader::OpenForm(at.FormClassName);
    reader->FindPropertyData(at.ComponentClassName, at.ComponentName, property);
    return reader;
}

} // namespace

void GetLanguageData(const TIvFormLocation& at, int index, TIvLanguage& language)
{
    DoGetLanguageData(*OpenBlock(at, "Languages"), index, language);
}

void GetLanguageDatas(const TIvFormLocation& at, std::vector<std::unique_ptr<TIvLanguage>>& list)
{
    DoGetLanguageDatas(*OpenBlock(at, "Languages"), list);
}

void GetLocaleData(const TIvFormLocation& at, int index, TIvLocale& locale)
{
    DoGetLocaleData(*OpenBlock(at, "Locales"), index, locale);
}

void GetLocaleDatas(const TIvFormLocation& at, std::vector<std::unique_ptr<TIvLocale>>& list)
{
    DoGetLocaleDatas(*OpenBlock(at, "Locales"), list);
}

TIvContextType LoadTranslation(const TIvFormLocation& at, int languageIndex, int fallbackIndex,
    int languageCount, TIvTranslationTable& table)
{
    return DoLoadTranslation(*OpenBlock(at, "Translations"), languageIndex, fallbackIndex, table);
}
