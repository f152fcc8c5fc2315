#pragma once
// What the main window asks of the editors that it embeds or opens. The
// sensor, module, on-board output, zone text and CBE rule editors implement
// these; until they do, the main window uses the plain device lists of
// DeviceListFrame and leaves the other editors' actions disabled.
#include <functional>

class QWidget;

// A loop device editor frame (sensors or modules) embedded in the main window.
class DeviceEditFrame {
public:
    virtual ~DeviceEditFrame() = default;
    virtual QWidget* Widget() = 0;
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
    // Add/Change through the add devices dialog; false while not available.
    virtual bool CanAddDevices() const { return false; }
    virtual void AddDevices() { }
    // Closes the data set before the configuration goes.
    virtual void CloseDataSet() { }

    // Set by the main window: a device was added, changed or deleted.
    std::function<void(int address)> OnDeviceChanged;
    // Set by the main window: the grid's current row moved.
    std::function<void(int address)> OnCurrentAddressChanged;
};

// The on-board output setup frame.
class OnboardOutputFrame {
public:
    virtual ~OnboardOutputFrame() = default;
    virtual QWidget* Widget() = 0;
    virtual void LoadFromConfig() = 0;
};

// The modal zone text editor and CBE rule editor.
class ZoneTextEditor {
public:
    virtual ~ZoneTextEditor() = default;
    virtual void ShowModal() = 0;
};
class CBERuleEditor {
public:
    virtual ~CBERuleEditor() = default;
    // -1 opens on no particular rule.
    virtual void Execute(int rule) = 0;
};
