#include "Ivtxtdic.h"

#include "CodePage.h"
#include "Ivlinerd.h"
#include "Ivmldfil.h"
#include "Ivparser.h"
#include "Prompts.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {

bool FileExists(const std::string& name)
{
    std::error_code ec;
    return !name.empty() && fs::is_regular_file(name, ec);
}

bool StartsWithUtf16Mark(const std::string& bytes)
{
    return bytes.size() >= 2
        && ((static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE)
            || (static_cast<uint8_t>(bytes[0]) == 0xFE && static_cast<uint8_t>(bytes[1]) == 0xFF));
}

// Converters by code page, made when first needed.
class CodePages {
public:
    const TIvCodePageText& Of(int codePage)
    {
        auto& slot = FTexts[codePage > 0 ? codePage : 1252];
        if (!slot)
            slot = std::make_unique<TIvCodePageText>(codePage > 0 ? codePage : 1252);
        return *slot;
    }

private:
    std::map<int, std::unique_ptr<TIvCodePageText>> FTexts;
};

// The fields of one line, split at TAB; decoding of "#" escapes on request.
class Fields {
public:
    Fields(const TIvTextLine& line, bool decode)
        : FWide(line.Wide)
    {
        if (FWide) {
            TIvWideParser p(line.Units, u'\t');
            p.SetDecode(decode);
            while (!p.Eol())
                FUnits.push_back(p.GetString());
        } else {
            TIvStringParser p(line.Bytes, '\t');
            p.SetDecode(decode);
            while (!p.Eol())
                FBytes.push_back(p.GetString());
        }
    }

    size_t Count() const { return FWide ? FUnits.size() : FBytes.size(); }
    bool Has(size_t i) const { return i < Count(); }
    bool Empty(size_t i) const { return !Has(i) || (FWide ? FUnits[i].empty() : FBytes[i].empty()); }

    // Field i as UTF-8; 8-bit fields in `codePage`.
    std::string Text(size_t i, int codePage, CodePages& pages) const
    {
        if (!Has(i))
            return {};
        return FWide ? platform::Utf16ToUtf8(FUnits[i]) : pages.Of(codePage).ToUtf8(FBytes[i]);
    }
    // A field that holds only ASCII (numbers, flags).
    std::string Plain(size_t i) const
    {
        if (!Has(i))
            return {};
        return FWide ? platform::Utf16ToUtf8(FUnits[i]) : FBytes[i];
    }
    int Integer(size_t i) const { return IvStrToInt(Plain(i)); }
    int IntegerDef(size_t i, int value) const { return IvStrToIntDef(Plain(i), value); }
    bool Boolean(size_t i, bool value) const { return Empty(i) ? value : IvStrToBoolean(Plain(i)); }
    // The first character as a byte of the record's code page.
    char Char(size_t i, int codePage, CodePages& pages) const
    {
        if (Empty(i))
            return '\0';
        if (!FWide)
            return FBytes[i][0];
        char16_t c = FUnits[i][0];
        return c < 0x80 ? static_cast<char>(c) : pages.Of(codePage).ByteOf(c);
    }

private:
    bool FWide;
    std::vector<std::string> FBytes;
    std::vector<std::u16string> FUnits;
};

template <class Reader> void CollectLines(Reader& reader, std::vector<TIvTextLine>& lines, bool wide)
{
    reader.Open();
    while (!reader.Eof()) {
        TIvTextLine line;
        line.Wide = wide;
        if constexpr (std::is_base_of_v<TIvBaseWideReader, Reader>)
            line.Units = reader.ReadLine();
        else
            line.Bytes = reader.ReadLine();
        // Blank lines are not records.
        if (!line.Units.empty() || !line.Bytes.empty())
            lines.push_back(std::move(line));
    }
    reader.Close();
}

TIvContextCode ContextCodeOf(TIvContextType type)
{
    bool form = type & (1u << ivctForm);
    bool component = type & (1u << ivctComponent);
    return form && component ? ivccFull : component ? ivccComponent : form ? ivccForm : ivccFlat;
}

} // namespace

bool IsUTF16File(const std::string& fileName)
{
    try {
        TIvFileStream stream(fileName);
        char mark[2];
        return stream.Read(mark, 2) == 2 && StartsWithUtf16Mark(std::string(mark, 2));
    } catch (const Exception&) {
        return false;
    }
}

bool IsUTF16Resource(const std::string& resourceName)
{
    std::string bytes;
    return IvFindResource(IvLineResourceType, resourceName, bytes) && StartsWithUtf16Mark(bytes);
}

