#pragma once
// The sensor editor: the 99 loop sensors in one grid, one row per address.
#include "DeviceEditFrameBase.h"

class TfrmSensorEdit : public TDeviceEditFrameBase {
    Q_OBJECT
public:
    explicit TfrmSensorEdit(QWidget* Parent = nullptr);

    void LoadFromConfig() override;
    void DeleteDevices(int From, int To) override { DeleteSensors(From, To); }
    void AddDevices() override { AddSensorsExecute(); }

    TSensorDataSet* SensorDataSet() const { return FSensors; }
    int GetCurrentAddress() const { return CurrentAddress(); }
    void GotoSensor(int Address) { GotoAddress(Address); }
    void ResyncDataSet() { Resync(); }
    // Resets the sensors from min to max of the two addresses.
    void DeleteSensors(int First, int Last);
    void AddSensorsExecute();
    // Add Devices' callback: Protocol, Type and Zone are written through the
    // data set in that order, so its rules and checks apply; fitted sensors
    // are skipped unless Overwrite.
    void ApplyAddedSensor(int First, int Last, int Zone, const std::string& Protocol, const std::string& Type,
        const std::string& Function, bool Overwrite);
    void FillDeviceLists(TTextList* Protocols, TTextList* Types, const std::string& Protocol) const;

    // Texts of one sensor for the CBE rule editor and the sensor report.
    std::string SensorTypeText(int Address) const;
    std::string FireSensitivityText(int Address) const;
    std::string PrealarmSensitivityText(int Address) const;
    std::string DayModeSensitivityText(int Address) const;
    std::string DayModePrealarmSensitivityText(int Address) const;

protected:
    int CBERuleField() const override { return sfCBERule; }
    int DeviceId(int Address) const override { return Address; }

private:
    TSensorTexts Texts() const;

    TSensorDataSet* FSensors;
    TSensorLists FLists; // as the list boxes hold them
};
