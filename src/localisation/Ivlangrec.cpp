// The language and locale records of a dictionary, and a locale record read
// from the system.
#include "Ivdictio.h"

#include "Ivparser.h"
#include "Nls.h"

#include <algorithm>

namespace {

std::string Joined(const std::vector<std::string>& items)
{
    std::string out;
    for (const auto& item : items) {
        if (!out.empty())
            out += ',';
        out += item;
    }
    return out;
}

} // namespace

// ------------------------------------------------------------ TIvLanguage

void TIvLanguage::SetCodePage(int codePage)
{
    FCodePage = codePage;
    Charset = static_cast<uint8_t>(IvCodePageToCharset(codePage));
}

int TIvLanguage::GetSub() const
{
    if (Subs.empty())
        return 0;
    if (std::find(Subs.begin(), Subs.end(), DefaultSub) != Subs.end())
        return DefaultSub;
    return Subs.front();
}

void TIvLanguage::AddSub(int sub)
{
    if (std::find(Subs.begin(), Subs.end(), sub) == Subs.end())
        Subs.push_back(sub);
}

std::string TIvLanguage::GetAllSubs() const
{
    std::vector<std::string> items;
    for (int s : Subs)
        items.push_back(std::to_string(s));
    return Joined(items);
}

void TIvLanguage::SetAllSubs(const std::string& subs)
{
    Subs.clear();
    TIvStringParser parser(subs, ',');
    while (!parser.Eol()) {
        int id = parser.GetIntegerDef(0);
        if (id > 0)
            AddSub(id);
    }
}

std::string TIvLanguage::GetISOAllCountries() const
{
    return Joined(IsoCountries);
}

void TIvLanguage::SetISOAllCountries(const std::string& countries)
{
    IsoCountries.clear();
    TIvStringParser parser(countries, ',');
    while (!parser.Eol()) {
        std::string code = parser.GetString();
        if (!code.empty())
            AddISOCountry(code);
    }
}

bool TIvLanguage::AddISOCountry(const std::string& code)
{
    if (std::find(IsoCountries.begin(), IsoCountries.end(), code) != IsoCountries.end())
        return false;
    IsoCountries.push_back(code);
    return true;
}

std::string TIvLanguage::GetBundleExtension() const
{
    std::string ext = "_" + IsoLanguage;
    if (!IsoCountries.empty())
        ext += "_" + IsoCountries.front();
    return ext;
}

uint32_t TIvLanguage::GetLocale() const
{
    int s = Subs.empty() ? DefaultSub : Subs.front();
    if (s == 0) {
        if (PrimaryId == 4)
            s = FCodePage == 936 ? 2 : FCodePage == 950 ? 1 : 0;
        else if (PrimaryId == 26)
            s = FCodePage == 1250 ? 1 : FCodePage == 1251 ? 3 : 0;
    }
    return IvMakeLcId(IvMakeLangId(PrimaryId, s), 0);
}

uint32_t TIvLanguage::GetDefaultLocale() const
{
    if (PrimaryId == 0)
        return IvMakeLcId(IvMakeLangId(DefaultSub, 0), 0);
    return IvMakeLcId(IvMakeLangId(PrimaryId, DefaultSub), 0);
}

uint32_t TIvLanguage::GetActiveLocale() const
{
    return IvMakeLcId(IvMakeLangId(PrimaryId, ActiveSub), 0);
}

void TIvLanguage::SetActiveSub(int sub)
{
    if (sub == ActiveSub)
        return;
    bool listed = std::find(Subs.begin(), Subs.end(), sub) != Subs.end();
    ActiveSub = (sub < 0 || (!Subs.empty() && !listed)) ? DefaultSub : sub;
}

TIvCharacterSetType TIvLanguage::GetCharsetType() const
{
    return IvGetCharacterSetType(GetLocale());
}

void TIvLanguage::SetSub(int sub)
{
    if (PrimaryId == 0 || sub == GetSub())
        return;
    if (sub == 0) {
        Subs.clear();
        IsoCountries.clear();
        return;
    }
    DefaultSub = sub;
    AddSub(sub);
}

