#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "Exception.h"
#include "PX10ConfigData.h"
#include "UdfImage.h"
#include "support/FileSizeLimit.h"

namespace fs = std::filesystem;
using udfimage::Image;

namespace {

const char* const VersionMessage
    = "Configuration file cannot be used with this \r\nversion of the PX1x/2x Series Windows Support Tool.";

class UdfFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/px10udfXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        Dir = pattern;
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string PathOf(const std::string& name) const { return (Dir / name).string(); }

    std::string Write(const std::vector<uint8_t>& bytes, const std::string& name = "in.udf") const
    {
        std::ofstream out(PathOf(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return PathOf(name);
    }

    static std::vector<uint8_t> Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return { std::istreambuf_iterator<char>(in), {} };
    }

    std::vector<uint8_t> SaveBytes(TPX10ConfigData& c) const
    {
        c.SaveToFile(PathOf("out.udf"));
        return Read(PathOf("out.udf"));
    }

    static std::string LoadError(TPX10ConfigData& c, const std::string& path)
    {
        try {
            c.LoadFromFile(path);
        } catch (const Exception& e) {
            return e.Message();
        }
        return "no error";
    }

    fs::path Dir;
};

TPX10ConfigData NewConfig(bool flags = false)
{
    return { flags, flags, flags, flags };
}

} // namespace

TEST_F(UdfFile, DefaultFilesMatchTheLayoutByteForByte)
{
    for (bool flags : { false, true }) {
        auto c = NewConfig(flags);
        auto bytes = SaveBytes(c);
        ASSERT_EQ(bytes.size(), 18180u);
        auto expected = udfimage::DefaultImage(flags).Bytes;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            ASSERT_EQ(bytes[i], expected[i])
                << "flags " << flags << ", record " << i / 60 + 1 << ", byte " << i % 60;
        EXPECT_EQ(bytes[0], 0x00);
        EXPECT_EQ(bytes[1], 0x1D);
        EXPECT_EQ(bytes[42], 0x01);
        EXPECT_EQ(bytes[43], 0x09);
        EXPECT_EQ(bytes[44], 0x03);
    }
}

// Defaults are built once and copied into every new configuration: whatever
// was built, changed or loaded before, each starts clean from exactly them.
TEST_F(UdfFile, EveryNewConfigurationStartsFromExactlyTheDefaults)
{
    auto changed = udfimage::DefaultImage(false);
    for (int r = 2; r <= 303; ++r)
        changed.Record(r)[30] = static_cast<uint8_t>(r);
    const std::string changedFile = Write(changed.Bytes);
    for (bool flags : { true, false, true, false }) {
        auto loaded = NewConfig(!flags);
        loaded.LoadFromFile(changedFile);
        loaded.Sensors->SetDescription(1, "Changed");
        loaded.GeneralPanelSetup->SetSiteName("Changed");
        auto other = NewConfig(flags);
        other.Modules->SetType(2, 5);
        auto fresh = NewConfig(flags);
        EXPECT_FALSE(fresh.IsModified()) << flags;
        EXPECT_EQ(fresh.Modules->GetType(2), 0);
        EXPECT_EQ(SaveBytes(fresh), udfimage::DefaultImage(flags).Bytes) << flags;
        EXPECT_EQ(loaded.Sensors->GetDescription(1), "Changed");
        EXPECT_EQ(SaveBytes(loaded)[6 * 60 + 30], 7); // record 7
    }
}

TEST_F(UdfFile, SaveLoadSaveIsIdenticalAndClean)
{
    auto c = NewConfig(true);
    c.GeneralPanelSetup->SetSiteName("Hall \xC4");
    c.GeneralPanelSetup->SetServiceDueDate(QDate(2030, 7, 1));
    c.Sensors->SetType(17, 5);
    c.Sensors->SetCBERuleListText(17, "(+3) 3-9,20");
    c.Modules->SetDescription(99, "Sounder");
    c.CBERules->SetFilterType(64, 3);
    c.ZoneTexts->SetZoneText(32, "Roof");
    c.GsmItems->SetNumber(5, "0123456789");
    c.FileHeader->SetPanelType(2);
    EXPECT_TRUE(c.IsModified());
    auto first = SaveBytes(c);
    EXPECT_FALSE(c.IsModified());

    auto loaded = NewConfig(false);
    loaded.LoadFromFile(PathOf("out.udf"));
    EXPECT_FALSE(loaded.IsModified());
    EXPECT_EQ(loaded.GeneralPanelSetup->GetSiteName(), "Hall \xC4");
    EXPECT_EQ(loaded.Sensors->GetCBERuleListText(17), "(+3) 3-9,20");
    EXPECT_EQ(loaded.GsmItems->GetNumber(5), "0123456789");
    EXPECT_EQ(loaded.GeneralPanelSetup->GetServiceDueDate(), QDate(2030, 7, 1));
    loaded.SaveToFile(PathOf("again.udf"));
    EXPECT_EQ(Read(PathOf("again.udf")), first);
    EXPECT_FALSE(loaded.IsModified());
}

