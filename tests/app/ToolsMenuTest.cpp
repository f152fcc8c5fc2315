// The main window's tools, VdS option and user manual.
#include "Exception.h"
#include "MainWindowFixture.h"
#include "localisation/TestDictionary.h"
#include "Quorvelprotocolcomponent.h"
#include "Serialsetupform.h"
#include "UserManual.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>

namespace {

// Eight languages of distinct primary languages.
class FixedLanguage : public MemoryDictionary {
public:
    FixedLanguage() { SetUpLanguages(*this, { 9, 7, 12, 16, 10, 19, 21, 22 }); }
};

struct ToolsFixture : MainWindowFixture {
    FixedLanguage Language;
};

void Touch(const std::string& path)
{
    std::ofstream(path) << "%PDF-1.4\n";
}

} // namespace

TEST_F(ToolsFixture, SerialPortSetupSetsThePortOnlyAfterOk)
{
    Show();
    TfrmSerialSetup& dialog = Main->Windows().SerialSetup();
    ASSERT_TRUE(Main->ToolsSerialPortSetup->isEnabled());
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(dialog.cboCommsPortSelect->currentIndex(), 0);
        dialog.cboCommsPortSelect->setCurrentIndex(3);
        dialog.btnOK->click();
    });
    Main->ToolsSerialPortSetup->trigger();
    EXPECT_EQ(Main->QuorvelProtocol1()->CommPort(), spCOM4);
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(dialog.cboCommsPortSelect->currentIndex(), 3);
        dialog.cboCommsPortSelect->setCurrentIndex(6);
        dialog.btnCancel->click();
    });
    Main->ToolsSerialPortSetup->trigger();
    EXPECT_EQ(Main->QuorvelProtocol1()->CommPort(), spCOM4);
    // The port is stored when the window closes.
    Main->close();
    Main.reset();
    ConfigData = nullptr;
    Show();
    EXPECT_EQ(Main->QuorvelProtocol1()->CommPort(), spCOM4);
}

TEST_F(ToolsFixture, VdSMarkDecidesTheDefaultsOfNewConfigurations)
{
    Show();
    ASSERT_TRUE(Main->VdSCompatibility->isEnabled());
    EXPECT_FALSE(Main->VdSCompatibility->isChecked());
    auto flags = Main->Lifecycle().NewConfigFlags();
    EXPECT_FALSE(flags.VdSDefaults);
    EXPECT_FALSE(flags.LED2CModeDefault);
    EXPECT_TRUE(flags.TorqSwitchDefault);
    EXPECT_FALSE(flags.ControlKey3ModeDefault);

    Main->VdSCompatibility->trigger();
    EXPECT_TRUE(Main->VdSCompatibility->isChecked());
    flags = Main->Lifecycle().NewConfigFlags();
    EXPECT_TRUE(flags.VdSDefaults);
    EXPECT_TRUE(flags.LED2CModeDefault);
    EXPECT_TRUE(flags.ControlKey3ModeDefault);

    Main->VdSCompatibility->trigger();
    EXPECT_FALSE(Main->Lifecycle().NewConfigFlags().VdSDefaults);
}

TEST_F(ToolsFixture, LanguageDecidesTheVdSMarkAndRegionalOptions)
{
    About->LanguageDictionary = &Language;
    Show();
    Language.SetLanguage(5);
    EXPECT_TRUE(Main->UpdateVdSMenuFromLanguage());
    EXPECT_TRUE(Main->VdSCompatibility->isChecked());
    // Another language clears the mark even when the user had set it.
    Language.SetLanguage(6);
    EXPECT_FALSE(Main->UpdateVdSMenuFromLanguage());
    EXPECT_FALSE(Main->VdSCompatibility->isChecked());
    EXPECT_TRUE(Main->IsRegionalOptionEnabled());
    About->LanguageDictionary = nullptr;
}

TEST_F(ToolsFixture, UserManualFallsBackToTheStandardName)
{
    const std::string dir = Dir.path().toStdString();
    try {
        FindUserManual(dir);
        FAIL() << "no manual present";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "User Manual not present");
    }
    Touch(Path("412-905-000.pdf"));
    // The untranslated key names no file, so the standard name is taken.
    EXPECT_EQ(FindUserManual(dir), Path("412-905-000.pdf"));
    EXPECT_EQ(FindUserManual(dir + "/"), Path("412-905-000.pdf"));
    Touch(Path("UserManualFilenamePX10"));
    EXPECT_EQ(FindUserManual(dir), Path("UserManualFilenamePX10"));
}

TEST_F(ToolsFixture, UserManualWithoutAViewerGivesTheReaderMessage)
{
    std::string opened;
    OpenUserManual("/x/412-905-000.pdf", [&](const std::string& p) {
        opened = p;
        return true;
    });
    EXPECT_EQ(opened, "/x/412-905-000.pdf");
    try {
        OpenUserManual("/x/412-905-000.pdf", [](const std::string&) { return false; });
        FAIL() << "no viewer";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "To view the User Manual, Adobe Acrobat Reader MUST be installed");
    }
}

TEST_F(ToolsFixture, HelpActionShowsOneMessageWhenTheManualIsMissing)
{
    Show();
    bool opened = false;
    Main->OpenDocument = [&](const std::string&) { return opened = true; };
    Prompts.Answer(platform::mrOk);
    Main->HelpPX10UserManual->trigger();
    EXPECT_FALSE(opened);
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Text, "User Manual not present.");
}
