// The process-wide list of dictionaries; its first entry is the default
// dictionary.
#include "Ivdictio.h"

#include <algorithm>

TIvDictionaries& Dictionaries()
{
    static TIvDictionaries list;
    return list;
}

// ------------------------------------------------------------ TIvDictionaries

TIvDictionary* TIvDictionaries::GetItems(int index) const
{
    if (index < 0 || index >= GetCount())
        throw ERangeError("List index out of bounds (" + std::to_string(index) + ")");
    return FItems[index];
}

void TIvDictionaries::Add(TIvDictionary* dictionary)
{
    if (dictionary->GetDictionaryName().empty()) {
        int n = GetCount() + 1;
        while (FindDictionary("Dictionary" + std::to_string(n)))
            ++n;
        dictionary->SetDictionaryName("Dictionary" + std::to_string(n));
    }
    FItems.push_back(dictionary);
}

void TIvDictionaries::Remove(TIvDictionary* dictionary)
{
    auto it = std::find(FItems.begin(), FItems.end(), dictionary);
    if (it != FItems.end())
        FItems.erase(it);
}

TIvDictionary* TIvDictionaries::FindDictionary(const std::string& name) const
{
    for (TIvDictionary* d : FItems)
        if (d->GetDictionaryName() == name)
            return d;
    return nullptr;
}
