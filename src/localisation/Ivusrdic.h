#pragma once
// A dictionary whose languages, locales and translations come from the
// application through events instead of from a file.
#include "Ivdictio.h"

#include <functional>
#include <string>

class TIvUserDictionary : public TIvDictionary {
public:
    using TIvCountEvent = std::function<int(TIvUserDictionary* sender)>;
    using TIvLanguageEvent = std::function<void(TIvUserDictionary* sender, int index, TIvLanguage& language)>;
    using TIvLocaleEvent = std::function<void(TIvUserDictionary* sender, int index, TIvLocale& locale)>;
    using TIvTranslateEvent
        = std::function<bool(TIvUserDictionary* sender, const std::string& text, std::string& translation)>;
    using TIvTranslateContextEvent = std::function<bool(TIvUserDictionary* sender, const std::string& text,
        const std::string& form, const std::string& component, std::string& translation)>;

    TIvCountEvent OnLanguageCount;
    TIvLanguageEvent OnLanguageData;
    TIvCountEvent OnLocaleCount;
    TIvLocaleEvent OnLocaleData;
    TIvTranslateEvent OnTranslate;
    TIvTranslateContextEvent OnTranslateContext;

    int GetLanguageCount() override;
    void GetLanguageData(int index, TIvLanguage& language) override;
    int GetLocaleCount() override;
    void GetLocaleData(int index, TIvLocale& locale) override;
    // A handler that asks this dictionary again while it runs gets no
    // translation for the inner request, so the missing-translation policy
    // answers it instead of an endless recursion.
    bool TranslateContextString(const std::string& native, const std::string& form,
        const std::string& component, std::string& translation) const override;
    bool TranslateString(const std::string& native, std::string& translation) const override;
};