// A copy carries every record of every part and, as a record's copy does,
// marks the target only where a byte changed.
TEST_F(UdfFile, CopyCarriesEveryPartAndMarksOnlyWhatChanged)
{
    auto from = NewConfig(true);
    from.FileHeader->SetPanelType(3);
    from.GeneralPanelSetup->SetSiteName("Depot");
    from.GeneralPanelSetup->SetMainsDelay(7);
    from.OnboardOutputCircuits->SetCircuitType(6, 2);
    from.Sensors->SetZone(99, 4);
    from.Modules->SetDescription(1, "Door");
    from.CBERules->SetFilterType(64, 3);
    from.ZoneTexts->SetZoneText(32, "Roof");
    from.GsmItems->SetNumber(5, "0700");
    auto to = NewConfig(false);
    from.CopyTo(to);
    EXPECT_EQ(SaveBytes(to), SaveBytes(from));

    from.ZoneTexts->SetZoneText(1, "Hall");
    from.CopyTo(to);
    EXPECT_TRUE(to.ZoneTexts->IsModified());
    to.ZoneTexts->ClearModified();
    EXPECT_FALSE(to.IsModified()) << "equal bytes copied over mark nothing";

    // Copying reads one side only: it is handed as const.
    TPX10ConfigData::ForEachPart(from, to, [](auto& From, auto& To) {
        static_assert(std::is_const_v<std::remove_reference_t<decltype(From)>>);
        static_assert(!std::is_const_v<std::remove_reference_t<decltype(To)>>);
    });
}

TEST_F(UdfFile, SaveReplacesAnExistingFileAndLeavesNoTemporaryFile)
{
    Write(std::vector<uint8_t>(50000, 0xAA), "out.udf");
    auto c = NewConfig();
    EXPECT_EQ(SaveBytes(c).size(), 18180u);
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(Dir))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(UdfFile, FailedSaveKeepsModifiedMarksAndReportsTheSystemText)
{
    auto c = NewConfig();
    c.ZoneTexts->SetZoneText(1, "Changed");
    try {
        c.SaveToFile(PathOf("missing/dir/out.udf"));
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "No such file or directory");
    }
    EXPECT_TRUE(c.IsModified());
    fs::create_directory(Dir / "folder.udf");
    EXPECT_THROW(c.SaveToFile(PathOf("folder.udf")), Exception);
    EXPECT_TRUE(c.IsModified());
    EXPECT_TRUE(fs::is_directory(Dir / "folder.udf"));
}

// Records are queued and written out at the end: a failure there must still
// come before the rename, keep the old file and the modified marks.
TEST_F(UdfFile, WriteFailureAtTheEndKeepsTheOldFileAndTheMarks)
{
    const auto old = std::vector<uint8_t>(100, 0x55);
    const std::string path = Write(old, "kept.udf");
    auto c = NewConfig();
    c.ZoneTexts->SetZoneText(1, "Changed");
    std::string error = "no error";
    try {
        FileSizeLimit limit(10000);
        c.SaveToFile(path);
    } catch (const Exception& e) {
        error = e.Message();
    }
    EXPECT_EQ(error, "File too large");
    EXPECT_TRUE(c.IsModified());
    EXPECT_EQ(Read(path), old);
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(Dir))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(UdfFile, OpenFailureReportsTheSystemText)
{
    auto c = NewConfig();
    EXPECT_EQ(LoadError(c, PathOf("none.udf")), "No such file or directory");
    fs::create_directory(Dir / "dir.udf");
    EXPECT_EQ(LoadError(c, PathOf("dir.udf")), "Is a directory");
}

TEST_F(UdfFile, ShortFilesAreInvalid)
{
    auto image = udfimage::DefaultImage(false).Bytes;
    for (std::size_t size : { 0u, 1u, 59u, 60u, 61u, 179u, 6180u, 12120u, 17880u, 18179u }) {
        auto c = NewConfig();
        EXPECT_EQ(LoadError(c, Write({ image.begin(), image.begin() + size })), "Invalid file type.") << size;
    }
    auto old = udfimage::OldDefaultImage(105).Img.Bytes;
    for (std::size_t size : { 61u, 120u, 179u, 17819u }) {
        auto c = NewConfig();
        EXPECT_EQ(LoadError(c, Write({ old.begin(), old.begin() + size })), "Invalid file type.") << size;
    }
}

