#include "Ivlinerd.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

template <class Reader> auto AllLines(Reader& reader)
{
    std::vector<decltype(reader.ReadLine())> lines;
    reader.Open();
    while (!reader.Eof())
        lines.push_back(reader.ReadLine());
    reader.Close();
    return lines;
}

std::string Utf16(const std::u16string& text, bool big)
{
    std::string out;
    for (char16_t c : text) {
        out.push_back(static_cast<char>(big ? c >> 8 : c & 0xFF));
        out.push_back(static_cast<char>(big ? c & 0xFF : c >> 8));
    }
    return out;
}

struct ResourceFixture : ::testing::Test {
    void Resource(const std::string& name, const std::string& bytes)
    {
        IvRegisterResource(IvLineResourceType, name, bytes);
        Names.push_back(name);
    }
    ~ResourceFixture() override
    {
        for (const auto& n : Names)
            IvUnregisterResource(IvLineResourceType, n);
    }
    std::vector<std::string> Names;
    TempFolder Folder;
};

using LineReaders = ResourceFixture;

} // namespace

TEST_F(LineReaders, AnsiFilesPassOverEmptyLinesAndKeepALastLineWithoutEnd)
{
    TIvAnsiReader reader;
    reader.FileName = Folder.Write("a.txt", "a\r\n\r\nb\r\n");
    EXPECT_EQ(AllLines(reader), (std::vector<std::string> { "a", "b" }));
    reader.FileName = Folder.Write("b.txt", "first\nlast");
    EXPECT_EQ(AllLines(reader), (std::vector<std::string> { "first", "last" }));
    std::string longLine(1000, 'x');
    reader.FileName = Folder.Write("c.txt", "\n" + longLine + "\r\nend");
    EXPECT_EQ(AllLines(reader), (std::vector<std::string> { "", longLine, "end" }));

    TIvResourceAnsiReader resource;
    resource.FileName = "MlAnsi";
    Resource("MlAnsi", "a\r\n\r\nb");
    EXPECT_EQ(AllLines(resource), (std::vector<std::string> { "a", "b" }));
}

TEST_F(LineReaders, LinesAndLineEndsAcrossBufferBordersStayWhole)
{
    // Line ends just before, on and after the border of a read, a CR LF pair
    // split by it, a run of line ends across it and a line longer than two reads.
    const size_t border = TIvFileBytes::BufferSize;
    std::vector<std::string> expected;
    std::string bytes;
    auto add = [&](const std::string& line, const std::string& end) {
        expected.push_back(line);
        bytes += line + end;
    };
    add(std::string(border - 2, 'a'), "\n");
    add("b", "\r\n");
    add(std::string(border - 4, 'c'), "\r\n\n\r\r\n");
    std::string longLine;
    for (size_t i = 0; i < 2 * border + 7; ++i)
        longLine += static_cast<char>('A' + i % 26);
    add(longLine, "\r");
    add("tail", "");
    ASSERT_GT(bytes.size(), 4 * border);

    TIvAnsiReader ansi;
    ansi.FileName = Folder.Write("border.txt", bytes);
    EXPECT_EQ(AllLines(ansi), expected);
    TIvResourceAnsiReader resource;
    resource.FileName = "MlBorder";
    Resource("MlBorder", bytes);
    EXPECT_EQ(AllLines(resource), expected);

    // The same with a mark and line ends alone, through the UTF-8 reader.
    TIvUTF8Reader utf8;
    utf8.FileName = Folder.Write("border8.txt", "\xEF\xBB\xBF" + bytes + "\r\n\r\n");
    auto wide = AllLines(utf8);
    ASSERT_EQ(wide.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(wide[i], std::u16string(expected[i].begin(), expected[i].end())) << i;
    // In UTF-16 too, with a CR LF pair split by the border and an odd last byte.
    const size_t units = border / 2;
    std::u16string first(units - 2, u'\u00E9');
    std::u16string wideBytes(bytes.begin(), bytes.end());
    TIvUTF16Reader utf16(ivboBigEndian, true);
    utf16.FileName = Folder.Write(
        "border16.txt", "\xFF\xFE" + Utf16(first + u"\r\n" + wideBytes + u"\n\r", false) + "\x0A");
    auto lines16 = AllLines(utf16);
    ASSERT_EQ(lines16.size(), expected.size() + 1);
    EXPECT_EQ(lines16[0], first);
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines16[i + 1], std::u16string(expected[i].begin(), expected[i].end())) << i;

    // Line ends alone across a border are one empty line.
    utf8.FileName = Folder.Write("ends.txt", std::string(border + 3, '\n'));
    EXPECT_EQ(AllLines(utf8), std::vector<std::u16string> { u"" });
    Resource("MlBorder", std::string(border + 3, '\r'));
    EXPECT_EQ(AllLines(resource), std::vector<std::string> { "" });
}

