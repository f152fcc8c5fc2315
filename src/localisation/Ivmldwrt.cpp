#include "Ivmldwrt.h"

#include "CodePage.h"
#include "File.h"
#include "Ivstream.h"

#include <cstring>
#include <map>
#include <memory>

namespace {

bool IsAscii(const std::string& text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

class Writer {
public:
    Writer(const TIvMLDContent& content)
        : C(content)
    {
        int cp = C.Languages.empty() ? 0 : C.Languages[0].GetCodePage();
        TextCodePage = cp > 0 ? cp : 1252;
    }

    std::string Run()
    {
        if (C.Version < 1 || C.Version > IvMLDLatestVersion)
            throw EIvMulti("Cannot write MLD version " + std::to_string(C.Version));
        Out.assign(IvMLDHeaderSize, '\0');
        uint32_t languageOffset = Size();
        for (const auto& language : C.Languages)
            WriteLanguage(language);
        uint32_t rowOffset = Size();
        for (const auto& row : C.Rows)
            WriteRow(row);
        uint32_t localeOffset = C.Locales.empty() ? 0 : Size();
        for (const auto& locale : C.Locales)
            WriteLocale(locale);
        bool info = C.HasInfo && C.Version >= 2;
        uint32_t infoOffset = info ? Size() : 0;
        if (info)
            WriteInfo();
        WriteHeader(languageOffset, rowOffset, localeOffset, infoOffset);
        return std::move(Out);
    }

private:
    uint32_t Size() const { return static_cast<uint32_t>(Out.size()); }
    bool Big() const { return C.ByteOrder == ivboBigEndian; }

    static uint16_t Count(size_t n, const char* what)
    {
        if (n > 0xFFFF)
            throw EIvMulti(std::string("Too many ") + what + " for an MLD file");
        return static_cast<uint16_t>(n);
    }

    void PutWordAt(size_t at, uint16_t v)
    {
        Out[at] = static_cast<char>(Big() ? v >> 8 : v & 0xFF);
        Out[at + 1] = static_cast<char>(Big() ? v & 0xFF : v >> 8);
    }
    void PutDWordAt(size_t at, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            Out[at + i] = static_cast<char>(v >> (Big() ? 24 - 8 * i : 8 * i));
    }
    void Byte(int v) { Out.push_back(static_cast<char>(v)); }
    void Word(int v)
    {
        Out.append(2, '\0');
        PutWordAt(Out.size() - 2, static_cast<uint16_t>(v));
    }
    void Unit(char16_t c) { Word(c); }

    const TIvCodePageText& Text(int codePage)
    {
        int cp = codePage > 0 ? codePage : TextCodePage;
        auto& slot = Texts[cp];
        if (!slot)
            slot = std::make_unique<TIvCodePageText>(cp);
        return *slot;
    }

    void Units(const std::string& text, int codePage, bool withLength)
    {
        if (C.Unicode) {
            std::u16string units = platform::Utf8ToUtf16Lenient(text);
            if (withLength)
                Word(Count(units.size(), "characters in a text"));
            for (char16_t c : units)
                Unit(c);
        } else {
            std::string bytes = IsAscii(text) ? text : Text(codePage).FromUtf8(text);
            if (withLength)
                Word(Count(bytes.size(), "characters in a text"));
            Out += bytes;
        }
    }
    void String(const std::string& text, int codePage = 0) { Units(text, codePage, true); }
    void Chars(std::string text, size_t count)
    {
        text.resize(count, '\0');
        Units(text, 0, false);
    }
    void Char(char c, int codePage)
    {
        if (C.Unicode)
            Unit(static_cast<unsigned char>(c) < 0x80 ? c
                                                      : Text(codePage).CharOf(static_cast<unsigned char>(c)));
        else
            Byte(static_cast<unsigned char>(c));
    }

    size_t BeginBlock()
    {
        size_t at = Out.size();
        if (C.Version >= 3)
            Word(0);
        return at;
    }
    void EndBlock(size_t at)
    {
        if (C.Version < 3)
            return;
        Out.append(static_cast<size_t>(C.ExtraBlockBytes), '\x5A');
        PutWordAt(at, Count(Out.size() - at, "bytes in a record"));
    }

    void WriteLanguage(const TIvLanguage& l)
    {
        size_t block = BeginBlock();
        Word(l.PrimaryId);
        if (C.Version >= 2)
            Chars(l.IsoLanguage, 2);
        Word(l.DefaultSub);
        if (C.Version >= 2)
            Chars(l.IsoCountry, 2);
        String(l.GetAllSubs());
        if (C.Version >= 2)
            String(l.GetISOAllCountries());
        if (C.Version >= 3)
            Word(l.Charset);
        Word(l.GetCodePage());
        Byte(l.Options);
        String(l.EnglishName);
        String(l.NativeName, l.GetCodePage());
        String(l.FontName);
        Byte(l.FontSize);
        EndBlock(block);
    }

    void WriteRow(const TIvMLDRow& row)
    {
        String(row.Native);
        if (C.ContextCode == ivccFull || C.ContextCode == ivccForm)
            String(row.FormContext);
        if (C.ContextCode == ivccFull || C.ContextCode == ivccComponent)
            String(row.ComponentContext);
        for (size_t k = 1; k < C.Languages.size(); ++k)
            String(k - 1 < row.Columns.size() ? row.Columns[k - 1] : std::string(),
                C.Languages[k].GetCodePage());
    }

    void WriteLocale(const TIvLocale& l)
    {
        const int cp = l.CodePage;
        size_t block = BeginBlock();
        Word(l.PrimaryId);
        if (C.Version >= 2)
            Chars(l.IsoLanguage, 2);
        Word(l.SubId);
        if (C.Version >= 2)
            Chars(l.IsoCountry, 2);
        if (C.Version >= 3)
            Word(l.Charset);
        Word(l.CodePage);
        Byte(l.Custom);
        String(l.EnglishLanguageName);
        String(l.EnglishCountryName);
        String(l.NativeLanguageName, cp);
        String(l.NativeCountryName, cp);
        String(l.LocalizedLanguageName);
        String(l.LocalizedCountryName);
        Byte(l.MeasurementSystem);
        String(l.CurrencySymbol, cp);
        Byte(l.CurrencyFormat);
        Byte(l.NegativeCurrencyFormat);
        Byte(l.CurrencyDecimals);
        Char(l.ThousandSeparator, cp);
        Char(l.DecimalSeparator, cp);
        Char(l.DateSeparator, cp);
        String(l.ShortDateFormat, cp);
        String(l.LongDateFormat, cp);
        Char(l.TimeSeparator, cp);
        String(l.TimeAMString, cp);
        String(l.TimePMString, cp);
        Byte(l.HourLeadingZero);
        Byte(l.TimeFormat);
        Byte(l.TimeMarkPosition);
        Byte(l.CalendarType);
        Byte(l.OptionalCalendarType);
        Byte(l.FirstDayOfWeek);
        Byte(l.FirstWeekOfYear);
        for (const auto& names : { &l.ShortMonthNames[0], &l.LongMonthNames[0] })
            for (int i = 0; i < 12; ++i)
                String(names[i], cp);
        for (const auto& names : { &l.ShortDayNames[0], &l.LongDayNames[0] })
            for (int i = 0; i < 7; ++i)
                String(names[i], cp);
        EndBlock(block);
    }

    void WriteInfo()
    {
        String(C.Info.Description);
        String(C.Info.Owner);
        Word(Count(C.Info.Users.size(), "users"));
        for (const auto& user : C.Info.Users)
            String(user);
        if (C.Version >= 3) {
            const auto& d = C.Info.Date;
            Byte(d.Day);
            Byte(d.Month);
            Word(d.Year);
            Byte(d.Hour);
            Byte(d.Minute);
            Byte(d.Second);
        }
    }

    void WriteHeader(uint32_t languages, uint32_t rows, uint32_t locales, uint32_t info)
    {
        std::memcpy(Out.data(), "MLD", 3);
        Out[3] = static_cast<char>(C.Version);
        Out[4] = static_cast<char>(C.ByteOrder);
        uint8_t charset = C.Unicode ? ivcsUnicode : (C.CharacterSet ? C.CharacterSet : 1);
        if (C.Version == 1) {
            // Version 1 keeps the character set in byte 7; byte 5 is left
            // holding the opposite kind, which a reader must not look at.
            Out[7] = static_cast<char>(charset);
            Out[5] = static_cast<char>(C.Unicode ? 1 : 0);
        } else {
            Out[5] = static_cast<char>(charset);
        }
        Out[6] = static_cast<char>(C.ContextCode);
        PutWordAt(12, Count(C.Languages.size(), "languages"));
        PutDWordAt(14, languages);
        PutWordAt(18, Count(C.Rows.size(), "rows"));
        PutDWordAt(20, rows);
        PutWordAt(24, Count(C.Locales.size(), "locales"));
        PutDWordAt(26, locales);
        if (C.Version >= 2) {
            PutWordAt(30, info ? 1 : 0);
            PutDWordAt(32, info);
        }
    }

    const TIvMLDContent& C;
    int TextCodePage;
    std::string Out;
    std::map<int, std::unique_ptr<TIvCodePageText>> Texts;
};

} // namespace

std::string IvWriteMLD(const TIvMLDContent& content)
{
    return Writer(content).Run();
}

void IvSaveMLD(const TIvMLDContent& content, const std::string& fileName)
{
    std::string bytes = IvWriteMLD(content);
    try {
        platform::AtomicFileWriter writer(fileName);
        writer.Write(bytes.data(), bytes.size());
        writer.Commit();
    } catch (const platform::FileError& e) {
        throw EFOpenError("Cannot create file \"" + fileName + "\". " + e.Text);
    }
}
