#include "PX10ConfigZoneText.h"

TPX10ConfigZoneText::TPX10ConfigZoneText()
    : Records(Defaults())
{
}

// Set one by one through the setters once; every part built takes them.
const TPX10ConfigZoneText::RecordBlock::Records& TPX10ConfigZoneText::Defaults()
{
    static const RecordBlock::Records defaults = [] {
        TPX10ConfigZoneText blank { Blank {} };
        for (int zone = 1; zone <= ZoneCount; ++zone) {
            blank.GetRecord(zone)->SetRecordId(5);
            blank.SetZoneText(zone, "");
        }
        blank.ClearModified();
        return blank.Records.Get();
    }();
    return defaults;
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
    return Records.IsModified();
}

void TPX10ConfigZoneText::ClearModified()
{
    Records.ClearModified();
}

void TPX10ConfigZoneText::ReadFromFile(platform::File& File)
{
    Records.ReadFromFile(File);
}

void TPX10ConfigZoneText::WriteToFile(platform::File& File) const
{
    Records.WriteToFile(File);
}

void TPX10ConfigZoneText::CopyTo(TPX10ConfigZoneText& Target) const
{
    Records.CopyTo(Target.Records);
}
