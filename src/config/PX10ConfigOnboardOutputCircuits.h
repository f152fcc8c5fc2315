#pragma once
// The six on-board output circuits (n = 1 to 6), each with a type and a
// 24-rule window from its base rule B.
#include <string>

#include "PX10ConfigRecord.h"

class TPX10ConfigOnboardOutputCircuits {
public:
    static constexpr int CircuitCount = 6;

    explicit TPX10ConfigOnboardOutputCircuits(bool VdSDefaults);

    int GetCircuitType(int n) const;
    void SetCircuitType(int n, int Type);
    int GetCircuitBaseRule(int n) const;
    // Moves the window and keeps the listed rules that still fall into it.
    void SetCircuitBaseRule(int n, int Rule);
    int GetEOLMode() const;
    void SetEOLMode(int Mode);

    // Rules outside B to B + 23 are never in the circuit and cannot be set.
    bool IsCircuitInCBERule(int n, int Rule) const;
    void SetCircuitInCBERule(int n, int Rule, bool In);
    static int RuleMaskOffset(int n) { return (n - 1) * 3 + 38; }
    int GetCircuitRuleMaskByte(int n, int i) const;
    void SetCircuitRuleMaskByte(int n, int i, int Value);
    void GetCircuitRuleMask(int n, unsigned char* Mask) const;
    void SetCircuitRuleMask(int n, const unsigned char* Mask);
    // "(B) list", for example "(3) 3-5,9".
    std::string GetCircuitRuleListText(int n) const;
    void SetCircuitRuleListText(int n, const std::string& Text);

    bool IsModified() const;
    void ClearModified();
    // Before version 107 the record is shared with the general setup; before
    // 106 each circuit held a single rule, converted here.
    void ReadFromFile(platform::File& File, int Version);
    void WriteToFile(platform::File& File) const;
    // Record by record: the target becomes modified only where it differed.
    void CopyTo(TPX10ConfigOnboardOutputCircuits& Target) const;

    TPX10ConfigRecord* GetRecord() { return &Record; }
    const TPX10ConfigRecord* GetRecord() const { return &Record; }

private:
    struct Blank { };
    explicit TPX10ConfigOnboardOutputCircuits(Blank) { }
    static const TPX10ConfigRecord& Defaults(bool VdSDefaults);
    static TPX10ConfigRecord BuildDefaults(bool VdSDefaults);

    TPX10ConfigRecord Record;
};
