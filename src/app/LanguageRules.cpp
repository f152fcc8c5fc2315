#include "LanguageRules.h"

#include "AppLanguage.h"

bool IsVdSLanguage(const AppLanguage* d)
{
    return d && d->ActiveLanguageIndex() == 5;
}

bool IsRegionalOptionEnabled(bool vdsMark, const AppLanguage* d)
{
    return vdsMark || (d && (d->ActiveLanguageIndex() == 6 || d->ActiveLanguageIndex() == 7));
}

std::optional<int> LanguageToStore(const AppLanguage* d)
{
    if (!d || d->Language() == -1)
        return std::nullopt;
    return d->Language();
}

ConfigLifecycle::Flags NewConfigFlags(bool vdsMark, const AppLanguage* d)
{
    const bool regional = IsRegionalOptionEnabled(vdsMark, d);
    return { vdsMark, regional, true, regional };
}