// The fuzz target loads from memory: it must read exactly as from a file, the
// backward step of the old versions and every short end included.
TEST_F(UdfFile, LoadingFromMemoryReadsAsFromTheFile)
{
    std::vector<std::vector<uint8_t>> images { udfimage::DefaultImage(true).Bytes,
        udfimage::OldDefaultImage(105).Img.Bytes, udfimage::OldDefaultImage(103).Img.Bytes };
    auto changed = udfimage::DefaultImage(false);
    changed.Record(299)[1] = 1;
    changed.Record(299)[2] = 'X';
    images.push_back(changed.Bytes);
    for (const auto& full : images) {
        for (std::size_t size :
            { std::size_t(0), std::size_t(61), std::size_t(179), full.size() - 1, full.size() }) {
            const std::vector<uint8_t> bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
            auto fromFile = NewConfig();
            auto fromMemory = NewConfig();
            const std::string fileError = LoadError(fromFile, Write(bytes));
            std::string memoryError = "no error";
            try {
                fromMemory.LoadFromMemory(bytes.data(), bytes.size());
            } catch (const Exception& e) {
                memoryError = e.Message();
            }
            EXPECT_EQ(memoryError, fileError) << size;
            EXPECT_EQ(fromMemory.IsModified(), fromFile.IsModified()) << size;
            EXPECT_EQ(SaveBytes(fromMemory), SaveBytes(fromFile)) << size;
        }
    }
}

TEST_F(UdfFile, WrongTitleOrNewerVersionIsRefused)
{
    auto c = NewConfig();
    auto image = udfimage::DefaultImage(false);
    udfimage::HeaderRecord(image.Record(1), 109, 3, "PX10 Panel Configuration File ");
    EXPECT_EQ(LoadError(c, Write(image.Bytes)), VersionMessage);
    image = udfimage::DefaultImage(false);
    udfimage::HeaderRecord(image.Record(1), 110, 3, "PX10 Panel Configuration File");
    EXPECT_EQ(LoadError(c, Write(image.Bytes)), VersionMessage);
    image.Record(1)[42] = 0;
    image.Record(1)[43] = 255;
    EXPECT_EQ(LoadError(c, Write(image.Bytes)), VersionMessage);
    image = udfimage::DefaultImage(false);
    image.Record(1)[1] = 200; // length byte past the record: no title
    EXPECT_EQ(LoadError(c, Write(image.Bytes)), VersionMessage);
}

TEST_F(UdfFile, UnknownPanelTypeForcesRs485ProtocolOneAndStaysClean)
{
    for (int panelType : { 0, 1, 7, 255 }) {
        auto image = udfimage::DefaultImage(false);
        image.Record(1)[44] = panelType;
        image.Record(2)[57] = 0;
        auto c = NewConfig();
        c.LoadFromFile(Write(image.Bytes));
        EXPECT_EQ(c.GeneralPanelSetup->GetRS485Protocol(), 1) << panelType;
        EXPECT_FALSE(c.GeneralPanelSetup->IsModified());
        EXPECT_FALSE(c.IsModified());
    }
    auto image = udfimage::DefaultImage(false);
    image.Record(1)[44] = 6;
    image.Record(2)[57] = 0;
    auto c = NewConfig();
    c.LoadFromFile(Write(image.Bytes));
    EXPECT_EQ(c.GeneralPanelSetup->GetRS485Protocol(), 0);
}

TEST_F(UdfFile, Version107HasNoGsmItems)
{
    auto image = udfimage::DefaultImage(false);
    image.Record(1)[43] = 7;
    image.Record(20)[1] = 0; // a sensor's empty description, to see the record is read
    image.Record(20)[23] = 9;
    image.Bytes.resize(17880);
    auto c = NewConfig();
    c.LoadFromFile(Write(image.Bytes));
    EXPECT_EQ(c.Sensors->GetType(16), 9);
    EXPECT_TRUE(c.GsmItems->GetAlarm(5));
    EXPECT_FALSE(c.GsmItems->IsModified());
    EXPECT_EQ(c.FileHeader->GetVersion(), 109);
    EXPECT_TRUE(c.FileHeader->IsModified());
    EXPECT_TRUE(c.IsModified());
    auto expected = udfimage::DefaultImage(false);
    expected.Record(20)[23] = 9;
    EXPECT_EQ(SaveBytes(c), expected.Bytes);
}

