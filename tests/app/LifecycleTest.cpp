#include "Exception.h"
#include "ConfigLifecycle.h"
#include "PX10ConfigData.h"
#include "support/FakePrompts.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

using namespace platform;

namespace {

struct LifecycleFixture : ::testing::Test {
    QTemporaryDir Dir;
    FakePrompts Prompts;
    ConfigLifecycle Life { "PX1x/2x Series Windows Support Tool", "3.03 c" };
    int Changes = 0;
    void SetUp() override
    {
        Life.OnConfigChanged = [this] { ++Changes; };
        Life.NewConfiguration();
    }
    void TearDown() override { Life.Close(); }
    std::string Path(const std::string& name)
    {
        return QDir(Dir.path()).filePath(QString::fromStdString(name)).toStdString();
    }
    void Modify() { ConfigData->GeneralPanelSetup->SetSiteName("Changed"); }
    std::string SavedFile()
    {
        std::string p = Path("saved.UDF");
        TPX10ConfigData c(false, false, true, false);
        c.GeneralPanelSetup->SetSiteName("From file");
        c.SaveToFile(p);
        return p;
    }
};

} // namespace

TEST_F(LifecycleFixture, NewWithoutChangesReplacesWithoutQuestion)
{
    TPX10ConfigData* before = ConfigData;
    Life.FileNewExecute();
    EXPECT_TRUE(Prompts.Log.empty());
    EXPECT_NE(ConfigData, before);
    EXPECT_FALSE(ConfigData->IsModified());
}

TEST_F(LifecycleFixture, CancelKeepsTheModifiedConfiguration)
{
    Modify();
    TPX10ConfigData* before = ConfigData;
    Prompts.Answer(mrCancel);
    EXPECT_FALSE(Life.QuerySaveChanges());
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Text, "Save changes ?");
    EXPECT_EQ(Prompts.Log[0].Type, MsgDlgType::mtConfirmation);
    EXPECT_EQ(Prompts.Log[0].Buttons, unsigned(mbYes | mbNo | mbCancel));
    EXPECT_EQ(ConfigData, before);
    EXPECT_TRUE(ConfigData->IsModified());
}

TEST_F(LifecycleFixture, NoDiscardsTheChanges)
{
    Modify();
    Prompts.Answer(mrNo);
    EXPECT_TRUE(Life.QuerySaveChanges());
    EXPECT_EQ(ConfigData->GeneralPanelSetup->GetSiteName(), "");
}

TEST_F(LifecycleFixture, YesSavesToTheKnownFileThenStartsFresh)
{
    std::string p = SavedFile();
    Life.OpenConfigFile(p);
    Modify();
    Prompts.Answer(mrYes);
    EXPECT_TRUE(Life.QuerySaveChanges());
    EXPECT_EQ(Life.FileName(), "");
    TPX10ConfigData check(false, false, true, false);
    check.LoadFromFile(p);
    EXPECT_EQ(check.GeneralPanelSetup->GetSiteName(), "Changed");
}

TEST_F(LifecycleFixture, YesWithCancelledSaveDialogStopsTheCaller)
{
    const std::string file = SavedFile();
    Modify();
    Prompts.AnswerFile(file);
    Prompts.Answer(mrYes);
    Prompts.AnswerFile("");
    Life.FileOpenExecute(); // the file is not opened over the unsaved edits
    ASSERT_EQ(Prompts.Log.size(), 3u);
    EXPECT_EQ(Prompts.Log[0].Kind, "open");
    EXPECT_EQ(Prompts.Log[2].Kind, "save");
    EXPECT_TRUE(ConfigData->IsModified());
    EXPECT_EQ(ConfigData->GeneralPanelSetup->GetSiteName(), "Changed");
}

TEST_F(LifecycleFixture, YesWithSaveAsNamesAndSaves)
{
    Modify();
    Prompts.Answer(mrYes);
    Prompts.AnswerFile(Path("plan"));
    EXPECT_TRUE(Life.QuerySaveChanges());
    EXPECT_TRUE(QFile::exists(QString::fromStdString(Path("plan.UDF"))));
    EXPECT_EQ(Life.History().Item(0), Path("plan.UDF"));
}