bool DoesResourceExist(const std::string& resourceName)
{
    std::string bytes;
    return IvFindResource(IvLineResourceType, resourceName, bytes);
}

// ------------------------------------------------------------ names and formats

std::string TIvTextDictionary::GetLanguageFileName()
{
    FLanguageFileName = ExpandFileName(FLanguageFileName);
    return FLanguageFileName;
}

std::string TIvTextDictionary::GetLocaleFileName()
{
    FLocaleFileName = ExpandFileName(FLocaleFileName);
    return FLocaleFileName;
}

bool TIvTextDictionary::CanBeOpened()
{
    if (GetStorage() != ivsFile)
        return TIvCustomFileDictionary::CanBeOpened();
    return FileExists(GetLanguageFileName());
}

TIvTextFormat TIvTextDictionary::GetFileFormat(const std::string& fileName) const
{
    if (FFormat != ivtfDetect)
        return FFormat;
    return IsUTF16File(fileName) ? ivtfUTF16 : ivtfAnsi;
}

TIvTextFormat TIvTextDictionary::GetResourceFormat(const std::string& resourceName) const
{
    if (!DoesResourceExist(resourceName))
        throw EInOutError("Could not open the resource " + resourceName);
    if (FFormat != ivtfDetect)
        return FFormat;
    return IsUTF16Resource(resourceName) ? ivtfUTF16 : ivtfAnsi;
}

std::vector<TIvTextLine> TIvTextDictionary::ReadLines(Source source)
{
    std::vector<TIvTextLine> lines;
    std::string name;
    TIvTextFormat format;
    if (GetStorage() == ivsResource) {
        name = source == Source::Languages   ? LanguageResource
            : source == Source::Translations ? TranslationResource
                                             : LocaleResource;
        // The locales are optional.
        if (source == Source::Locales && !DoesResourceExist(name))
            return lines;
        format = GetResourceFormat(name);
    } else {
        switch (source) {
        case Source::Languages:
            name = GetLanguageFileName();
            if (name.empty())
                throw EIvMulti("No language file given");
            if (!FileExists(name))
                throw EIvMulti("Language file \"" + name + "\" not found");
            break;
        case Source::Translations:
            name = GetFileName();
            if (name.empty())
                throw EIvMulti("No translation file given");
            if (!FileExists(name))
                throw EIvMulti("Translation file \"" + name + "\" not found");
            break;
        case Source::Locales:
            name = GetLocaleFileName();
            // The locales are optional: without a locale file there are none.
            if (name.empty())
                return lines;
            if (!FileExists(name))
                throw EIvMulti("Locale file \"" + name + "\" not found");
            break;
        }
        format = GetFileFormat(name);
    }
    const bool resource = GetStorage() == ivsResource;
    switch (format) {
    case ivtfUTF8: {
        if (resource) {
            TIvResourceUTF8Reader reader;
            reader.FileName = name;
            CollectLines(reader, lines, true);
        } else {
            TIvUTF8Reader reader;
            reader.FileName = name;
            CollectLines(reader, lines, true);
        }
        break;
    }
    case ivtfUTF16: {
        if (resource) {
            TIvResourceUTF16Reader reader;
            reader.FileName = name;
            CollectLines(reader, lines, true);
        } else {
            TIvUTF16Reader reader(FByteOrder, FByteOrderMark);
            reader.FileName = name;
            CollectLines(reader, lines, true);
        }
        break;
    }
    default: {
        if (resource) {
            TIvResourceAnsiReader reader;
            reader.FileName = name;
            CollectLines(reader, lines, false);
        } else {
            TIvAnsiReader reader;
            reader.FileName = name;
            CollectLines(reader, lines, false);
        }
        break;
    }
    }
    return lines;
}

int TIvTextDictionary::TextCodePage()
{
    std::vector<TIvTextLine> lines = ReadLines(Source::Languages);
    if (lines.empty())
        return 1252;
    int codePage = Fields(lines.front(), false).IntegerDef(9, 0);
    return codePage > 0 ? codePage : 1252;
}

// ------------------------------------------------------------ records

TIvContextType TIvTextDictionary::GetContextType(const TIvTextLine& firstLine, int languageCount)
{
    long tabs = firstLine.Wide ? std::count(firstLine.Units.begin(), firstLine.Units.end(), u'\t')
                               : std::count(firstLine.Bytes.begin(), firstLine.Bytes.end(), '\t');
    if (tabs < languageCount)
        return 0;
    if (tabs == languageCount)
        return 1u << ivctComponent;
    return (1u << ivctForm) | (1u << ivctComponent);
}

