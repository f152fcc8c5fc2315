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
    bool modified = false;
    ForEachPart([&](const auto& Part) { modified = modified || Part.IsModified(); });
    return modified;
}

void TPX10ConfigData::ClearModified()
{
    ForEachPart([](auto& Part) { Part.ClearModified(); });
}

void TPX10ConfigData::CopyTo(TPX10ConfigData& Target) const
{
    ForEachPart(*this, Target, [](const auto& From, auto& To) { From.CopyTo(To); });
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
    int version = 0;
    ForEachPart([&](auto& Part) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(Part)>, TPX10ConfigFileHeader>) {
            // The header comes first and says how the rest of the file is laid out.
            Part.ReadFromFile(file);
            version = Part.GetVersion();
            if (!Part.HasFileTitle() || version > TPX10ConfigFileHeader::CurrentVersion)
                throw Exception("Configuration file cannot be used with this \r\nversion of the PX1x/2x "
                                "Series Windows Support Tool.");
            // Each version holds a fixed number of records and nothing after them: a
            // damaged version byte or appended bytes must not pass for a good file.
            if (file.SizeAtOpen() != FileSizeOfVersion(version))
                TPX10ConfigRecord::RaiseInvalidFileType();
        } else if constexpr (requires { Part.ReadFromFile(file, version); }) {
            Part.ReadFromFile(file, version);
        } else {
            Part.ReadFromFile(file);
        }
    });
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
        ForEachPart([&](const auto& Part) { Part.WriteToFile(file); });
        writer.Commit();
    } catch (const platform::FileError& e) {
        TPX10ConfigRecord::RaiseFileError(e);
    }
    ClearModified();
}
