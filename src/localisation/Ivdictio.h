#pragma once
// Run-time translation of the program's English texts. Translated texts are
// UTF-8; with no dictionary in the process a text is returned unchanged.
//
// A dictionary owns its languages and locales, the language and locale in
// force, the translators bound to it and the policy for missing
// translations. Every dictionary created joins the process-wide list; the
// first one is the default that Translate asks.
#include "Exception.h"
#include "Format.h"
#include "Ivsupport.h"
#include "Prompts.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

std::string Translate(const std::string& native);

// Marks a static English text of a window: it is shown as it stands and the
// window's translator translates it. Does nothing; the dictionary's source
// scan finds every text given to it.
constexpr const char* IvNative(const char* native)
{
    return native;
}

class TIvDictionary;
class TIvCustomTranslator;

// --- Exceptions of the runtime.
class EIvMulti : public Exception {
public:
    using Exception::Exception;
};
// The class library's range error (index out of range).
class ERangeError : public Exception {
public:
    using Exception::Exception;
};

// --- Enumerations; names and order are those of the stored form data.
enum TIvBinding { ivbiNone, ivbiLocaleToLanguage, ivbiLanguageToLocale };
enum TIvDictionaryOption {
    ivdoUpdateLocaleVariables,
    ivdoAutoTranslate,
    ivdoYear2000,
    ivdoTranslateResourceStrings,
    ivdoRecreateMDIChild,
};
using TIvDictionaryOptions = uint8_t; // bit n = option n
constexpr TIvDictionaryOptions IvAllDictionaryOptions = 0x1F;
enum TIvMissingTranslation { ivmtUseNative, ivmtUseNull, ivmtTagNative, ivmtRaiseException };
enum TIvEuro { iveNormal, iveBusiness, iveIgnore };
enum TIvCheckLevel { ivclNone, ivclSystem, ivclCodePage };
enum TIvContextTypeItem { ivctForm, ivctComponent, ivctKind };
using TIvContextType = uint8_t; // bit n = item n; empty for a flat dictionary
enum TIvContextCode { ivccFlat, ivccFull, ivccComponent, ivccForm };
enum TIvDisplayName { ivdnEnglish, ivdnNative, ivdnTranslated };
enum TIvLanguageOption { ivloTest, ivloPureASCII };
using TIvLanguageOptions = uint8_t; // bit 0 ivloTest, bit 1 ivloPureASCII
enum TIvTimeFormat { ivtf12, ivtf24 };
enum TIvTimeMarkPosition { ivtmSuffix, ivtmPrefix };
enum TIvMeasurementSystem { ivmsMetric, ivmsUS };
enum TIvTranslatorStateItem { ivtsBound, ivtsScaled, ivtsMirrored };
using TIvTranslatorState = uint8_t;

// An entry of a string list that carries a number with each text.
struct TIvStringItem {
    std::string Text;
    int Id = 0;
};

// --- One language of a dictionary.
class TIvLanguage {
public:
    virtual ~TIvLanguage() = default;

    int GetCodePage() const { return FCodePage; }
    // Also derives the character set from the code page.
    void SetCodePage(int codePage);

    int PrimaryId = 0;
    std::string Extra; // carried with the language, not interpreted here
    int ActiveSub = 0;
    int DefaultSub = 0;
    std::vector<int> Subs; // further sub-language ids that this entry covers
    std::string IsoLanguage;
    std::string IsoCountry;
    std::vector<std::string> IsoCountries;
    std::string EnglishName;
    std::string NativeName;
    std::string FontName; // empty keeps the form's own font
    int FontSize = 0; // 0 keeps the form's own size
    TIvLanguageOptions Options = 0;
    uint8_t Charset = 0;

    // 0 when no sub-language is listed, the default one when listed, else the first.
    int GetSub() const;
    void AddSub(int sub);
    std::string GetAllSubs() const;
    void SetAllSubs(const std::string& subs);
    std::string GetISOAllCountries() const;
    void SetISOAllCountries(const std::string& countries);
    bool AddISOCountry(const std::string& code);
    std::string GetBundleExtension() const;

