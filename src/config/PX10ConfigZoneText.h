#pragma once
// The texts of zones 1 to 32.
#include <array>
#include <string>

#include "PX10ConfigRecord.h"

class TPX10ConfigZoneText {
public:
    static constexpr int ZoneCount = 32;

    TPX10ConfigZoneText();

    std::string GetZoneText(int Zone) const;
    void SetZoneText(int Zone, const std::string& Text);

    bool IsModified() const;
    void ClearModified();
    void ReadFromFile(platform::File& File);
    void WriteToFile(platform::File& File) const;

    TPX10ConfigRecord* GetRecord(int Zone) const { return &Records.at(Zone - 1); }

private:
    using RecordBlock = std::array<TPX10ConfigRecord, ZoneCount>;
    struct Blank { };
    explicit TPX10ConfigZoneText(Blank) { }
    static const RecordBlock& Defaults();

    // One block, copied whole from defaults built once; records are handed out
    // for writing from const parts, as pointers to owned records were.
    mutable RecordBlock Records;
};
