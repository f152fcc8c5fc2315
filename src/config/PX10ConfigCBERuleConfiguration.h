#pragma once
// The 64 cause-and-effect rules; every accessor takes the rule number 1 to 64 first.

#include "PX10ConfigRecordBlock.h"

class TPX10ConfigCBERuleConfiguration {
public:
    static constexpr int RuleCount = 64;
    // Files before version 104 hold only the first rules.
    static constexpr int OldFileRuleCount = 32;
    // Bits of the flags byte.
    enum {
        EvacuateBit = 0,
        SilenceBit = 1,
        InterruptableBit = 2,
        ClassChangeBit = 3,
        TwoZoneBit = 4,
        EnableSoakTimerBit = 5
    };

    explicit TPX10ConfigCBERuleConfiguration(bool VdSDefaults);

    int GetRuleType(int Rule) const;
    void SetRuleType(int Rule, int Type);
    int GetFlagsByte(int Rule) const;
    void SetFlagsByte(int Rule, int Value);
    bool GetFlag(int Rule, int Bit) const;
    void SetFlag(int Rule, int Bit, bool On);
    bool GetEvacuate(int Rule) const;
    void SetEvacuate(int Rule, bool On);
    bool GetSilence(int Rule) const;
    void SetSilence(int Rule, bool On);
    bool GetInterruptable(int Rule) const;
    void SetInterruptable(int Rule, bool On);
    bool GetClassChange(int Rule) const;
    void SetClassChange(int Rule, bool On);
    bool GetTwoZone(int Rule) const;
    void SetTwoZone(int Rule, bool On);
    bool GetEnableSoakTimer(int Rule) const;
    void SetEnableSoakTimer(int Rule, bool On);
    // Input device k = 1 to 3: kind 0 not used, 1 sensor, 2 module.
    int GetDeviceKind(int Rule, int k) const;
    void SetDeviceKind(int Rule, int k, int Kind);
    int GetDeviceAddress(int Rule, int k) const;
    void SetDeviceAddress(int Rule, int k, int Address);
    // Zone slot 1 to 16.
    int GetZoneCondition(int Rule, int Zone) const;
    void SetZoneCondition(int Rule, int Zone, int Condition);
    int GetFilterType(int Rule) const;
    void SetFilterType(int Rule, int Type);

    bool IsModified() const;
    void ClearModified();
    // Files before version 104 hold rules 1 to 32 only.
    void ReadFromFile(platform::File& File, int Version);
    void WriteToFile(platform::File& File) const;
    // Record by record: the target becomes modified only where it differed.
    void CopyTo(TPX10ConfigCBERuleConfiguration& Target) const;

    TPX10ConfigRecord* GetRecord(int Rule) { return Records.At(Rule - 1); }
    const TPX10ConfigRecord* GetRecord(int Rule) const { return Records.At(Rule - 1); }

private:
    using RecordBlock = TPX10ConfigRecordBlock<RuleCount>;
    struct Blank { };
    explicit TPX10ConfigCBERuleConfiguration(Blank) { }
    static const RecordBlock::Records& Defaults(bool VdSDefaults);
    void SetDefaults(bool VdSDefaults);

    RecordBlock Records;
};
