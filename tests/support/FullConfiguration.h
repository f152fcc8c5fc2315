#pragma once
// A configuration with every item in use: 99 sensors, 99 modules, 32 zone
// texts, 64 rules of every type, five GSM items. Reports and their
// benchmark print it.
#include "PX10ConfigData.h"

#include <memory>
#include <string>

inline std::unique_ptr<TPX10ConfigData> MakeFullConfiguration()
{
    auto c = std::make_unique<TPX10ConfigData>(false, false, true, false);
    for (int a = 1; a <= 99; ++a) {
        c->Sensors->SetType(a, 1 + a % 11);
        c->Sensors->SetZone(a, 1 + a % 16);
        c->Sensors->SetDescription(a, "Sensor " + std::to_string(a));
        c->Sensors->SetCBERuleListText(a, "(1) 1-3,7");
        c->Modules->SetType(a, 1 + a % 20);
        c->Modules->SetZone(a, 1 + a % 32);
        c->Modules->SetDescription(a, "Module " + std::to_string(a));
        c->Modules->SetCBERuleListText(a, "(2) 2,4-6");
    }
    for (int z = 1; z <= 32; ++z)
        c->ZoneTexts->SetZoneText(z, "Zone text " + std::to_string(z));
    for (int r = 1; r <= 64; ++r) {
        c->CBERules->SetRuleType(r, (r - 1) % 12);
        for (int slot = 1; slot <= 16; ++slot)
            c->CBERules->SetZoneCondition(r, slot, (r + slot) % 5);
    }
    for (int i = 1; i <= 5; ++i) {
        c->GsmItems->SetNumber(i, "0123456" + std::to_string(i));
        c->GsmItems->SetAlarm(i, true);
        c->GsmItems->SetSystemDisable(i, i % 2 == 0);
    }
    return c;
}
