// The sensor and module frames and Add Devices, off screen.
#include "AddDevicesForm.h"
#include "ModuleEditFrame.h"
#include "PX10ConfigData.h"
#include "RecordGrid.h"
#include "SensorEditFrame.h"
#include "Spincontrol.h"

#include "support/FakePrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void ProcessEvents()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

std::unique_ptr<TPX10ConfigData> NewConfig()
{
    auto c = std::make_unique<TPX10ConfigData>(false, false, true, false);
    c->FileHeader->SetPanelType(2); // a panel with sensor groups
    return c;
}

template <class Frame> struct FrameFixture : ::testing::Test {
    std::unique_ptr<TPX10ConfigData> Config = NewConfig();
    Frame F;
    FakePrompts Prompts;
    std::vector<int> ChangedNodes;

    void SetUp() override
    {
        F.OnDeviceChanged = [this](int a) { ChangedNodes.push_back(a); };
        Bind();
        F.resize(900, 500);
        F.show();
        F.Grid()->setFocus();
        ProcessEvents();
    }
    void Bind()
    {
        F.SetConfig(Config.get());
        F.LoadFromConfig();
    }
    void Go(int Address, int FieldNo)
    {
        F.Grid()->setCurrentIndex(F.DataSet()->index(Address - 1, FieldNo - 1));
        ProcessEvents();
    }
    QComboBox* Combo()
    {
        auto* c = qobject_cast<QComboBox*>(F.Grid()->OpenEditor());
        EXPECT_TRUE(c) << "no pick list open";
        return c;
    }
    QStringList Entries()
    {
        QStringList items;
        if (QComboBox* c = Combo())
            for (int i = 0; i < c->count(); ++i)
                items << c->itemText(i);
        return items;
    }
    // Chooses an entry as a user does.
    void Choose(int Address, int FieldNo, const QString& Text)
    {
        Go(Address, FieldNo);
        QComboBox* c = Combo();
        ASSERT_TRUE(c);
        const int i = c->findText(Text);
        ASSERT_GE(i, 0) << Text.toStdString() << " not offered";
        c->setCurrentIndex(i);
        emit c->activated(i);
        ProcessEvents();
    }
    // The grid column under a heading, so a check names what the user sees.
    int ColumnTitled(const QString& Title)
    {
        for (int c = 0; c < F.DataSet()->columnCount(); ++c)
            if (F.DataSet()->headerData(c, Qt::Horizontal).toString() == Title)
                return c;
        ADD_FAILURE() << "no column " << Title.toStdString();
        return -1;
    }
    QStringList PickList(const QString& Title, int Address)
    {
        return F.Grid()->CellEdit(ColumnTitled(Title), Address).PickList;
    }
    // Writing back the text every cell of these rows shows changes no byte,
    // so no column reads one value and writes another.
    void ExpectCellsTakeBackTheirTexts(
        TPX10ConfigDeviceConfiguration& Devices, std::initializer_list<int> Rows)
    {
        for (int a : Rows)
            for (int field = 1; field <= F.DataSet()->columnCount(); ++field) {
                Devices.ClearModified();
                const QVariant shown = F.DataSet()->ReadField(field, a);
                if (!shown.isNull())
                    F.DataSet()->WriteField(field, a, shown);
                EXPECT_FALSE(Devices.IsModified()) << "field " << field << " of address " << a;
            }
        ProcessEvents();
        EXPECT_TRUE(Prompts.Log.empty());
    }
    void TypeInto(int Address, int FieldNo, const QString& Text)
    {
        Go(Address, FieldNo);
        auto* line = qobject_cast<QLineEdit*>(F.Grid()->OpenEditor());
        ASSERT_TRUE(line);
        line->selectAll();
        QTest::keyClicks(line, Text);
        F.CommitEdit();
    }
};

constexpr const char* K710Message = "There are not enough free addresses after this one for the channels of "
                                    "this module, so it stays a K710.";

using SensorFrame = FrameFixture<TfrmSensorEdit>;
using ModuleFrame = FrameFixture<TfrmModuleEdit>;

} // namespace

