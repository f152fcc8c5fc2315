#include "FakeNls.h"
#include "TestDictionary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>
#include <unistd.h>

namespace {

std::vector<std::string> Natives(const TIvCustomDictionary& d)
{
    std::vector<std::string> out;
    for (int i = 0; i < d.GetTranslationCount(); ++i)
        out.push_back(d.GetTranslation(i)->Native);
    return out;
}

void ExpectOrdered(const TIvCustomDictionary& d, bool byKey)
{
    for (int i = 1; i < d.GetTranslationCount(); ++i) {
        const TIvTranslation* a = d.GetTranslation(i - 1);
        const TIvTranslation* b = d.GetTranslation(i);
        int c = byKey ? IvCompareBinary(a->GetKey(), b->GetKey()) : IvCompareBinary(a->Native, b->Native);
        ASSERT_LE(c, 0) << "rows " << i - 1 << " and " << i;
    }
}

} // namespace

TEST(Table, FlatSortIsCaseSensitiveByteOrderWithPrefixesFirst)
{
    MemoryDictionary d;
    d.SetTranslations(
        { Row("save", "1"), Row("Save As", "2"), Row("Save", "3"), Row("\xC3\xA9t\xC3\xA9", "4"),
            Row("Zebra", "5"), Row("a\x80", "6"), Row("a\x7F", "7"), Row("Open", "8") });
    EXPECT_EQ(Natives(d),
        std::vector<std::string>(
            { "Open", "Save", "Save As", "Zebra", "a\x7F", "a\x80", "save", "\xC3\xA9t\xC3\xA9" }));
    EXPECT_EQ(d.Translate("Save"), "3");
    EXPECT_EQ(d.Translate("Save As"), "2");
    EXPECT_EQ(d.Translate("save"), "1");
    EXPECT_EQ(d.Translate("a\x80"), "6");
    EXPECT_EQ(d.Translate("\xC3\xA9t\xC3\xA9"), "4");
    EXPECT_EQ(d.Find("Sav"), -1);
    EXPECT_EQ(d.Find("SAVE"), -1);
    EXPECT_EQ(d.Find(""), -1);
    EXPECT_EQ(d.FindContext("Save", "any", "thing"), d.Find("Save"));
    EXPECT_THROW(d.GetTranslation(8), ERangeError);
}

TEST(Table, EmptyTableFindsNothing)
{
    MemoryDictionary d;
    EXPECT_EQ(d.Find("x"), -1);
    EXPECT_EQ(d.FindContext("x", "f", "c"), -1);
    d.SetContextType(1u << ivctForm);
    EXPECT_EQ(d.Find("x"), -1);
    EXPECT_EQ(d.FindContext("x", "f", "c"), -1);
    d.Sort();
    EXPECT_EQ(d.GetTranslationCount(), 0);
}

TEST(Table, ContextKeysSortWithTheSeparatorAndLookupsFallBack)
{
    FakeNls nls;
    MemoryDictionary d;
    d.SetContextType((1u << ivctForm) | (1u << ivctComponent));
    d.SetTranslations({ Row("Save", "A", "frmMain", "btnSave"), Row("Save", "B", "frmOther", ""),
        Row("Save As", "C", "frmMain", "mnuSaveAs"), Row("Save\x80", "D", "", ""),
        Row("Open", "E", "frmMain", "") });
    ExpectOrdered(d, true);
    // 0x20 sorts before the 0x7F separator, and 0x80 after it.
    EXPECT_EQ(Natives(d), std::vector<std::string>({ "Open", "Save As", "Save", "Save", "Save\x80" }));

    EXPECT_EQ(d.TranslateContext("Save", "frmMain", "btnSave"), "A");
    EXPECT_EQ(d.TranslateContext("Save", "frmOther", ""), "B");
    EXPECT_EQ(d.TranslateContext("Save As", "frmMain", "mnuSaveAs"), "C");
    // No row has this context: the plain search finds a row of the text.
    std::string any = d.TranslateContext("Save", "frmNone", "x");
    EXPECT_TRUE(any == "A" || any == "B") << any;
    EXPECT_EQ(d.Translate("Save\x80"), "D");
    EXPECT_EQ(d.Translate("Save As"), "C");
    EXPECT_EQ(d.Translate("Open"), "E");
    EXPECT_EQ(d.Find("Sav"), -1);
    EXPECT_EQ(d.FindContext("Save", "frmMain", "btnSav"), -1);
    EXPECT_FALSE(d.DoesContextTranslationExist("Save", "frmNone", "x"));
    EXPECT_TRUE(d.DoesContextTranslationExist("Open", "frmMain", ""));
}

