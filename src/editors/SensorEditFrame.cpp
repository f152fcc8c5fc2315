#include "SensorEditFrame.h"

#include "Ivwindows.h"

#include "AddDevicesForm.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"
#include "RecordGrid.h"

#include <algorithm>

TfrmSensorEdit::TfrmSensorEdit(QWidget* Parent)
    : TDeviceEditFrameBase(new TSensorDataSet, "dbgSensorEdit", IvNative("Sensors"), Parent)
{
    setObjectName("frmSensorEdit1");
    FSensors = static_cast<TSensorDataSet*>(DataSet());
    FSensors->setObjectName("dscSensorEdit");
    SetUpColumns(
        SensorColumns, [this](int a) { return FSensors->Edits().RowOffer(a); },
        [this]() -> const TSensorLists& { return FSensors->Lists(); });
    AddListBox("lbxProtocolStringHolder", &FLists.Protocols);
    AddListBox("lbxProtocolBrimOnly", &FLists.ProtocolsBrimOnly);
    AddListBox("lbxProtocolG400Only", &FLists.ProtocolsTorqOnly);
    AddListBox("lbxTypeStringHolder", &FLists.BrimTypes);
    AddListBox("lbxTypeStringHolderCommon", &FLists.BrimTypesCommon);
    AddListBox("lbxTypeStringHolderViews", &FLists.BrimTypesViews);
    AddListBox("lbxG400StringHolder", &FLists.TorqTypes);
    AddListBox("lbxG400StringHolderCommon", &FLists.TorqTypesCommon);
    AddListBox("lbxSensorLevels", &FLists.Levels);
    AddListBox("lbxApplNoForSMT4", &FLists.ApplicationNumbers);
    AddListBox("lbxRemOP", &FLists.RemoteOutputs, true);
    IvAddTranslator(this);
}

void TfrmSensorEdit::LoadFromConfig()
{
    if (!Config())
        return;
    ReadListBoxes();
    FSensors->SetLists(FLists);
    FSensors->SetConfigPart(Config());
    FSensors->Open();
    RestoreColumnWidths();
    FSensors->Refresh();
}

TSensorTexts TfrmSensorEdit::Texts() const
{
    return TSensorTexts(*Config()->Sensors, PanelHasGroups(*Config()), FSensors->Lists());
}

void TfrmSensorEdit::DeleteSensors(int First, int Last)
{
    if (!IsOpen())
        return;
    for (int a = std::min(First, Last); a <= std::max(First, Last); ++a) {
        Config()->Sensors->ResetDevice(a);
        DeviceChanged(a);
    }
    ResyncDataSet();
}

void TfrmSensorEdit::AddSensorsExecute()
{
    if (!IsOpen() || !AddDevicesDialog())
        return;
    CommitEdit();
    AddDevicesDialog()->Execute(
        QString::fromStdString(Translate("Add Sensors")), GetCurrentAddress(),
        [this](TTextList* Protocols, TTextList* Types, TTextList* Functions, const std::string& Protocol,
            const std::string&) {
            FillDeviceLists(Protocols, Types, Protocol);
            if (Functions)
                Functions->clear(); // sensors have no function
        },
        [this](int a) { GotoSensor(a); },
        [this](int First, int Last, int Zone, const std::string& Protocol, const std::string& Type,
            const std::string& Function,
            bool Overwrite) { ApplyAddedSensor(First, Last, Zone, Protocol, Type, Function, Overwrite); },
        -1, BrimAllowance(*Config()));
}

void TfrmSensorEdit::ApplyAddedSensor(int First, int Last, int Zone, const std::string& Protocol,
    const std::string& Type, const std::string&, bool Overwrite)
{
    if (!IsOpen())
        return;
    TPX10ConfigDeviceConfiguration& sensors = *Config()->Sensors;
    BeginAdding();
    for (int a = std::min(First, Last); a <= std::max(First, Last); ++a) {
        if (sensors.GetType(a) != 0 && !Overwrite)
            continue;
        GotoSensor(a);
        FSensors->WriteField(sfProtocol, a, QString::fromStdString(Protocol));
        FSensors->WriteField(sfType, a, QString::fromStdString(Type));
        if (sensors.GetType(a) != 0) // not refused by the protocol rule
            FSensors->WriteField(sfZone, a, Zone);
        DeviceChanged(a);
    }
    EndAdding();
}

void TfrmSensorEdit::FillDeviceLists(
    TTextList* Protocols, TTextList* Types, const std::string& Protocol) const
{
    if (Config())
        TSensorEdits::FillDeviceLists(*Config(), FSensors->Lists(), Protocols, Types, Protocol);
}

std::string TfrmSensorEdit::SensorTypeText(int Address) const
{
    return Config() ? Texts().SensorTypeText(Address) : std::string();
}

std::string TfrmSensorEdit::FireSensitivityText(int Address) const
{
    return Config() ? Texts().GetFireSensitivity(Address) : std::string();
}

std::string TfrmSensorEdit::PrealarmSensitivityText(int Address) const
{
    return Config() ? Texts().GetPrealarmSensitivity(Address) : std::string();
}

std::string TfrmSensorEdit::DayModeSensitivityText(int Address) const
{
    return Config() ? Texts().GetDayModeSensitivity(Address) : std::string();
}

std::string TfrmSensorEdit::DayModePrealarmSensitivityText(int Address) const
{
    return Config() ? Texts().GetDaymodePrealarmSensitivity(Address) : std::string();
}