bool TIvTextDictionary::GetLanguage(const TIvTextLine& line, TIvLanguage& language, int textCodePage)
{
    CodePages pages;
    Fields f(line, false);
    language = TIvLanguage {};
    bool incomplete = false;
    for (size_t i = 6; i <= 9; ++i)
        incomplete = incomplete || f.Empty(i);
    incomplete = incomplete || !f.Has(12);
    language.PrimaryId = f.Integer(2);
    language.SetAllSubs(f.Plain(3));
    language.DefaultSub = f.Integer(4);
    language.FontSize = f.IntegerDef(6, 0);
    language.Options = static_cast<TIvLanguageOptions>(f.IntegerDef(7, 0) & 3);
    language.Charset = static_cast<uint8_t>(f.IntegerDef(8, 0));
    int codePage = f.IntegerDef(9, 0);
    if (codePage != 0)
        language.SetCodePage(codePage);
    language.EnglishName = f.Text(0, textCodePage, pages);
    language.NativeName = f.Text(1, codePage > 0 ? codePage : textCodePage, pages);
    language.FontName = f.Text(5, textCodePage, pages);
    language.IsoLanguage = f.Plain(10);
    language.SetISOAllCountries(f.Plain(11));
    language.IsoCountry = f.Plain(12);
    return incomplete;
}

bool TIvTextDictionary::GetLocale(const TIvTextLine& line, TIvLocale& locale, int textCodePage)
{
    CodePages pages;
    Fields f(line, false);
    locale = TIvLocale {};
    locale.PrimaryId = f.Integer(0);
    locale.SubId = f.Integer(1);
    locale.CodePage = f.IntegerDef(7, 0);
    const int own = locale.CodePage > 0 ? locale.CodePage : textCodePage;
    locale.EnglishLanguageName = f.Text(3, textCodePage, pages);
    locale.NativeLanguageName = f.Text(4, own, pages);
    locale.EnglishCountryName = f.Text(5, textCodePage, pages);
    locale.NativeCountryName = f.Text(6, own, pages);
    locale.MeasurementSystem = f.IntegerDef(8, 0) ? ivmsUS : ivmsMetric;
    locale.CurrencySymbol = f.Text(9, own, pages);
    locale.CurrencyFormat = static_cast<uint8_t>(f.IntegerDef(10, 0));
    locale.NegativeCurrencyFormat = static_cast<uint8_t>(f.IntegerDef(11, 0));
    locale.ThousandSeparator = f.Char(12, own, pages);
    locale.DecimalSeparator = f.Char(13, own, pages);
    locale.CurrencyDecimals = static_cast<uint8_t>(f.IntegerDef(14, 0));
    locale.DateSeparator = f.Char(15, own, pages);
    locale.ShortDateFormat = f.Text(16, own, pages);
    locale.LongDateFormat = f.Text(17, own, pages);
    locale.TimeSeparator = f.Char(18, own, pages);
    locale.TimeAMString = f.Text(19, own, pages);
    locale.TimePMString = f.Text(20, own, pages);
    locale.HourLeadingZero = f.Boolean(21, false);
    locale.TimeFormat = f.IntegerDef(22, 0) ? ivtf24 : ivtf12;
    locale.CalendarType = static_cast<uint8_t>(f.IntegerDef(23, 0));
    locale.OptionalCalendarType = static_cast<uint8_t>(f.IntegerDef(24, 0));
    locale.FirstDayOfWeek = static_cast<uint8_t>(f.IntegerDef(25, 0));
    locale.FirstWeekOfYear = static_cast<uint8_t>(f.IntegerDef(26, 0));
    for (int i = 0; i < 12; ++i) {
        locale.ShortMonthNames[i] = f.Text(27 + i, own, pages);
        locale.LongMonthNames[i] = f.Text(39 + i, own, pages);
    }
    for (int i = 0; i < 7; ++i) {
        locale.ShortDayNames[i] = f.Text(51 + i, own, pages);
        locale.LongDayNames[i] = f.Text(58 + i, own, pages);
    }
    locale.LocalizedLanguageName = f.Text(65, textCodePage, pages);
    locale.LocalizedCountryName = f.Text(66, textCodePage, pages);
    locale.TimeMarkPosition = f.IntegerDef(67, 0) ? ivtmPrefix : ivtmSuffix;
    locale.IsoLanguage = f.Plain(68);
    locale.IsoCountry = f.Plain(69);
    locale.Custom = f.Boolean(70, false);
    locale.Charset = static_cast<uint8_t>(f.IntegerDef(71, 0));
    return !f.Has(71);
}

// ------------------------------------------------------------ queries

