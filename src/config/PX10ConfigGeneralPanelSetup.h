#pragma once
// The two general panel setup records: panel-wide options, their encodings and defaults.
#include <QDate>
#include <string>

#include "PX10ConfigRecord.h"

class TPX10ConfigGeneralPanelSetup {
public:
    TPX10ConfigGeneralPanelSetup(
        bool VdSDefaults, bool LED2CModeDefault, bool TorqSwitchDefault, bool ControlKey3ModeDefault);

    // First record.
    std::string GetSiteName() const;
    void SetSiteName(const std::string& Text);
    std::string GetServicePhoneNo() const;
    void SetServicePhoneNo(const std::string& Text);
    int GetDateFormat() const;
    void SetDateFormat(int Value);
    int GetExtendDelay() const;
    void SetExtendDelay(int Value);
    bool GetBlinking() const;
    void SetBlinking(bool Value);
    bool GetPulseRatio() const;
    void SetPulseRatio(int Value);
    bool GetControlKeys() const;
    void SetControlKeys(bool Value);
    int GetRS485QtyRepeaters() const;
    void SetRS485QtyRepeaters(int Value);
    int GetDayModeStartTime() const;
    void SetDayModeStartTime(int Minutes);
    std::string GetDayModeStartTimeText(char Separator) const;
    void SetDayModeStartTimeText(const std::string& Text);
    int GetDayModeEndTime() const;
    void SetDayModeEndTime(int Minutes);
    std::string GetDayModeEndTimeText(char Separator) const;
    void SetDayModeEndTimeText(const std::string& Text);
    bool GetWeekendNightMode() const;
    void SetWeekendNightMode(bool Value);
    // Automatic test: bits 0 to 14 the time in minutes, bit 15 set = disabled.
    int GetHightestWord() const;
    void SetHightestWord(int Value);
    bool GetHightestEnable() const;
    void SetHightestEnable(bool Enable);
    std::string GetHightestTimeText(char Separator) const;
    void SetHightestTimeText(const std::string& Text);
    int GetRS485Protocol() const;
    void SetRS485Protocol(int Value);
    int GetPrimaryDelay() const;
    void SetPrimaryDelay(int Value);