void TIvLanguage::Assign(const TIvLanguage& source)
{
    if (&source != this)
        *this = source;
}

std::unique_ptr<TIvLanguage> TIvLanguage::Copy() const
{
    return std::make_unique<TIvLanguage>(*this);
}

void TIvLanguage::Init()
{
    if (PrimaryId < 0)
        PrimaryId = 0;
    if (PrimaryId == 0) {
        DefaultSub = 0;
        Subs.clear();
        Options = 1u << ivloPureASCII;
        if (EnglishName.empty())
            EnglishName = "Native";
        if (NativeName.empty())
            NativeName = "Native";
    } else {
        if (DefaultSub < 1)
            DefaultSub = Subs.empty() ? 1 : Subs.front();
        if (FCodePage == 0) {
            int cp = IvLangIdToCodePage(IvMakeLangId(PrimaryId, IvGetSubFromLocale(GetLocale())));
            SetCodePage(cp ? cp : 1252);
        }
        // The system is asked only for what the record lacks.
        platform::NlsLocaleInfo info;
        const bool complete
            = !IsoLanguage.empty() && !IsoCountry.empty() && !EnglishName.empty() && !NativeName.empty();
        if (!complete && platform::CurrentNls().LocaleNames(GetLocale(), info)) {
            if (IsoLanguage.empty())
                IsoLanguage = info.IsoLanguage;
            if (IsoCountry.empty())
                IsoCountry = info.IsoCountry;
            if (EnglishName.empty())
                EnglishName = ComposeLanguageName(info.EnglishLanguage, PrimaryId, false, nullptr, FCodePage);
            if (NativeName.empty())
                NativeName = info.NativeLanguage;
        }
    }
    if (ActiveSub == 0)
        ActiveSub = DefaultSub;
    if (Charset == 0)
        Charset = static_cast<uint8_t>(IvCodePageToCharset(FCodePage));
}

bool TIvLanguage::PrimaryEquals(const TIvLanguage& other) const
{
    if (PrimaryId != other.PrimaryId)
        return false;
    if (FCodePage != 0 && other.FCodePage != 0)
        return FCodePage == other.FCodePage;
    return true;
}

std::string TIvLanguage::GetDisplayName(TIvDisplayName kind, TIvDictionary* dictionary) const
{
    switch (kind) {
    case ivdnNative:
        return ComposeLanguageName(NativeName, PrimaryId, false, dictionary, FCodePage);
    case ivdnTranslated:
        return ComposeLanguageName(EnglishName, PrimaryId, true, dictionary, FCodePage);
    default:
        return ComposeLanguageName(EnglishName, PrimaryId, false, dictionary, FCodePage);
    }
}

// ------------------------------------------------------------ TIvLocale

uint32_t TIvLocale::GetLocale() const
{
    return IvMakeLcId(IvMakeLangId(PrimaryId, SubId), SortId);
}

uint32_t TIvLocale::GetLangId() const
{
    return IvMakeLangId(PrimaryId, SubId);
}

void TIvLocale::SetLocale(uint32_t lcid)
{
    PrimaryId = IvGetPrimaryFromLocale(lcid);
    SubId = IvGetSubFromLocale(lcid);
}

void TIvLocale::SetLangId(uint32_t langId)
{
    SetLocale(langId);
}

TIvCharacterSetType TIvLocale::GetCharsetType() const
{
    return IvGetCharacterSetType(GetLocale());
}

void TIvLocale::Assign(const TIvLocale& source)
{
    if (&source != this)
        *this = source;
}

std::unique_ptr<TIvLocale> TIvLocale::Copy() const
{
    return std::make_unique<TIvLocale>(*this);
}