    uint32_t GetLocale() const;
    uint32_t GetDefaultLocale() const;
    uint32_t GetActiveLocale() const;
    void SetActiveSub(int sub);
    TIvCharacterSetType GetCharsetType() const;

    virtual void SetSub(int sub);
    virtual void Assign(const TIvLanguage& source);
    virtual std::unique_ptr<TIvLanguage> Copy() const;
    virtual void Init();
    virtual bool PrimaryEquals(const TIvLanguage& other) const;
    virtual std::string GetDisplayName(TIvDisplayName kind, TIvDictionary* dictionary) const;

private:
    int FCodePage = 0;
};

// --- One locale: names, number, currency, date and time conventions.
class TIvLocale {
public:
    virtual ~TIvLocale() = default;

    int PrimaryId = 0;
    int SubId = 0;
    int SortId = 0;
    std::string IsoLanguage;
    std::string IsoCountry;
    int CodePage = 0;
    bool Custom = false; // false for locales taken from the system
    uint8_t Charset = 0;
    std::string EnglishLanguageName;
    std::string EnglishCountryName;
    std::string NativeLanguageName;
    std::string NativeCountryName;
    std::string LocalizedLanguageName;
    std::string LocalizedCountryName;
    std::string CurrencySymbol;
    uint8_t CurrencyFormat = 0;
    uint8_t NegativeCurrencyFormat = 0;
    uint8_t CurrencyDecimals = 0;
    char ThousandSeparator = '\0';
    char DecimalSeparator = '\0';
    char DateSeparator = '\0';
    std::string ShortDateFormat;
    std::string LongDateFormat;
    char TimeSeparator = '\0';
    std::string TimeAMString;
    std::string TimePMString;
    bool HourLeadingZero = false;
    TIvTimeFormat TimeFormat = ivtf12;
    TIvTimeMarkPosition TimeMarkPosition = ivtmSuffix;
    TIvMeasurementSystem MeasurementSystem = ivmsMetric;
    uint8_t CalendarType = 0;
    uint8_t OptionalCalendarType = 0;
    uint8_t FirstDayOfWeek = 0;
    uint8_t FirstWeekOfYear = 0;
    std::string ShortMonthNames[12];
    std::string LongMonthNames[12];
    std::string ShortDayNames[7]; // Monday first
    std::string LongDayNames[7];

    uint32_t GetLocale() const;
    uint32_t GetLangId() const;
    void SetLocale(uint32_t lcid);
    void SetLangId(uint32_t langId);
    TIvCharacterSetType GetCharsetType() const;

    virtual void Assign(const TIvLocale& source);
    virtual std::unique_ptr<TIvLocale> Copy() const;
    virtual void Init();
    virtual std::string GetDisplayName(TIvDisplayName kind, TIvDictionary* dictionary) const;
};

// Fills `locale` from the system's data for `lcid`. False, with only the code
// page filled, when the system knows no language name or no 8-bit code page for it.
bool GetSystemLocaleData(uint32_t lcid, TIvLocale& locale);

// --- One row of a translation table.
class TIvTranslation {
public:
    enum : uint8_t { Translated = 0, FromFallback = 1, Untranslated = 2 };
    uint8_t Status = Translated;
    std::string Native;
    std::string FormContext;
    std::string ComponentContext;
    std::string Translation;

    static constexpr char KeySeparator = '\x7F';
    std::string GetKey() const { return ComposeKey(Native, FormContext, ComponentContext); }
    static std::string ComposeKey(
        const std::string& native, const std::string& form, const std::string& component)
    {
        return native + KeySeparator + form + component;
    }
};

class TIvContext {
public:
    std::string Form;
    std::string Component;
    std::string Kind;
    void Clear() { Form.clear(), Component.clear(), Kind.clear(); }
    void Assign(const TIvContext& other) { *this = other; }
    bool Equals(const TIvContext& other) const
    {
        return Form == other.Form && Component == other.Component && Kind == other.Kind;
    }
};

