#include "PX10ConfigGsmItems.h"

TPX10ConfigGsmItems::TPX10ConfigGsmItems()
    : Records(Defaults())
{
}

// Set one by one through the setters once; every part built takes them.
const TPX10ConfigGsmItems::RecordBlock::Records& TPX10ConfigGsmItems::Defaults()
{
    static const RecordBlock::Records defaults = [] {
        TPX10ConfigGsmItems blank { Blank {} };
        for (int item = 1; item <= ItemCount; ++item) {
            blank.GetRecord(item)->SetRecordId(6);
            blank.SetNumber(item, "");
            blank.SetAlarm(item, true);
            blank.SetFault(item, true);
            blank.SetPrealarm(item, true);
        }
        blank.ClearModified();
        return blank.Records.Get();
    }();
    return defaults;
}

std::string TPX10ConfigGsmItems::GetNumber(int Item) const
{
    return GetRecord(Item)->GetText(1);
}
void TPX10ConfigGsmItems::SetNumber(int Item, const std::string& Text)
{
    GetRecord(Item)->SetText(1, 20, Text);
}

// clang-format off
#define PX10_GSM_FLAG(Name, Offset) \
    bool TPX10ConfigGsmItems::Get##Name(int Item) const { return GetRecord(Item)->GetByte(Offset) != 0; } \
    void TPX10ConfigGsmItems::Set##Name(int Item, bool On) { GetRecord(Item)->SetByte(Offset, On ? 1 : 0); }
#define PX10_GSM_BYTE(Name, Offset) \
    int TPX10ConfigGsmItems::Get##Name(int Item) const { return GetRecord(Item)->GetByte(Offset); } \
    void TPX10ConfigGsmItems::Set##Name(int Item, int Value) { GetRecord(Item)->SetByte(Offset, LowByte(Value)); }
PX10_GSM_FLAG(Alarm, 22)
PX10_GSM_FLAG(Fault, 23)
PX10_GSM_FLAG(Prealarm, 24)
PX10_GSM_FLAG(Controls, 25)
PX10_GSM_FLAG(GeneralDisable, 26)
PX10_GSM_FLAG(ZoneDisable, 27)
PX10_GSM_FLAG(DeviceDisable, 28)
PX10_GSM_FLAG(SystemDisable, 29)
PX10_GSM_BYTE(QtyAlarm, 30)
PX10_GSM_BYTE(QtyPreAlarm, 31)
PX10_GSM_BYTE(QtyFault, 32)
#undef PX10_GSM_FLAG
#undef PX10_GSM_BYTE
// clang-format on

bool TPX10ConfigGsmItems::IsModified() const
{
    return Records.IsModified();
}

void TPX10ConfigGsmItems::ClearModified()
{
    Records.ClearModified();
}

void TPX10ConfigGsmItems::ReadFromFile(platform::File& File, int Version)
{
    if (Version < 108)
        return;
    Records.ReadFromFile(File);
}

void TPX10ConfigGsmItems::WriteToFile(platform::File& File) const
{
    Records.WriteToFile(File);
}

void TPX10ConfigGsmItems::CopyTo(TPX10ConfigGsmItems& Target) const
{
    Records.CopyTo(Target.Records);
}