void TIvLocale::Init()
{
    platform::NlsLocaleInfo info;
    const bool complete = !EnglishLanguageName.empty() && !EnglishCountryName.empty()
        && !NativeLanguageName.empty() && !NativeCountryName.empty();
    if (!complete && platform::CurrentNls().LocaleNames(GetLocale(), info)) {
        if (EnglishLanguageName.empty())
            EnglishLanguageName = info.EnglishLanguage;
        if (EnglishCountryName.empty())
            EnglishCountryName = info.EnglishCountry;
        if (NativeLanguageName.empty())
            NativeLanguageName = info.NativeLanguage;
        if (NativeCountryName.empty())
            NativeCountryName = info.NativeCountry;
    }
    if (CodePage == 0) {
        CodePage = IvLangIdToCodePage(GetLangId());
        if (CodePage == 0)
            CodePage = 1252;
    }
    if (Charset == 0)
        Charset = static_cast<uint8_t>(IvLangIdToCharset(GetLangId()));
}

std::string TIvLocale::GetDisplayName(TIvDisplayName kind, TIvDictionary* dictionary) const
{
    if (kind == ivdnNative)
        return ComposeLocaleName(
            NativeLanguageName, NativeCountryName, false, dictionary, CodePage, SubId, PrimaryId);
    return ComposeLocaleName(EnglishLanguageName, EnglishCountryName, kind == ivdnTranslated, dictionary,
        CodePage, SubId, PrimaryId);
}

bool GetSystemLocaleData(uint32_t lcid, TIvLocale& locale)
{
    auto& nls = platform::CurrentNls();
    locale = TIvLocale {};
    locale.SetLocale(lcid);
    locale.SortId = static_cast<int>(lcid >> 16);
    locale.CodePage = nls.DefaultAnsiCodePage(lcid);
    platform::NlsLocaleInfo info;
    if (!nls.LocaleInfo(lcid, info) || info.EnglishLanguage.empty() || locale.CodePage < 1)
        return false;
    locale.IsoLanguage = info.IsoLanguage;
    locale.IsoCountry = info.IsoCountry;
    locale.Charset = static_cast<uint8_t>(IvCodePageToCharset(locale.CodePage));
    locale.EnglishLanguageName = info.EnglishLanguage;
    locale.EnglishCountryName = info.EnglishCountry;
    locale.NativeLanguageName = info.NativeLanguage;
    locale.NativeCountryName = info.NativeCountry;
    locale.LocalizedLanguageName = info.EnglishLanguage;
    locale.LocalizedCountryName = info.EnglishCountry;
    locale.CurrencySymbol = info.CurrencySymbol;
    locale.CurrencyDecimals = static_cast<uint8_t>(info.CurrencyDecimals);
    locale.ThousandSeparator = info.ThousandSeparator;
    locale.DecimalSeparator = info.DecimalSeparator;
    locale.DateSeparator = info.DateSeparator;
    locale.ShortDateFormat = info.ShortDateFormat;
    locale.LongDateFormat = info.LongDateFormat;
    locale.TimeSeparator = info.TimeSeparator;
    locale.TimeAMString = info.TimeAM;
    locale.TimePMString = info.TimePM;
    locale.HourLeadingZero = info.HourLeadingZero;
    locale.TimeFormat = info.Clock24 ? ivtf24 : ivtf12;
    locale.MeasurementSystem = info.Metric ? ivmsMetric : ivmsUS;
    locale.CalendarType = 1; // Gregorian
    locale.FirstDayOfWeek = static_cast<uint8_t>(info.FirstDayOfWeek);
    for (size_t i = 0; i < 12; ++i) {
        if (i < info.ShortMonthNames.size())
            locale.ShortMonthNames[i] = info.ShortMonthNames[i];
        if (i < info.LongMonthNames.size())
            locale.LongMonthNames[i] = info.LongMonthNames[i];
    }
    for (size_t i = 0; i < 7; ++i) {
        if (i < info.ShortDayNames.size())
            locale.ShortDayNames[i] = info.ShortDayNames[i];
        if (i < info.LongDayNames.size())
            locale.LongDayNames[i] = info.LongDayNames[i];
    }
    return true;
}
