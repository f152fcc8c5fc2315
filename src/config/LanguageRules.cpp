#include "LanguageRules.h"

#include "Ivdictio.h"

bool IsVdSLanguage(const TIvDictionary* d)
{
    return d && d->GetActiveLanguageIndex() == 5;
}

bool IsRegionalOptionEnabled(bool vdsMark, const TIvDictionary* d)
{
    return vdsMark || (d && (d->GetActiveLanguageIndex() == 6 || d->GetActiveLanguageIndex() == 7));
}

std::optional<int> LanguageToStore(const TIvDictionary* d)
{
    if (!d || d->GetLanguage() == -1)
        return std::nullopt;
    return d->GetLanguage();
}

TNewConfigFlags NewConfigFlags(bool vdsMark, const TIvDictionary* d)
{
    const bool regional = IsRegionalOptionEnabled(vdsMark, d);
    return { vdsMark, regional, true, regional };
}