TEST(Table, RandomTablesSortLikeAReferenceAndFindEveryRow)
{
    std::mt19937 rng(4711);
    for (bool byKey : { false, true }) {
        for (int round = 0; round < 4; ++round) {
            TIvTranslationTable rows;
            int n = 1 + static_cast<int>(rng() % 1500);
            for (int i = 0; i < n; ++i) {
                std::string native;
                int len = static_cast<int>(rng() % 6);
                for (int k = 0; k < len; ++k)
                    native += static_cast<char>(
                        std::array<int, 6> { 'a', 'b', ' ', 0x7F, 0x80, 0xFF }[rng() % 6]);
                native += std::to_string(i % 50); // some repeated texts
                rows.push_back(Row(native, "t" + std::to_string(i), byKey ? std::to_string(rng() % 3) : "",
                    byKey ? std::string(1, static_cast<char>('a' + rng() % 3)) : ""));
            }
            MemoryDictionary d;
            d.SetContextType(byKey ? (1u << ivctForm) : 0);
            d.SetTranslations(rows);
            ExpectOrdered(d, byKey);
            for (const auto& r : rows) {
                int i = d.Find(r.Native);
                ASSERT_GE(i, 0);
                EXPECT_EQ(d.GetTranslation(i)->Native, r.Native);
                if (byKey) {
                    int j = d.FindContext(r.Native, r.FormContext, r.ComponentContext);
                    ASSERT_GE(j, 0);
                    EXPECT_EQ(d.GetTranslation(j)->GetKey(), r.GetKey());
                }
            }
        }
    }
}

// The hash index only remembers the binary search's answers: for rows sharing
// a text, contexts whose joins collide, texts the search misses in a range
// left unsorted and texts of no row, it must answer exactly as the search.
TEST(Table, IndexAnswersExactlyAsTheBinarySearch)
{
    std::mt19937 rng(815);
    const std::array<char, 7> alphabet { 'a', 'b', '\x10', ' ', '\x7F', '\x80', '\xFF' };
    auto text = [&](int maxLength) {
        std::string t;
        int len = static_cast<int>(rng() % (maxLength + 1));
        for (int k = 0; k < len; ++k)
            t += alphabet[rng() % alphabet.size()];
        return t;
    };
    int missesSeen = 0;
    for (bool byKey : { false, true }) {
        for (int round = 0; round < 12; ++round) {
            TIvTranslationTable rows;
            int n = 1 + static_cast<int>(rng() % 400);
            for (int i = 0; i < n; ++i)
                rows.push_back(
                    Row(text(4), "t" + std::to_string(i), byKey ? text(2) : "", byKey ? text(2) : ""));
            MemoryDictionary d;
            d.SetContextType(byKey ? (1u << ivctForm) : 0);
            d.SetTranslations(rows);
            // Every other round sorts a range by the other order, leaving the
            // table unsorted for the search.
            if (round % 2) {
                int lo = static_cast<int>(rng() % n), hi = lo + static_cast<int>(rng() % (n - lo));
                byKey ? d.QuickSort(lo, hi) : d.ContextQuickSort(lo, hi);
            }
            std::vector<TIvTranslation> probes = rows;
            for (int i = 0; i < 200; ++i)
                probes.push_back(Row(text(5), "", text(2), text(2)));
            for (const auto& p : probes) {
                ASSERT_EQ(d.Find(p.Native), d.FindBySearch(p.Native));
                ASSERT_EQ(d.FindContext(p.Native, p.FormContext, p.ComponentContext),
                    d.FindContextBySearch(p.Native, p.FormContext, p.ComponentContext));
                // The answer kept beside the index is the row's translation.
                std::string text;
                const int row = d.FindBySearch(p.Native);
                ASSERT_EQ(d.TranslateString(p.Native, text), row >= 0);
                if (row >= 0)
                    ASSERT_EQ(text, d.GetTranslation(row)->Translation);
                const int keyRow = d.FindContextBySearch(p.Native, p.FormContext, p.ComponentContext);
                ASSERT_EQ(
                    d.TranslateContextString(p.Native, p.FormContext, p.ComponentContext, text), keyRow >= 0);
                if (keyRow >= 0)
                    ASSERT_EQ(text, d.GetTranslation(keyRow)->Translation);
                missesSeen += row < 0;
            }
        }
    }
    EXPECT_GT(missesSeen, 0); // texts of no row were asked for
    // A change of the context mode after the rows were set falls back to the search.
    MemoryDictionary d;
    d.SetTranslations({ Row("Save", "A"), Row("Open", "B") });
    d.SetContextType(1u << ivctForm);
    EXPECT_EQ(d.Find("Open"), d.FindBySearch("Open"));
    EXPECT_EQ(d.FindContext("Save", "", ""), d.FindContextBySearch("Save", "", ""));
}

