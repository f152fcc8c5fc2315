#include "ModuleEditFrame.h"

#include "AddDevicesForm.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"
#include "RecordGrid.h"

#include <algorithm>

using namespace devicecode;

TfrmModuleEdit::TfrmModuleEdit(QWidget* Parent)
    : TDeviceEditFrameBase(new TModuleDataSet, "dbgModuleEdit", IvNative("Modules"), Parent)
{
    setObjectName("frmModuleEdit1");
    FModules = static_cast<TModuleDataSet*>(DataSet());
    FModules->setObjectName("dscModuleEdit");
    SetUpColumns(
        ModuleColumns, [this](int a) { return FModules->Edits().RowOffer(a); },
        [this]() -> const TModuleLists& { return FModules->Lists(); });
    AddListBox("lbxTypeStringHolder", &FLists.Functions);
    AddListBox("lbxAuxActions", &FLists.AuxActions, true);
    AddListBox("lbxG400StringHolder", &FLists.TorqTypes);
    AddListBox("lbxG400StringHolderCommon", &FLists.TorqTypesCommon);
    AddListBox("lbxBrimStringHolderCommon", &FLists.BrimModuleTypes);
    AddListBox("lbxOutputStringHolderCommon", &FLists.OutputFunctions);
    AddListBox("lbxInputStringHolderCommon", &FLists.InputFunctions);
    AddListBox("lbxSounderStringHolderCommon", &FLists.SounderFunctions);
    AddListBox("lbxZmxStringHolderCommon", &FLists.ZmxFunctions);
    AddListBox("lbxLbmStringHolderCommon", &FLists.LbmFunctions);
    AddListBox("lbx721OutputStringHolder", &FLists.K721OutputFunctions);
    AddListBox("lbxProtocolStringHolder", &FLists.Protocols);
    AddListBox("lbxProtocolBrimOnly", &FLists.ProtocolsBrimOnly);
    AddListBox("lbxProtocolG400Only", &FLists.ProtocolsTorqOnly);
}

void TfrmModuleEdit::LoadFromConfig()
{
    if (!Config())
        return;
    ReadListBoxes();
    FModules->SetLists(FLists);
    FModules->SetConfigPart(Config());
    FModules->Open();
    RestoreColumnWidths();
    FModules->Refresh();
}

void TfrmModuleEdit::FieldChanged(int FieldNo, int Address)
{
    TDeviceEditFrameBase::FieldChanged(FieldNo, Address);
    // A range being added runs the check itself once all fields are written.
    if (!FAdding && (FieldNo == mfProtocol || FieldNo == mfType))
        UpdateMultiChannelModule(Address);
}

// A pasted first channel of a K720 or K721 brings its other channels.
void TfrmModuleEdit::DevicePasted(int Address)
{
    UpdateMultiChannelModule(Address);
    TDeviceEditFrameBase::DevicePasted(Address);
}

void TfrmModuleEdit::UpdateMultiChannelModule(int Address)
{
    if (!IsOpen())
        return;
    TMultiChannelResult r = ::UpdateMultiChannelModule(*Config()->Modules, Address);
    for (int a : r.Changed)
        DeviceChanged(a);
    FModules->Report(r.Message);
}

void TfrmModuleEdit::DeleteModules(int First, int Last)
{
    if (!IsOpen())
        return;
    auto [first, last] = ModuleDeleteRange(*Config()->Modules, First, Last);
    for (int a = first; a <= last; ++a) {
        Config()->Modules->ResetDevice(a);
        DeviceChanged(a);
    }
    RefreshGrid();
}

void TfrmModuleEdit::AddModules()
{
    if (!IsOpen() || !AddDevicesDialog())
        return;
    CommitEdit();
    AddDevicesDialog()->Execute(
        QString::fromStdString(Translate("Add Modules")), GetCurrentModuleAddress(),
        [this](TTextList* Protocols, TTextList* Types, TTextList* Functions, const std::string& Protocol,
            const std::string& Type) { FillDeviceLists(Protocols, Types, Type, Protocol, Functions); },
        [this](int a) { GotoModule(a); },
        [this](int First, int Last, int Zone, const std::string& Protocol, const std::string& Type,
            const std::string& Function,
            bool Overwrite) { ApplyAddedModule(First, Last, Zone, Protocol, Type, Function, Overwrite); },
        -1, BrimAllowance(*Config()),
        [this](const std::string& Function) {
            return ModuleZoneRange(IndexOfText(FModules->Lists().Functions, Function));
        });
}

void TfrmModuleEdit::ApplyAddedModule(int First, int Last, int Zone, const std::string& Protocol,
    const std::string& Type, const std::string& Function, bool Overwrite)
{
    if (!IsOpen())
        return;
    TPX10ConfigDeviceConfiguration& m = *Config()->Modules;
    const TModuleLists& lists = FModules->Lists();
    const int first = std::min(First, Last), last = std::max(First, Last);
    const int torqType = 127 + IndexOfText(lists.TorqTypes, Type);
    const bool multi = Protocol == lists.Protocols[dpTorq] && (torqType == TorqK720 || torqType == TorqK721);
    const int channels = torqType == TorqK721 ? 3 : 2;
    const bool k721Range = multi && torqType == TorqK721 && first != last;
    auto fitted = [&](int a) { return m.GetType(a) != 0 || m.GetChannel(a) != 0; };
    // Overwriting a channel of a multi-channel module replaces the whole module.
    auto resetModuleAt = [&](int a) {
        auto [from, to] = ModuleDeleteRange(m, a, a);
        for (int x = from; x <= to; ++x) {
            m.ResetDevice(x);
            DeviceChanged(x);
        }
    };
    FAdding = true;
    BeginAdding();
    int created = 0; // the channels of a module added here are not added again
    for (int a = first; a <= last; ++a) {
        if (a <= created || (fitted(a) && !Overwrite))
            continue;
        if (Overwrite && m.GetChannel(a) != 0)
            resetModuleAt(a);
        if (Overwrite && multi)
            for (int x = a + 1; x < a + channels && x <= last; ++x)
                if (fitted(x))
                    resetModuleAt(x);
        GotoModule(a);
        FModules->WriteField(mfProtocol, a, QString::fromStdString(Protocol));
        FModules->WriteField(mfType, a, QString::fromStdString(Type));
        const std::string function = k721Range ? K721RangeFunction(lists, first, a, Function) : Function;
        FModules->WriteField(mfFunction, a, QString::fromStdString(function));
        if (m.GetType(a) != 0) // not refused by the protocol rule
            FModules->WriteField(mfZone, a, Zone);
        UpdateMultiChannelModule(a);
        if (m.GetChannel(a) == 1)
            created = a + (m.GetTorqType(a) == TorqK721 ? 2 : 1);
        DeviceChanged(a);
    }
    FAdding = false;
    EndAdding();
}

void TfrmModuleEdit::FillDeviceLists(TTextList* Protocols, TTextList* Types, const std::string& Type,
    const std::string& Protocol, TTextList* Functions) const
{
    if (Config())
        TModuleEdits::FillDeviceLists(
            *Config(), FModules->Lists(), Protocols, Types, Functions, Protocol, Type, 0);
}

std::string TfrmModuleEdit::ModuleTypeText(int Address) const
{
    return Config() ? TModuleTexts(*Config()->Modules, FModules->Lists()).ModuleTypeText(Address)
                    : std::string();
}
