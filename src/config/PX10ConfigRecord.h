#pragma once
// One configuration record: a 60-byte image of a block of panel memory plus a
// modified flag. Every option of a configuration lives in one of these.
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "File.h"

// The low byte of a value, as a record's byte stores it.
inline unsigned char LowByte(int Value)
{
    return static_cast<unsigned char>(Value & 0xFF);
}

// A record fills one cache line: a part's records form one aligned block, so
// copying defaults in and file bytes over them runs at the memory's speed.
class alignas(64) TPX10ConfigRecord {
public:
    static constexpr int DataSize = 60;

    TPX10ConfigRecord()
        : Data {}
        , Modified(0)
    {
    }
    // Nothing set: for records about to be filled by FillFromBytes.
    enum class Unset {};
    explicit TPX10ConfigRecord(Unset) { }

    unsigned char GetByte(int Offset) const { return Data[Offset]; }
    // Stores the byte and marks the record modified only when it differs.
    void SetByte(int Offset, unsigned char Value)
    {
        if (Data[Offset] != Value) {
            Data[Offset] = Value;
            Modified = 1;
        }
    }
    int GetWord(int Offset) const { return Data[Offset] + 256 * Data[Offset + 1]; }
    // Little-endian; bits above 15 are dropped.
    void SetWord(int Offset, int Value)
    {
        SetByte(Offset, LowByte(Value));
        SetByte(Offset + 1, static_cast<unsigned char>((Value >> 8) & 0xFF));
    }
    // Length-prefixed Windows-1252 text; a length of 60 or more reads as empty.
    std::string GetText(int Offset) const { return std::string(TextView(Offset)); }
    // The same text where it stands in the record.
    std::string_view TextView(int Offset) const;
    // Cuts the text to MaxLength; bytes behind the new length are left as they were.
    void SetText(int Offset, int MaxLength, const std::string& Text);
    void SetRecordId(unsigned char Id) { SetByte(0, Id); }

    bool IsModified() const { return Modified != 0; }
    void ClearModified() { Modified = 0; }
    // Byte by byte through SetByte: the target becomes modified only where it differed.
    void CopyTo(TPX10ConfigRecord* Target) const;

    // 60 bytes at the file's current position; the modified flag is not touched.
    // A failing system call raises its text, a short read "Invalid file type.".
    void ReadFromFile(platform::File& File)
    {
        if (!File.ReadBuffered(Data, DataSize))
            ReadThrough(File);
    }
    // Records that follow each other in the file, into a run of records: straight
    // from the read-ahead block when it holds them all, else one by one as above,
    // with the same errors at the same record.
    static void ReadFromFile(platform::File& File, std::span<TPX10ConfigRecord> Records);
    // Makes the records clean copies of Count * 60 bytes that follow each other.
    static void FillFromBytes(TPX10ConfigRecord* Records, const unsigned char* Bytes, std::size_t Count);
    void WriteToFile(platform::File& File) const;

    // Raises Exception with the system's text for the error, else "Invalid file type.".
    [[noreturn]] static void RaiseFileError(const platform::FileError& Error);
    [[noreturn]] static void RaiseInvalidFileType();

private:
    void ReadThrough(platform::File& File);

    unsigned char Data[DataSize];
    unsigned char Modified;
};
