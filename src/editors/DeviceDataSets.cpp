#include "DeviceDataSets.h"

#include "CodePage.h"
#include "PX10ConfigData.h"

#include <algorithm>

namespace {

QVariant Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

} // namespace

// ---- shared ----

int TDeviceDataSet::GetRecordCount() const
{
    return TPX10ConfigDeviceConfiguration::AddressCount;
}

void TDeviceDataSet::CollectMessages()
{
    FCollecting = true;
    FMessages.clear();
}

std::vector<TFieldMessage> TDeviceDataSet::TakeMessages()
{
    FCollecting = false;
    return std::move(FMessages);
}

void TDeviceDataSet::Report(const TWriteResult& Result)
{
    if (!Result)
        return;
    if (!FCollecting)
        ShowMessageLater(Result->Text, Result->Type);
    else if (std::find(FMessages.begin(), FMessages.end(), *Result) == FMessages.end())
        FMessages.push_back(*Result);
}

std::string TDeviceDataSet::FieldText(const QVariant& Value, bool CodePage)
{
    return CodePage ? platform::QStringToCp1252(Value.toString()) : Value.toString().toStdString();
}

// ---- sensors ----

TSensorDataSet::TSensorDataSet(QObject* Parent)
    : TDeviceDataSet(true, Parent)
{
    AddField("Address", TFieldType::ftInteger, 0, true);
    AddField("Description", TFieldType::ftString, 20);
    AddField("Zone", TFieldType::ftInteger);
    AddField("Protocol", TFieldType::ftString, 10);
    AddField("Type", TFieldType::ftString, 10);
    AddField("Alarm", TFieldType::ftString, 4);
    AddField("PA", TFieldType::ftString, 2);
    AddField("Day", TFieldType::ftString, 4);
    AddField("PD", TFieldType::ftString, 2);
    AddField("Group", TFieldType::ftString, 2);
    AddField("App.Num.", TFieldType::ftString, 3);
    AddField("Rem. Output", TFieldType::ftString, 15);
    AddField("CBE Rule", TFieldType::ftString, 60);
}

TSensorEdits TSensorDataSet::Edits() const
{
    return TSensorEdits(*ConfigPart(), FLists);
}

QVariant TSensorDataSet::GetFieldData(int FieldNo, int a) const
{
    const TPX10ConfigDeviceConfiguration& s = *ConfigPart()->Sensors;
    const TSensorTexts x(s, PanelHasGroups(*ConfigPart()), FLists);
    switch (FieldNo) {
    case sfAddress:
        return a;
    case sfDescription:
        return platform::Cp1252ToQString(s.GetDescription(a));
    case sfZone:
        return s.GetZone(a);
    case sfProtocol:
        return Text(x.GetProtocol(a));
    case sfType:
        return Text(x.GetType(a));
    case sfAlarm:
        return Text(x.GetFireSensitivity(a));
    case sfPA:
        return Text(x.GetPrealarmSensitivity(a));
    case sfDay:
        return Text(x.GetDayModeSensitivity(a));
    case sfPD:
        return Text(x.GetDaymodePrealarmSensitivity(a));
    case sfGroup:
        return Text(x.GetGroup(a));
    case sfAppNum:
        return Text(x.GetApplNumber(a));
    case sfRemOutput:
        return Text(x.GetRemoteOP(a));
    case sfCBERule: {
        std::string rule;
        return x.GetCBERule(a, rule) ? Text(rule) : QVariant();
    }
    default:
        return {};
    }
}

void TSensorDataSet::SetFieldData(int FieldNo, int a, const QVariant& Value)
{
    Report(Edits().Write(FieldNo, a, FieldText(Value, FieldNo == sfDescription)));
}

// ---- modules ----

TModuleDataSet::TModuleDataSet(QObject* Parent)
    : TDeviceDataSet(true, Parent)
{
    AddField("Address", TFieldType::ftInteger, 0, true);
    AddField("Channel", TFieldType::ftString, 3, true);
    AddField("Description", TFieldType::ftString, 20);
    AddField("Zone", TFieldType::ftInteger);
    AddField("Protocol", TFieldType::ftString, 10);
    AddField("Type", TFieldType::ftString, 10);
    AddField("Function", TFieldType::ftString, 10);
    AddField("Action", TFieldType::ftString, 25);
    AddField("CBE Rule", TFieldType::ftString, 60);
}

TModuleEdits TModuleDataSet::Edits() const
{
    return TModuleEdits(*ConfigPart(), FLists);
}

QVariant TModuleDataSet::GetFieldData(int FieldNo, int a) const
{
    const TPX10ConfigDeviceConfiguration& m = *ConfigPart()->Modules;
    const TModuleTexts x(m, FLists);
    switch (FieldNo) {
    case mfAddress:
        return a;
    case mfChannel:
        return Text(x.GetChannel(a));
    case mfDescription:
        return platform::Cp1252ToQString(m.GetDescription(a));
    case mfZone:
        return m.GetZone(a);
    case mfProtocol:
        return Text(x.GetProtocol(a));
    case mfType:
        return Text(x.GetType(a));
    case mfFunction:
        return Text(x.GetFunction(a));
    case mfAction:
        return Text(x.GetAction(a));
    case mfCBERule: {
        std::string rule;
        return x.GetCBERule(a, rule) ? Text(rule) : QVariant();
    }
    default:
        return {};
    }
}

void TModuleDataSet::SetFieldData(int FieldNo, int a, const QVariant& Value)
{
    Report(Edits().Write(FieldNo, a, FieldText(Value, FieldNo == mfDescription)));
}