TEST_F(SensorFrame, PickListChoicesWriteTheRecord)
{
    Go(5, sfProtocol);
    EXPECT_EQ(Entries(), (QStringList { " - ", "TORQ", "BRIM" }));
    Choose(5, sfProtocol, "BRIM");
    EXPECT_EQ(Config->Sensors->GetType(5), 2);
    EXPECT_NE(std::find(ChangedNodes.begin(), ChangedNodes.end(), 5), ChangedNodes.end());
    Choose(5, sfType, "AVR");
    EXPECT_EQ(Config->Sensors->GetType(5), 6);
    EXPECT_EQ(Config->Sensors->GetGroup(5), 1);
    Go(5, sfPA);
    EXPECT_EQ(Entries().size(), 10);
    Choose(5, sfAlarm, "L9");
    EXPECT_EQ(Config->Sensors->GetFireSensitivity(5), 120);
    EXPECT_EQ(F.DataSet()->data(F.DataSet()->index(4, sfAlarm - 1)).toString(), "L9");
    EXPECT_EQ(F.SensorTypeText(5), "BRIM/AVR");
}

TEST_F(SensorFrame, RefusedEditsLeaveTheBytesAndSayItOnceAfterTheCommit)
{
    Choose(3, sfProtocol, "BRIM");
    Config->Sensors->ClearModified();
    TypeInto(3, sfZone, "17");
    EXPECT_TRUE(Prompts.Log.empty()) << "no box inside the commit";
    Prompts.Answer(platform::mrOk);
    ProcessEvents();
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Text, "Invalid zone entered.");
    EXPECT_FALSE(Config->Sensors->IsModified());
    EXPECT_EQ(F.DataSet()->data(F.DataSet()->index(2, sfZone - 1)).toInt(), 1);
    // A percentage out of range is refused with its own message.
    Prompts.Answer(platform::mrOk);
    TypeInto(3, sfAlarm, "79");
    ProcessEvents();
    ASSERT_EQ(Prompts.Log.size(), 2u);
    EXPECT_EQ(Prompts.Log[1].Text, "Sensitivity must be in range 80% - 120%");
    EXPECT_FALSE(Config->Sensors->IsModified());
}

TEST_F(SensorFrame, AddedRangeSkipsFittedSensorsAndWarnsOnce)
{
    Config->Sensors->SetType(4, 1);
    Config->Sensors->SetZone(4, 9);
    Prompts.Answer(platform::mrOk);
    F.ApplyAddedSensor(10, 1, 17, "BRIM", "OPX", "", false);
    ProcessEvents();
    for (int a = 1; a <= 10; ++a)
        EXPECT_EQ(Config->Sensors->GetType(a), a == 4 ? 1 : 7) << a;
    EXPECT_EQ(Config->Sensors->GetZone(4), 9);
    EXPECT_EQ(Config->Sensors->GetFireSensitivity(1), 112);
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Text, "Invalid zone entered.");
    F.DeleteSensors(7, 3);
    for (int a = 3; a <= 7; ++a)
        EXPECT_EQ(Config->Sensors->GetType(a), 0) << a;
    EXPECT_EQ(Config->Sensors->GetType(8), 7);
}

TEST_F(ModuleFrame, MultiChannelModulesAreMadeInOneStep)
{
    Choose(10, mfProtocol, "TORQ");
    Choose(10, mfType, "K720");
    EXPECT_EQ(Config->Modules->GetChannel(10), 1);
    EXPECT_EQ(Config->Modules->GetChannel(11), 2);
    EXPECT_EQ(Config->Modules->GetTorqType(11), 133);
    EXPECT_NE(std::find(ChangedNodes.begin(), ChangedNodes.end(), 11), ChangedNodes.end());
    // A second channel offers no protocol or type.
    Go(11, mfProtocol);
    EXPECT_EQ(F.Grid()->CellEdit(mfProtocol - 1, 11).ButtonStyle, TCellEdit::cbsNone);
    EXPECT_EQ(F.ModuleTypeText(11), "TORQ/K720/MCP");

    // No room at the loop's end: it stays a K710, with one message.
    Choose(99, mfProtocol, "TORQ");
    Prompts.Answer(platform::mrOk);
    Choose(99, mfType, "K720");
    ProcessEvents();
    EXPECT_EQ(Config->Modules->GetTorqType(99), 132);
    EXPECT_EQ(Config->Modules->GetChannel(99), 0);
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Text, K710Message);

    // Deleting the second channel deletes the module.
    F.DeleteModules(11, 11);
    EXPECT_EQ(Config->Modules->GetType(10), 0);
    EXPECT_EQ(Config->Modules->GetChannel(10), 0);
}

