#include "Ivwindows.h"

#include "ExceptionBox.h"

TIvTargetProperties IvWindowTargets()
{
    TIvTargetProperties t;
    for (const char* p : { "Caption", "Hint", "Items", "Tabs", "Lines", "Filter", "Title", "Cells" })
        t.Add("", p);
    return t;
}

TIvTranslator* IvAddTranslator(QWidget* window, std::function<void()> rebuild)
{
    TIvTranslator* t = IvFindTranslator(window);
    if (!t) {
        t = new TIvTranslator(window);
        t->SetTargets(IvWindowTargets());
        t->SetAutoOpen(true);
    }
    if (rebuild) {
        auto previous = std::move(t->OnLanguageChange);
        t->OnLanguageChange = [previous, rebuild](TIvCustomTranslator* sender) {
            if (previous)
                previous(sender);
            rebuild();
        };
    }
    if (!t->IsBound())
        t->Loaded();
    return t;
}
