#include "Cberulezonedataset.h"

#include "Cberulelogic.h"
#include "Ivdictio.h"
#include "PX10ConfigCBERuleConfiguration.h"

TCBERuleZoneDataSet::TCBERuleZoneDataSet(QObject* Parent)
    : TConfigDataSet(true, Parent)
{
    AddField("Zone", TFieldType::ftInteger, 0, true);
    AddField("Condition", TFieldType::ftString, TextSize);
}

int TCBERuleZoneDataSet::GetRecordCount() const
{
    return cberules::ZoneSlots;
}

void TCBERuleZoneDataSet::SetCurrentRule(int Rule)
{
    if (Rule < 1 || Rule > TPX10ConfigCBERuleConfiguration::RuleCount || Rule == FRule)
        return;
    FRule = Rule;
    if (IsOpen())
        Refresh();
}

bool TCBERuleZoneDataSet::ValidZoneStateForRule(int Condition) const
{
    return ConfigPart() && cberules::ValidZoneStateForRule(*ConfigPart(), FRule, Condition);
}

QVariant TCBERuleZoneDataSet::GetFieldData(int FieldNo, int RecNo) const
{
    const TPX10ConfigCBERuleConfiguration& r = *ConfigPart();
    if (FieldNo == fldZone)
        return cberules::ZoneOfSlot(r.GetRuleType(FRule), RecNo);
    return QString::fromStdString(cberules::ConditionText(r, FRule, RecNo));
}

void TCBERuleZoneDataSet::SetFieldData(int FieldNo, int RecNo, const QVariant& Value)
{
    if (FieldNo != fldCondition)
        return;
    int code = 0; // a text that is no condition stores ON
    const auto& list = cberules::ZoneConditions();
    for (size_t i = 0; i < list.size(); ++i)
        if (QString::fromStdString(Translate(list[i])) == Value.toString())
            code = static_cast<int>(i);
    ConfigPart()->SetZoneCondition(FRule, RecNo, code);
}

QVariant TCBERuleZoneDataSet::GetFieldCode(int FieldNo, int RecNo) const
{
    if (FieldNo != fldCondition)
        return {};
    const int code = cberules::ShownCondition(*ConfigPart(), FRule, RecNo);
    return code < int(cberules::ZoneConditions().size()) ? QVariant(code) : QVariant();
}

void TCBERuleZoneDataSet::SetFieldCode(int FieldNo, int RecNo, int Code)
{
    if (FieldNo == fldCondition && Code >= 0 && Code < int(cberules::ZoneConditions().size()))
        ConfigPart()->SetZoneCondition(FRule, RecNo, Code);
}
