#pragma once
// Locale data from a small table, with the user's and the system's locale
// and the system code page set by the test.
#include "Nls.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

class FakeNls : public platform::Nls {
public:
    FakeNls()
    {
        Add(0x0409, "en_US", "en", "US", "English", "United States", "English", 1252);
        Add(0x0809, "en_GB", "en", "GB", "English", "United Kingdom", "English", 1252);
        Add(0x0407, "de_DE", "de", "DE", "German", "Germany", "Deutsch", 1252);
        Add(0x0C07, "de_AT", "de", "AT", "German", "Austria", "Deutsch", 1252);
        Add(0x040C, "fr_FR", "fr", "FR", "French", "France",
            "fran\xC3\xA7"
            "ais",
            1252);
        Add(0x0419, "ru_RU", "ru", "RU", "Russian", "Russia",
            "\xD1\x80\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9", 1251);
        Add(0x0439, "hi_IN", "hi", "IN", "Hindi", "India", "Hindi", 0);
        Previous = platform::SetNls(this);
    }
    ~FakeNls() override { platform::SetNls(Previous); }

    void Add(uint32_t lcid, const char* name, const char* lang, const char* country, const char* english,
        const char* englishCountry, const char* native, int codePage)
    {
        platform::NlsLocaleInfo info;
        info.IsoLanguage = lang;
        info.IsoCountry = country;
        info.EnglishLanguage = english;
        info.EnglishCountry = englishCountry;
        info.NativeLanguage = native;
        info.NativeCountry = englishCountry;
        info.AnsiCodePage = codePage;
        Locales[lcid] = info;
        Names[lcid] = name;
    }

    std::string LocaleName(uint32_t lcid) override { return Names.count(lcid) ? Names[lcid] : ""; }
    uint32_t LcidOfLocaleName(const std::string& name) override
    {
        for (auto& [id, n] : Names)
            if (n == name)
                return id;
        return 0;
    }
    bool LocaleInfo(uint32_t lcid, platform::NlsLocaleInfo& info) override
    {
        ++InfoQueries;
        auto it = Locales.find(lcid);
        if (it == Locales.end())
            return false;
        info = it->second;
        return true;
    }
    bool LocaleNames(uint32_t lcid, platform::NlsLocaleInfo& info) override
    {
        ++NameQueries;
        auto it = Locales.find(lcid);
        if (it == Locales.end())
            return false;
        info = platform::NlsNamesOnly(it->second);
        return true;
    }
    int DefaultAnsiCodePage(uint32_t lcid) override
    {
        auto it = Locales.find(lcid);
        return it == Locales.end() ? 0 : it->second.AnsiCodePage;
    }
    int SystemAnsiCodePage() override { return SystemCodePage; }
    bool IsCodePageSupported(int codePage) override { return CodePages.count(codePage) > 0; }
    std::vector<int> SupportedCodePages() override { return { CodePages.begin(), CodePages.end() }; }
    std::vector<uint32_t> SupportedLocales() override
    {
        std::vector<uint32_t> ids;
        for (auto& [id, info] : Locales)
            ids.push_back(id);
        return ids;
    }
    uint32_t UserDefaultLcid() override { return UserLcid; }
    uint32_t SystemDefaultLcid() override { return SystemLcid; }
    std::u16string ToUtf16(std::string_view text, int codePage) override
    {
        return platform::IcuNls().ToUtf16(text, codePage ? codePage : SystemCodePage);
    }
    std::string FromUtf16(std::u16string_view text, int codePage) override
    {
        return platform::IcuNls().FromUtf16(text, codePage ? codePage : SystemCodePage);
    }
    int Compare(std::string_view a, std::string_view b, uint32_t, bool ignoreCase) override
    {
        std::string x(a), y(b);
        if (ignoreCase) {
            for (auto& c : x)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            for (auto& c : y)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return x.compare(y);
    }
    int CompareWide(std::u16string_view a, std::u16string_view b, uint32_t, bool) override
    {
        return a.compare(b);
    }

    std::map<uint32_t, platform::NlsLocaleInfo> Locales;
    std::map<uint32_t, std::string> Names;
    std::set<int> CodePages { 874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258 };
    int SystemCodePage = 1252;
    uint32_t UserLcid = 0x0409;
    uint32_t SystemLcid = 0x0409;
    int InfoQueries = 0;
    int NameQueries = 0;

private:
    platform::Nls* Previous = nullptr;
};
