#include "PX10ConfigRecord.h"

#include <cstring>

#include "Exception.h"

std::string_view TPX10ConfigRecord::TextView(int Offset) const
{
    int length = Data[Offset];
    if (length >= DataSize)
        return {};
    // A length that would run past the record is cut at its end.
    int last = Offset + length;
    if (last > DataSize - 1)
        last = DataSize - 1;
    const char* first = reinterpret_cast<const char*>(Data + Offset + 1);
    int size = 0;
    while (Offset + 1 + size <= last && first[size] != 0)
        ++size;
    return { first, static_cast<std::size_t>(size) };
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

void TPX10ConfigRecord::ReadFromFile(platform::File& File, std::span<TPX10ConfigRecord> Records)
{
    if (const unsigned char* p = File.TakeBuffered(Records.size() * DataSize)) {
        for (auto& r : Records) {
            std::memcpy(r.Data, p, DataSize);
            p += DataSize;
        }
        return;
    }
    for (auto& r : Records)
        r.ReadFromFile(File);
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