// --- The abstract dictionary.
class TIvDictionary {
public:
    using TNotifyEvent = std::function<void(TIvDictionary* sender)>;

    TIvDictionary();
    virtual ~TIvDictionary();
    TIvDictionary(const TIvDictionary&) = delete;
    TIvDictionary& operator=(const TIvDictionary&) = delete;

    // Published properties.
    const std::string& GetDictionaryName() const { return FDictionaryName; }
    void SetDictionaryName(const std::string& name) { FDictionaryName = name; }
    int GetPrimaryLanguage() const { return IvGetPrimaryFromLocale(FRequestedLocale); }
    void SetPrimaryLanguage(int primary);
    int GetSubLanguage() const { return IvGetSubFromLocale(FRequestedLocale); }
    void SetSubLanguage(int sub);
    // The requested language index: -1 user default, -2 system default, else 0..count-1.
    int GetLanguage() const { return FLanguage; }
    // Any stored number may come here: one beyond an int is out of range
    // even while the dictionary is closed.
    void SetLanguage(long long index);
    TIvBinding GetBinding() const { return FBinding; }
    void SetBinding(TIvBinding binding) { FBinding = binding; }
    TIvDictionaryOptions GetOptions() const { return FOptions; }
    void SetOptions(TIvDictionaryOptions options) { FOptions = options; }
    bool HasOption(TIvDictionaryOption option) const { return (FOptions >> option) & 1; }
    TIvMissingTranslation GetMissingTranslation() const { return FMissingTranslation; }
    void SetMissingTranslation(TIvMissingTranslation policy) { FMissingTranslation = policy; }
    TIvEuro GetEuro() const { return FEuro; }
    void SetEuro(TIvEuro euro);
    TIvCheckLevel GetCheckLevel() const { return FCheckLevel; }
    void SetCheckLevel(TIvCheckLevel level) { FCheckLevel = level; }
    const TNotifyEvent& GetOnLanguageChange() const { return FOnLanguageChange; }
    void SetOnLanguageChange(TNotifyEvent handler) { FOnLanguageChange = std::move(handler); }
    const TNotifyEvent& GetOnLocaleChange() const { return FOnLocaleChange; }
    void SetOnLocaleChange(TNotifyEvent handler) { FOnLocaleChange = std::move(handler); }

    int GetDictionaryCode() const { return FDictionaryCode; }
    void SetDictionaryCode(int code) { FDictionaryCode = code; }
    TIvContextType GetContextType() const { return FContextType; }
    void SetContextType(TIvContextType type) { FContextType = type; }
    bool IsOpen() const { return FOpen; }
    bool IsDesignTime() const { return false; }
    int GetActiveLanguageIndex() const { return FActiveLanguageIndex; }
    int GetFallbackLanguageIndex() const { return FFallbackLanguageIndex; }
    int GetLanguageAtOpen() const { return FLanguageAtOpen; }
    uint32_t GetRequestedLocale() const { return FRequestedLocale; }
    void SetLocale(uint32_t lcid);
    uint32_t GetActiveLocaleId() const { return FActiveLocaleId; }
    uint32_t GetCompareLocaleId() const { return FCompareLocaleId; }
    TIvLanguage* GetCurrentLanguage() const { return FCurrentLanguage.get(); }
    // A locale of the system has its conventions gathered when first asked for.
    TIvLocale* GetCurrentLocale() const;

    // Lookups that descendants answer.
    virtual int GetLanguageCount() = 0;
    virtual void GetLanguageData(int index, TIvLanguage& language) = 0;
    virtual int GetLocaleCount() = 0;
    virtual void GetLocaleData(int index, TIvLocale& locale) = 0;
    virtual int GetTranslationCount() const { return 0; }
    virtual void LanguageChanged(bool languageChanged, bool localeChanged);
    // Safe from a worker thread while nothing changes the dictionary.
    virtual bool TranslateContextString(const std::string& native, const std::string& form,
        const std::string& component, std::string& translation) const = 0;
    virtual void Open();
    virtual void Close();
    virtual bool CanBeOpened() { return true; }
    virtual void GetLanguageDatas(std::vector<std::unique_ptr<TIvLanguage>>& list);
    virtual void GetLocaleDatas(std::vector<std::unique_ptr<TIvLocale>>& list);
    virtual bool TranslateString(const std::string& native, std::string& translation) const;
    virtual void SynchronizeLocale();
    virtual void SynchronizeLanguage();
    virtual void GetPrimaryLanguages(std::vector<TIvStringItem>& strings, bool native);
    virtual bool IsLocaleSupported(uint32_t lcid);
    // The dictionary's own locale `lcid`, found by reading its locales in order.
    virtual bool FindLocaleData(uint32_t lcid, TIvLocale& locale);

