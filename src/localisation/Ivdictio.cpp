// The dictionary core: Translate and the free functions that ask the default
// dictionary, the language and locale in force and how they change, and the
// translators bound to a dictionary.
#include "Ivdictio.h"

#include "Ivlocale.h"
#include "Nls.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>

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

} // namespace

// ------------------------------------------------------------ free functions

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

TIvLocale* TIvDictionary::GetCurrentLocale() const
{
    if (FLocalePending) {
        GetSystemLocaleData(FPendingLocaleId, *FCurrentLocale);
        FLocalePending = false;
    }
    return FCurrentLocale.get();
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

void TIvDictionary::SetLanguage(long long index)
{
    const bool anInt = index >= std::numeric_limits<int>::min() && index <= std::numeric_limits<int>::max();
    if (!FOpen && anInt) {
        FLanguage = static_cast<int>(index);
        return;
    }
    if (!anInt || index < -2 || index >= GetLanguageCount())
        throw ERangeError("Language index " + std::to_string(index) + " is out of range");
    if (index == FLanguage)
        return;
    RunChange([this, index = static_cast<int>(index)] {
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
