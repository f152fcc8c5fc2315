#include "DeviceDataSets.h"

#include "CodePage.h"
#include "PX10ConfigData.h"

#include <algorithm>

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
    AddColumns(SensorColumns);
}

TSensorEdits TSensorDataSet::Edits()
{
    return TSensorEdits(*ConfigPart(), FLists);
}

TSensorTexts TSensorDataSet::Texts() const
{
    return TSensorTexts(*ConfigPart()->Sensors, PanelHasGroups(*ConfigPart()), FLists);
}

QVariant TSensorDataSet::GetFieldData(int FieldNo, int a) const
{
    const TSensorColumn* column = FindColumn(SensorColumns, FieldNo);
    return column ? column->Read(Texts(), a) : QVariant();
}

QVariant TSensorDataSet::GetFieldCode(int FieldNo, int a) const
{
    return CodeOf(FindColumn(SensorColumns, FieldNo), Texts(), a);
}

void TSensorDataSet::SetFieldCode(int FieldNo, int a, int Code)
{
    TSensorEdits edits = Edits();
    Report(WriteCode(SensorColumns, edits, FieldNo, a, Code));
}

void TSensorDataSet::SetFieldData(int FieldNo, int a, const QVariant& Value)
{
    if (const TSensorColumn* column = FindColumn(SensorColumns, FieldNo))
        Report(Edits().Write(FieldNo, a, FieldText(Value, column->CodePage)));
}

// ---- modules ----

TModuleDataSet::TModuleDataSet(QObject* Parent)
    : TDeviceDataSet(true, Parent)
{
    AddColumns(ModuleColumns);
}

TModuleEdits TModuleDataSet::Edits()
{
    return TModuleEdits(*ConfigPart(), FLists);
}

QVariant TModuleDataSet::GetFieldData(int FieldNo, int a) const
{
    const TModuleColumn* column = FindColumn(ModuleColumns, FieldNo);
    return column ? column->Read(TModuleTexts(*ConfigPart()->Modules, FLists), a) : QVariant();
}

QVariant TModuleDataSet::GetFieldCode(int FieldNo, int a) const
{
    return CodeOf(FindColumn(ModuleColumns, FieldNo), TModuleTexts(*ConfigPart()->Modules, FLists), a);
}

void TModuleDataSet::SetFieldCode(int FieldNo, int a, int Code)
{
    TModuleEdits edits = Edits();
    Report(WriteCode(ModuleColumns, edits, FieldNo, a, Code));
}

void TModuleDataSet::SetFieldData(int FieldNo, int a, const QVariant& Value)
{
    if (const TModuleColumn* column = FindColumn(ModuleColumns, FieldNo))
        Report(Edits().Write(FieldNo, a, FieldText(Value, column->CodePage)));
}
