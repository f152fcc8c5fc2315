#include "PX10ConfigZoneText.h"

#include <algorithm>

TPX10ConfigZoneText::TPX10ConfigZoneText()
{
    // The first part built sets its defaults one by one; every later one copies them.
    static const auto defaults = [this] {
        for (int zone = 1; zone <= ZoneCount; ++zone) {
            GetRecord(zone)->SetRecordId(5);
            SetZoneText(zone, "");
        }
        ClearModified();
        return Records;
    }();
    Records = defaults;
}

std::string TPX10ConfigZoneText::GetZoneText(int Zone) const
{
    return GetRecord(Zone)->GetText(1);
}
void TPX10ConfigZoneText::SetZoneText(int Zone, const std::string& Text)
{
    GetRecord(Zone)->SetText(1, 20, Text);
}

bool TPX10ConfigZoneText::IsModified() const
{
    return std::any_of(Records.begin(), Records.end(), [](const auto& r) { return r.IsModified(); });
}

void TPX10ConfigZoneText::ClearModified()
{
    for (auto& r : Records)
        r.ClearModified();
}

void TPX10ConfigZoneText::ReadFromFile(platform::File& File)
{
    for (auto& r : Records)
        r.ReadFromFile(File);
}

void TPX10ConfigZoneText::WriteToFile(platform::File& File) const
{
    for (const auto& r : Records)
        r.WriteToFile(File);
}
