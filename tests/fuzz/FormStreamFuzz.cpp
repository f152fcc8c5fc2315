// Form streams that carry dictionary blocks: an unknown tag, a length past
// the end or deep nesting must end in a clean exception, never a misparse
// that reads out of bounds.
#include "Exception.h"
#include "Ivbindic.h"
#include "Ivreader.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // As a whole form, with the dictionary found by name.
    IvRegisterResource(IvFormResourceType, "TfrmFuzz", bytes);
    try {
        TIvBinaryDictionary d;
        d.SetStorage(ivsEmbedded);
        d.SetFileName("PX10Tool.mld");
        d.SetCheckLevel(ivclNone);
        d.SetFormLocation("TfrmFuzz", "LanguageDictionary");
        d.SetLanguage(1);
        d.Open();
        std::vector<std::unique_ptr<TIvLocale>> locales;
        d.GetLocaleDatas(locales);
    } catch (const Exception&) {
    }
    IvUnregisterResource(IvFormResourceType, "TfrmFuzz");

    // As bare blocks and values.
    for (int kind = 0; kind < 4; ++kind) {
        TIvReader reader(bytes);
        try {
            switch (kind) {
            case 0:
                SkipLanguages(reader);
                break;
            case 1: {
                TIvTranslationTable table;
                DoLoadTranslation(reader, 1, 2, table);
                break;
            }
            case 2:
                SkipLocales(reader);
                break;
            default:
                while (true)
                    reader.SkipValue();
            }
        } catch (const Exception&) {
        }
    }
    return 0;
}