TEST_F(LineReaders, MissingFilesAndResourcesAreNamed)
{
    TIvAnsiReader file;
    file.FileName = Folder.Path("none.txt");
    EXPECT_THROW(
        {
            try {
                file.Open();
            } catch (const EInOutError& e) {
                EXPECT_EQ(e.Message(), "Could not open the file " + file.FileName);
                throw;
            }
        },
        EInOutError);
    TIvResourceUTF16Reader resource;
    resource.FileName = "MlNothing";
    try {
        resource.Open();
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), "Could not open the resource MlNothing");
    }
}

TEST_F(LineReaders, Utf8DecodesUpToThreeBytesAndRefusesMore)
{
    std::u16string out;
    IvUTF8ToWStr("\xC3\xA9", out);
    EXPECT_EQ(out, u"\u00E9");
    IvUTF8ToWStr("\xE2\x82\xAC", out);
    EXPECT_EQ(out, u"\u20AC");
    for (const char* bad : { "\xF0\x9F\x98\x80", "\x80", "\xC3", "\xE2\x82", "\xC3\x41" }) {
        try {
            IvUTF8ToWStr(bad, out);
            ADD_FAILURE() << bad;
        } catch (const EIvUTF8& e) {
            EXPECT_EQ(e.Message(), "Invalid UTF-8 string");
            EXPECT_EQ(e.Text, bad);
        }
    }

    // A leading mark is passed over; a bad line raises and the next one still reads.
    TIvUTF8Reader reader;
    reader.FileName = Folder.Write("u.txt", "\xEF\xBB\xBFgr\xC3\xBC\xC3\x9F\r\n\xF0\x9F\x98\x80\r\nok\r\n");
    reader.Open();
    EXPECT_EQ(reader.ReadLine(), u"gr\u00FC\u00DF");
    EXPECT_THROW(reader.ReadLine(), EIvUTF8);
    EXPECT_EQ(reader.ReadLine(), u"ok");
    EXPECT_TRUE(reader.Eof());

    TIvResourceUTF8Reader resource;
    resource.FileName = "MlUtf8";
    Resource("MlUtf8", "\xEF\xBB\xBF\xE2\x82\xAC\n\nx");
    EXPECT_EQ(AllLines(resource), (std::vector<std::u16string> { u"\u20AC", u"x" }));
}

TEST_F(LineReaders, Utf16FilesFollowTheirMark)
{
    const std::u16string text = u"\u20ACa\r\n\r\nb";
    TIvUTF16Reader checked(ivboLittleEndian, true);
    checked.FileName = Folder.Write("be.txt", "\xFE\xFF" + Utf16(text, true));
    EXPECT_EQ(AllLines(checked), (std::vector<std::u16string> { u"\u20ACa", u"b" }));
    EXPECT_TRUE(checked.IsBigEndian());
    checked.FileName = Folder.Write("le.txt", "\xFF\xFE" + Utf16(text, false));
    EXPECT_EQ(AllLines(checked), (std::vector<std::u16string> { u"\u20ACa", u"b" }));

    checked.FileName = Folder.Write("none.txt", Utf16(text, false));
    EXPECT_THROW(checked.Open(), EIvNotUnicodeFile);
    checked.FileName = Folder.Write("short.txt", "\xFF");
    EXPECT_THROW(checked.Open(), EIvNotUnicodeFile);

    // Without the check the given order is used and a mark belongs to the first line.
    TIvUTF16Reader unchecked(ivboBigEndian, false);
    unchecked.FileName = Folder.Write("raw.txt", Utf16(u"\uFEFFx\ny", true));
    EXPECT_EQ(AllLines(unchecked), (std::vector<std::u16string> { u"\uFEFFx", u"y" }));

    std::u16string longLine(300, u'\u00E9');
    unchecked.FileName = Folder.Write("long.txt", Utf16(longLine + u"\n", true) + "\x00");
    EXPECT_EQ(AllLines(unchecked), (std::vector<std::u16string> { longLine }));
}

