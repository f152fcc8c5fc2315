#pragma once
// A plain list of the 99 loop addresses of one device kind, with each
// defined device's type and description. It stands in the main window for
// the sensor and module editor grids until those editors exist, so that the
// tree, delete, cut, copy and paste work on real records.
#include "EditorInterfaces.h"

#include <QWidget>

class QListWidget;
class QLabel;
class TPX10ConfigData;
class TPX10ConfigDeviceConfiguration;

class DeviceListFrame : public QWidget, public DeviceEditFrame {
    Q_OBJECT
public:
    DeviceListFrame(bool modules, QWidget* parent = nullptr);
    QWidget* Widget() override { return this; }
    void SetConfig(TPX10ConfigData* config) override { FConfig = config; }
    void CloseDataSet() override { FConfig = nullptr; }
    void LoadFromConfig() override;
    int CurrentAddress() const override;
    void GotoAddress(int address) override;
    void Resync() override { LoadFromConfig(); }
    void UpdateColumns() override { }
    void DeleteDevices(int from, int to) override;

    // The addresses a delete of from..to covers: a multi-channel module
    // (TORQ types 133 and 134) widens to its first and last channel.
    static std::pair<int, int> DeleteRange(
        const TPX10ConfigDeviceConfiguration& devices, bool modules, int from, int to);

private:
    TPX10ConfigDeviceConfiguration* Devices() const;
    bool FModules;
    TPX10ConfigData* FConfig = nullptr;
    QLabel* FTitle;
    QListWidget* FList;
};