TEST_F(UdfFile, Version106SplitsTheSharedRecordWithoutRuleConversion)
{
    auto old = udfimage::OldDefaultImage(106);
    uint8_t* shared = old.Shared();
    shared[3] = 2; // circuit 2 type
    shared[13] = 1; // second setup: digital input 1 off; not the EOL mode
    shared[19] = 60; // extinguishing delay 316 (word at 19)
    shared[20] = 1;
    shared[30] = 1; // LED2C mode
    shared[37] = 1; // fire output active LED option
    shared[56] = 0x2C;
    shared[59] = 77; // mains delay
    shared[1] = 3; // circuit 1 type; not the RS485 third-party monitoring
    auto c = NewConfig(true);
    c.LoadFromFile(Write(old.Img.Bytes));
    EXPECT_EQ(c.OnboardOutputCircuits->GetCircuitType(1), 3);
    EXPECT_EQ(c.OnboardOutputCircuits->GetCircuitType(2), 2);
    EXPECT_EQ(c.OnboardOutputCircuits->GetEOLMode(), 0);
    EXPECT_EQ(c.OnboardOutputCircuits->GetCircuitRuleListText(1), "(1) 1");
    EXPECT_EQ(c.OnboardOutputCircuits->GetCircuitRuleListText(3), "(1) 4");
    auto* second = c.GeneralPanelSetup->GetSecondRecord();
    EXPECT_FALSE(c.GeneralPanelSetup->GetDigitalInput1());
    EXPECT_EQ(second->GetWord(19), 316);
    EXPECT_EQ(c.GeneralPanelSetup->GetLED2CMode(), 1);
    EXPECT_TRUE(c.GeneralPanelSetup->GetFireOutputActiveLEDOption());
    EXPECT_EQ(c.GeneralPanelSetup->GetMainsDelay(), 77);
    EXPECT_EQ(c.GeneralPanelSetup->GetDayModeSensitivityStartTime(), 0x2C);
    // Bytes outside the shared ranges keep the defaults.
    EXPECT_TRUE(c.GeneralPanelSetup->GetRS485ThirdPartyDatalinkMonitoring());
    EXPECT_TRUE(c.GeneralPanelSetup->GetTorqSwitch());
    EXPECT_EQ(second->GetByte(0), 1);
    EXPECT_EQ(c.OnboardOutputCircuits->GetRecord()->GetByte(0), 2);
    EXPECT_EQ(c.ZoneTexts->GetRecord(32)->GetByte(0), 5);
    EXPECT_EQ(c.FileHeader->GetVersion(), 109);
}

TEST_F(UdfFile, Version105ConvertsTheCircuitsSingleRules)
{
    auto old = udfimage::OldDefaultImage(105);
    uint8_t* shared = old.Shared();
    std::fill(shared + 38, shared + 56, 0);
    const int oldRules[6] = { 30, 5, 64, 24, 0, 200 };
    for (int n = 1; n <= 6; ++n)
        shared[2 * n] = oldRules[n - 1];
    auto c = NewConfig();
    c.LoadFromFile(Write(old.Img.Bytes));
    auto* o = c.OnboardOutputCircuits.get();
    EXPECT_EQ(o->GetCircuitRuleListText(1), "(7) 30");
    EXPECT_EQ(o->GetCircuitRuleListText(2), "(1) 5");
    EXPECT_EQ(o->GetCircuitRuleListText(3), "(41) 64");
    EXPECT_EQ(o->GetCircuitRuleListText(4), "(1) 24");
    EXPECT_EQ(o->GetCircuitRuleListText(5), "(1) ");
    EXPECT_EQ(o->GetCircuitRuleListText(6), "(1) ");
    EXPECT_TRUE(o->IsModified());
    // Devices of version 105 already hold a rule mask.
    EXPECT_EQ(c.Sensors->GetCBERuleListText(1), "(1) 1");
}

TEST_F(UdfFile, Version104ConvertsTheDevicesSingleRules)
{
    auto old = udfimage::OldDefaultImage(104);
    old.Sensor(1)[24] = 50;
    old.Sensor(2)[24] = 0;
    old.Sensor(2)[32] = 0;
    old.Module(99)[24] = 12;
    old.Module(99)[32] = 0;
    old.Sensor(1)[23] = old.Sensor(2)[23] = old.Module(99)[23] = 1;
    auto c = NewConfig();
    c.LoadFromFile(Write(old.Img.Bytes));
    EXPECT_EQ(c.Sensors->GetBaseCBERule(1), 41);
    EXPECT_TRUE(c.Sensors->IsInCBERule(1, 50));
    EXPECT_EQ(c.Sensors->GetCBERuleListText(1), "(41) 50");
    EXPECT_EQ(c.Sensors->GetBaseCBERule(2), 1);
    EXPECT_TRUE(c.Sensors->IsInCBERule(2, 1));
    EXPECT_EQ(c.Modules->GetCBERuleListText(99), "(12) 12");
    EXPECT_TRUE(c.Sensors->IsModified());
    EXPECT_EQ(c.CBERules->GetRecord(64)->GetByte(0), 4);
}

