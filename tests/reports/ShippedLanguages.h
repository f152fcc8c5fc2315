#pragma once
// Runs a check in each full language of the shipped dictionary (English,
// French, Italian, Spanish and German), or once in English when the build
// ships no dictionary; `first` to `last` (1 English to 5 German) choose some.
#include "Ivbindic.h"

#include <functional>
#include <string>

#include <gtest/gtest.h>

inline void ForEachShippedLanguage(
    const std::function<void(const std::string& language)>& check, int first = 1, int last = 5)
{
#ifndef PX10_DICTIONARY_FILE
    check("English, no dictionary");
#else
    for (int language = first; language <= last; ++language) {
        TIvBinaryDictionary dictionary;
        dictionary.SetFileName(PX10_DICTIONARY_FILE);
        dictionary.SetCheckLevel(ivclNone);
        dictionary.SetLanguage(language);
        dictionary.Open();
        ASSERT_TRUE(dictionary.IsOpen());
        TIvLanguage shown;
        dictionary.GetLanguageData(language, shown);
        check(shown.EnglishName);
    }
#endif
}