// The file comes first: Cancel in the open dialog changes nothing, neither
// the edits nor the file the configuration came from.
TEST_F(LifecycleFixture, CancelledOpenChangesNothing)
{
    Life.OpenConfigFile(SavedFile());
    Modify();
    TPX10ConfigData* before = ConfigData;
    Prompts.AnswerFile("");
    Life.FileOpenExecute();
    ASSERT_EQ(Prompts.Log.size(), 1u); // no "Save changes ?"
    EXPECT_EQ(ConfigData, before);
    EXPECT_TRUE(ConfigData->IsModified());
    EXPECT_EQ(ConfigData->GeneralPanelSetup->GetSiteName(), "Changed");
    EXPECT_EQ(Life.FileName(), Path("saved.UDF"));
    EXPECT_EQ(Prompts.Dialogs.at(0).Title, "Open File");
    EXPECT_EQ(Prompts.Dialogs.at(0).Filter, "PX1x/2x Configuration File|*.UDF");
}

TEST_F(LifecycleFixture, ChosenFileAsksThenReplaces)
{
    const std::string file = SavedFile();
    Modify();
    Prompts.AnswerFile(file);
    Prompts.Answer(mrNo);
    Life.FileOpenExecute();
    ASSERT_EQ(Prompts.Log.size(), 2u);
    EXPECT_EQ(Prompts.Log[1].Text, "Save changes ?");
    EXPECT_EQ(ConfigData->GeneralPanelSetup->GetSiteName(), "From file");
    EXPECT_EQ(Life.FileName(), file);
}

TEST_F(LifecycleFixture, FailedOpenLeavesAFreshConfigurationAndRaises)
{
    std::string bad = Path("bad.UDF");
    QFile f(QString::fromStdString(bad));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a configuration");
    f.close();
    ConfigData->GeneralPanelSetup->SetSiteName("x");
    ConfigData->GeneralPanelSetup->SetSiteName(""); // modified marks without a change of content
    TPX10ConfigData* before = ConfigData;
    EXPECT_THROW(Life.OpenConfigFile(bad), std::exception);
    EXPECT_NE(ConfigData, before);
    EXPECT_EQ(Life.FileName(), "");
    EXPECT_FALSE(ConfigData->IsModified());
    EXPECT_EQ(Life.History().Count(), 0);
}

TEST_F(LifecycleFixture, FailingSaveAsLeavesLaterSavesOnTheFileShown)
{
    const std::string shown = SavedFile();
    Life.OpenConfigFile(shown);
    Modify();
    Prompts.AnswerFile(Path("missing-folder/plan"));
    EXPECT_THROW(Life.FileSaveAsExecute(), std::exception);
    // The caption still names the opened file: Save must go there, not to
    // the name that could not be written.
    EXPECT_EQ(Life.FileName(), shown);
    EXPECT_EQ(Life.GetDisplayFileName(), "SAVED.UDF");
    Life.FileSaveExecute();
    EXPECT_FALSE(ConfigData->IsModified());
    TPX10ConfigData reread(false, false, true, false);
    reread.LoadFromFile(shown);
    EXPECT_EQ(reread.GeneralPanelSetup->GetSiteName(), ConfigData->GeneralPanelSetup->GetSiteName());
}

TEST_F(LifecycleFixture, OpenSetsFileHistoryAndCaption)
{
    std::string p = SavedFile();
    Life.OpenConfigFile(p);
    EXPECT_EQ(ConfigData->GeneralPanelSetup->GetSiteName(), "From file");
    EXPECT_EQ(Life.GetDisplayFileName(), "SAVED.UDF");
    EXPECT_EQ(Life.Caption(), "SAVED.UDF - PX1x/2x Series Windows Support Tool V3.03 c");
    Life.NewConfiguration();
    EXPECT_EQ(Life.Caption(), "NEW FILE - PX1x/2x Series Windows Support Tool V3.03 c");
    Life.FileHistoryClick(0);
    EXPECT_EQ(Life.FileName(), p);
    Prompts.AnswerFile(Path("café-ü"));
    Life.FileSaveAsExecute();
    EXPECT_EQ(Life.GetDisplayFileName(), "CAFÉ-Ü.UDF"); // upper-cased as text
    Prompts.AnswerFile(Dir.path().toStdString() + "/caf\xE9"); // not UTF-8: its other bytes stay
    Life.FileSaveAsExecute();
    EXPECT_EQ(Life.GetDisplayFileName(), "CAF\xE9.UDF");
    std::remove(Life.FileName().c_str()); // the folder's removal cannot name it
}

