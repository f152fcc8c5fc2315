#pragma once
// The module editor: the 99 loop modules in one grid, one row per address,
// with the channel records of the multi-channel modules K720 and K721 kept
// consistent.
#include "DeviceEditFrameBase.h"

class TfrmModuleEdit : public TDeviceEditFrameBase {
    Q_OBJECT
public:
    explicit TfrmModuleEdit(QWidget* Parent = nullptr);

    void LoadFromConfig() override;
    void DeleteDevices(int From, int To) override { DeleteModules(From, To); }
    void AddDevices() override { AddModules(); }
    void DevicePasted(int Address) override;

    TModuleDataSet* ModuleDataSet() const { return FModules; }
    int GetCurrentModuleAddress() const { return CurrentAddress(); }
    void GotoModule(int Address) { GotoAddress(Address); }
    void RefreshGrid() { Resync(); }
    void CloseModuleGrid() { CloseDataSet(); }
    // Resets the modules from min to max of the two addresses; a
    // multi-channel module the range cuts is reset whole.
    void DeleteModules(int First, int Last);
    void AddModules();
    void ApplyAddedModule(int First, int Last, int Zone, const std::string& Protocol, const std::string& Type,
        const std::string& Function, bool Overwrite);
    void FillDeviceLists(TTextList* Protocols, TTextList* Types, const std::string& Type,
        const std::string& Protocol, TTextList* Functions) const;
    // Keeps the channels of the module at `Address` consistent after its
    // protocol or type changed; the message (no room) is shown or collected.
    void UpdateMultiChannelModule(int Address);

    // "TORQ/K710/MCP", for the CBE rule editor and the module report.
    std::string ModuleTypeText(int Address) const;

protected:
    void FieldChanged(int FieldNo, int Address) override;
    int CBERuleField() const override { return mfCBERule; }
    int DeviceId(int Address) const override { return Address + 100; }

private:
    TModuleDataSet* FModules;
    TModuleLists FLists; // as the list boxes hold them
    bool FAdding = false;
};
