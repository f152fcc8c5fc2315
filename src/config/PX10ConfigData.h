#pragma once
// One complete panel configuration: eight parts of 60-byte records, in file order.
#include <cstddef>
#include <memory>
#include <string>

#include "File.h"
#include "PX10ConfigCBERuleConfiguration.h"
#include "PX10ConfigDeviceConfiguration.h"
#include "PX10ConfigFileHeader.h"
#include "PX10ConfigGeneralPanelSetup.h"
#include "PX10ConfigGsmItems.h"
#include "PX10ConfigOnboardOutputCircuits.h"
#include "PX10ConfigRecord.h"
#include "PX10ConfigZoneText.h"

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
    // Opens for reading (an existing file) or writing (created anew).
    static platform::File OpenFile(const std::string& FileName, bool Write);

    bool IsModified() const;

    std::unique_ptr<TPX10ConfigFileHeader> FileHeader;
    std::unique_ptr<TPX10ConfigGeneralPanelSetup> GeneralPanelSetup;
    std::unique_ptr<TPX10ConfigOnboardOutputCircuits> OnboardOutputCircuits;
    std::unique_ptr<TPX10ConfigDeviceConfiguration> Sensors;
    std::unique_ptr<TPX10ConfigDeviceConfiguration> Modules;
    std::unique_ptr<TPX10ConfigCBERuleConfiguration> CBERules;
    std::unique_ptr<TPX10ConfigZoneText> ZoneTexts;
    std::unique_ptr<TPX10ConfigGsmItems> GsmItems;

private:
    void Load(platform::File& File);
    void ClearModified();
};

// The current configuration; null until the main window sets it.
extern TPX10ConfigData* ConfigData;