TEST_F(UdfFile, Version103HasOnly32Rules)
{
    auto old = udfimage::OldDefaultImage(103);
    ASSERT_EQ(old.Img.Bytes.size(), 15900u);
    for (int r = 1; r <= 32; ++r)
        old.Rule(r)[1] = 9;
    old.Zone(32)[1] = 2;
    old.Zone(32)[2] = 'Z';
    old.Zone(32)[3] = 'T';
    auto c = NewConfig();
    c.LoadFromFile(Write(old.Img.Bytes));
    EXPECT_EQ(c.CBERules->GetRuleType(32), 9);
    EXPECT_EQ(c.CBERules->GetRuleType(33), 0);
    EXPECT_EQ(c.CBERules->GetFlagsByte(33), 7);
    EXPECT_FALSE(c.CBERules->IsModified());
    EXPECT_EQ(c.ZoneTexts->GetZoneText(32), "ZT");
    EXPECT_EQ(c.FileHeader->GetVersion(), 109);
    EXPECT_EQ(c.Sensors->GetCBERuleListText(5), "(1) 1");
}

TEST_F(UdfFile, APipeOrADeviceIsRefusedWithoutWaiting)
{
    // Nobody writes to the pipe: opening it must not wait for a writer.
    const std::string path = PathOf("pipe.udf");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    auto c = NewConfig();
    EXPECT_EQ(LoadError(c, path), "Invalid file type.");
    EXPECT_EQ(LoadError(c, "/dev/zero"), "Invalid file type.");
    EXPECT_EQ(LoadError(c, "/dev/null"), "Invalid file type.");
    // Links are followed: to the pipe or a device as refused as those, to a
    // file as good as the file, to nothing an open failure.
    fs::create_symlink(path, Dir / "to-pipe.udf");
    fs::create_symlink("/dev/zero", Dir / "to-zero.udf");
    fs::create_symlink(Dir / "none.udf", Dir / "dangling.udf");
    EXPECT_EQ(LoadError(c, PathOf("to-pipe.udf")), "Invalid file type.");
    EXPECT_EQ(LoadError(c, PathOf("to-zero.udf")), "Invalid file type.");
    EXPECT_EQ(LoadError(c, PathOf("dangling.udf")), "No such file or directory");
    auto image = udfimage::DefaultImage(true);
    image.Record(100)[1] = 3; // a byte the defaults do not hold
    fs::create_symlink(Write(image.Bytes), Dir / "to-file.udf");
    EXPECT_EQ(LoadError(c, PathOf("to-file.udf")), "no error");
    EXPECT_EQ(SaveBytes(c)[99 * 60 + 1], 3);
    EXPECT_TRUE(fs::is_fifo(path));
}

// Every version has one size: a damaged version byte or bytes appended to a
// good file must not load as something else.
TEST_F(UdfFile, AFileOfAnotherSizeThanItsVersionsIsRefused)
{
    auto v107 = udfimage::DefaultImage(false);
    v107.Record(1)[43] = 7;
    v107.Bytes.resize(17880);
    for (auto bytes : { udfimage::DefaultImage(false).Bytes, v107.Bytes,
             udfimage::OldDefaultImage(105).Img.Bytes, udfimage::OldDefaultImage(103).Img.Bytes }) {
        auto c = NewConfig();
        EXPECT_EQ(LoadError(c, Write(bytes)), "no error") << bytes.size();
        bytes.push_back(0);
        EXPECT_EQ(LoadError(c, Write(bytes)), "Invalid file type.") << bytes.size();
    }
    auto image = udfimage::DefaultImage(false);
    image.Record(1)[43] ^= 8; // 109 becomes 101
    auto c = NewConfig();
    EXPECT_EQ(LoadError(c, Write(image.Bytes)), "Invalid file type.");
    image.Record(1)[43] ^= 8;
    image.Bytes.resize(image.Bytes.size() + (1 << 20));
    EXPECT_THROW(c.LoadFromMemory(image.Bytes.data(), image.Bytes.size()), Exception);
}
