#pragma once
// The file header record: title, format version and panel type.
#include <string>

#include "PX10ConfigRecord.h"

class TPX10ConfigFileHeader {
public:
    static constexpr int CurrentVersion = 109;
    static constexpr const char* FileTitle = "PX10 Panel Configuration File";

    TPX10ConfigFileHeader();

    std::string GetTitle() const;
    bool HasFileTitle() const;
    void SetTitle(const std::string& Title);
    // Byte 42 * 100 + byte 43.
    int GetVersion() const;
    void SetVersion(int Version);
    // Index into the panel type list.
    int GetPanelType() const;
    void SetPanelType(int PanelType);

    bool IsModified() const;
    void ClearModified();
    void ReadFromFile(platform::File& File);
    void WriteToFile(platform::File& File) const;
    // Record by record: the target becomes modified only where it differed.
    void CopyTo(TPX10ConfigFileHeader& Target) const;

    TPX10ConfigRecord* GetRecord() { return &Record; }
    const TPX10ConfigRecord* GetRecord() const { return &Record; }

private:
    struct Blank { };
    explicit TPX10ConfigFileHeader(Blank) { }
    static const TPX10ConfigRecord& Defaults();

    TPX10ConfigRecord Record;
};