    std::string Translate(const std::string& native) const;
    std::string TranslateContext(
        const std::string& native, const std::string& form, const std::string& component) const;
    bool DoesTranslationExist(const std::string& native) const;
    bool DoesContextTranslationExist(
        const std::string& native, const std::string& form, const std::string& component) const;

    void AddTranslator(TIvCustomTranslator* translator);
    void RemoveTranslator(TIvCustomTranslator* translator);
    void UnbindTranslators();
    int GetTranslatorCount() const { return static_cast<int>(FTranslators.size()); }
    TIvCustomTranslator* GetTranslator(int index) const;

    // Scratch results, replaced on the next call.
    TIvLanguage* GetLanguage(int index);
    TIvLocale* GetLocale(int index);
    bool GetLocaleDataById(uint32_t lcid, TIvLocale& locale);
    void GetLocales(std::vector<std::unique_ptr<TIvLocale>>& list) { GetLocaleDatas(list); }
    void GetLocaleIds(std::vector<uint32_t>& list);
    // The dictionary's languages that share the primary language of `language`, by display name.
    void GetSubLanguages(int language, std::vector<TIvStringItem>& strings, bool native);
    static void GetSystemLocales(std::vector<std::unique_ptr<TIvLocale>>& list);
    static void GetSystemLocaleIds(std::vector<uint32_t>& list);

    int CompareText(const std::string& a, const std::string& b) const;
    int CompareStr(const std::string& a, const std::string& b) const;

    static bool IsLanguageSupportedBySystem(const TIvLanguage& language);
    static bool IsLanguageSupportedByCodePage(const TIvLanguage& language);
    static bool IsLocaleSupportedBySystem(const TIvLocale& locale);
    static bool IsLocaleSupportedByCodePage(const TIvLocale& locale);

    // Choosing the language and locale in force.
    void InitLanguage(int index);
    void InitLocale(uint32_t lcid);
    int LocaleToLanguage(uint32_t lcid);
    int GetDefaultLanguage();
    static uint32_t DecodeLocale(uint32_t lcid);

    static constexpr uint32_t UserDefaultLocale = 0x400;
    static constexpr uint32_t SystemDefaultLocale = 0x800;

    // The missing-translation policy; the translation is handed on, not copied.
    std::string CheckTranslation(const std::string& native, std::string translation, bool found) const;

private:
    friend class TIvCustomTranslator;

    std::string FDictionaryName;
    int FLanguage = -1;
    TIvBinding FBinding = ivbiLocaleToLanguage;
    TIvDictionaryOptions FOptions = IvAllDictionaryOptions;
    TIvMissingTranslation FMissingTranslation = ivmtUseNative;
    TIvEuro FEuro = iveNormal;
    TIvCheckLevel FCheckLevel = ivclCodePage;
    TNotifyEvent FOnLanguageChange;
    TNotifyEvent FOnLocaleChange;

    int FDictionaryCode = 4;
    TIvContextType FContextType = 0;
    bool FOpen = false;
    int FActiveLanguageIndex = 0;
    int FFallbackLanguageIndex = 0;
    int FLanguageAtOpen = -1;
    uint32_t FRequestedLocale = UserDefaultLocale;
    uint32_t FActiveLocaleId = 0;
    uint32_t FCompareLocaleId = 0;
    std::unique_ptr<TIvLanguage> FCurrentLanguage;
    std::unique_ptr<TIvLocale> FCurrentLocale;
    // The current locale is the system's locale of this id, of which only
    // the id and the code page are filled yet.
    mutable bool FLocalePending = false;
    uint32_t FPendingLocaleId = 0;
    std::unique_ptr<TIvLanguage> FScratchLanguage;
    std::unique_ptr<TIvLocale> FScratchLocale;
    std::vector<TIvCustomTranslator*> FTranslators; // bound, not owned
    std::vector<TIvCustomTranslator*> FReferrers; // told when this dictionary goes

