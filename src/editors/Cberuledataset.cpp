#include "Cberuledataset.h"

#include "Cberulelogic.h"
#include "CodePage.h"
#include "Ivdictio.h"
#include "PX10ConfigCBERuleConfiguration.h"

using Rules = TPX10ConfigCBERuleConfiguration;

namespace {

// The flag fields in field order, with their bits.
int FlagBit(int field)
{
    switch (field) {
    case TCBERuleDataSet::fldEvacuate:
        return Rules::EvacuateBit;
    case TCBERuleDataSet::fldInterruptable:
        return Rules::InterruptableBit;
    case TCBERuleDataSet::fldSilence:
        return Rules::SilenceBit;
    case TCBERuleDataSet::fldClassChange:
        return Rules::ClassChangeBit;
    case TCBERuleDataSet::fldTwoZone:
        return Rules::TwoZoneBit;
    default:
        return Rules::EnableSoakTimerBit;
    }
}

// The code of a translated list entry, -1 when the text is no entry.
int CodeOf(const std::vector<std::string>& list, const QString& text)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (QString::fromStdString(Translate(list[i])) == text)
            return static_cast<int>(i);
    return -1;
}

} // namespace

TCBERuleDataSet::TCBERuleDataSet(QObject* Parent)
    : TConfigDataSet(true, Parent)
{
    AddField("Rule Type", TFieldType::ftString, TextSize);
    AddField("Filter Type", TFieldType::ftString, TextSize);
    AddField("Evacuate", TFieldType::ftInteger);
    AddField("Interruptable", TFieldType::ftInteger);
    AddField("Silence", TFieldType::ftInteger);
    AddField("Class Change", TFieldType::ftInteger);
    AddField("Two Zone", TFieldType::ftInteger);
    AddField("Enable Soak Timer", TFieldType::ftInteger);
    for (const char* name : { "DevAddr1", "DevAddr2", "DevAddr3" })
        AddField(name, TFieldType::ftInteger);
    for (const char* name : { "DevKind1", "DevKind2", "DevKind3" })
        AddField(name, TFieldType::ftString, TextSize);
}

int TCBERuleDataSet::GetRecordCount() const
{
    return Rules::RuleCount;
}

QVariant TCBERuleDataSet::GetFieldData(int FieldNo, int RecNo) const
{
    const Rules& r = *ConfigPart();
    switch (FieldNo) {
    case fldRuleType:
        return platform::Utf8ToQString(cberules::RuleTypeText(r, RecNo));
    case fldFilterType: {
        const int type = r.GetRuleType(RecNo), code = r.GetFilterType(RecNo);
        // Outside the list, the filters of every other type show their first entry.
        if (type != cberules::ExtinguishingSystem && code >= int(cberules::FilterTypes().size()))
            return platform::Utf8ToQString(cberules::ListText(cberules::FilterTypes(), 0));
        return platform::Utf8ToQString(cberules::FilterTypeText(r, RecNo));
    }
    case fldDevAddr1:
    case fldDevAddr2:
    case fldDevAddr3:
        return r.GetDeviceAddress(RecNo, FieldNo - fldDevAddr1 + 1);
    case fldDevKind1:
    case fldDevKind2:
    case fldDevKind3:
        return platform::Utf8ToQString(
            cberules::ListText(cberules::DeviceKinds(), r.GetDeviceKind(RecNo, FieldNo - fldDevKind1 + 1)));
    default:
        return r.GetFlag(RecNo, FlagBit(FieldNo)) ? 1 : 0;
    }
}

void TCBERuleDataSet::SetFieldData(int FieldNo, int RecNo, const QVariant& Value)
{
    Rules& r = *ConfigPart();
    switch (FieldNo) {
    case fldRuleType:
        if (const int code = CodeOf(cberules::RuleTypes(), Value.toString()); code >= 0)
            r.SetRuleType(RecNo, code);
        break;
    case fldFilterType:
        // The list of the type stored now decides, whichever shorter list was offered.
        if (const int code = CodeOf(cberules::FilterListFor(r.GetRuleType(RecNo)), Value.toString());
            code >= 0)
            r.SetFilterType(RecNo, code);
        break;
    case fldDevAddr1:
    case fldDevAddr2:
    case fldDevAddr3:
        r.SetDeviceAddress(RecNo, FieldNo - fldDevAddr1 + 1, Value.toInt());
        break;
    case fldDevKind1:
    case fldDevKind2:
    case fldDevKind3:
        if (const int code = CodeOf(cberules::DeviceKinds(), Value.toString()); code >= 0)
            r.SetDeviceKind(RecNo, FieldNo - fldDevKind1 + 1, code);
        break;
    default:
        r.SetFlag(RecNo, FlagBit(FieldNo), Value.toInt() != 0);
        break;
    }
}
