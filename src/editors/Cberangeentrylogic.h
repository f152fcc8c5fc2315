#pragma once
// The CBE range entry's rules, without widgets: which rules drive one device
// (a sensor 1..99, a module 101..199 or an on-board output circuit
// 1001..1006), shown as a window of 24 rules from a base rule 1..41.
// Sensors and modules keep a mask over all 64 rules, so moving the window
// changes no membership; a circuit's mask is relative to its base, so moving
// its window re-bases the mask. Showing writes nothing: a stored base outside
// 1..41 shows clamped and is stored only when the user moves the window.
#include "ConfigPointer.h"

#include <string>

class TPX10ConfigData;

class TCBERangeEntryLogic {
public:
    static constexpr int Entries = 24;
    static constexpr int MinBase = 1;
    static constexpr int MaxBase = 41;

    enum class Kind { Sensor, Module, Circuit };
    static bool IsValidDeviceId(int deviceId);

    // `deviceId` must be valid; `config` is not owned.
    TCBERangeEntryLogic(TPX10ConfigData& config, int deviceId);

    Kind DeviceKind() const { return FKind; }
    int DeviceId() const { return FDeviceId; }
    // "CBE Range Entry - Sensor 7", translated.
    std::string Caption() const;

    // The base rule shown: the stored one, clamped to 1..41.
    int ShownBase() const { return FShownBase; }
    // A base chosen by the user (clamped to 1..41): stored, and for a circuit
    // its mask is moved to the new window.
    void SetBaseRule(int base);

    // Entry i (0..23) stands for rule ShownBase() + i: "12 - Fire".
    std::string EntryText(int i) const;
    bool IsTicked(int i) const;
    void SetTicked(int i, bool ticked);
    // The device's whole rule list, as the read-only edit shows it.
    std::string RuleListText() const;

    // Only modules whose type supports it show the loop-powered output.
    bool ShowsLoopPowered() const;
    bool LoopPowered() const;
    void SetLoopPowered(bool on);

    // The rule editor, opened on an entry, returned on rule `shownLast`: when
    // that rule lies in the window its entry is ticked and its index returned
    // (to be selected), else -1 and nothing changes.
    int RuleEditorClosedOn(int shownLast);

private:
    int Address() const;
    int StoredBase() const;
    bool IsMember(int rule) const;
    void SetMember(int rule, bool in);
    TConfigPointer<TPX10ConfigData> FConfig;
    int FDeviceId;
    Kind FKind;
    int FShownBase;
};
