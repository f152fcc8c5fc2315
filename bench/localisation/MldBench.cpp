// Opening an MLD dictionary of 10,000 rows and 8 languages and loading one
// language's table (read, decode, sort), and switching an open dictionary to
// a second language, each against reading the same file's bytes, in
// alternation; the last line gives the ratios.
#include "Ivbindic.h"
#include "Ivmldwrt.h"

#include "FloorComparison.h"

#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <memory>
#include <random>
#include <unistd.h>

namespace {

constexpr int Rows = 10000;
constexpr int Languages = 8;

std::string Text(std::mt19937& rng, const std::string& tail)
{
    std::string t;
    int len = 5 + static_cast<int>(rng() % 56);
    for (int k = 0; k < len; ++k)
        t += static_cast<char>('a' + rng() % 26);
    return t + tail;
}

// Unicode as the generator writes it, or 8-bit text in each language's code page.
std::string MakeFile(bool unicode)
{
    std::mt19937 rng(4321);
    TIvMLDContent c;
    c.Unicode = unicode;
    const int primaries[Languages] = { 9, 7, 12, 16, 10, 19, 21, 29 };
    for (int k = 0; k < Languages; ++k) {
        TIvLanguage l;
        l.PrimaryId = primaries[k];
        l.DefaultSub = 1;
        l.SetCodePage(1252);
        l.EnglishName = "Language " + std::to_string(k);
        l.NativeName = l.EnglishName;
        c.Languages.push_back(l);
    }
    for (int i = 0; i < Rows; ++i) {
        TIvMLDRow row;
        row.Native = Text(rng, std::to_string(i));
        for (int k = 1; k < Languages; ++k)
            row.Columns.push_back(Text(rng, "\xC3\xA9"));
        c.Rows.push_back(std::move(row));
    }
    std::string name = (std::filesystem::temp_directory_path()
        / ("bench-" + std::to_string(::getpid()) + (unicode ? "-utf16" : "-8bit") + ".mld"))
                           .string();
    IvSaveMLD(c, name);
    return name;
}

const std::string& FileOf(bool unicode)
{
    static const std::string utf16 = MakeFile(true);
    static const std::string eightBit = MakeFile(false);
    return unicode ? utf16 : eightBit;
}

// Opens the dictionary in language 3; a load that misses rows measures nothing.
void OpenInLanguage3(TIvBinaryDictionary& d, const std::string& name)
{
    d.SetFileName(name);
    d.SetCheckLevel(ivclNone);
    d.SetLanguage(3);
    d.Open();
    if (d.GetTranslationCount() != Rows) {
        std::fprintf(stderr, "rows missing\n");
        std::abort();
    }
}

void Register()
{
    for (bool unicode : { false, true }) {
        const std::string& name = FileOf(unicode);
        const std::string kind = unicode ? "utf16" : "8bit";
        auto readBytes = [&name] { benchmark::DoNotOptimize(IvReadFileBytes(name)); };
        benchfloor::Register({ "OpenAndLoad/" + kind,
            [&name] {
                TIvBinaryDictionary d;
                OpenInLanguage3(d, name);
            },
            readBytes, 1, 50, 0, 0, "reading the file's bytes" });
        auto open = std::make_shared<TIvBinaryDictionary>();
        OpenInLanguage3(*open, name);
        benchfloor::Register(
            { "SecondLanguage/" + kind, [open] { open->SetLanguage(open->GetLanguage() == 5 ? 3 : 5); },
                readBytes, 1, 50, 0, 0, "reading the file's bytes" });
    }
}

} // namespace

int main(int argc, char** argv)
{
    Register();
    const int result = benchfloor::Main(argc, argv);
    for (bool unicode : { true, false }) {
        std::error_code ec;
        std::filesystem::remove(FileOf(unicode), ec);
    }
    return result;
}
