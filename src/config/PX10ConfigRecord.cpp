#include "PX10ConfigRecord.h"

#include "Exception.h"

std::string TPX10ConfigRecord::GetText(int Offset) const
{
    int length = Data[Offset];
    if (length >= DataSize)
        return {};
    // A length that would run past the record is cut at its end.
    int last = Offset + length;
    if (last > DataSize - 1)
        last = DataSize - 1;
    std::string text;
    for (int i = Offset + 1; i <= last; ++i) {
        if (Data[i] == 0)
            break;
        text.push_back(static_cast<char>(Data[i]));
    }
    return text;
}

void TPX10ConfigRecord::SetText(int Offset, int MaxLength, const std::string& Text)
{
    int length = static_cast<int>(Text.size()) < MaxLength ? static_cast<int>(Text.size()) : MaxLength;
    for (int i = 1; i <= length; ++i)
        SetByte(Offset + i, static_cast<unsigned char>(Text[i - 1]));
    SetByte(Offset, static_cast<unsigned char>(length));
}

void TPX10ConfigRecord::CopyTo(TPX10ConfigRecord* Target) const
{
    for (int i = 0; i < DataSize; ++i)
        Target->SetByte(i, Data[i]);
}

void TPX10ConfigRecord::ReadThrough(platform::File& File)
{
    std::size_t got;
    try {
        got = File.Read(Data, DataSize);
    } catch (const platform::FileError& e) {
        RaiseFileError(e);
    }
    if (got < static_cast<std::size_t>(DataSize))
        RaiseInvalidFileType();
}

void TPX10ConfigRecord::WriteToFile(platform::File& File) const
{
    try {
        File.Write(Data, DataSize);
    } catch (const platform::FileError& e) {
        RaiseFileError(e);
    }
}

void TPX10ConfigRecord::RaiseFileError(const platform::FileError& Error)
{
    if (Error.Text.empty())
        RaiseInvalidFileType();
    throw Exception(Error.Text);
}

void TPX10ConfigRecord::RaiseInvalidFileType()
{
    throw Exception("Invalid file type.");
}
