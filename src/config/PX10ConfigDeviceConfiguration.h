#pragma once
// The 99 loop addresses of one device kind (sensors or modules); every accessor
// takes the loop address 1 to 99 first.
#include <string>

#include "PX10ConfigRecordBlock.h"

class TPX10ConfigDeviceConfiguration {
public:
    static constexpr int AddressCount = 99;

    TPX10ConfigDeviceConfiguration();

    std::string GetDescription(int Address) const;
    void SetDescription(int Address, const std::string& Text);
    int GetZone(int Address) const;
    void SetZone(int Address, int Zone);
    // 0 = no device at this address.
    int GetType(int Address) const;
    void SetType(int Address, int Type);
    // The one rule of files older than version 105; outside 1 to 64 reads as 1.
    int GetSingleCBERule(int Address) const;
    void SetSingleCBERule(int Address, int Rule);
    int GetFireSensitivity(int Address) const;
    void SetFireSensitivity(int Address, int Value);
    int GetDayModeSensitivity(int Address) const;
    void SetDayModeSensitivity(int Address, int Value);
    int GetPrealarmSensitivity(int Address) const;
    void SetPrealarmSensitivity(int Address, int Value);
    int GetDayModePrealarmSensitivity(int Address) const;
    void SetDayModePrealarmSensitivity(int Address, int Value);
    int GetGroup(int Address) const;
    void SetGroup(int Address, int Group);
    // Above 10 reads as 0.
    int GetAction(int Address) const;
    void SetAction(int Address, int Action);
    int GetBaseCBERule(int Address) const;
    void SetBaseCBERule(int Address, int Rule);
    // Only types 3, 4, 5, 6, 9 and 13 to 18 have a loop-powered output.
    bool TypeSupportsLoopPoweredOutput(int Address) const;
    bool GetLoopPoweredOutput(int Address) const;
    void SetLoopPoweredOutput(int Address, bool On);
    // 0 = a BRIM device.
    int GetTorqType(int Address) const;
    void SetTorqType(int Address, int Type);
    int GetApplicationNumber(int Address) const;
    void SetApplicationNumber(int Address, int Value);
    int GetRemoteOutput(int Address) const;
    void SetRemoteOutput(int Address, int Value);
    int GetChannel(int Address) const;
    void SetChannel(int Address, int Channel);

    // Resets everything but the action, application number, remote output and
    // the mask bits of rules 2 to 64.
    void ResetDevice(int Address);

    // Rule mask over rules 1 to 64; other rule numbers are ignored.
    bool IsInCBERule(int Address, int Rule) const;
    void SetInCBERule(int Address, int Rule, bool In);
    int GetRuleMaskByte(int Address, int Index) const;
    void SetRuleMaskByte(int Address, int Index, int Value);
    void GetRuleMask(int Address, unsigned char* Mask) const;
    void SetRuleMask(int Address, const unsigned char* Mask);

    // "(B) list" or "(+B) list" over the rules B to B + 23. An empty list puts
    // rule 1 back into the mask unless the type is 3 or 14.
    std::string GetCBERuleListText(int Address);
    // The same text as stored, without putting rule 1 back: for showing and
    // printing, which must not change the configuration.
    std::string GetShownCBERuleListText(int Address) const;
    void SetCBERuleListText(int Address, const std::string& Text);

    void CopyDeviceTo(int Address, TPX10ConfigRecord* Target) const;
    void CopyDeviceFrom(int Address, const TPX10ConfigRecord* Source);

    int CountBrimDevices() const;
    int CountTorqDevices() const;

    bool IsModified() const;
    void ClearModified();
    // Files before version 105 hold a single rule per device, converted here.
    void ReadFromFile(platform::File& File, int Version);
    void WriteToFile(platform::File& File) const;
    // Record by record: the target becomes modified only where it differed.
    void CopyTo(TPX10ConfigDeviceConfiguration& Target) const;

    TPX10ConfigRecord* GetRecord(int Address) { return Records.At(Address - 1); }
    const TPX10ConfigRecord* GetRecord(int Address) const { return Records.At(Address - 1); }

private:
    using RecordBlock = TPX10ConfigRecordBlock<AddressCount>;
    struct Blank { };
    explicit TPX10ConfigDeviceConfiguration(Blank) { }
    static const RecordBlock::Records& Defaults();
    // "(B) " or "(+B) ", and the rules of the window B to B + 23.
    std::string RuleListBracket(int Address) const;
    std::string ListedRules(int Address) const;

    RecordBlock Records;
};