TEST_F(ModuleFrame, K721RangeGetsInputChannelsAndARelay)
{
    F.ApplyAddedModule(10, 15, 3, "TORQ", "K721", "MON", false);
    const int channels[] = { 1, 2, 3, 1, 2, 3 };
    const char* functions[] = { "MON", "MON", "RLY", "MON", "MON", "RLY" };
    TModuleTexts x(*Config->Modules);
    for (int a = 10; a <= 15; ++a) {
        EXPECT_EQ(Config->Modules->GetChannel(a), channels[a - 10]) << a;
        EXPECT_EQ(Config->Modules->GetTorqType(a), 134) << a;
        EXPECT_EQ(x.GetFunction(a), functions[a - 10]) << a;
        EXPECT_EQ(Config->Modules->GetZone(a), 3) << a;
    }
    EXPECT_TRUE(Prompts.Log.empty());
    // The function pick list of a third channel offers its outputs.
    Go(12, mfFunction);
    EXPECT_EQ(Entries(), (QStringList { "RLY", "EST", "ESE", "RLE" }));
    // Overwriting a range that cuts a module replaces the whole module.
    F.ApplyAddedModule(11, 11, 20, "BRIM", "CMX", "SDR", true);
    EXPECT_EQ(Config->Modules->GetChannel(10), 0);
    EXPECT_EQ(Config->Modules->GetType(10), 0);
    EXPECT_EQ(Config->Modules->GetChannel(12), 0);
    EXPECT_EQ(x.ModuleTypeText(11), "BRIM/CMX/SDR");
    EXPECT_EQ(Config->Modules->GetZone(11), 20);
}

TEST_F(ModuleFrame, ScrollingALoadedFileChangesNothing)
{
    // A file with devices of every kind, stored values outside the lists
    // and records a file may hold but the editors never make.
    TPX10ConfigDeviceConfiguration& m = *Config->Modules;
    TPX10ConfigDeviceConfiguration& s = *Config->Sensors;
    F.ApplyAddedModule(20, 22, 1, "TORQ", "K721", "MCP", false);
    m.SetType(30, 2);
    m.GetRecord(30)->SetByte(30, 0xFF);
    m.SetType(31, 3);
    m.SetInCBERule(31, 1, false);
    m.SetTorqType(99, 133);
    m.SetType(99, 3);
    m.SetChannel(99, 1);
    m.SetType(40, 25);
    s.SetTorqType(5, 31);
    s.SetType(5, 9);
    s.SetRemoteOutput(5, 2);
    s.SetInCBERule(5, 1, false);
    s.SetApplicationNumber(5, 77);
    s.SetType(6, 4);
    s.SetFireSensitivity(6, 20);
    s.SetType(7, 99);
    QTemporaryDir dir;
    const std::string file = dir.filePath("scroll.UDF").toStdString();
    Config->SaveToFile(file);
    auto loaded = std::make_unique<TPX10ConfigData>(false, false, true, false);
    loaded->LoadFromFile(file);
    Config = std::move(loaded);
    Bind();
    TfrmSensorEdit sensors;
    sensors.SetConfig(Config.get());
    sensors.LoadFromConfig();
    sensors.show();
    ASSERT_FALSE(Config->IsModified());

    for (TDeviceEditFrameBase* frame :
        { static_cast<TDeviceEditFrameBase*>(&F), static_cast<TDeviceEditFrameBase*>(&sensors) }) {
        frame->Grid()->setFocus();
        for (int row = 0; row < 99; ++row)
            for (int column = 0; column < frame->DataSet()->columnCount(); ++column) {
                frame->Grid()->setCurrentIndex(frame->DataSet()->index(row, column));
                QApplication::processEvents();
            }
        frame->UpdateColumns();
        frame->CommitEdit();
        ProcessEvents();
    }
    EXPECT_FALSE(Config->IsModified());
    EXPECT_TRUE(Prompts.Log.empty());
}

