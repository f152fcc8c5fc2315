#include <gtest/gtest.h>

#include <array>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include "Exception.h"
#include "PX10ConfigRecord.h"
#include "PX10ConfigRecordBlock.h"

TEST(ConfigRecord, NewRecordIsZeroAndClean)
{
    TPX10ConfigRecord r;
    EXPECT_FALSE(r.IsModified());
    for (int i = 0; i < TPX10ConfigRecord::DataSize; ++i)
        EXPECT_EQ(r.GetByte(i), 0) << i;
}

TEST(ConfigRecord, SetByteMarksModifiedOnlyOnChange)
{
    TPX10ConfigRecord r;
    r.SetByte(5, 0);
    EXPECT_FALSE(r.IsModified());
    r.SetByte(5, 7);
    EXPECT_TRUE(r.IsModified());
    r.ClearModified();
    EXPECT_EQ(r.GetByte(5), 7);
    r.SetByte(5, 7);
    EXPECT_FALSE(r.IsModified());
    r.SetRecordId(3);
    EXPECT_EQ(r.GetByte(0), 3);
    EXPECT_TRUE(r.IsModified());
}

TEST(ConfigRecord, WordsAreLittleEndianAndDropHighBits)
{
    TPX10ConfigRecord r;
    r.SetWord(10, 0x1234);
    EXPECT_EQ(r.GetByte(10), 0x34);
    EXPECT_EQ(r.GetByte(11), 0x12);
    EXPECT_EQ(r.GetWord(10), 0x1234);
    // Bits above 15 are dropped: 0x12345 keeps 0x2345.
    r.SetWord(20, 0x12345);
    EXPECT_EQ(r.GetByte(20), 0x45);
    EXPECT_EQ(r.GetByte(21), 0x23);
    EXPECT_EQ(r.GetByte(22), 0);
    r.SetWord(30, -1);
    EXPECT_EQ(r.GetWord(30), 0xFFFF);
}

