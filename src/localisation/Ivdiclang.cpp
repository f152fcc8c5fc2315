// A dictionary's languages and locales: the lists it offers, the lookups
// between them and what the system supports.
#include "Ivdictio.h"

#include "Nls.h"

#include <algorithm>
#include <set>

namespace {

bool IsNeutralPrimary(int primary)
{
    return primary == 0 || primary == 9 || primary == 33;
}

} // namespace

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
