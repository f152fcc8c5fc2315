#pragma once
// One complete panel configuration: eight parts of 60-byte records, in file order.
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
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
    // Record by record: the target becomes modified only where it differed.
    void CopyTo(TPX10ConfigData& Target) const;

    // Calls Visit with each part in file order; what is read, written, copied or
    // marked part by part goes through here, so a part is listed only once.
    template <class Visitor> void ForEachPart(Visitor&& Visit) { VisitParts(Visit, *this); }
    template <class Visitor> void ForEachPart(Visitor&& Visit) const { VisitParts(Visit, *this); }
    // The same part of both configurations at a time.
    template <class Visitor>
    static void ForEachPart(const TPX10ConfigData& From, TPX10ConfigData& To, Visitor&& Visit)
    {
        VisitParts(Visit, From, To);
    }

    TConfigPart<TPX10ConfigFileHeader> FileHeader;
    TConfigPart<TPX10ConfigGeneralPanelSetup> GeneralPanelSetup;
    TConfigPart<TPX10ConfigOnboardOutputCircuits> OnboardOutputCircuits;
    TConfigPart<TPX10ConfigDeviceConfiguration> Sensors;
    TConfigPart<TPX10ConfigDeviceConfiguration> Modules;
    TConfigPart<TPX10ConfigCBERuleConfiguration> CBERules;
    TConfigPart<TPX10ConfigZoneText> ZoneTexts;
    TConfigPart<TPX10ConfigGsmItems> GsmItems;

private:
    // The one list of the parts, in file order; a const configuration's parts
    // are visited as const.
    template <class Visitor, class... Configs> static void VisitParts(Visitor& Visit, Configs&... Config)
    {
        Visit(*Config.FileHeader...);
        Visit(*Config.GeneralPanelSetup...);
        Visit(*Config.OnboardOutputCircuits...);
        Visit(*Config.Sensors...);
        Visit(*Config.Modules...);
        Visit(*Config.CBERules...);
        Visit(*Config.ZoneTexts...);
        Visit(*Config.GsmItems...);
    }
    void Load(platform::File& File);
    void ClearModified();
};

// The current configuration; null until the main window sets it.
extern TPX10ConfigData* ConfigData;