namespace {

struct AddDevicesFixture : ::testing::Test {
    std::unique_ptr<TPX10ConfigData> Config = NewConfig();
    TfrmModuleEdit Modules;
    TfrmAddDevices Dialog;
    std::vector<int> Selected;
    std::vector<std::tuple<int, int, int, std::string, std::string, std::string>> Added;

    void Prepare(int Start, int Limit)
    {
        Modules.SetConfig(Config.get());
        Modules.LoadFromConfig();
        Dialog.Prepare(
            "Add Modules", Start,
            [this](TTextList* P, TTextList* T, TTextList* F, const std::string& p, const std::string& t) {
                Modules.FillDeviceLists(P, T, t, p, F);
            },
            [this](int a) { Selected.push_back(a); },
            [this](int f, int l, int z, const std::string& p, const std::string& t, const std::string& fn,
                bool) { Added.emplace_back(f, l, z, p, t, fn); },
            Limit,
            [](const std::string& f) {
                return ModuleZoneRange(IndexOfText(DefaultModuleLists().Functions, f));
            });
    }
    void Pick(QComboBox* Box, const QString& Text)
    {
        const int i = Box->findText(Text);
        ASSERT_GE(i, 0) << Text.toStdString();
        Box->setCurrentIndex(i);
        emit Box->activated(i);
    }
};

} // namespace

TEST_F(AddDevicesFixture, AddressCheckEnablesOkAndOkAddsOnce)
{
    Prepare(5, -1);
    EXPECT_EQ(Selected, std::vector<int> { 5 });
    EXPECT_FALSE(Dialog.btnOK->isEnabled());
    Pick(Dialog.cboProtocol, "BRIM");
    EXPECT_FALSE(Dialog.btnOK->isEnabled()); // no last address yet
    EXPECT_TRUE(Dialog.cboFunction->isVisibleTo(&Dialog));
    Dialog.edtEndAddress->setText("9");
    EXPECT_TRUE(Dialog.btnOK->isEnabled());
    Dialog.edtStartAddress->setText("10");
    EXPECT_FALSE(Dialog.btnOK->isEnabled());

    // Enter does nothing while OK is off.
    QTest::keyClick(&Dialog, Qt::Key_Return);
    EXPECT_TRUE(Added.empty());

    // An AUX function offers only zones 17 to 32.
    Dialog.edtStartAddress->setText("98");
    Dialog.edtEndAddress->setText("99");
    Pick(Dialog.cboFunction, "AUX");
    EXPECT_EQ(Dialog.cseZone->GetMin(), 17);
    EXPECT_EQ(Dialog.cseZone->GetValue(), 17);
    Selected.clear();
    QTest::keyClick(&Dialog, Qt::Key_Return);
    ASSERT_EQ(Added.size(), 1u);
    EXPECT_EQ(
        Added[0], std::make_tuple(98, 99, 17, std::string("BRIM"), std::string("MMX"), std::string("AUX")));
    EXPECT_EQ(Selected, std::vector<int> { 99 });
}

TEST_F(AddDevicesFixture, BrimLimitAndMultiChannelCounts)
{
    Prepare(10, 3);
    Pick(Dialog.cboProtocol, "BRIM");
    Dialog.edtEndAddress->setText("12");
    EXPECT_TRUE(Dialog.btnOK->isEnabled());
    Dialog.edtEndAddress->setText("13");
    EXPECT_EQ(Dialog.edtEndAddress->text(), "");
    EXPECT_FALSE(Dialog.btnOK->isEnabled());

    Pick(Dialog.cboProtocol, "TORQ");
    Pick(Dialog.cboDeviceTypes, "K720");
    Dialog.edtStartAddress->setText("1");
    Dialog.edtEndAddress->setText("5");
    EXPECT_FALSE(Dialog.btnOK->isEnabled());
    Dialog.edtEndAddress->setText("4");
    EXPECT_TRUE(Dialog.btnOK->isEnabled());
    // No protocol: no types, no functions and no OK.
    Pick(Dialog.cboProtocol, " - ");
    EXPECT_FALSE(Dialog.cboFunction->isVisibleTo(&Dialog));
    EXPECT_FALSE(Dialog.btnOK->isEnabled());
}

