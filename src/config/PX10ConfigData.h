#pragma once
// One complete panel configuration: eight parts of 60-byte records, in file order.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "File.h"
#include "PX10ConfigCBERuleConfiguration.h"
#include "PX10ConfigDeviceConfiguration.h"
#include "PX10ConfigFileHeader.h"
#include "PX10ConfigGeneralPanelSetup.h"
#include "PX10ConfigGsmItems.h"
#include "PX10ConfigOnboardOutputCircuits.h"
#include "PX10ConfigRecord.h"
#include "PX10ConfigZoneText.h"

// A part held inside its configuration (one block with the others, no
// allocation of its own) and reached as a pointer to it. A const
// configuration hands out its parts as const only, so whatever is given one
// to show, print or compare cannot change it.
template <class Part> class TConfigPart {
public:
    template <class... Args>
    explicit TConfigPart(Args&&... args)
        : Value(std::forward<Args>(args)...)
    {
    }
    Part* operator->() { return &Value; }
    const Part* operator->() const { return &Value; }
    Part& operator*() { return Value; }
    const Part& operator*() const { return Value; }
    Part* get() { return &Value; }
    const Part* get() const { return &Value; }

private:
    Part Value;
};

class TPX10ConfigData {
public:
    static constexpr int RecordCount = 303;
    static constexpr int FileSize = RecordCount * TPX10ConfigRecord::DataSize;

    TPX10ConfigData(
        bool VdSDefaults, bool LED2CModeDefault, bool TorqSwitchDefault, bool ControlKey3ModeDefault);
    TPX10ConfigData(const TPX10ConfigData&) = delete;
    TPX10ConfigData& operator=(const TPX10ConfigData&) = delete;

    // Reads a file of the current or an older version into this configuration,
    // which holds its defaults. Raises Exception with the file error, "Invalid
    // file type." or the version message.
    void LoadFromFile(const std::string& FileName);
    // The same for a file's bytes held in memory, read by the same readers.
    void LoadFromMemory(const void* Data, std::size_t Size);
    // Writes the current version crash-safely and marks every record clean;
    // on failure the previous file and the modified marks stay as they were.
    void SaveToFile(const std::string& FileName);
    // The size of a file of that version: 303 records down to 265 for the oldest.
    static std::uint64_t FileSizeOfVersion(int Version);
    // Opens for reading (an existing file) or writing (created anew).
    static platform::File OpenFile(const std::string& FileName, bool Write);

    bool IsModified() const;

    TConfigPart<TPX10ConfigFileHeader> FileHeader;
    TConfigPart<TPX10ConfigGeneralPanelSetup> GeneralPanelSetup;
    TConfigPart<TPX10ConfigOnboardOutputCircuits> OnboardOutputCircuits;
    TConfigPart<TPX10ConfigDeviceConfiguration> Sensors;
    TConfigPart<TPX10ConfigDeviceConfiguration> Modules;
    TConfigPart<TPX10ConfigCBERuleConfiguration> CBERules;
    TConfigPart<TPX10ConfigZoneText> ZoneTexts;
    TConfigPart<TPX10ConfigGsmItems> GsmItems;

private:
    void Load(platform::File& File);
    void ClearModified();
};

// The current configuration; null until the main window sets it.
extern TPX10ConfigData* ConfigData;
