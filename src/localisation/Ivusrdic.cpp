#include "Ivusrdic.h"

#include <algorithm>
#include <vector>

namespace {

// The dictionaries whose handlers run on this thread; a report worker
// translating at the same time as the GUI thread is no re-entry.
thread_local std::vector<const TIvUserDictionary*> tBusy;

// Marks a translation in progress for as long as the handler runs.
class Busy {
public:
    explicit Busy(const TIvUserDictionary* d) { tBusy.push_back(d); }
    ~Busy() { tBusy.pop_back(); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
    static bool Has(const TIvUserDictionary* d)
    {
        return std::find(tBusy.begin(), tBusy.end(), d) != tBusy.end();
    }
};

} // namespace

int TIvUserDictionary::GetLanguageCount()
{
    if (OnLanguageCount)
        return OnLanguageCount(this);
    if (IsDesignTime())
        return 0;
    throw Exception("Undefined OnLanguageCount event");
}

int TIvUserDictionary::GetLocaleCount()
{
    if (OnLocaleCount)
        return OnLocaleCount(this);
    if (IsDesignTime())
        return 0;
    throw Exception("Undefined OnLocaleCount event");
}

void TIvUserDictionary::GetLanguageData(int index, TIvLanguage& language)
{
    if (!OnLanguageData)
        throw Exception("Undefined OnLanguageData event");
    OnLanguageData(this, index, language);
    language.Init();
    if (language.PrimaryId == 0 || language.EnglishName.empty() || language.NativeName.empty())
        throw Exception("Incomplete language data (" + std::to_string(index) + ")");
}

void TIvUserDictionary::GetLocaleData(int index, TIvLocale& locale)
{
    if (!OnLocaleData)
        throw Exception("Undefined OnLocaleData event");
    OnLocaleData(this, index, locale);
    locale.Init();
    if (locale.PrimaryId == 0 || locale.SubId == 0 || locale.EnglishLanguageName.empty()
        || locale.EnglishCountryName.empty() || locale.NativeLanguageName.empty()
        || locale.NativeCountryName.empty())
        throw Exception("Incomplete locale data (" + std::to_string(index) + ")");
}

bool TIvUserDictionary::TranslateString(const std::string& native, std::string& translation) const
{
    if (!OnTranslate)
        throw Exception("Undefined OnTranslate event");
    if (Busy::Has(this))
        return false;
    Busy busy(this);
    return OnTranslate(const_cast<TIvUserDictionary*>(this), native, translation);
}

bool TIvUserDictionary::TranslateContextString(const std::string& native, const std::string& form,
    const std::string& component, std::string& translation) const
{
    if (!OnTranslateContext)
        throw Exception("Undefined OnTranslate event");
    if (Busy::Has(this))
        return false;
    Busy busy(this);
    return OnTranslateContext(const_cast<TIvUserDictionary*>(this), native, form, component, translation);
}
