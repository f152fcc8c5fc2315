#include "PX10ConfigFileHeader.h"

namespace {
constexpr int TitleOffset = 1;
constexpr int TitleMaxLength = 40;
constexpr int VersionHighOffset = 42;
constexpr int VersionLowOffset = 43;
constexpr int PanelTypeOffset = 44;
}

TPX10ConfigFileHeader::TPX10ConfigFileHeader()
    : Record(std::make_unique<TPX10ConfigRecord>())
{
    // The first header built sets its defaults one by one; every later one copies them.
    static const TPX10ConfigRecord defaults = [this] {
        Record->SetRecordId(0);
        SetTitle(FileTitle);
        SetVersion(CurrentVersion);
        SetPanelType(3);
        Record->ClearModified();
        return *Record;
    }();
    *Record = defaults;
}

std::string TPX10ConfigFileHeader::GetTitle() const
{
    return Record->GetText(TitleOffset);
}

void TPX10ConfigFileHeader::SetTitle(const std::string& Title)
{
    Record->SetText(TitleOffset, TitleMaxLength, Title);
}

int TPX10ConfigFileHeader::GetVersion() const
{
    return Record->GetByte(VersionHighOffset) * 100 + Record->GetByte(VersionLowOffset);
}

void TPX10ConfigFileHeader::SetVersion(int Version)
{
    Record->SetByte(VersionHighOffset, static_cast<unsigned char>(Version / 100));
    Record->SetByte(VersionLowOffset, static_cast<unsigned char>(Version % 100));
}

int TPX10ConfigFileHeader::GetPanelType() const
{
    return Record->GetByte(PanelTypeOffset);
}

void TPX10ConfigFileHeader::SetPanelType(int PanelType)
{
    Record->SetByte(PanelTypeOffset, static_cast<unsigned char>(PanelType));
}

bool TPX10ConfigFileHeader::IsModified() const
{
    return Record->IsModified();
}
void TPX10ConfigFileHeader::ClearModified()
{
    Record->ClearModified();
}
void TPX10ConfigFileHeader::ReadFromFile(platform::File& File)
{
    Record->ReadFromFile(File);
}
void TPX10ConfigFileHeader::WriteToFile(platform::File& File) const
{
    Record->WriteToFile(File);
}