TEST_F(ModuleFrame, NamedComponentsAndTranslatedVocabularies)
{
    EXPECT_EQ(F.objectName(), "frmModuleEdit1");
    EXPECT_EQ(F.Grid()->objectName(), "dbgModuleEdit");
    EXPECT_FALSE(F.Grid()->accessibleName().isEmpty());
    // The translated vocabulary's list box comes with the frame; one of
    // product designations when first asked for, and only once.
    EXPECT_TRUE(F.findChild<QListWidget*>("lbxAuxActions"));
    EXPECT_FALSE(F.findChild<QListWidget*>("lbxG400StringHolder"));
    auto* torq = F.VocabularyListBox("lbxG400StringHolder");
    ASSERT_TRUE(torq);
    EXPECT_EQ(F.VocabularyListBox("lbxG400StringHolder"), torq);
    EXPECT_EQ(F.findChildren<QListWidget*>("lbxG400StringHolder").size(), 1);
    EXPECT_TRUE(torq->isHidden());
    EXPECT_EQ(torq->count(), 129);
    EXPECT_FALSE(F.VocabularyListBox("lbxNoSuchVocabulary"));
    // A translator changes the list box; the grid shows and offers its texts.
    auto* protocols = F.VocabularyListBox("lbxProtocolStringHolder");
    ASSERT_TRUE(protocols);
    protocols->item(2)->setText("BRIM-X");
    QEvent change(QEvent::LanguageChange);
    QApplication::sendEvent(&F, &change);
    ProcessEvents();
    Go(7, mfProtocol);
    EXPECT_TRUE(Entries().contains("BRIM-X"));
    Choose(7, mfProtocol, "BRIM-X");
    EXPECT_EQ(Config->Modules->GetType(7), 1);
    EXPECT_EQ(F.DataSet()->data(F.DataSet()->index(6, mfProtocol - 1)).toString(), "BRIM-X");

    TfrmAddDevices dialog;
    for (const char* name : { "edtStartAddress", "edtEndAddress", "cseZone", "cboProtocol", "cboDeviceTypes",
             "cboFunction", "cbxOverwrite", "btnOK", "btnCancel" })
        EXPECT_TRUE(dialog.findChild<QWidget*>(name)) << name;
    EXPECT_EQ(dialog.cboDeviceTypes->accessibleName(), "Type");
}

TEST_F(ModuleFrame, PastedMultiChannelModuleTakesItsFollowingAddresses)
{
    F.ApplyAddedModule(10, 10, 2, "TORQ", "K721", "MCP", false);
    TPX10ConfigRecord buffer;
    Config->Modules->CopyDeviceTo(10, &buffer);
    Config->Modules->CopyDeviceFrom(40, &buffer);
    ChangedNodes.clear();
    F.DevicePasted(40);
    EXPECT_EQ(Config->Modules->GetChannel(41), 2);
    EXPECT_EQ(Config->Modules->GetChannel(42), 3);
    EXPECT_EQ(Config->Modules->GetType(42), 5);
    for (int a : { 40, 41, 42 })
        EXPECT_NE(std::find(ChangedNodes.begin(), ChangedNodes.end(), a), ChangedNodes.end()) << a;
    // Beside a fitted module there is no room: it stays a K710.
    Config->Modules->SetType(61, 4);
    Config->Modules->CopyDeviceFrom(60, &buffer);
    Prompts.Answer(platform::mrOk);
    F.DevicePasted(60);
    ProcessEvents();
    EXPECT_EQ(Config->Modules->GetTorqType(60), 132);
    EXPECT_EQ(Config->Modules->GetChannel(60), 0);
    EXPECT_EQ(Config->Modules->GetType(61), 4);
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Text, K710Message);
}