    // Second record.
    bool GetRS485ThirdPartyDatalinkMonitoring() const;
    void SetRS485ThirdPartyDatalinkMonitoring(bool Value);
    int GetRS485ThirdPartySuspendCommsLimit() const;
    void SetRS485ThirdPartySuspendCommsLimit(int Value);
    // Stored inverted: byte 0 means on.
    bool GetDigitalInput1() const;
    void SetDigitalInput1(bool Value);
    bool GetTransmissionDevice() const;
    void SetTransmissionDevice(bool Value);
    bool GetFWPInput4Disable() const;
    void SetFWPInput4Disable(bool Value);
    int GetRS232Protocol() const;
    void SetRS232Protocol(int Value);
    bool GetEventPrinting() const;
    void SetEventPrinting(bool Value);
    bool GetPrintFormat() const;
    void SetPrintFormat(bool Value);
    // Reads clamped to 10 to 180; the stored word is left as it is.
    int GetExtSystemDelay() const;
    void SetExtSystemDelay(int Value);
    int GetRS232Options() const;
    void SetRS232Options(int Value);
    int GetExtSystemSoakTime() const;
    void SetExtSystemSoakTime(int Value);
    int GetHoldSwitchOperation() const;
    void SetHoldSwitchOperation(int Value);
    int GetFWP2OutputActivation() const;
    void SetFWP2OutputActivation(int Value);
    bool GetRS232ThirdPartyDatalinkMonitoring() const;
    void SetRS232ThirdPartyDatalinkMonitoring(bool Value);
    int GetRS232ThirdPartySuspendCommsLimit() const;
    void SetRS232ThirdPartySuspendCommsLimit(int Value);
    int GetLED1HMode() const;
    void SetLED1HMode(int Value);
    int GetLED2CMode() const;
    void SetLED2CMode(int Value);
    int GetControlKey3Mode() const;
    void SetControlKey3Mode(int Value);
    bool GetHeatDetectorsEndDelays() const;
    void SetHeatDetectorsEndDelays(bool Value);
    int GetDelaysActiveIndication() const;
    void SetDelaysActiveIndication(int Value);
    int GetUnmuteOption() const;
    void SetUnmuteOption(int Value);
    int GetDayModeNewAlarmOption() const;
    void SetDayModeNewAlarmOption(int Value);
    bool GetDayModeStartOption() const;
    void SetDayModeStartOption(bool Value);
    bool GetFireOutputActiveLEDOption() const;
    void SetFireOutputActiveLEDOption(bool Value);
    int GetFiremansWorkPanelOption() const;
    void SetFiremansWorkPanelOption(int Value);
    int GetRoutingAutoDisable() const;
    void SetRoutingAutoDisable(int Value);
    int GetAutoResoundMode() const;
    void SetAutoResoundMode(int Value);
    int GetSuppressDoubleAddress() const;
    void SetSuppressDoubleAddress(int Value);
    // Packed date: day in bits 1-5, month in bits 6-9, year - 2000 in bits 10-15; 0 = none.
    int GetServiceDueWord() const;
    void SetServiceDueWord(int Value);
    // A null QDate when the word is 0 or holds no valid date.
    QDate GetServiceDueDate() const;
    // An invalid date stores 0 (no service due date).
    void SetServiceDueDate(const QDate& Date);
    bool GetMaxHeadLEDs() const;
    void SetMaxHeadLEDs(bool Value);
    bool GetLampTest() const;
    void SetLampTest(bool Value);
    bool GetTorqSwitch() const;
    void SetTorqSwitch(bool Value);
    bool GetSensorsBlinkColour() const;
    void SetSensorsBlinkColour(bool Value);
    bool GetModulesBlinkColour() const;
    void SetModulesBlinkColour(bool Value);
    // Packed into bytes 56 to 59 of the second record.
    int GetDayModeSensitivityStartTime() const;
    void SetDayModeSensitivityStartTime(int Minutes);
    std::string GetDayModeSensitivityStartTimeText(char Separator) const;
    void SetDayModeSensitivityStartTimeText(const std::string& Text);
    int GetDayModeSensitivityEndTime() const;
    void SetDayModeSensitivityEndTime(int Minutes);
    std::string GetDayModeSensitivityEndTimeText(char Separator) const;
    void SetDayModeSensitivityEndTimeText(const std::string& Text);
    bool GetWeekendSensitivityNightMode() const;
    void SetWeekendSensitivityNightMode(bool Value);
    int GetMainsDelay() const;
    void SetMainsDelay(int Value);

    bool IsModified() const;
    void ClearModified();
    // Before version 107 the file holds one setup record followed by a record
    // shared with the on-board outputs; the position is left at that shared record.
    void ReadFromFile(platform::File& File, int Version);
    void WriteToFile(platform::File& File) const;
    // Record by record: the target becomes modified only where it differed.
    void CopyTo(TPX10ConfigGeneralPanelSetup& Target) const;

    TPX10ConfigRecord* GetFirstRecord() { return &First; }
    const TPX10ConfigRecord* GetFirstRecord() const { return &First; }
    TPX10ConfigRecord* GetSecondRecord() { return &Second; }
    const TPX10ConfigRecord* GetSecondRecord() const { return &Second; }

private:
    struct Blank { };
    explicit TPX10ConfigGeneralPanelSetup(Blank) { }
    static const TPX10ConfigGeneralPanelSetup& Defaults();

    unsigned int GetPacked() const;
    void SetPacked(unsigned int Value);

    TPX10ConfigRecord First;
    TPX10ConfigRecord Second;
};

// Minutes as "hh<Separator>mm".
std::string MinutesToTimeText(int Minutes, char Separator);
// "hh?mm": blanks read as 0, hours capped at 23 and minutes at 59. Raises
// EConvertError for a text that is too short or not a number.
int TimeTextToMinutes(const std::string& Text);