    // A change is computed first and committed by LanguageChanged; a failure
    // before the commit puts the language, indices and locale back.
    void RunChange(const std::function<void()>& change);
    bool FChanging = false;
    bool FCommitted = false;
};

// --- The translator as a dictionary knows it; the window translator derives from it.
class TIvCustomTranslator {
public:
    using TIvTranslateEvent = std::function<void(TIvCustomTranslator* translator)>;
    using TNotifyEvent = std::function<void(TIvCustomTranslator* sender)>;

    TIvCustomTranslator();
    virtual ~TIvCustomTranslator();
    TIvCustomTranslator(const TIvCustomTranslator&) = delete;
    TIvCustomTranslator& operator=(const TIvCustomTranslator&) = delete;

    const std::string& GetDictionaryName() const { return FDictionaryName; }
    // Binds to the listed dictionary of that name (none when not found); the name is kept either way.
    void SetDictionaryName(const std::string& name);
    TIvDictionary* GetDictionary() const { return FDictionary; }
    void SetDictionary(TIvDictionary* dictionary);
    TIvTranslatorState GetState() const { return FState; }
    bool IsBound() const { return FState & (1u << ivtsBound); }

    TIvTranslateEvent OnBeforeTranslate;
    TIvTranslateEvent OnAfterTranslate;
    TNotifyEvent OnLocaleChange;
    TNotifyEvent OnLanguageChange;

    virtual uintptr_t GetSystemMenuWinHandle() { return 0; }
    virtual void TranslateHost() { }
    virtual void LanguageChanged(bool languageChanged, bool localeChanged) { }
    // Marks the translator bound and registers it with its dictionary.
    virtual void Translate();
    virtual void Unbind();
    virtual void UnbindAndSetNative() { Unbind(); }

protected:
    TIvTranslatorState FState = 0;

private:
    friend class TIvDictionary;
    void DictionaryDestroyed(TIvDictionary* dictionary);

    TIvDictionary* FDictionary = nullptr;
    std::string FDictionaryName;
    // Tells a translator apart from a later one created at the same address.
    uint64_t FSerial;
};

// --- The process-wide list of dictionaries; item 0 is the default one.
class TIvDictionaries {
public:
    int GetCount() const { return static_cast<int>(FItems.size()); }
    TIvDictionary* GetItems(int index) const;
    // Names an unnamed dictionary "Dictionary" + n with the first free n from count + 1.
    void Add(TIvDictionary* dictionary);
    void Remove(TIvDictionary* dictionary);
    // Exact, case-sensitive name.
    TIvDictionary* FindDictionary(const std::string& name) const;

private:
    std::vector<TIvDictionary*> FItems;
};

TIvDictionaries& Dictionaries();
TIvDictionary* GetDefaultDictionary();
// The euro presentation in force for the process (the last one set on any dictionary).
TIvEuro IvEuroMode();
std::string TranslateContext(
    const std::string& native, const std::string& form, const std::string& component);

// Translates the format, then formats; see platform::Format for the
// specifiers. A translation that does not fit the arguments gives way to the
// English format; only an English format that does not fit raises.
std::string MlFormatList(const std::string& format, const std::vector<platform::FormatArg>& args);
template <class... Args> std::string MlFormat(const std::string& format, const Args&... args)
{
    return MlFormatList(format, std::vector<platform::FormatArg> { platform::FormatArg(args)... });
}
void MlShowMessage(const std::string& text);
int MlMessageDlg(
    const std::string& text, platform::MsgDlgType type, platform::MsgDlgButtons buttons, int helpContext = 0);
