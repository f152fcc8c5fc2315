#include "Ivsupport.h"

#include "Exception.h"
#include "Ivdictio.h"
#include "Nls.h"

#include <QSettings>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const TIvCharsetInfo CodePageTable[32] = {
    { 0, 1252 },
    { 238, 1250 },
    { 204, 1251 },
    { 161, 1253 },
    { 162, 1254 },
    { 177, 1255 },
    { 178, 1256 },
    { 186, 1257 },
    { 0, 0 },
    { 0, 0 },
    { 0, 0 },
    { 0, 0 },
    { 0, 0 },
    { 0, 0 },
    { 0, 0 },
    { 0, 0 },
    { 222, 874 },
    { 128, 932 },
    { 134, 936 },
    { 129, 949 },
    { 136, 950 },
    { 130, 1361 },
    { 163, 1258 },
    { 0, 0 },
    { 0, 0 },
    { 0, 0 },
    { 0, 0 },
    { 0, 0 },
    { 0, 0 },
    { 0, 0 },
    { 0, 0 },
    { 0, 0 },
};

const int CharsetCodes[IvFontCharsetCount]
    = { 1, 255, 2, 77, 0, 238, 186, 204, 161, 162, 178, 177, 128, 129, 130, 136, 134, 222, 163 };

TIvFontFamilySource& FontSource()
{
    static TIvFontFamilySource source;
    return source;
}

std::vector<std::string> FamiliesOf(int code)
{
    return FontSource() ? FontSource()(code) : std::vector<std::string> {};
}

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

std::string TrimRight(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// The language part of a system language name: "Norwegian (Bokmal)" gives
// "Norwegian", "Chinese (Simplified)" gives "Chinese".
std::string LanguagePart(const std::string& name, int primary)
{
    size_t cut = std::string::npos;
    if (primary == 10 || primary == 20 || primary == 26 || primary == 44 || primary == 67)
        cut = name.find(' ');
    else if (primary == 4 || primary == 18)
        cut = name.find('(');
    return cut == std::string::npos ? name : TrimRight(name.substr(0, cut));
}

std::string Joined(std::string name, std::string qualifier, bool translated, TIvDictionary* dictionary)
{
    if (translated) {
        TIvDictionary* d = dictionary ? dictionary : GetDefaultDictionary();
        if (d) {
            name = d->Translate(name);
            if (!qualifier.empty())
                qualifier = d->Translate(qualifier);
        }
    }
    return qualifier.empty() ? name : name + ", " + qualifier;
}

} // namespace

const TIvCharsetInfo& IvCodePageTableEntry(int bit)
{
    static const TIvCharsetInfo none;
    return (bit >= 0 && bit < 32) ? CodePageTable[bit] : none;
}

int IvLangIdToCodePage(uint32_t langId)
{
    int primary = IvGetPrimaryFromLocale(langId);
    int sub = IvGetSubFromLocale(langId);
    if (primary == 4)
        return (sub == 1 || sub == 3 || sub == 5) ? 950 : 936;
    int cp = platform::CurrentNls().DefaultAnsiCodePage(IvMakeLcId(langId, 0));
    if (cp >= 1)
        return cp;
    switch (primary) {
    case 1:
    case 41:
        return 1256;
    case 2:
    case 25:
    case 34:
    case 35:
        return 1251;
    case 5:
    case 14:
    case 21:
    case 24:
    case 27:
    case 28:
    case 36:
        return 1250;
    case 8:
        return 1253;
    case 13:
        return 1255;
    case 17:
        return 932;
    case 18:
        return 949;
    case 26:
        return (sub == 1 || sub == 2) ? 1250 : 1251;
    case 30:
        return 874;
    case 31:
        return 1254;
    case 37:
    case 38:
    case 39:
        return 1257;
    case 42:
        return 1258;
    case 44:
    case 67:
        return sub == 2 ? 1251 : 1254;
    default:
        return 1252;
    }
}

TIvCharsetInfo IvGetCharsetInfo(uint32_t langId)
{
    // The locale's font signature names the code pages its fonts must cover;
    // its lowest bit is the locale's own 8-bit code page.
    int cp = platform::CurrentNls().DefaultAnsiCodePage(IvMakeLcId(langId, 0));
    for (int bit = 0; bit < 32 && cp > 0; ++bit)
        if (CodePageTable[bit].CodePage == cp)
            return CodePageTable[bit];
    return CodePageTable[0];
}

int IvLangIdToCharset(uint32_t langId)
{
    return IvGetCharsetInfo(langId).Charset;
}

