#include "Ivdictio.h"

#include "Ivlocale.h"
#include "Ivparser.h"
#include "Nls.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <set>

namespace {

// The euro presentation in force for the whole process (the last one set).
TIvEuro gEuroMode = iveNormal;
// The toolkit's texts follow the dictionaries from the first run-time open to a close.
bool gResourceHookInstalled = false;
std::atomic<uint64_t> gTranslatorSerial { 0 };

void RemoveResourceHook()
{
    if (!gResourceHookInstalled)
        return;
    gResourceHookInstalled = false;
    if (TIvApplicationHooks* hooks = IvApplicationHooks())
        hooks->RemoveResourceTranslator();
}

bool IsNeutralPrimary(int primary)
{
    return primary == 0 || primary == 9 || primary == 33;
}

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

// ------------------------------------------------------------ free functions

TIvDictionaries& Dictionaries()
{
    static TIvDictionaries list;
    return list;
}

TIvEuro IvEuroMode()
{
    return gEuroMode;
}

TIvDictionary* GetDefaultDictionary()
{
    return Dictionaries().GetCount() > 0 ? Dictionaries().GetItems(0) : nullptr;
}

std::string Translate(const std::string& native)
{
    TIvDictionary* d = GetDefaultDictionary();
    return d ? d->Translate(native) : native;
}

std::string TranslateContext(const std::string& native, const std::string& form, const std::string& component)
{
    TIvDictionary* d = GetDefaultDictionary();
    return d ? d->TranslateContext(native, form, component) : native;
}

std::string MlFormatList(const std::string& format, const std::vector<platform::FormatArg>& args)
{
    const std::string translated = Translate(format);
    if (translated == format)
        return platform::FormatList(format, args);
    try {
        return platform::FormatList(translated, args);
    } catch (const EConvertError&) {
        // A dictionary row must not stop what asked for the text: the English
        // format fits the arguments the program passes.
        return platform::FormatList(format, args);
    }
}

void MlShowMessage(const std::string& text)
{
    platform::CurrentPrompts().ShowMessage(Translate(text));
}

int MlMessageDlg(const std::string& text, platform::MsgDlgType type, platform::MsgDlgButtons buttons, int)
{
    return platform::CurrentPrompts().MessageDlg(Translate(text), type, buttons);
}

// ------------------------------------------------------------ TIvDictionaries

TIvDictionary* TIvDictionaries::GetItems(int index) const
{
    if (index < 0 || index >= GetCount())
        throw ERangeError("List index out of bounds (" + std::to_string(index) + ")");
    return FItems[index];
}

void TIvDictionaries::Add(TIvDictionary* dictionary)
{
    if (dictionary->GetDictionaryName().empty()) {
        int n = GetCount() + 1;
        while (FindDictionary("Dictionary" + std::to_string(n)))
            ++n;
        dictionary->SetDictionaryName("Dictionary" + std::to_string(n));
    }
    FItems.push_back(dictionary);
}

void TIvDictionaries::Remove(TIvDictionary* dictionary)
{
    auto it = std::find(FItems.begin(), FItems.end(), dictionary);
    if (it != FItems.end())
        FItems.erase(it);
}

TIvDictionary* TIvDictionaries::FindDictionary(const std::string& name) const
{
    for (TIvDictionary* d : FItems)
        if (d->GetDictionaryName() == name)
            return d;
    return nullptr;
}

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

// ------------------------------------------------------------ TIvDictionary

TIvDictionary::TIvDictionary()
    : FCurrentLanguage(std::make_unique<TIvLanguage>())
    , FCurrentLocale(std::make_unique<TIvLocale>())
    , FScratchLanguage(std::make_unique<TIvLanguage>())
    , FScratchLocale(std::make_unique<TIvLocale>())
{
    Dictionaries().Add(this);
}

TIvDictionary::~TIvDictionary()
{
    UnbindTranslators();
    if (FOpen)
        RemoveResourceHook();
    for (TIvCustomTranslator* t : std::vector<TIvCustomTranslator*>(FReferrers))
        t->DictionaryDestroyed(this);
    Dictionaries().Remove(this);
}

void TIvDictionary::SetPrimaryLanguage(int primary)
{
    SetLocale(IvMakeLcId(IvMakeLangId(primary, GetSubLanguage()), 0));
}

void TIvDictionary::SetSubLanguage(int sub)
{
    SetLocale(IvMakeLcId(IvMakeLangId(GetPrimaryLanguage(), sub), 0));
}

void TIvDictionary::SetEuro(TIvEuro euro)
{
    // The record in force is made before the euro mode changes under it.
    TIvFormatSettings settings = IvFormatSettings();
    FEuro = euro;
    gEuroMode = euro;
    if (FOpen) {
        settings.CurrencyString = IvGetEMUCurrencyString(*GetCurrentLocale(), euro, IvToday());
        IvSetFormatSettings(settings);
    }
}

std::string TIvDictionary::Translate(const std::string& native) const
{
    if (native.empty())
        return native;
    std::string translation;
    bool found = TranslateString(native, translation);
    return CheckTranslation(native, std::move(translation), found);
}

std::string TIvDictionary::TranslateContext(
    const std::string& native, const std::string& form, const std::string& component) const
{
    std::string translation;
    bool found;
    if (native.empty()) {
        found = true;
    } else if (FContextType != 0) {
        found = TranslateContextString(native, form, component, translation);
        if (!found)
            found = TranslateString(native, translation);
    } else {
        found = TranslateString(native, translation);
    }
    return CheckTranslation(native, std::move(translation), found);
}

std::string TIvDictionary::CheckTranslation(
    const std::string& native, std::string translation, bool found) const
{
    if (found && !translation.empty())
        return translation;
    switch (FMissingTranslation) {
    case ivmtUseNull:
        return {};
    case ivmtTagNative:
        return "@" + native + "@";
    case ivmtRaiseException:
        if (found)
            throw EIvMulti("Translation for the word \"" + native + "\" is missing");
        throw EIvMulti("Dictionary does not contain a translation for the word \"" + native + "\"");
    default:
        return native;
    }
}

bool TIvDictionary::TranslateString(const std::string& native, std::string& translation) const
{
    return TranslateContextString(native, "", "", translation);
}

bool TIvDictionary::DoesTranslationExist(const std::string& native) const
{
    std::string translation;
    return TranslateString(native, translation);
}

bool TIvDictionary::DoesContextTranslationExist(
    const std::string& native, const std::string& form, const std::string& component) const
{
    std::string translation;
    return TranslateContextString(native, form, component, translation);
}

void TIvDictionary::Open()
{
    if (FOpen || !CanBeOpened())
        return;
    FLanguageAtOpen = FLanguage;
    switch (FBinding) {
    case ivbiNone:
        InitLanguage(FLanguage);
        InitLocale(FRequestedLocale);
        break;
    case ivbiLocaleToLanguage:
        InitLanguage(FLanguage);
        InitLocale(FCurrentLanguage->GetActiveLocale());
        break;
    case ivbiLanguageToLocale: {
        InitLocale(FRequestedLocale);
        int index = LocaleToLanguage(FActiveLocaleId);
        if (index < 0) {
            InitLanguage(GetDefaultLanguage());
        } else {
            InitLanguage(index);
            FCompareLocaleId = FActiveLocaleId;
        }
        break;
    }
    }
    FOpen = true;
    TIvApplicationHooks* hooks = IvApplicationHooks();
    if (hooks && HasOption(ivdoTranslateResourceStrings) && !gResourceHookInstalled) {
        hooks->InstallResourceTranslator();
        gResourceHookInstalled = true;
    }
    LanguageChanged(true, true);
}

void TIvDictionary::Close()
{
    UnbindTranslators();
    if (FOpen)
        RemoveResourceHook();
    FOpen = false;
}

void TIvDictionary::LanguageChanged(bool languageChanged, bool localeChanged)
{
    FCommitted = true;
    // Every step runs even when one fails; the first failure is raised at the end.
    std::exception_ptr first;
    auto guarded = [&first](const std::function<void()>& step) {
        try {
            step();
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    };
    TIvApplicationHooks* hooks = IvApplicationHooks();
    if (hooks)
        guarded([&] { hooks->SetRightToLeft(FCurrentLanguage->GetCharsetType() == ivcsBiDirectional); });
    if (localeChanged) {
        if (hooks)
            guarded([&] { hooks->SetLocale(FActiveLocaleId); });
        if (HasOption(ivdoUpdateLocaleVariables))
            guarded([&] {
                const bool year2000 = HasOption(ivdoYear2000);
                if (!FLocalePending) {
                    IvSetFormatSettings(IvMakeFormatSettings(*FCurrentLocale, year2000));
                    return;
                }
                // The same record from the same system locale, when first read.
                IvSetFormatSettingsLater([id = FPendingLocaleId, year2000] {
                    TIvLocale locale;
                    GetSystemLocaleData(id, locale);
                    return IvMakeFormatSettings(locale, year2000);
                });
            });
    }
    if (HasOption(ivdoAutoTranslate)) {
        // A translator may create or destroy windows: only those still bound, and
        // not a newcomer at a freed address, are told.
        std::vector<std::pair<TIvCustomTranslator*, uint64_t>> snapshot;
        for (TIvCustomTranslator* t : FTranslators)
            snapshot.emplace_back(t, t->FSerial);
        // Plain variables, not a structured binding: clang before 16 cannot
        // capture a binding in the lambda (the fuzz build uses clang).
        for (const auto& entry : snapshot) {
            TIvCustomTranslator* t = entry.first;
            bool bound = std::find(FTranslators.begin(), FTranslators.end(), t) != FTranslators.end();
            if (bound && t->FSerial == entry.second)
                guarded([&] { t->LanguageChanged(languageChanged, localeChanged); });
        }
    }
    if (languageChanged && FOnLanguageChange)
        guarded([&] { FOnLanguageChange(this); });
    if (localeChanged && FOnLocaleChange)
        guarded([&] { FOnLocaleChange(this); });
    if (hooks)
        guarded([&] { hooks->LanguageChangeDone(); });
    if (first)
        std::rethrow_exception(first);
}

void TIvDictionary::RunChange(const std::function<void()>& change)
{
    if (FChanging)
        throw EIvMulti("The language cannot be changed while it is being changed");
    const int language = FLanguage;
    const uint32_t requestedLocale = FRequestedLocale;
    const int activeLanguage = FActiveLanguageIndex;
    const int fallbackLanguage = FFallbackLanguageIndex;
    const uint32_t activeLocale = FActiveLocaleId;
    const uint32_t compareLocale = FCompareLocaleId;
    std::unique_ptr<TIvLanguage> currentLanguage = FCurrentLanguage->Copy();
    std::unique_ptr<TIvLocale> currentLocale = FCurrentLocale->Copy();
    const bool localePending = FLocalePending;
    const uint32_t pendingLocaleId = FPendingLocaleId;
    FChanging = true;
    FCommitted = false;
    try {
        change();
    } catch (...) {
        FChanging = false;
        if (!FCommitted) {
            FLanguage = language;
            FRequestedLocale = requestedLocale;
            FActiveLanguageIndex = activeLanguage;
            FFallbackLanguageIndex = fallbackLanguage;
            FActiveLocaleId = activeLocale;
            FCompareLocaleId = compareLocale;
            FCurrentLanguage = std::move(currentLanguage);
            FCurrentLocale = std::move(currentLocale);
            FLocalePending = localePending;
            FPendingLocaleId = pendingLocaleId;
        }
        throw;
    }
    FChanging = false;
}

void TIvDictionary::GetLanguageDatas(std::vector<std::unique_ptr<TIvLanguage>>& list)
{
    int count = GetLanguageCount();
    for (int i = 0; i < count; ++i) {
        auto language = std::make_unique<TIvLanguage>();
        GetLanguageData(i, *language);
        list.push_back(std::move(language));
    }
}

void TIvDictionary::GetLocaleDatas(std::vector<std::unique_ptr<TIvLocale>>& list)
{
    int count = GetLocaleCount();
    for (int i = 0; i < count; ++i) {
        auto locale = std::make_unique<TIvLocale>();
        GetLocaleData(i, *locale);
        list.push_back(std::move(locale));
    }
}

void TIvDictionary::SynchronizeLocale()
{
    if (!FOpen)
        return;
    RunChange([this] {
        uint32_t previous = FActiveLocaleId;
        InitLocale(FCurrentLanguage->GetDefaultLocale());
        if (FActiveLocaleId != previous)
            LanguageChanged(false, true);
    });
}

void TIvDictionary::SynchronizeLanguage()
{
    if (!FOpen)
        return;
    RunChange([this] {
        int previous = FActiveLanguageIndex;
        InitLanguage(LocaleToLanguage(FActiveLocaleId));
        if (FActiveLanguageIndex != previous)
            LanguageChanged(true, false);
    });
}

void TIvDictionary::GetPrimaryLanguages(std::vector<TIvStringItem>& strings, bool native)
{
    std::vector<std::unique_ptr<TIvLanguage>> languages;
    GetLanguageDatas(languages);
    std::set<int> seen;
    for (const auto& language : languages)
        if (seen.insert(language->PrimaryId).second)
            strings.push_back({ native ? language->NativeName : language->EnglishName, language->PrimaryId });
}

bool TIvDictionary::IsLocaleSupported(uint32_t lcid)
{
    std::vector<uint32_t> ids;
    GetLocaleIds(ids);
    return std::find(ids.begin(), ids.end(), lcid) != ids.end();
}

void TIvDictionary::AddTranslator(TIvCustomTranslator* translator)
{
    if (translator && std::find(FTranslators.begin(), FTranslators.end(), translator) == FTranslators.end())
        FTranslators.push_back(translator);
}

void TIvDictionary::RemoveTranslator(TIvCustomTranslator* translator)
{
    auto it = std::find(FTranslators.begin(), FTranslators.end(), translator);
    if (it != FTranslators.end())
        FTranslators.erase(it);
}

void TIvDictionary::UnbindTranslators()
{
    while (!FTranslators.empty()) {
        TIvCustomTranslator* first = FTranslators.front();
        first->Unbind();
        // A translator that did not take itself out must not keep the loop going.
        if (!FTranslators.empty() && FTranslators.front() == first)
            FTranslators.erase(FTranslators.begin());
    }
}

TIvCustomTranslator* TIvDictionary::GetTranslator(int index) const
{
    if (index < 0 || index >= GetTranslatorCount())
        throw ERangeError("List index out of bounds (" + std::to_string(index) + ")");
    return FTranslators[index];
}

TIvLanguage* TIvDictionary::GetLanguage(int index)
{
    if (index < 0 || index >= GetLanguageCount())
        throw ERangeError("Out of language range");
    if (FOpen && index == FActiveLanguageIndex)
        return FCurrentLanguage.get();
    auto language = std::make_unique<TIvLanguage>();
    GetLanguageData(index, *language);
    FScratchLanguage = std::move(language);
    return FScratchLanguage.get();
}

TIvLocale* TIvDictionary::GetLocale(int index)
{
    if (index < 0 || index >= GetLocaleCount())
        throw ERangeError("Out of locale range");
    auto locale = std::make_unique<TIvLocale>();
    GetLocaleData(index, *locale);
    FScratchLocale = std::move(locale);
    return FScratchLocale.get();
}

bool TIvDictionary::FindLocaleData(uint32_t lcid, TIvLocale& locale)
{
    int count = GetLocaleCount();
    for (int i = 0; i < count; ++i) {
        TIvLocale own;
        GetLocaleData(i, own);
        if (own.GetLocale() == lcid) {
            locale.Assign(own);
            return true;
        }
    }
    return false;
}

TIvLocale* TIvDictionary::GetCurrentLocale() const
{
    if (FLocalePending) {
        GetSystemLocaleData(FPendingLocaleId, *FCurrentLocale);
        FLocalePending = false;
    }
    return FCurrentLocale.get();
}

bool TIvDictionary::GetLocaleDataById(uint32_t lcid, TIvLocale& locale)
{
    return FindLocaleData(lcid, locale) || GetSystemLocaleData(lcid, locale);
}

void TIvDictionary::GetLocaleIds(std::vector<uint32_t>& list)
{
    std::vector<std::unique_ptr<TIvLocale>> locales;
    GetLocaleDatas(locales);
    for (const auto& locale : locales)
        list.push_back(locale->GetLocale());
}

void TIvDictionary::GetSubLanguages(int language, std::vector<TIvStringItem>& strings, bool native)
{
    std::vector<std::unique_ptr<TIvLanguage>> languages;
    GetLanguageDatas(languages);
    if (language < 0 || language >= static_cast<int>(languages.size()))
        throw ERangeError("Out of language range");
    int primary = languages[language]->PrimaryId;
    for (size_t i = 0; i < languages.size(); ++i)
        if (languages[i]->PrimaryId == primary)
            strings.push_back({ languages[i]->GetDisplayName(native ? ivdnNative : ivdnEnglish, this),
                static_cast<int>(i) });
}

void TIvDictionary::GetSystemLocales(std::vector<std::unique_ptr<TIvLocale>>& list)
{
    for (uint32_t id : platform::CurrentNls().SupportedLocales()) {
        auto locale = std::make_unique<TIvLocale>();
        GetSystemLocaleData(id, *locale);
        list.push_back(std::move(locale));
    }
}

void TIvDictionary::GetSystemLocaleIds(std::vector<uint32_t>& list)
{
    auto ids = platform::CurrentNls().SupportedLocales();
    list.insert(list.end(), ids.begin(), ids.end());
}

int TIvDictionary::CompareText(const std::string& a, const std::string& b) const
{
    return IvCompareText(a, b, FCompareLocaleId);
}

int TIvDictionary::CompareStr(const std::string& a, const std::string& b) const
{
    return IvCompareStr(a, b, FCompareLocaleId);
}

bool TIvDictionary::IsLanguageSupportedBySystem(const TIvLanguage& language)
{
    return IsNeutralPrimary(language.PrimaryId) || (language.Options & (1u << ivloPureASCII))
        || IvIsCodePageSupportedBySystem(language.GetCodePage());
}

bool TIvDictionary::IsLanguageSupportedByCodePage(const TIvLanguage& language)
{
    return IsNeutralPrimary(language.PrimaryId) || (language.Options & (1u << ivloPureASCII))
        || language.GetCodePage() == 0
        || language.GetCodePage() == platform::CurrentNls().SystemAnsiCodePage();
}

bool TIvDictionary::IsLocaleSupportedBySystem(const TIvLocale& locale)
{
    return IsNeutralPrimary(locale.PrimaryId) || IvIsCodePageSupportedBySystem(locale.CodePage);
}

bool TIvDictionary::IsLocaleSupportedByCodePage(const TIvLocale& locale)
{
    return IsNeutralPrimary(locale.PrimaryId)
        || locale.CodePage == platform::CurrentNls().SystemAnsiCodePage();
}

uint32_t TIvDictionary::DecodeLocale(uint32_t lcid)
{
    if (lcid == UserDefaultLocale)
        return platform::CurrentNls().UserDefaultLcid();
    if (lcid == SystemDefaultLocale)
        return platform::CurrentNls().SystemDefaultLcid();
    return lcid;
}

int TIvDictionary::LocaleToLanguage(uint32_t lcid)
{
    if (lcid == 0)
        return 0;
    uint32_t id = DecodeLocale(lcid);
    int primary = IvGetPrimaryFromLocale(id);
    int sub = IvGetSubFromLocale(id);
    std::vector<std::unique_ptr<TIvLanguage>> languages;
    GetLanguageDatas(languages);
    int count = static_cast<int>(languages.size());
    for (int i = 0; i < count; ++i) {
        const auto& l = *languages[i];
        if (l.PrimaryId == primary
            && (l.DefaultSub == sub || std::find(l.Subs.begin(), l.Subs.end(), sub) != l.Subs.end()))
            return i;
    }
    for (int i = 0; i < count; ++i) {
        const auto& l = *languages[i];
        if (l.PrimaryId == primary && (l.Subs.empty() || l.Subs.front() == 0))
            return i;
    }
    for (int i = 0; i < count; ++i)
        if (languages[i]->PrimaryId == primary)
            return i;
    return -1;
}

int TIvDictionary::GetDefaultLanguage()
{
    std::vector<std::unique_ptr<TIvLanguage>> languages;
    GetLanguageDatas(languages);
    int count = static_cast<int>(languages.size());
    int start = (count > 0 && languages[0]->PrimaryId == 0) ? 1 : 0;
    if (FCheckLevel == ivclNone)
        // A dictionary that holds only its neutral native entry falls back to it.
        return start < count ? start : 0;
    for (int i = start; i < count; ++i) {
        bool ok = FCheckLevel == ivclSystem ? IsLanguageSupportedBySystem(*languages[i])
                                            : IsLanguageSupportedByCodePage(*languages[i]);
        if (ok)
            return i;
    }
    return -1;
}

void TIvDictionary::InitLanguage(int index)
{
    FFallbackLanguageIndex = 0;
    int count = GetLanguageCount();
    int active = index;
    if (index == -2)
        active = LocaleToLanguage(platform::CurrentNls().SystemDefaultLcid());
    else if (index == -1)
        active = LocaleToLanguage(platform::CurrentNls().UserDefaultLcid());
    // A stored index that this dictionary does not have counts as no choice.
    if (count > 0 && active >= count)
        active = -1;
    if (active < 0)
        active = GetDefaultLanguage();
    if (active < 0)
        throw EIvMulti("System does not support any language of the dicitonary!");
    FActiveLanguageIndex = active;

    auto language = std::make_unique<TIvLanguage>();
    if (count > 0)
        GetLanguageData(FActiveLanguageIndex, *language);
    FCurrentLanguage = std::move(language);
    TIvLanguage& current = *FCurrentLanguage;

    if (FBinding == ivbiLocaleToLanguage) {
        auto& nls = platform::CurrentNls();
        uint32_t user = FLanguageAtOpen == -2 ? nls.SystemDefaultLcid() : nls.UserDefaultLcid();
        uint32_t own = current.GetDefaultLocale();
        int sub = IvGetPrimaryFromLocale(user) == IvGetPrimaryFromLocale(own) ? IvGetSubFromLocale(user)
                                                                              : IvGetSubFromLocale(own);
        current.SetActiveSub(sub);
    }
    if (!current.Subs.empty()) {
        int fallback = LocaleToLanguage(IvMakeLangId(current.PrimaryId, 0));
        FFallbackLanguageIndex = fallback < 0 ? 0 : fallback;
    }
    FCompareLocaleId = current.GetActiveLocale();

    if (FCheckLevel == ivclSystem && !IsLanguageSupportedBySystem(current))
        throw EIvMulti(current.EnglishName + " is not supported by the system");
    if (FCheckLevel == ivclCodePage && !IsLanguageSupportedByCodePage(current))
        throw EIvMulti(current.EnglishName + " is not supported by the code page");
}

void TIvDictionary::InitLocale(uint32_t lcid)
{
    FActiveLocaleId = DecodeLocale(lcid);
    auto locale = std::make_unique<TIvLocale>();
    // A locale of the system: what the checks below read now (the id and the
    // code page, as GetSystemLocaleData fills them first), the rest when asked for.
    const bool own = FindLocaleData(FActiveLocaleId, *locale);
    if (!own) {
        locale->SetLocale(FActiveLocaleId);
        locale->SortId = static_cast<int>(FActiveLocaleId >> 16);
        locale->CodePage = platform::CurrentNls().DefaultAnsiCodePage(FActiveLocaleId);
    }
    FCurrentLocale = std::move(locale);
    FLocalePending = !own;
    FPendingLocaleId = FActiveLocaleId;
    const int primary = IvGetPrimaryFromLocale(lcid);
    const int sub = IvGetSubFromLocale(lcid);
    if (FCheckLevel == ivclSystem && !IvIsCodePageSupportedBySystem(FCurrentLocale->CodePage))
        throw EIvMulti(platform::Format("The locale (%d, %d) is not supported by the system", primary, sub));
    if (FCheckLevel == ivclCodePage && !IsLocaleSupportedByCodePage(*FCurrentLocale))
        throw EIvMulti(
            platform::Format("The locale (%d, %d) is not supported by the current code page", primary, sub));
}

void TIvDictionary::SetLanguage(int index)
{
    if (!FOpen) {
        FLanguage = index;
        return;
    }
    if (index < -2 || index >= GetLanguageCount())
        throw ERangeError("Language index " + std::to_string(index) + " is out of range");
    if (index == FLanguage)
        return;
    RunChange([this, index] {
        FLanguage = index;
        InitLanguage(index);
        uint32_t previous = FActiveLocaleId;
        if (FBinding == ivbiLocaleToLanguage)
            InitLocale(FCurrentLanguage->GetActiveLocale());
        LanguageChanged(true, FActiveLocaleId != previous);
    });
}

void TIvDictionary::SetLocale(uint32_t lcid)
{
    if (!FOpen) {
        FRequestedLocale = lcid;
        return;
    }
    if (lcid == FRequestedLocale)
        return;
    RunChange([this, lcid] {
        FRequestedLocale = lcid;
        InitLocale(lcid);
        int previous = FActiveLanguageIndex;
        if (FBinding == ivbiLanguageToLocale) {
            int index = LocaleToLanguage(FActiveLocaleId);
            if (index >= 0) {
                InitLanguage(index);
                FCompareLocaleId = FActiveLocaleId;
            } else {
                InitLanguage(GetDefaultLanguage());
            }
        }
        LanguageChanged(FActiveLanguageIndex != previous, true);
    });
}

// ------------------------------------------------------------ TIvCustomTranslator

TIvCustomTranslator::TIvCustomTranslator()
    : FSerial(++gTranslatorSerial)
{
}

TIvCustomTranslator::~TIvCustomTranslator()
{
    Unbind();
    if (FDictionary)
        std::erase(FDictionary->FReferrers, this);
}

void TIvCustomTranslator::SetDictionaryName(const std::string& name)
{
    if (name == FDictionaryName)
        return;
    SetDictionary(Dictionaries().FindDictionary(name));
    FDictionaryName = name;
}

void TIvCustomTranslator::SetDictionary(TIvDictionary* dictionary)
{
    if (dictionary == FDictionary)
        return;
    if (IsBound())
        UnbindAndSetNative();
    if (FDictionary)
        std::erase(FDictionary->FReferrers, this);
    FDictionary = dictionary;
    FDictionaryName = dictionary ? dictionary->GetDictionaryName() : std::string();
    if (dictionary)
        dictionary->FReferrers.push_back(this);
}

void TIvCustomTranslator::Translate()
{
    if (FDictionary)
        FDictionary->AddTranslator(this);
    FState |= 1u << ivtsBound;
}

void TIvCustomTranslator::Unbind()
{
    if (IsBound() && FDictionary)
        FDictionary->RemoveTranslator(this);
    if (FDictionary)
        std::erase(FDictionary->FReferrers, this);
    FDictionary = nullptr;
    FState = 0;
}

void TIvCustomTranslator::DictionaryDestroyed(TIvDictionary* dictionary)
{
    if (FDictionary == dictionary) {
        FDictionary = nullptr;
        FState = 0;
    }
}
