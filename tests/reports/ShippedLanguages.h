#pragma once
// Runs a check in each full language of the shipped dictionary (English,
// French, Italian, Spanish and German), or once in English when the build
// ships no dictionary.
#include "Ivbindic.h"

#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#ifdef PX10_DICTIONARY_FILE
// The shipped dictionary open in `language`: the one Translate asks while it
// is the only one.
inline std::unique_ptr<TIvBinaryDictionary> OpenShippedDictionary(int language)
{
    auto dictionary = std::make_unique<TIvBinaryDictionary>();
    dictionary->SetFileName(PX10_DICTIONARY_FILE);
    dictionary->SetCheckLevel(ivclNone);
    dictionary->SetLanguage(language);
    dictionary->Open();
    return dictionary;
}
#endif

inline void ForEachShippedLanguage(const std::function<void(const std::string& language)>& check)
{
#ifndef PX10_DICTIONARY_FILE
    check("English, no dictionary");
#else
    for (int language = 1; language <= 5; ++language) {
        const auto dictionary = OpenShippedDictionary(language);
        ASSERT_TRUE(dictionary->IsOpen());
        TIvLanguage shown;
        dictionary->GetLanguageData(language, shown);
        check(shown.EnglishName);
    }
#endif
}
