#include "File.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using platform::AtomicFileWriter;
using platform::File;
using platform::FileError;

namespace {

class TempDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/px10-file-XXXXXX";
        Dir = mkdtemp(pattern);
    }
    void TearDown() override { fs::remove_all(Dir); }
    std::string Path(const std::string& name) const { return (Dir / name).string(); }
    static std::string Slurp(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return { std::istreambuf_iterator<char>(in), {} };
    }
    fs::path Dir;
};

TEST_F(TempDir, OpenMissingFileGivesSystemText)
{
    try {
        File::Open(Path("missing.udf"), File::Mode::Read);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Code, ENOENT);
        EXPECT_EQ(e.Text, "No such file or directory");
    }
}

TEST_F(TempDir, ReadStopsOnlyAtEndOfFile)
{
    std::ofstream(Path("a"), std::ios::binary) << std::string(100, 'x');
    File f = File::Open(Path("a"), File::Mode::Read);
    char buf[60];
    EXPECT_EQ(f.Read(buf, 60), 60u);
    EXPECT_EQ(f.Read(buf, 60), 40u);
    EXPECT_EQ(f.Read(buf, 60), 0u);
    f.SeekRelative(-60);
    EXPECT_EQ(f.Read(buf, 60), 60u);
}

TEST_F(TempDir, ReadingADirectoryFails)
{
    EXPECT_THROW(File::Open(Dir.string(), File::Mode::Read), FileError);
}

TEST_F(TempDir, AtomicWriterReplacesOnlyOnCommit)
{
    std::ofstream(Path("t.udf"), std::ios::binary) << "old";
    {
        AtomicFileWriter w(Path("t.udf"));
        w.Write("new contents", 12);
        // Not committed: the old file stays and the temporary file goes.
    }
    EXPECT_EQ(Slurp(Path("t.udf")), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
    {
        AtomicFileWriter w(Path("t.udf"));
        w.Write("new contents", 12);
        w.Commit();
    }
    EXPECT_EQ(Slurp(Path("t.udf")), "new contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
}

TEST_F(TempDir, AtomicWriterKeepsASymbolicLinkAndWritesItsTarget)
{
    fs::create_directory(Path("real"));
    std::ofstream(Path("real/t.udf"), std::ios::binary) << "old";
    fs::create_symlink(Path("real/t.udf"), Path("link.udf"));
    {
        AtomicFileWriter w(Path("link.udf"));
        w.Write("new", 3);
        w.Commit();
    }
    EXPECT_TRUE(fs::is_symlink(Path("link.udf")));
    EXPECT_EQ(Slurp(Path("real/t.udf")), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(Path("real")), fs::directory_iterator()), 1);
}

TEST_F(TempDir, AtomicWriterInMissingFolderFails)
{
    EXPECT_THROW(AtomicFileWriter(Path("no/such/dir.udf")), FileError);
}

TEST_F(TempDir, AtomicWriterOverDirectoryFails)
{
    fs::create_directory(Path("d"));
    EXPECT_THROW(AtomicFileWriter(Path("d")), FileError);
}

} // namespace