void TIvTextDictionary::SetFormLocation(const std::string& formClassName, const std::string& componentName)
{
    FFormClassName = formClassName;
    FName = componentName;
    FEmbeddedLanguages = FEmbeddedLocales = 0;
    TIvReader::ReadFormBlocks(formClassName, ClassName, componentName,
        { [&](TIvReader& r) { ReadLanguages(r); }, [&](TIvReader& r) { ReadTranslations(r); },
            [&](TIvReader& r) { ReadLocales(r); } });
}

int TIvTextDictionary::GetLanguageCount()
{
    if (GetStorage() == ivsEmbedded)
        return FEmbeddedLanguages;
    return static_cast<int>(ReadLines(Source::Languages).size());
}

int TIvTextDictionary::GetLocaleCount()
{
    if (GetStorage() == ivsEmbedded)
        return FEmbeddedLocales;
    return static_cast<int>(ReadLines(Source::Locales).size());
}

void TIvTextDictionary::GetLanguageData(int index, TIvLanguage& language)
{
    if (GetStorage() == ivsEmbedded) {
        ::GetLanguageData(GetFormLocation(), index, language);
        return;
    }
    std::vector<TIvTextLine> lines = ReadLines(Source::Languages);
    if (index < 0 || index >= static_cast<int>(lines.size()))
        throw ERangeError("Out of language range");
    GetLanguage(lines[index], language, TextCodePage());
    language.Init();
}

void TIvTextDictionary::GetLanguageDatas(std::vector<std::unique_ptr<TIvLanguage>>& list)
{
    if (GetStorage() == ivsEmbedded) {
        ::GetLanguageDatas(GetFormLocation(), list);
        return;
    }
    std::vector<TIvTextLine> lines = ReadLines(Source::Languages);
    int textCodePage = TextCodePage();
    for (const auto& line : lines) {
        auto language = std::make_unique<TIvLanguage>();
        GetLanguage(line, *language, textCodePage);
        language->Init();
        list.push_back(std::move(language));
    }
}

void TIvTextDictionary::GetLocaleData(int index, TIvLocale& locale)
{
    if (GetStorage() == ivsEmbedded) {
        ::GetLocaleData(GetFormLocation(), index, locale);
        return;
    }
    std::vector<TIvTextLine> lines = ReadLines(Source::Locales);
    if (index < 0 || index >= static_cast<int>(lines.size()))
        throw ERangeError("Out of locale range");
    GetLocale(lines[index], locale, TextCodePage());
    locale.Init();
}

void TIvTextDictionary::GetLocaleDatas(std::vector<std::unique_ptr<TIvLocale>>& list)
{
    if (GetStorage() == ivsEmbedded) {
        ::GetLocaleDatas(GetFormLocation(), list);
        return;
    }
    std::vector<TIvTextLine> lines = ReadLines(Source::Locales);
    int textCodePage = lines.empty() ? 1252 : TextCodePage();
    for (const auto& line : lines) {
        auto locale = std::make_unique<TIvLocale>();
        GetLocale(line, *locale, textCodePage);
        locale->Init();
        list.push_back(std::move(locale));
    }
}

void TIvTextDictionary::LoadTranslation(TIvTranslationTable& table)
{
    const int active = GetActiveLanguageIndex();
    const int fallback = GetFallbackLanguageIndex();
    if (GetStorage() == ivsEmbedded) {
        SetContextType(::LoadTranslation(GetFormLocation(), active, fallback, FEmbeddedLanguages, table));
        return;
    }
    std::vector<TIvTextLine> lines = ReadLines(Source::Translations);
    if (lines.empty())
        return;
    std::vector<std::unique_ptr<TIvLanguage>> languages;
    GetLanguageDatas(languages);
    const int count = static_cast<int>(languages.size());
    const TIvContextType context = GetContextType(lines.front(), count);
    SetContextType(context);
    const int textCodePage
        = count > 0 && languages[0]->GetCodePage() > 0 ? languages[0]->GetCodePage() : 1252;
    auto codePageOf = [&](int k) {
        return k > 0 && k < count && languages[k]->GetCodePage() > 0 ? languages[k]->GetCodePage()
                                                                     : textCodePage;
    };
    CodePages pages;
    const size_t first
        = 1 + ((context & (1u << ivctForm)) ? 1 : 0) + ((context & (1u << ivctComponent)) ? 1 : 0);
    for (const auto& line : lines) {
        Fields f(line, FConvert);
        TIvTranslation row;
        row.Native = f.Text(0, textCodePage, pages);
        size_t at = 1;
        if (context & (1u << ivctForm))
            row.FormContext = f.Text(at++, textCodePage, pages);
        if (context & (1u << ivctComponent))
            row.ComponentContext = f.Text(at++, textCodePage, pages);
        if (active == 0) {
            row.Translation = row.Native;
            row.Status = TIvTranslation::Translated;
        } else {
            std::string candidate = f.Text(first + active - 1, codePageOf(active), pages);
            std::string other = fallback > 0 ? f.Text(first + fallback - 1, codePageOf(fallback), pages) : "";
            if (!candidate.empty()) {
                row.Translation = std::move(candidate);
                row.Status = TIvTranslation::Translated;
            } else if (!other.empty()) {
                row.Translation = std::move(other);
                row.Status = TIvTranslation::FromFallback;
            } else {
                row.Status = TIvTranslation::Untranslated;
            }
        }
        table.push_back(std::move(row));
    }
}