// A named pipe would make a reader wait for a writer, and a folder is no text.
TEST_F(LineReaders, ANamedPipeOrAFolderIsRefusedAtOnce)
{
    ASSERT_EQ(::mkfifo(Folder.Path("fifo").c_str(), 0600), 0);
    HangGuard guard(10);
    TIvAnsiReader ansi;
    TIvUTF8Reader utf8;
    TIvUTF16Reader utf16(ivboLittleEndian, false);
    for (const std::string& name : { Folder.Path("fifo"), Folder.Path("") })
        for (TIvBaseReader* reader : { static_cast<TIvBaseReader*>(&ansi), static_cast<TIvBaseReader*>(&utf8),
                 static_cast<TIvBaseReader*>(&utf16) }) {
            reader->FileName = name;
            EXPECT_THROW(reader->Open(), EInOutError) << name;
        }
}

TEST_F(LineReaders, AReopenedUtf16ReaderStartsAfresh)
{
    // Reading one line peeks at the next; closing there must not carry that
    // unit into the next file the reader opens.
    TIvUTF16Reader reader(ivboLittleEndian, false);
    reader.FileName = Folder.Write("one.txt", Utf16(u"a\r\nb", false));
    reader.Open();
    EXPECT_EQ(reader.ReadLine(), u"a");
    reader.Close();
    reader.FileName = Folder.Write("two.txt", Utf16(u"x\n", false));
    EXPECT_EQ(AllLines(reader), (std::vector<std::u16string> { u"x" }));
}

TEST_F(LineReaders, TheUtf16ResourceReaderReturnsEmptyLinesAndStopsAtItsEnd)
{
    TIvResourceUTF16Reader reader;
    reader.FileName = "MlUtf16";
    Resource("MlUtf16", Utf16(u"a\r\n\r\nb\rc\r", false));
    EXPECT_EQ(AllLines(reader), (std::vector<std::u16string> { u"a", u"", u"b", u"c" }));
    // A mark sets the order; an odd last byte is no unit.
    Resource("MlUtf16", "\xFE\xFF" + Utf16(u"x\ny", true) + "\x01");
    EXPECT_EQ(AllLines(reader), (std::vector<std::u16string> { u"x", u"y" }));
}

TEST_F(LineReaders, DescriptorZeroIsAFile)
{
    int saved = ::dup(0);
    ASSERT_GE(saved, 0);
    ::close(0);
    TIvAnsiReader reader;
    reader.FileName = Folder.Write("zero.txt", "one\ntwo");
    auto lines = AllLines(reader);
    ::dup2(saved, 0);
    ::close(saved);
    EXPECT_EQ(lines, (std::vector<std::string> { "one", "two" }));
}

TEST_F(LineReaders, AFailingReadRaisesInsteadOfEndingTheText)
{
    // A plain file of the system whose first bytes cannot be read.
    TIvAnsiReader reader;
    reader.FileName = "/proc/self/mem";
    reader.Open();
    EXPECT_THROW(reader.Eof(), EReadError);
    TIvUTF16Reader wide(ivboLittleEndian, false);
    wide.FileName = "/proc/self/mem";
    wide.Open();
    EXPECT_THROW(wide.ReadLine(), EReadError);
}
