#include "PX10ConfigFileHeader.h"

namespace {
constexpr int TitleOffset = 1;
constexpr int TitleMaxLength = 40;
constexpr int VersionHighOffset = 42;
constexpr int VersionLowOffset = 43;
constexpr int PanelTypeOffset = 44;
}

TPX10ConfigFileHeader::TPX10ConfigFileHeader()
    : Record(Defaults())
{
}

// Set one by one through the setters once; every header built copies them.
const TPX10ConfigRecord& TPX10ConfigFileHeader::Defaults()
{
    static const TPX10ConfigRecord defaults = [] {
        TPX10ConfigFileHeader blank { Blank {} };
        blank.Record.SetRecordId(0);
        blank.SetTitle(FileTitle);
        blank.SetVersion(CurrentVersion);
        blank.SetPanelType(3);
        blank.Record.ClearModified();
        return blank.Record;
    }();
    return defaults;
}

std::string TPX10ConfigFileHeader::GetTitle() const
{
    return Record.GetText(TitleOffset);
}

void TPX10ConfigFileHeader::SetTitle(const std::string& Title)
{
    Record.SetText(TitleOffset, TitleMaxLength, Title);
}

bool TPX10ConfigFileHeader::HasFileTitle() const
{
    return Record.TextView(TitleOffset) == FileTitle;
}

int TPX10ConfigFileHeader::GetVersion() const
{
    return Record.GetByte(VersionHighOffset) * 100 + Record.GetByte(VersionLowOffset);
}

void TPX10ConfigFileHeader::SetVersion(int Version)
{
    Record.SetByte(VersionHighOffset, static_cast<unsigned char>(Version / 100));
    Record.SetByte(VersionLowOffset, static_cast<unsigned char>(Version % 100));
}

int TPX10ConfigFileHeader::GetPanelType() const
{
    return Record.GetByte(PanelTypeOffset);
}

void TPX10ConfigFileHeader::SetPanelType(int PanelType)
{
    Record.SetByte(PanelTypeOffset, static_cast<unsigned char>(PanelType));
}

bool TPX10ConfigFileHeader::IsModified() const
{
    return Record.IsModified();
}
void TPX10ConfigFileHeader::ClearModified()
{
    Record.ClearModified();
}
void TPX10ConfigFileHeader::ReadFromFile(platform::File& File)
{
    Record.ReadFromFile(File);
}
void TPX10ConfigFileHeader::WriteToFile(platform::File& File) const
{
    Record.WriteToFile(File);
}

void TPX10ConfigFileHeader::CopyTo(TPX10ConfigFileHeader& Target) const
{
    Record.CopyTo(&Target.Record);
}