// ------------------------------------------------------------ storing in a form

void TIvTextDictionary::CheckFileNamesForStoring()
{
    if (GetStorage() != ivsEmbedded)
        return;
    bool translations = !GetFileName().empty();
    bool languages = !FLanguageFileName.empty();
    if (translations && !languages)
        throw EIvMulti("No language file assigned");
    if (languages && !translations)
        throw EIvMulti("No translation file assigned");
}

bool TIvTextDictionary::StoreableFile(const std::string& name)
{
    if (!FileExists(name)) {
        platform::CurrentPrompts().MessageDlg(
            "Can not find the file name " + name + ". No table data was stored!",
            platform::MsgDlgType::mtError, platform::mbOK);
        return false;
    }
    if (IsUTF16File(name)) {
        platform::CurrentPrompts().MessageDlg(
            "Can not use a UTF-16 file " + name + ". No table data was stored!",
            platform::MsgDlgType::mtError, platform::mbOK);
        return false;
    }
    return true;
}

namespace {

// Reads the named files as a file dictionary does, whatever the storage.
class FileReading {
public:
    explicit FileReading(TIvTextDictionary& d)
        : D(d)
        , Storage(d.GetStorage())
    {
        D.SetStorage(ivsFile);
    }
    ~FileReading() { D.SetStorage(Storage); }
    TIvTextDictionary& D;
    TIvStorage Storage;
};

} // namespace

bool TIvTextDictionary::WriteLanguages(TIvWriter& writer)
{
    if (!StoreableFile(FLanguageFileName))
        return false;
    FileReading files(*this);
    std::vector<std::unique_ptr<TIvLanguage>> list;
    GetLanguageDatas(list);
    std::vector<TIvLanguage> languages;
    for (const auto& l : list)
        languages.push_back(*l);
    WriteLanguagesBlock(writer, languages);
    return true;
}

bool TIvTextDictionary::WriteTranslations(TIvWriter& writer)
{
    if (!StoreableFile(GetFileName()))
        return false;
    FileReading files(*this);
    std::vector<std::unique_ptr<TIvLanguage>> languages;
    GetLanguageDatas(languages);
    const int count = static_cast<int>(languages.size());
    std::vector<TIvTextLine> lines = ReadLines(Source::Translations);
    TIvContextType context = lines.empty() ? 0 : GetContextType(lines.front(), count);
    const int textCodePage
        = count > 0 && languages[0]->GetCodePage() > 0 ? languages[0]->GetCodePage() : 1252;
    CodePages pages;
    std::vector<TIvFormRow> rows;
    for (const auto& line : lines) {
        Fields f(line, FConvert);
        TIvFormRow row;
        size_t at = 0;
        row.Native = f.Text(at++, textCodePage, pages);
        if (context & (1u << ivctForm))
            row.FormContext = f.Text(at++, textCodePage, pages);
        if (context & (1u << ivctComponent))
            row.ComponentContext = f.Text(at++, textCodePage, pages);
        for (int k = 1; k < count; ++k, ++at)
            row.Columns.push_back(f.Text(at, languages[k]->GetCodePage(), pages));
        rows.push_back(std::move(row));
    }
    WriteTranslationsBlock(writer, ContextCodeOf(context), rows);
    return true;
}

bool TIvTextDictionary::WriteLocales(TIvWriter& writer)
{
    if (!StoreableFile(FLocaleFileName))
        return false;
    FileReading files(*this);
    std::vector<std::unique_ptr<TIvLocale>> list;
    GetLocaleDatas(list);
    std::vector<TIvLocale> locales;
    for (const auto& l : list)
        locales.push_back(*l);
    WriteLocalesBlock(writer, locales);
    return true;
}
