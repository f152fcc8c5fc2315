#include "PX10ConfigRecord.h"

#include <cstddef>
#include <cstring>
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

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

namespace {

void FillRecords(unsigned char* To, const unsigned char* From, std::size_t Count)
{
    for (std::size_t i = 0; i < Count;
         ++i, To += sizeof(TPX10ConfigRecord), From += TPX10ConfigRecord::DataSize) {
        std::memcpy(To, From, TPX10ConfigRecord::DataSize);
        To[TPX10ConfigRecord::DataSize] = 0;
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
// Two loads and two stores a record where the ordinary registers take five
// stores: the second half carries the next record's first four bytes, masked
// off to a clean flag. The last record would reach past the bytes and is
// copied as above.
__attribute__((target("avx2"))) void FillRecordsWide(
    unsigned char* To, const unsigned char* From, std::size_t Count)
{
    if (Count == 0)
        return;
    const __m256i keep = _mm256_set_epi32(0, -1, -1, -1, -1, -1, -1, -1);
    for (std::size_t i = 0; i + 1 < Count;
         ++i, To += sizeof(TPX10ConfigRecord), From += TPX10ConfigRecord::DataSize) {
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(From));
        const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(From + 32));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(To), low);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(To + 32), _mm256_and_si256(high, keep));
    }
    FillRecords(To, From, 1);
}
#endif

} // namespace

void TPX10ConfigRecord::FillFromBytes(
    TPX10ConfigRecord* Records, const unsigned char* Bytes, std::size_t Count)
{
    static_assert(sizeof(TPX10ConfigRecord) == 64 && offsetof(TPX10ConfigRecord, Modified) == DataSize);
    auto* to = reinterpret_cast<unsigned char*>(Records);
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool wide = __builtin_cpu_supports("avx2");
    if (wide) {
        FillRecordsWide(to, Bytes, Count);
        return;
    }
#endif
    FillRecords(to, Bytes, Count);
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
