#pragma once
// Dictionaries over rows held in memory, for tests of the core and the table.
#include "Ivcustdic.h"

#include <initializer_list>
#include <stdexcept>
#include <string>

inline TIvLanguage MakeLanguage(int primary, int sub, int codePage, const std::string& english)
{
    TIvLanguage l;
    l.PrimaryId = primary;
    l.DefaultSub = sub;
    l.SetCodePage(codePage);
    l.EnglishName = english;
    l.NativeName = english;
    l.Init();
    return l;
}

inline TIvTranslation Row(const std::string& native, const std::string& translation,
    const std::string& form = "", const std::string& component = "")
{
    TIvTranslation t;
    t.Native = native;
    t.Translation = translation;
    t.FormContext = form;
    t.ComponentContext = component;
    return t;
}

template <class Base> class MemoryDictionaryOf : public Base {
public:
    std::vector<TIvLanguage> Languages;
    std::vector<TIvTranslationTable> Rows; // one table per language
    bool FailLoad = false;
    int Loads = 0;

    int GetLanguageCount() override { return static_cast<int>(Languages.size()); }
    void GetLanguageData(int index, TIvLanguage& language) override { language.Assign(Languages.at(index)); }
    int GetLocaleCount() override { return 0; }
    void GetLocaleData(int, TIvLocale&) override { throw std::logic_error("no locales"); }
    using Base::SetTranslations;

protected:
    void LoadTranslation(TIvTranslationTable& table) override
    {
        ++Loads;
        int index = this->GetActiveLanguageIndex();
        if (index < 0 || index >= static_cast<int>(Rows.size()))
            return;
        for (const auto& row : Rows[index]) {
            table.push_back(row);
            if (FailLoad)
                throw EIvMulti("broken dictionary");
        }
    }
};

using MemoryDictionary = MemoryDictionaryOf<TIvCustomDictionary>;
using MemoryFileDictionary = MemoryDictionaryOf<TIvCustomFileDictionary>;

// Languages of the given primary ids, named "Language N", each with an empty
// table; opened in the first.
inline void SetUpLanguages(MemoryDictionary& d, std::initializer_list<int> primaries)
{
    for (int p : primaries)
        d.Languages.push_back(MakeLanguage(p, 1, 1252, "Language " + std::to_string(p)));
    d.Rows.resize(d.Languages.size());
    d.SetCheckLevel(ivclNone);
    d.SetLanguage(0);
    d.Open();
}

// English and German, German rows given; opened in German.
inline void SetUpGerman(MemoryDictionary& d, TIvTranslationTable germanRows)
{
    d.Languages = { MakeLanguage(9, 1, 1252, "English"), MakeLanguage(7, 1, 1252, "German") };
    d.Rows = { {}, std::move(germanRows) };
    d.SetCheckLevel(ivclNone);
    d.SetLanguage(1);
    d.Open();
}