TEST(Table, OrderedReversedAndEqualInputsSortWithoutTrouble)
{
    TIvTranslationTable rows;
    for (int i = 0; i < 20000; ++i)
        rows.push_back(Row(std::to_string(100000 + i), "x"));
    MemoryDictionary d;
    d.SetTranslations(rows);
    ExpectOrdered(d, false);
    std::reverse(rows.begin(), rows.end());
    d.SetTranslations(rows);
    ExpectOrdered(d, false);
    d.SetTranslations(TIvTranslationTable(20000, Row("same", "x")));
    EXPECT_EQ(d.GetTranslationCount(), 20000);
    EXPECT_GE(d.Find("same"), 0);
}

TEST(Table, FailedLoadKeepsTheTableInForce)
{
    FakeNls nls;
    MemoryDictionary d;
    d.Languages = { MakeLanguage(9, 1, 1252, "English"), MakeLanguage(7, 1, 1252, "German"),
        MakeLanguage(12, 1, 1252, "French") };
    d.Rows = { {}, { Row("Yes", "Ja"), Row("No", "Nein") }, { Row("Yes", "Oui"), Row("No", "Non") } };
    d.SetCheckLevel(ivclNone);
    d.SetLanguage(1);
    d.Open();
    ASSERT_EQ(d.Translate("No"), "Nein");
    d.FailLoad = true;
    EXPECT_THROW(d.SetLanguage(2), EIvMulti);
    EXPECT_EQ(d.GetTranslationCount(), 2);
    ExpectOrdered(d, false);
    EXPECT_EQ(d.Translate("No"), "Nein");
    EXPECT_EQ(d.Translate("Yes"), "Ja");
    d.FailLoad = false;
    d.SetLanguage(0);
    d.SetLanguage(2);
    EXPECT_EQ(d.Translate("No"), "Non");
}

TEST(Table, WorkerThreadsTranslateWhileNothingChanges)
{
    FakeNls nls;
    MemoryDictionary d;
    TIvTranslationTable rows;
    for (int i = 0; i < 2000; ++i)
        rows.push_back(Row("text " + std::to_string(i), "Text " + std::to_string(i), "f", "c"));
    d.SetContextType(1u << ivctForm);
    d.Languages = { MakeLanguage(9, 1, 1252, "English"), MakeLanguage(7, 1, 1252, "German") };
    d.Rows = { {}, rows };
    d.SetCheckLevel(ivclNone);
    d.SetLanguage(1);
    d.Open();
    std::atomic<int> wrong { 0 };
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([&, t] {
            for (int round = 0; round < 5; ++round)
                for (int i = t; i < 2000; i += 3) {
                    std::string n = std::to_string(i);
                    if (Translate("text " + n) != "Text " + n
                        || d.TranslateContext("text " + n, "f", "c") != "Text " + n)
                        ++wrong;
                }
        });
    for (auto& w : workers)
        w.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST(FileDictionary, NameResolvedInTheCurrentFolderThenBesideTheProgram)
{
    namespace fs = std::filesystem;
    FakeNls nls;
    fs::path saved = fs::current_path();
    fs::path work = fs::temp_directory_path() / ("ivfile" + std::to_string(::getpid()));
    fs::create_directories(work / "sub");
    fs::current_path(work);
    const std::string name = "PX10Tool_test_" + std::to_string(::getpid()) + ".mld";
    fs::path beside = fs::path(IvProgramDirectory()) / name;
    {
        MemoryFileDictionary d;
        d.SetFileName(name);
        EXPECT_FALSE(d.CanBeOpened());
        d.Open();
        EXPECT_FALSE(d.IsOpen()); // missing file: stays closed, texts stay native
        EXPECT_EQ(d.Translate("Open"), "Open");

        std::ofstream(beside).put('x');
        EXPECT_EQ(d.ExpandFileName(name), beside.string());
        EXPECT_EQ(d.ExpandFileName("sub/" + name), "sub/" + name); // with a folder: not beside the program

        std::ofstream(work / name).put('x');
        EXPECT_EQ(d.GetFileName(), (work / name).string());
        EXPECT_TRUE(d.CanBeOpened());

        d.SetStorage(ivsResource);
        EXPECT_EQ(d.ExpandFileName("nowhere.mld"), "nowhere.mld");
        EXPECT_TRUE(d.CanBeOpened());
        d.SetStorage(ivsFile);
        d.SetFileName("");
        EXPECT_FALSE(d.CanBeOpened());
    }
    fs::remove(beside);
    fs::current_path(saved);
    fs::remove_all(work);
}
