#pragma once
// What the main window asks of the loop device editor frames it embeds: the
// sensor and module editors (TfrmSensorEdit, TfrmModuleEdit).
#include <functional>

class QWidget;
class TPX10ConfigData;

// A loop device editor frame (sensors or modules) embedded in the main window.
class DeviceEditFrame {
public:
    virtual ~DeviceEditFrame() = default;
    virtual QWidget* Widget() = 0;
    // The configuration the frame shows and edits (not owned); set again
    // whenever the current configuration is replaced, null once closed.
    virtual void SetConfig(TPX10ConfigData* config) = 0;
    virtual void LoadFromConfig() = 0;
    // Loop address of the grid's current row (1 to 99).
    virtual int CurrentAddress() const = 0;
    virtual void GotoAddress(int address) = 0;
    // Re-reads the grid after a record changed underneath it.
    virtual void Resync() = 0;
    // Refreshes pick lists and columns when the frame comes into view.
    virtual void UpdateColumns() = 0;
    // Resets the devices from..to (a multi-channel module widens to all of
    // its channels) and updates their tree nodes.
    virtual void DeleteDevices(int from, int to) = 0;
    // Closes the data set before the configuration goes.
    virtual void CloseDataSet() = 0;
    // A record was pasted at `address`: a multi-channel module takes its
    // following addresses, and the grid shows the new bytes.
    virtual void DevicePasted(int address) = 0;
    // Tools, Add/Change: the Add Devices dialog for this kind of device.
    virtual void AddDevices() = 0;
    // Writes what the user typed into the open cell editor.
    virtual void CommitEdit() = 0;

    // Set by the main window: a device was added, changed or deleted.
    std::function<void(int address)> OnDeviceChanged;
    // Set by the main window: the grid's current row moved.
    std::function<void(int address)> OnCurrentAddressChanged;
};
