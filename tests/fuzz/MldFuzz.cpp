// MLD dictionary files come from disk: every header, count, length and offset
// may be damaged. Reading must end in values or a clean exception.
#include "Exception.h"
#include "Ivbindic.h"
#include "Ivmldfil.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void ReadAll(const std::string& bytes)
{
    TIvMLDFile f;
    f.OpenStream(std::make_unique<TIvMemoryStream>(bytes));
    // Every language record in full and in order, then the last one by its
    // index, which passes over those before it: reaching each by its index
    // would read the records before it again for every one.
    const int languages = std::min(f.GetLanguageCount(), 64);
    if (languages > 0) {
        f.GoLanguageSection();
        for (int i = 0; i < languages; ++i)
            f.GetCurrentLanguage();
        f.GetLanguage(languages - 1);
    }
    // Reaching a locale reads every record before it in full, so the last
    // one asked for reads them all.
    if (f.GetLocaleCount() > 0)
        f.GetLocale(std::min(f.GetLocaleCount(), 16) - 1);
    TIvMLDInfo info;
    f.GetInfo(info);
    f.GoTranslationSection();
    TIvContext context;
    std::vector<std::string> strings;
    for (int i = 0; i < f.GetTranslationCount(); ++i)
        f.GetTranslations(context, strings);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        ReadAll(bytes);
    } catch (const Exception&) {
    }
    // The dictionary as the program opens it, in the language that the last byte names.
    IvRegisterResource(TIvBinaryDictionary::ResourceType, TIvBinaryDictionary::ResourceName, bytes);
    try {
        TIvBinaryDictionary d;
        d.SetStorage(ivsResource);
        d.SetFileName("PX10Tool.mld");
        d.SetCheckLevel(ivclNone);
        d.SetLanguage(size > 0 ? data[size - 1] % 8 : 0);
        d.Open();
        for (int i = 0; i < d.GetTranslationCount(); ++i)
            d.Translate(d.GetTranslation(i)->Native);
    } catch (const Exception&) {
    }
    IvUnregisterResource(TIvBinaryDictionary::ResourceType, TIvBinaryDictionary::ResourceName);
    return 0;
}