TEST_F(LifecycleFixture, FailedOpenAndSaveNameTheFileBelowTheReason)
{
    const std::string vanished = Path("vanished.UDF");
    try {
        Life.OpenConfigFile(vanished);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "No such file or directory");
        EXPECT_EQ(e.Detail(), vanished);
    }
    const std::string unwritable = Path("missing-folder/plan");
    Prompts.AnswerFile(unwritable);
    try {
        Life.FileSaveAsExecute();
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Detail(), unwritable + ".UDF");
    }
}

// A relative name, however it comes in, keeps its full path for use from
// another folder; a ".." stays, as after a linked folder it may lead elsewhere.
TEST_F(LifecycleFixture, RelativeNamesAreKeptWithTheirFullPath)
{
    SavedFile();
    const QString home = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(Dir.path()));
    const QDir here = QDir::current();
    Prompts.AnswerFile("./saved.UDF"); // as the command line or a dialog may give it
    Life.FileOpenExecute();
    EXPECT_EQ(Life.History().Item(0), here.filePath("saved.UDF").toStdString());
    const std::string up = "../" + here.dirName().toStdString() + "/plan.UDF";
    Prompts.AnswerFile(up);
    EXPECT_NO_THROW(Life.FileSaveAsExecute());
    EXPECT_EQ(Life.FileName(), here.filePath(QString::fromStdString(up)).toStdString());
    QDir::setCurrent(home);
}

TEST_F(LifecycleFixture, FailingSaveAsKeepsCaptionAndHistory)
{
    Prompts.AnswerFile(Path("missing-folder/plan"));
    EXPECT_THROW(Life.FileSaveAsExecute(), std::exception);
    EXPECT_EQ(Life.History().Count(), 0);
}

TEST(SaveAsNaming, UdfExtensionIsAddedOnlyWhenMissing)
{
    EXPECT_EQ(ConfigLifecycle::WithUdfExtension("plan"), "plan.UDF");
    EXPECT_EQ(ConfigLifecycle::WithUdfExtension("plan.udf"), "plan.udf");
    EXPECT_EQ(ConfigLifecycle::WithUdfExtension("x.ud"), "x.ud.UDF");
    EXPECT_EQ(ConfigLifecycle::WithUdfExtension("abc"), "abc.UDF");
    EXPECT_EQ(ConfigLifecycle::WithUdfExtension(".UDF"), ".UDF");
}

TEST(DroppedFiles, FirstUdfInAnyCaseIsChosen)
{
    EXPECT_EQ(ConfigLifecycle::FirstConfigFile({ "/a/notes.txt", "/a/b.Udf", "/a/c.UDF" }), "/a/b.Udf");
    EXPECT_EQ(ConfigLifecycle::FirstConfigFile({ "/a/notes.txt", "/a/UDF", "/a.UDF/x" }), "");
    EXPECT_EQ(ConfigLifecycle::FirstConfigFile({}), "");
}

TEST_F(LifecycleFixture, DroppingOnlyOtherFilesDoesNothing)
{
    Modify();
    Life.OpenDroppedFiles({ Path("a.txt"), Path("b.cfg") });
    EXPECT_TRUE(Prompts.Log.empty());
    EXPECT_TRUE(ConfigData->IsModified());
}

TEST(FileHistoryOrder, MovesDuplicatesToTheTopAndKeepsFive)
{
    FileHistory h;
    for (const char* f : { "/1", "/2", "/3" })
        h.Add(f);
    h.Add("/1");
    EXPECT_EQ(h.Count(), 3);
    EXPECT_EQ(h.Item(0), "/1");
    EXPECT_EQ(h.Item(1), "/3");
    EXPECT_EQ(h.Item(2), "/2");
    for (const char* f : { "/4", "/5", "/6" })
        h.Add(f);
    EXPECT_EQ(h.Count(), 5);
    EXPECT_EQ(h.Item(0), "/6");
    EXPECT_EQ(h.Item(4), "/3"); // "/2" fell off
    EXPECT_EQ(h.Caption(0), "&1  /6");
    EXPECT_EQ(h.Item(5), "");
    EXPECT_EQ(h.Item(-1), "");
    h.Add("");
    EXPECT_EQ(h.Item(0), "/6");
    h.Add("/A");
    h.Add("/a"); // names differ by case: two entries
    EXPECT_EQ(h.Item(1), "/A");
}
