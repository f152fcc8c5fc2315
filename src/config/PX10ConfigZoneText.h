#pragma once
// The texts of zones 1 to 32.
#include <string>

#include "PX10ConfigRecordBlock.h"

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
    // Record by record: the target becomes modified only where it differed.
    void CopyTo(TPX10ConfigZoneText& Target) const;

    TPX10ConfigRecord* GetRecord(int Zone) { return Records.At(Zone - 1); }
    const TPX10ConfigRecord* GetRecord(int Zone) const { return Records.At(Zone - 1); }

private:
    using RecordBlock = TPX10ConfigRecordBlock<ZoneCount>;
    struct Blank { };
    explicit TPX10ConfigZoneText(Blank) { }
    static const RecordBlock::Records& Defaults();

    RecordBlock Records;
};
