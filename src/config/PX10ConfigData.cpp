#include "PX10ConfigData.h"

#include <algorithm>

#include "Exception.h"

TPX10ConfigData* ConfigData = nullptr;

TPX10ConfigData::TPX10ConfigData(
    bool VdSDefaults, bool LED2CModeDefault, bool TorqSwitchDefault, bool ControlKey3ModeDefault)
    : GeneralPanelSetup(VdSDefaults, LED2CModeDefault, TorqSwitchDefault, ControlKey3ModeDefault)
    , OnboardOutputCircuits(VdSDefaults)
    , CBERules(VdSDefaults)
{
}

bool TPX10ConfigData::IsModified() const
{
    return FileHeader->IsModified() || GeneralPanelSetup->IsModified() || OnboardOutputCircuits->IsModified()
        || Sensors->IsModified() || Modules->IsModified() || CBERules->IsModified() || ZoneTexts->IsModified()
        || GsmItems->IsModified();
}

void TPX10ConfigData::ClearModified()
{
    FileHeader->ClearModified();
    GeneralPanelSetup->ClearModified();
    OnboardOutputCircuits->ClearModified();
    Sensors->ClearModified();
    Modules->ClearModified();
    CBERules->ClearModified();
    ZoneTexts->ClearModified();
    GsmItems->ClearModified();
}

std::uint64_t TPX10ConfigData::FileSizeOfVersion(int Version)
{
    int records = RecordCount;
    if (Version < 108)
        records -= TPX10ConfigGsmItems::ItemCount;
    if (Version < 107)
        --records; // the second general setup record shares one with the outputs
    if (Version < 104)
        records
            -= TPX10ConfigCBERuleConfiguration::RuleCount - TPX10ConfigCBERuleConfiguration::OldFileRuleCount;
    return static_cast<std::uint64_t>(records) * TPX10ConfigRecord::DataSize;
}

platform::File TPX10ConfigData::OpenFile(const std::string& FileName, bool Write)
{
    try {
        return platform::File::Open(
            FileName, Write ? platform::File::Mode::Write : platform::File::Mode::Read);
    } catch (const platform::FileError& e) {
        TPX10ConfigRecord::RaiseFileError(e);
    }
}

void TPX10ConfigData::LoadFromFile(const std::string& FileName)
{
    platform::File file = OpenFile(FileName, false);
    Load(file);
}

void TPX10ConfigData::LoadFromMemory(const void* Data, std::size_t Size)
{
    platform::File file = platform::File::FromMemory(Data, Size);
    Load(file);
}

void TPX10ConfigData::Load(platform::File& file)
{
    FileHeader->ReadFromFile(file);
    const int version = FileHeader->GetVersion();
    if (!FileHeader->HasFileTitle() || version > TPX10ConfigFileHeader::CurrentVersion)
        throw Exception("Configuration file cannot be used with this \r\nversion of the PX1x/2x "
                        "Series Windows Support Tool.");
    // Each version holds a fixed number of records and nothing after them: a
    // damaged version byte or appended bytes must not pass for a good file.
    if (file.SizeAtOpen() != FileSizeOfVersion(version))
        TPX10ConfigRecord::RaiseInvalidFileType();
    GeneralPanelSetup->ReadFromFile(file, version);
    OnboardOutputCircuits->ReadFromFile(file, version);
    Sensors->ReadFromFile(file, version);
    Modules->ReadFromFile(file, version);
    CBERules->ReadFromFile(file, version);
    ZoneTexts->ReadFromFile(file);
    GsmItems->ReadFromFile(file, version);
    file.Close();

    const int panelType = FileHeader->GetPanelType();
    if (panelType < 2 || panelType > 6) {
        GeneralPanelSetup->SetRS485Protocol(1);
        GeneralPanelSetup->ClearModified();
    }
    FileHeader->SetVersion(TPX10ConfigFileHeader::CurrentVersion);
}

void TPX10ConfigData::SaveToFile(const std::string& FileName)
{
    try {
        platform::AtomicFileWriter writer(FileName);
        platform::File& file = writer.Stream();
        FileHeader->WriteToFile(file);
        GeneralPanelSetup->WriteToFile(file);
        OnboardOutputCircuits->WriteToFile(file);
        Sensors->WriteToFile(file);
        Modules->WriteToFile(file);
        CBERules->WriteToFile(file);
        ZoneTexts->WriteToFile(file);
        GsmItems->WriteToFile(file);
        writer.Commit();
    } catch (const platform::FileError& e) {
        TPX10ConfigRecord::RaiseFileError(e);
    }
    ClearModified();
}