// An action whose translation is longer than its cell is shown cut; the
// list open on it, which follows the language change, still marks it.
TEST_F(ModuleFrame, AnOpenListMarksTheStoredActionWhoseTextIsCut)
{
    F.ApplyAddedModule(4, 4, 20, "TORQ", "MCP", "AUX", false);
    Config->Modules->SetAction(4, 10);
    Go(4, mfAction);
    QComboBox* list = Combo();
    ASSERT_TRUE(list);
    const QString longer = "D\u00c9RANGEMENT DE LA TRANSMISSION DES D\u00c9RANGEMENTS";
    F.VocabularyListBox("lbxAuxActions")->item(10)->setText(longer);
    QEvent change(QEvent::LanguageChange);
    QApplication::sendEvent(&F, &change);
    ProcessEvents();
    ASSERT_EQ(F.Grid()->OpenEditor(), list);
    EXPECT_EQ(F.DataSet()->ReadField(mfAction, 4).toString().toStdString(), longer.left(25).toStdString());
    EXPECT_EQ(list->currentIndex(), 10);
    EXPECT_EQ(list->currentText().toStdString(), longer.toStdString());
}

// Tab and Shift+Tab leave every cell: an empty group (a sensor without one)
// or a zone the user cleared does not hold the keyboard in its cell; what
// does not fit the cell is refused and the stored value shown again.
TEST_F(SensorFrame, TabLeavesACellWhoseTextDoesNotFitItsMask)
{
    Choose(1, sfProtocol, "TORQ");
    Go(1, sfGroup);
    QTest::keyClick(F.Grid()->OpenEditor(), Qt::Key_Tab);
    ProcessEvents();
    EXPECT_EQ(F.Grid()->currentIndex().column(), sfAppNum - 1);
    Go(1, sfGroup);
    QTest::keyClick(F.Grid()->OpenEditor(), Qt::Key_Backtab, Qt::ShiftModifier);
    ProcessEvents();
    EXPECT_EQ(F.Grid()->currentIndex().column(), sfPD - 1);

    Config->Sensors->SetZone(2, 7);
    Go(2, sfZone);
    auto* line = qobject_cast<QLineEdit*>(F.Grid()->OpenEditor());
    ASSERT_TRUE(line);
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Delete);
    QTest::keyClick(line, Qt::Key_Tab);
    ProcessEvents();
    EXPECT_EQ(F.Grid()->currentIndex().column(), sfProtocol - 1);
    EXPECT_EQ(Config->Sensors->GetZone(2), 7);
    EXPECT_EQ(F.DataSet()->ReadField(sfZone, 2).toInt(), 7);
}

// Numbers stored beyond their cell's size (from a file or a panel) are shown
// whole: cut, a group of 123 would read as group 12.
TEST_F(SensorFrame, NumbersLongerThanTheirCellAreShownWhole)
{
    Config->Sensors->SetType(3, 5); // AVS: group and pre-alarm levels
    Config->Sensors->SetGroup(3, 123);
    Config->Sensors->SetPrealarmSensitivity(3, 200);
    F.Resync();
    EXPECT_EQ(F.DataSet()->data(F.DataSet()->index(2, sfGroup - 1)).toString(), "123");
    EXPECT_EQ(F.DataSet()->data(F.DataSet()->index(2, sfPA - 1)).toString(), "200");
    // A text is still cut to the cell.
    EXPECT_EQ(F.DataSet()->data(F.DataSet()->index(2, sfType - 1)).toString(), "AVS");
}

