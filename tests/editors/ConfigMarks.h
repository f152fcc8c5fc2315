#pragma once
// Clears every record's modified mark, as a save does, so a test can tell
// whether what follows wrote anything.
#include "PX10ConfigData.h"

inline void ClearMarks(TPX10ConfigData& c)
{
    c.FileHeader->ClearModified();
    c.GeneralPanelSetup->ClearModified();
    c.OnboardOutputCircuits->ClearModified();
    c.Sensors->ClearModified();
    c.Modules->ClearModified();
    c.CBERules->ClearModified();
    c.ZoneTexts->ClearModified();
    c.GsmItems->ClearModified();
}
