#include "FileHistory.h"

#include <algorithm>

void FileHistory::Add(const std::string& name)
{
    if (name.empty())
        return;
    FItems.erase(std::remove(FItems.begin(), FItems.end(), name), FItems.end());
    FItems.insert(FItems.begin(), name);
    if (FItems.size() > Slots)
        FItems.resize(Slots);
}

std::string FileHistory::Item(int slot) const
{
    if (slot < 0 || slot >= int(FItems.size()))
        return "";
    return FItems[slot];
}

std::string FileHistory::Caption(int slot) const
{
    std::string item = Item(slot);
    if (item.empty())
        return "";
    return "&" + std::to_string(slot + 1) + "  " + item;
}
