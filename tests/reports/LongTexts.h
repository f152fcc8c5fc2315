#pragma once
// A configuration whose texts are as long as a user may make them: 20
// character descriptions and zone texts (some without a blank, some with
// accented letters), GSM items with every condition, rule lists of 12 rules,
// AUX modules with every action, every CBE rule type and filter. The report
// tests and the reports benchmark print it.
#include "PX10ConfigData.h"

#include <memory>
#include <string>

// Rules 1, 3, ..., 23 from base rule 1.
constexpr int LongRuleListCount = 12; // the most a window of 24 rules lists one by one
inline std::string LongRuleList()
{
    std::string s = "(1) ";
    for (int r = 1; r <= 2 * LongRuleListCount - 1; r += 2)
        s += std::to_string(r) + (r < 2 * LongRuleListCount - 1 ? "," : "");
    return s;
}

inline std::string LongText(int n)
{
    // Windows-1252 bytes, 20 characters each.
    static const char* const texts[] = { "Stairwell landing 12", "WWWWWWWWWWWWWWWWWWWW",
        "K\xFChlraum S\xFC"
        "d Ebene 3",
        "Plant room, boiler 7", "MMMMMMMMMM MMMMMMMMM" };
    return texts[n % 5];
}

inline std::unique_ptr<TPX10ConfigData> MakeLongTextConfiguration()
{
    auto c = std::make_unique<TPX10ConfigData>(false, false, true, false);
    auto& g = *c->GeneralPanelSetup;
    g.SetSiteName("Veltrane House, Wing");
    g.SetServicePhoneNo("00441234567890123456");
    for (int i = 1; i <= 5; ++i) {
        auto& gsm = *c->GsmItems;
        gsm.SetNumber(i, "0044123456789012345" + std::to_string(i));
        gsm.SetAlarm(i, true);
        gsm.SetFault(i, true);
        gsm.SetPrealarm(i, true);
        gsm.SetControls(i, true);
        gsm.SetGeneralDisable(i, true);
        gsm.SetZoneDisable(i, true);
        gsm.SetDeviceDisable(i, true);
        gsm.SetSystemDisable(i, true);
        gsm.SetQtyAlarm(i, 2);
        gsm.SetQtyFault(i, 2);
        gsm.SetQtyPreAlarm(i, 2);
    }
    for (int z = 1; z <= 32; ++z)
        c->ZoneTexts->SetZoneText(z, LongText(z));
    for (int a = 1; a <= 99; ++a) {
        auto& s = *c->Sensors;
        s.SetType(a, 1 + a % 11);
        s.SetZone(a, 1 + a % 32);
        s.SetDescription(a, LongText(a));
        s.SetRemoteOutput(a, a % 3 == 0 ? 2 : 1);
        auto& m = *c->Modules;
        m.SetType(a, a % 2 ? 2 : 1 + a % 20); // every other one an AUX module
        m.SetAction(a, (a / 2) % 11);
        m.SetZone(a, 1 + a % 32);
        m.SetDescription(a, LongText(a + 1));
        for (auto* devices : { &s, &m }) {
            devices->SetBaseCBERule(a, 1);
            for (int r = 1; r <= 2 * LongRuleListCount - 1; ++r)
                devices->SetInCBERule(a, r, r % 2 == 1);
        }
    }
    c->Modules->SetAction(1, 5); // ABORT SWITCH, with its rule list
    for (int o = 1; o <= 6; ++o) {
        c->OnboardOutputCircuits->SetCircuitBaseRule(o, 1);
        for (int r = 1; r <= 2 * LongRuleListCount - 1; r += 2)
            c->OnboardOutputCircuits->SetCircuitInCBERule(o, r, true);
    }
    for (int r = 1; r <= 64; ++r) {
        auto& rules = *c->CBERules;
        const int type = (r - 1) % 12;
        rules.SetRuleType(r, type);
        rules.SetFilterType(r, type == 8 ? (r / 12 + 2) % 7 : (r / 12) % 5);
        for (int k = 1; k <= 3; ++k) {
            rules.SetDeviceKind(r, k, 1 + (r + k) % 2);
            rules.SetDeviceAddress(r, k, 90 + k);
        }
        for (int slot = 1; slot <= 16; ++slot)
            rules.SetZoneCondition(r, slot, (r + slot) % 5);
    }
    return c;
}