int IvCodePageToCharset(int codePage)
{
    for (const auto& entry : CodePageTable)
        if (entry.CodePage == codePage)
            return entry.Charset;
    return 1;
}

int IvCharsetToCode(TIvFontCharset charset)
{
    if (charset < 0 || charset >= IvFontCharsetCount)
        throw Exception("Invalid charset code");
    return CharsetCodes[charset];
}

TIvFontCharset IvCodeToCharset(int code)
{
    for (int i = 0; i < IvFontCharsetCount; ++i)
        if (CharsetCodes[i] == code)
            return static_cast<TIvFontCharset>(i);
    throw Exception("Invalid charset code");
}

TIvCharacterSetType IvGetCharacterSetType(uint32_t lcid)
{
    switch (IvGetPrimaryFromLocale(lcid)) {
    case 1:
    case 13:
    case 41:
        return ivcsBiDirectional;
    case 4:
    case 17:
    case 18:
        return ivcsMultiByte;
    default:
        return ivcsSingleByte;
    }
}

bool IvIsLocaleSingleByte(uint32_t lcid)
{
    return IvGetCharacterSetType(lcid) == ivcsSingleByte;
}

bool IvIsLocaleMultiByte(uint32_t lcid)
{
    return IvGetCharacterSetType(lcid) == ivcsMultiByte;
}

bool IvIsLocaleBidirectional(uint32_t lcid)
{
    return IvGetCharacterSetType(lcid) == ivcsBiDirectional;
}

bool IvIsCodePageSupportedBySystem(int codePage)
{
    return codePage == 0 || platform::CurrentNls().IsCodePageSupported(codePage);
}

bool IvIsLocaleSupportedByCodePage(uint32_t lcid)
{
    int primary = IvGetPrimaryFromLocale(lcid);
    if (primary == 0 || primary == 9 || primary == 33)
        return true;
    auto& nls = platform::CurrentNls();
    return nls.DefaultAnsiCodePage(lcid) == nls.SystemAnsiCodePage();
}

void IvSetFontFamilySource(TIvFontFamilySource source)
{
    FontSource() = std::move(source);
}

TIvFontCharsets IvGetSupportedCharsets()
{
    TIvFontCharsets result = 0;
    for (int i = 0; i < IvFontCharsetCount; ++i)
        if (!FamiliesOf(CharsetCodes[i]).empty())
            result |= 1u << i;
    return result;
}

void IvGetFontNames(TIvFontCharsets charsets, std::vector<std::string>& strings)
{
    std::vector<std::string> names = FamiliesOf(CharsetCodes[ivcsDefault]);
    for (int i = 0; i < IvFontCharsetCount; ++i) {
        if (!(charsets & (1u << i)))
            continue;
        std::vector<std::string> of = FamiliesOf(CharsetCodes[i]);
        std::erase_if(
            names, [&](const std::string& n) { return std::find(of.begin(), of.end(), n) == of.end(); });
    }
    strings.insert(strings.end(), names.begin(), names.end());
}

void IvGetFontNamesOfCharset(int code, std::vector<std::string>& strings)
{
    std::vector<std::string> names = FamiliesOf(code);
    strings.insert(strings.end(), names.begin(), names.end());
}

std::u16string IvStrToWStr(std::string_view s, int codePage)
{
    return s.empty() ? std::u16string() : platform::CurrentNls().ToUtf16(s, codePage);
}

std::string IvWStrToStr(std::u16string_view ws, int codePage)
{
    return ws.empty() ? std::string() : platform::CurrentNls().FromUtf16(ws, codePage);
}

int IvStrLen(std::string_view s, int codePage)
{
    return static_cast<int>(IvStrToWStr(s, codePage).size());
}

void IvWStrPCopy(char16_t* dest, std::u16string_view ws)
{
    std::copy(ws.begin(), ws.end(), dest);
    dest[ws.size()] = u'\0';
}

void IvChangeWordByteOrder(uint16_t& value)
{
    value = static_cast<uint16_t>((value >> 8) | (value << 8));
}

void IvChangeDWordByteOrder(uint32_t& value)
{
    value = (value >> 24) | ((value >> 8) & 0xFF00) | ((value << 8) & 0xFF0000) | (value << 24);
}

void IvChangeStringByteOrder(std::u16string& ws)
{
    for (char16_t& c : ws)
        c = static_cast<char16_t>((c >> 8) | (c << 8));
}

uint32_t GetCompareOptions(bool ignoreCase)
{
    return ignoreCase ? NORM_IGNORECASE : 0;
}

