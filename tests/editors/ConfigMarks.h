#pragma once
// Clears every record's modified mark, as a save does, so a test can tell
// whether what follows wrote anything.
#include "PX10ConfigData.h"

inline void ClearMarks(TPX10ConfigData& c)
{
    c.ForEachPart([](auto& Part) { Part.ClearModified(); });
}