TEST(ConfigRecord, TextIsCutToMaxLength)
{
    TPX10ConfigRecord r;
    r.SetText(1, 20, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(r.GetByte(1), 20);
    EXPECT_EQ(r.GetText(1), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(r.GetByte(22), 0) << "nothing written behind the field";
}

TEST(ConfigRecord, ShorterTextLeavesOldCharactersBehindItsLength)
{
    TPX10ConfigRecord r;
    r.SetText(1, 20, "Basement1");
    r.SetText(1, 20, "Hall");
    EXPECT_EQ(r.GetByte(1), 4);
    EXPECT_EQ(r.GetText(1), "Hall");
    EXPECT_EQ(r.GetByte(6), 'm');
    EXPECT_EQ(r.GetByte(10), '1');
}

TEST(ConfigRecord, TextReadingEdgeCases)
{
    TPX10ConfigRecord r;
    r.SetText(1, 20, std::string("AB\0CD", 5));
    EXPECT_EQ(r.GetByte(1), 5);
    EXPECT_EQ(r.GetText(1), "AB") << "a zero byte ends the text";
    for (int length : { 60, 61, 200, 255 }) {
        r.SetByte(1, static_cast<unsigned char>(length));
        EXPECT_EQ(r.GetText(1), "") << length;
    }
    // High bytes are kept as Windows-1252 bytes.
    r.SetText(1, 20, "\xC4\xE9");
    EXPECT_EQ(r.GetText(1), "\xC4\xE9");
}

TEST(ConfigRecord, TextNeverReadsPastTheRecord)
{
    TPX10ConfigRecord r;
    for (int i = 51; i < 60; ++i)
        r.SetByte(i, 'x');
    r.SetByte(50, 59); // would reach offset 109
    EXPECT_EQ(r.GetText(50), std::string(9, 'x'));
    r.SetByte(59, 40);
    EXPECT_EQ(r.GetText(59), "");
}

TEST(ConfigRecord, CopyToMarksTargetOnlyWhereBytesDiffer)
{
    TPX10ConfigRecord a, b;
    a.SetText(1, 20, "Same");
    b.SetText(1, 20, "Same");
    b.ClearModified();
    a.CopyTo(&b);
    EXPECT_FALSE(b.IsModified());
    a.SetByte(59, 9);
    a.CopyTo(&b);
    EXPECT_TRUE(b.IsModified());
    EXPECT_EQ(b.GetByte(59), 9);
}

namespace {

// Reads four records of the given bytes into records of which the second is
// already modified: as a run, or one by one. Returns the error text, if any.
std::string ReadFour(const std::string& bytes, bool asRun, std::array<TPX10ConfigRecord, 4>& records)
{
    records = {};
    records[1].SetByte(7, 1);
    platform::File file = platform::File::FromMemory(bytes.data(), bytes.size());
    try {
        if (asRun) {
            TPX10ConfigRecord::ReadFromFile(file, records);
        } else {
            for (auto& r : records)
                r.ReadFromFile(file);
        }
    } catch (const Exception& e) {
        return e.Message();
    }
    return "no error";
}

} // namespace

// A run is read straight from the block when it holds every record, else one
// record at a time: either way as record-wise reading, up to the short end.
TEST(ConfigRecord, ReadingARunMatchesReadingRecordByRecord)
{
    std::string full(4 * TPX10ConfigRecord::DataSize, '\0');
    for (std::size_t i = 0; i < full.size(); ++i)
        full[i] = static_cast<char>(i * 13 + 5);
    for (std::size_t size : { 0u, 59u, 60u, 150u, 239u, 240u, 300u }) {
        const std::string bytes = size <= full.size() ? full.substr(0, size) : full + std::string(60, 'z');
        std::array<TPX10ConfigRecord, 4> run, single;
        const std::string runError = ReadFour(bytes, true, run);
        EXPECT_EQ(runError, ReadFour(bytes, false, single)) << size;
        EXPECT_EQ(runError, size >= full.size() ? "no error" : "Invalid file type.") << size;
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(run[k].IsModified(), k == 1) << size << " record " << k;
            for (int i = 0; i < TPX10ConfigRecord::DataSize; ++i)
                ASSERT_EQ(run[k].GetByte(i), single[k].GetByte(i))
                    << size << " record " << k << " byte " << i;
        }
        if (size >= full.size()) {
            EXPECT_EQ(run[3].GetByte(59), static_cast<unsigned char>(full[239]));
        }
    }
}

namespace {

using Block3 = TPX10ConfigRecordBlock<3>;

const Block3::Records& ThreeDefaults()
{
    static const Block3::Records defaults = [] {
        Block3 blank;
        for (std::size_t k = 0; k < 3; ++k)
            blank.At(k)->SetByte(0, static_cast<unsigned char>(k + 1));
        blank.ClearModified();
        return blank.Get();
    }();
    return defaults;
}

std::string Bytes(const Block3& block)
{
    Block3 copy = block;
    std::string s;
    for (const auto& r : copy.Get())
        for (int i = 0; i < TPX10ConfigRecord::DataSize; ++i)
            s += static_cast<char>(r.GetByte(i));
    return s;
}

} // namespace

// A block takes its defaults when first touched; a read of every record takes
// the file's bytes instead, clean, and anything less reads over the defaults.
TEST(ConfigRecordBlock, HoldsItsDefaultsUntilAFullReadReplacesThem)
{
    const std::string defaults = Bytes(Block3(ThreeDefaults()));
    ASSERT_EQ(defaults.size(), 180u);
    EXPECT_EQ(defaults[60], 2);
    EXPECT_EQ(Bytes(Block3()), std::string(180, '\0'));

    std::string file(200, '\0');
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<char>(i % 97 + 1);
    for (std::size_t size : { 0u, 59u, 120u, 179u, 180u, 200u }) {
        for (std::size_t read : { 2u, 3u }) {
            Block3 block(ThreeDefaults());
            platform::File f = platform::File::FromMemory(file.data(), size);
            std::string error = "no error";
            try {
                block.ReadFromFile(f, read);
            } catch (const Exception& e) {
                error = e.Message();
            }
            const std::size_t wanted = read * 60;
            EXPECT_EQ(error, size >= wanted ? "no error" : "Invalid file type.") << size << " " << read;
            EXPECT_FALSE(block.IsModified()) << size << " " << read;
            // What the file held, then the defaults.
            std::string expected = defaults;
            expected.replace(0, std::min(size, wanted), file.substr(0, std::min(size, wanted)));
            EXPECT_EQ(Bytes(block), expected) << size << " " << read;
            // The block read keeps its records apart from its copies.
            Block3 copy = block;
            copy.At(0)->SetByte(1, 0xEE);
            EXPECT_TRUE(copy.IsModified());
            EXPECT_FALSE(block.IsModified());
        }
    }
    Block3 touched(ThreeDefaults());
    touched.At(2)->SetByte(5, 9);
    EXPECT_TRUE(touched.IsModified());
    Block3 assigned;
    assigned = touched;
    EXPECT_EQ(Bytes(assigned), Bytes(touched));
    EXPECT_TRUE(assigned.At(2)->IsModified());
    EXPECT_NE(Bytes(Block3(ThreeDefaults())), Bytes(touched));
    EXPECT_THROW(touched.At(3), std::out_of_range);
}

// Records filled from bytes that end where readable memory ends: each record
// holds its own 60 bytes, none of the next record's, and is clean.
TEST(ConfigRecord, FillingFromBytesTakesEachRecordsOwnBytesAndReadsNoFurther)
{
    const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t readable = 99 * TPX10ConfigRecord::DataSize / page * page + page;
    void* pages
        = ::mmap(nullptr, readable + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(pages, MAP_FAILED);
    ASSERT_EQ(::mprotect(static_cast<unsigned char*>(pages) + readable, page, PROT_NONE), 0);
    for (std::size_t count : { 1u, 2u, 3u, 99u }) {
        unsigned char* bytes
            = static_cast<unsigned char*>(pages) + readable - count * TPX10ConfigRecord::DataSize;
        for (std::size_t i = 0; i < count * TPX10ConfigRecord::DataSize; ++i)
            bytes[i] = static_cast<unsigned char>(i % 251 + 1);
        std::vector<TPX10ConfigRecord> records(count);
        for (auto& r : records)
            r.SetByte(0, 0xEE); // modified, to be cleaned
        TPX10ConfigRecord::FillFromBytes(records.data(), bytes, count);
        for (std::size_t k = 0; k < count; ++k) {
            EXPECT_FALSE(records[k].IsModified()) << count << " record " << k;
            for (int i = 0; i < TPX10ConfigRecord::DataSize; ++i)
                ASSERT_EQ(records[k].GetByte(i), bytes[k * TPX10ConfigRecord::DataSize + i])
                    << count << " record " << k << " byte " << i;
        }
    }
    ::munmap(pages, readable + page);
}