// Every input channel of a new K720 or K721 that monitors starts with no
// rules, as its first channel does; a K721's relay keeps its rule 1.
TEST_F(ModuleFrame, MonitoringChannelsOfAddedModulesStartWithoutRules)
{
    auto ruleText = [&](int a) {
        return F.DataSet()->data(F.DataSet()->index(a - 1, mfCBERule - 1)).toString().toStdString();
    };
    F.ApplyAddedModule(10, 13, 2, "TORQ", "K720", "MON", false);
    for (int a = 10; a <= 13; ++a) {
        EXPECT_EQ(Config->Modules->GetChannel(a), a % 2 ? 2 : 1) << a;
        EXPECT_EQ(Config->Modules->GetTorqType(a), 133) << a;
        EXPECT_EQ(ruleText(a), "(1) ") << a;
    }
    F.ApplyAddedModule(20, 22, 2, "TORQ", "K721", "MNS", false);
    EXPECT_EQ(ruleText(20), "(1) ");
    EXPECT_EQ(ruleText(21), "(1) ");
    EXPECT_EQ(ruleText(22), "(1) 1");
    EXPECT_EQ(TModuleTexts(*Config->Modules).GetFunction(22), "RLY");
    EXPECT_TRUE(Prompts.Log.empty());
}

TEST_F(SensorFrame, EachColumnShowsWritesAndOffersItsOwnValue)
{
    // Each value differs from its neighbours' (fire and day, prealarm and
    // day prealarm), so a cell paired with another column's value shows.
    TPX10ConfigDeviceConfiguration& s = *Config->Sensors;
    Choose(1, sfProtocol, "TORQ");
    Choose(1, sfType, "SMT4");
    s.SetZone(1, 7);
    s.SetFireSensitivity(1, 88); // L2
    s.SetDayModeSensitivity(1, 104); // L4
    s.SetApplicationNumber(1, 3);
    s.SetRemoteOutput(1, 2);
    s.SetDescription(1, "Caf\xE9 door");
    Choose(2, sfProtocol, "BRIM");
    Choose(2, sfType, "AVS");
    s.SetFireSensitivity(2, 90); // L3
    s.SetDayModeSensitivity(2, 110); // L7
    s.SetPrealarmSensitivity(2, 89); // L2
    s.SetDayModePrealarmSensitivity(2, 107); // L6
    s.SetGroup(2, 1); // as choosing its type again sets it
    F.ResyncDataSet();
    EXPECT_EQ(F.DataSet()->ReadField(sfDescription, 1).toString(), QString::fromUtf8("Caf\u00e9 door"));
    ExpectCellsTakeBackTheirTexts(s, { 1, 2 });

    EXPECT_EQ(PickList("App.Num.", 1).value(0), "255");
    EXPECT_EQ(PickList("Rem. Output", 1), (QStringList { " -", "Follow", "CBE" }));
    EXPECT_EQ(PickList("Alarm", 1).size(), 6);
    EXPECT_EQ(F.Grid()->CellEdit(ColumnTitled("CBE Rule"), 1).ButtonStyle, TCellEdit::cbsEllipsis);
    EXPECT_EQ(PickList("PD", 2).value(9), "L9");
    EXPECT_TRUE(PickList("Group", 2).isEmpty());
    EXPECT_TRUE(PickList("App.Num.", 2).isEmpty());
}

TEST_F(ModuleFrame, EachColumnShowsWritesAndOffersItsOwnValue)
{
    TPX10ConfigDeviceConfiguration& m = *Config->Modules;
    F.ApplyAddedModule(4, 4, 20, "TORQ", "MCP", "AUX", false);
    m.SetAction(4, 5); // ABORT SWITCH: takes CBE rules
    m.SetDescription(4, "Abort \xB1");
    m.SetInCBERule(4, 3, true);
    F.ApplyAddedModule(5, 6, 2, "TORQ", "K720", "MON", false);
    F.RefreshGrid();
    EXPECT_EQ(F.DataSet()->ReadField(mfAction, 4).toString(), "ABORT SWITCH");
    ExpectCellsTakeBackTheirTexts(m, { 4, 5, 6 });

    EXPECT_EQ(PickList("Action", 4).value(0), "PLANT ALARM");
    EXPECT_EQ(F.Grid()->CellEdit(ColumnTitled("CBE Rule"), 4).ButtonStyle, TCellEdit::cbsEllipsis);
    EXPECT_EQ(PickList("Function", 5), (QStringList { "MCP", "DKM", "MON", "MNS", "AUX", "MRL", "IRL" }));
    EXPECT_TRUE(PickList("Action", 5).isEmpty());
    EXPECT_TRUE(PickList("Type", 6).isEmpty()) << "a second channel follows its first";
}