int IvCompareText(std::string_view a, std::string_view b, uint32_t lcid)
{
    return Sign(platform::CurrentNls().Compare(a, b, lcid, true));
}

int IvCompareStr(std::string_view a, std::string_view b, uint32_t lcid)
{
    return Sign(platform::CurrentNls().Compare(a, b, lcid, false));
}

int IvWideCompareText(std::u16string_view a, std::u16string_view b, uint32_t lcid)
{
    return Sign(platform::CurrentNls().CompareWide(a, b, lcid, true));
}

int IvWideCompareStr(std::u16string_view a, std::u16string_view b, uint32_t lcid)
{
    return Sign(platform::CurrentNls().CompareWide(a, b, lcid, false));
}

int IvCompareBinary(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int IvWideCompareBinary(std::u16string_view a, std::u16string_view b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string ComposeLanguageName(
    const std::string& name, int primary, bool translated, TIvDictionary* dictionary, int codePage)
{
    std::string qualifier;
    if (primary == 4)
        qualifier = codePage == 950 ? "Traditional" : codePage == 936 ? "Simplified" : "";
    else if (primary == 18)
        qualifier = codePage == 1361 ? "Johab" : codePage == 949 ? "Wansung" : "";
    else if ((primary == 26 && codePage == 1250) || ((primary == 44 || primary == 67) && codePage == 1254))
        qualifier = "Latin";
    else if ((primary == 26 || primary == 44 || primary == 67) && codePage == 1251)
        qualifier = "Cyrillic";
    return Joined(LanguagePart(name, primary), qualifier, translated, dictionary);
}

std::string ComposeCountryName(
    const std::string& name, int primary, bool translated, TIvDictionary* dictionary, int codePage, int sub)
{
    std::string qualifier;
    if (primary == 20)
        qualifier = sub == 1 ? "Bokmal" : sub == 2 ? "Nynorsk" : "";
    else if (primary == 18)
        qualifier = codePage == 949 ? "Wansung" : codePage == 1361 ? "Johab" : "";
    else if (primary == 44 || primary == 67)
        qualifier = codePage == 1251 ? "Cyrillic" : codePage == 1254 ? "Latin" : "";
    else if (primary == 26 && sub != 1)
        qualifier = codePage == 1251 ? "Cyrillic" : codePage == 1250 ? "Latin" : "";
    return Joined(name, qualifier, translated, dictionary);
}

std::string ComposeLocaleName(const std::string& languageName, const std::string& countryName,
    bool translated, TIvDictionary* dictionary, int codePage, int sub, int primary)
{
    std::string qualifier;
    if (codePage != 0) {
        if ((primary == 26 && sub != 1) || primary == 44 || primary == 67)
            qualifier = codePage == 1251 ? "Cyrillic" : "Latin";
        else if (primary == 4)
            qualifier = codePage == 950 ? "Traditional" : "Simplified";
        else if (primary == 18 && codePage == 1361)
            qualifier = "Johab";
    }
    std::string result = Joined(LanguagePart(languageName, primary), qualifier, translated, dictionary);
    if (sub != 0) {
        std::string country = countryName;
        TIvDictionary* d = dictionary ? dictionary : GetDefaultDictionary();
        if (translated && d)
            country = d->Translate(country);
        result += " (" + country + ")";
    }
    return result;
}

std::string GetMLRegistryValue(const std::string& name, const std::string& defaultValue)
{
    QSettings settings(QSettings::SystemScope, "Veltrane", "PX10Tool Localisation");
    QString key = QString::fromStdString(name);
    if (!settings.contains(key))
        return defaultValue;
    return settings.value(key).toString().toStdString();
}

int MlFileAge(const std::string& name, bool local)
{
    struct stat st { };
    if (name.empty() || ::stat(name.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return -1;
    std::tm t {};
    time_t when = st.st_mtime;
    if (!(local ? localtime_r(&when, &t) : gmtime_r(&when, &t)))
        return -1;
    int year = t.tm_year + 1900;
    if (year < 1980 || year > 2107) // outside what a DOS date can hold
        return -1;
    uint32_t date = ((year - 1980) << 9) | ((t.tm_mon + 1) << 5) | t.tm_mday;
    uint32_t time = (t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec / 2);
    return static_cast<int>((date << 16) | time);
}

std::string IvGetTempFileName(const std::string& prefix)
{
    const char* dir = std::getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/" + prefix + "XXXXXX";
    std::vector<char> buffer(path.begin(), path.end());
    buffer.push_back('\0');
    int fd = ::mkstemp(buffer.data());
    if (fd < 0)
        return {};
    ::close(fd);
    return buffer.data();
}
