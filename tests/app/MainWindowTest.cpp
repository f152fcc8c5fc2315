#include "EditorInterfaces.h"
#include "MainWindowFixture.h"
#include "Panelsetupoptions.h"
#include "RecordGrid.h"

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <sys/stat.h>

using namespace platform;

namespace {

struct MainFixture : MainWindowFixture {
    QStringList Children(QTreeWidgetItem* group)
    {
        QStringList out;
        for (int i = 0; i < group->childCount(); ++i)
            out << group->child(i)->text(0);
        return out;
    }
};

} // namespace

TEST_F(MainFixture, FirstShowMakesAFreshConfigurationAndShowsSensors)
{
    Show();
    ASSERT_NE(ConfigData, nullptr);
    EXPECT_EQ(Main->windowTitle(), "NEW FILE - PX1x/2x Series Windows Support Tool V3.03 c");
    EXPECT_EQ(Main->TreeView1()->currentItem(), Main->SensorsNode());
    EXPECT_EQ(Main->ShownKind(), TfrmMain::nkSensors);
    TPX10ConfigData* first = ConfigData;
    Main->hide();
    Main->show(); // start-up runs once
    EXPECT_EQ(ConfigData, first);
}

TEST_F(MainFixture, CommandLineFileThatFailsShowsErrorAndLeavesFreshConfiguration)
{
    Prompts.Answer(mrOk);
    Show({ Path("missing.UDF") });
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Type, MsgDlgType::mtError);
    ASSERT_NE(ConfigData, nullptr);
    EXPECT_FALSE(ConfigData->IsModified());
    EXPECT_EQ(Main->Lifecycle().FileName(), "");
    EXPECT_TRUE(Main->acceptDrops());
}

TEST_F(MainFixture, DeviceNodesFollowTheRecordsInAddressOrder)
{
    Show();
    ConfigData->Sensors->SetType(12, 1);
    Main->UpdateDeviceTreeNode(false, 12);
    ConfigData->Sensors->SetType(5, 2);
    Main->UpdateDeviceTreeNode(false, 5);
    EXPECT_EQ(Children(Main->SensorsNode()), QStringList({ "Address  5", "Address 12" }));
    EXPECT_TRUE(Main->SensorsNode()->isExpanded());
    // deleting the selected device clears the selection first
    Main->TreeView1()->setCurrentItem(Main->FindDeviceNode(Main->SensorsNode(), 12));
    ConfigData->Sensors->SetType(12, 0);
    Main->UpdateDeviceTreeNode(false, 12);
    EXPECT_EQ(Main->TreeView1()->currentItem(), nullptr);
    EXPECT_EQ(Children(Main->SensorsNode()), QStringList({ "Address  5" }));
}

TEST_F(MainFixture, NewConfigurationRebuildsTheTree)
{
    Show();
    ConfigData->Modules->SetType(7, 1);
    Main->RebuildDeviceTree();
    EXPECT_EQ(Children(Main->ModulesNode()).size(), 1);
    Prompts.Answer(mrNo);
    Main->FileNew->trigger();
    EXPECT_EQ(Children(Main->ModulesNode()).size(), 0);
}

// The Edit actions reach the clipboard for the frame in view and keep the
// tree in step; the rules are tested in DeviceRulesTest.
TEST_F(MainFixture, EditActionsCopyCutAndPasteTheDeviceOfTheFrameInView)
{
    Show();
    Main->UpdateEditActions();
    EXPECT_FALSE(Main->EditPasteDevice->isEnabled());
    ConfigData->Sensors->SetType(8, 2);
    ConfigData->Sensors->SetDescription(8, "Hall");
    Main->UpdateDeviceTreeNode(false, 8);
    Main->SensorFrame()->GotoAddress(8);
    Main->EditCutDevice->trigger();
    EXPECT_EQ(ConfigData->Sensors->GetType(8), 0);
    EXPECT_EQ(Main->FindDeviceNode(Main->SensorsNode(), 8), nullptr);
    EXPECT_TRUE(Main->EditPasteDevice->isEnabled());
    Main->SensorFrame()->GotoAddress(40);
    Main->EditPasteDevice->trigger();
    EXPECT_EQ(ConfigData->Sensors->GetDescription(40), "Hall");
    EXPECT_NE(Main->FindDeviceNode(Main->SensorsNode(), 40), nullptr);
    // the module frame has no buffer of its own yet
    Main->TreeView1()->setCurrentItem(Main->ModulesNode());
    Main->UpdateEditActions();
    EXPECT_FALSE(Main->EditPasteDevice->isEnabled());
    Main->TreeView1()->setCurrentItem(Main->PanelNode());
    Main->UpdateEditActions();
    EXPECT_FALSE(Main->EditCopyDevice->isEnabled());
}

TEST_F(MainFixture, DeleteModuleOfThreeChannelsAsksAndWidens)
{
    Show();
    for (int c = 0; c < 3; ++c) {
        ConfigData->Modules->SetType(20 + c, 1);
        ConfigData->Modules->SetTorqType(20 + c, 134);
        ConfigData->Modules->SetChannel(20 + c, c + 1);
    }
    Main->RebuildDeviceTree();
    Main->TreeView1()->setCurrentItem(Main->FindDeviceNode(Main->ModulesNode(), 20));
    Prompts.Answer(mrYes);
    Main->ToolsDeleteModule->trigger();
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Text,
        "Delete module at address 20\r\nSubsequent channels of the\r\nsame module will "
        "also be deleted.\r\n\r\nNOTE: This may remove CBE\r\n            Rule assignments.");
    EXPECT_EQ(ConfigData->Modules->GetType(22), 0);
    EXPECT_EQ(Main->ModulesNode()->childCount(), 0);
}

TEST_F(MainFixture, DeleteAllSensorsOnlyOnYes)
{
    Show();
    ConfigData->Sensors->SetType(1, 1);
    Main->RebuildDeviceTree();
    Prompts.Answer(mrNo);
    Main->ToolsDeleteAllSensors->trigger();
    EXPECT_EQ(ConfigData->Sensors->GetType(1), 1);
    Prompts.Answer(mrYes);
    Main->ToolsDeleteAllSensors->trigger();
    EXPECT_EQ(ConfigData->Sensors->GetType(1), 0);
    EXPECT_EQ(Prompts.Log[0].Text,
        "Delete ALL sensors ?\r\n\r\nNOTE: This may affect CBE\r\n            Rule assignments.");
}

TEST_F(MainFixture, PopupMenusFollowTheNode)
{
    Show();
    EXPECT_EQ(Main->PopupMenuFor(Main->PanelNode())->objectName(), "popPanel");
    EXPECT_EQ(Main->PopupMenuFor(Main->OnboardNode())->objectName(), "popOOutputs");
    EXPECT_EQ(Main->PopupMenuFor(Main->LoopNode())->objectName(), "popLoop");
    EXPECT_EQ(Main->PopupMenuFor(Main->SensorsNode())->objectName(), "popAllSensors");
    ConfigData->Modules->SetType(4, 1);
    Main->UpdateDeviceTreeNode(true, 4);
    EXPECT_EQ(Main->PopupMenuFor(Main->FindDeviceNode(Main->ModulesNode(), 4))->objectName(), "popModule");
}

TEST_F(MainFixture, ClosingWithChangesAsksAndCancelKeepsTheWindow)
{
    Show();
    ConfigData->GeneralPanelSetup->SetSiteName("x");
    Prompts.Answer(mrCancel);
    EXPECT_FALSE(Main->close());
    EXPECT_NE(ConfigData, nullptr);
    Prompts.Answer(mrNo);
    EXPECT_TRUE(Main->close());
    EXPECT_EQ(ConfigData, nullptr);
}

TEST_F(MainFixture, RecentFilesAreStoredAndReadBack)
{
    Show();
    for (const char* n : { "a.UDF", "b.UDF" }) {
        Prompts.AnswerFile(Path(n));
        Main->FileSaveAs->trigger();
    }
    EXPECT_EQ(Main->FileHistorySlots[0]->text().toStdString(), "&1  " + Path("b.UDF"));
    EXPECT_FALSE(Main->FileHistorySlots[2]->isVisible());
    ASSERT_TRUE(Main->close());
    Main.reset();
    Show();
    EXPECT_EQ(Main->GetFileHistoryItem(0), Path("b.UDF"));
    EXPECT_EQ(Main->GetFileHistoryItem(1), Path("a.UDF"));
    EXPECT_EQ(Main->GetFileHistoryItem(2), "");
    Main->FileHistorySlots[1]->trigger();
    EXPECT_EQ(Main->Lifecycle().FileName(), Path("a.UDF"));
    EXPECT_EQ(Main->windowTitle(), "A.UDF - PX1x/2x Series Windows Support Tool V3.03 c");
}

// A name from an old archive with a Latin-1 byte (not UTF-8) opens from the
// command line and from the recent-file list, and is stored as it is.
TEST_F(MainFixture, NonUtf8FileNamesOpenFromTheCommandLineAndTheRecentFiles)
{
    const std::string name = Path("Pl\xE4n.UDF");
    {
        TPX10ConfigData saved(false, false, true, false);
        saved.ZoneTexts->SetZoneText(1, "Archive");
        saved.SaveToFile(name);
    }
    Show({ name });
    EXPECT_TRUE(Prompts.Log.empty());
    EXPECT_EQ(Main->Lifecycle().FileName(), name);
    EXPECT_EQ(ConfigData->ZoneTexts->GetZoneText(1), "Archive");
    EXPECT_EQ(Main->GetFileHistoryItem(0), name);
    ASSERT_TRUE(Main->close());
    Main.reset();

    Show();
    ASSERT_EQ(Main->GetFileHistoryItem(0), name);
    EXPECT_EQ(ConfigData->ZoneTexts->GetZoneText(1), "");
    Main->FileHistorySlots[0]->trigger();
    EXPECT_TRUE(Prompts.Log.empty());
    EXPECT_EQ(Main->Lifecycle().FileName(), name);
    EXPECT_EQ(ConfigData->ZoneTexts->GetZoneText(1), "Archive");

    Main->FilesDropped({ name });
    EXPECT_EQ(Main->Lifecycle().FileName(), name);
}

TEST_F(MainFixture, ANamedPipeOnTheCommandLineIsRefusedWithoutWaiting)
{
    const std::string pipe = Path("pipe.UDF");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    Prompts.Answer(mrOk);
    Show({ pipe }); // nobody writes to the pipe: a blocking open never returns
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Text, "Invalid file type.\n" + pipe);
    EXPECT_EQ(Main->Lifecycle().FileName(), "");
    Prompts.Answer(mrOk);
    Main->FilesDropped({ pipe });
    EXPECT_EQ(Prompts.Log.size(), 2u);
}

TEST_F(MainFixture, DroppedUdfOpensAfterTheQuestion)
{
    Show();
    Prompts.AnswerFile(Path("drop.UDF"));
    Main->FileSaveAs->trigger();
    Prompts.Answer(mrNo);
    ConfigData->GeneralPanelSetup->SetSiteName("x");
    Main->FilesDropped({ Path("x.txt"), Path("drop.UDF") });
    EXPECT_EQ(Main->Lifecycle().FileName(), Path("drop.UDF"));
    EXPECT_EQ(ConfigData->GeneralPanelSetup->GetSiteName(), "");
}

TEST_F(MainFixture, PanelSetupOptionsAreMadeWhenFirstAskedForAndShowTheCurrentConfiguration)
{
    // Before the page is made, a stored option past its spin's range is already
    // as the page would show it, for Save and Send to carry.
    {
        TPX10ConfigData old(false, false, true, false);
        old.GeneralPanelSetup->SetMainsDelay(200);
        old.SaveToFile(Path("old.UDF"));
    }
    Show({ Path("old.UDF") });
    EXPECT_EQ(ConfigData->GeneralPanelSetup->GetMainsDelay(), 60);
    TfrmPanelSetupOptions* frame = Main->PanelSetupFrame();
    EXPECT_FALSE(frame->ControlsCreated()); // not needed to show the sensors
    ConfigData->GeneralPanelSetup->SetSiteName("HALL 3");
    Main->NewConfiguration(); // a refresh while the frame has never been shown
    ConfigData->GeneralPanelSetup->SetSiteName("HALL 4");
    Main->RefreshAllViews();
    EXPECT_FALSE(frame->ControlsCreated());
    Main->ViewGeneralSetupOptions->trigger();
    EXPECT_EQ(Main->ShownKind(), TfrmMain::nkPanel);
    ASSERT_TRUE(frame->ControlsCreated());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->cboPanelTypeSelection->isVisible());
    EXPECT_EQ(frame->txtSiteName->text(), "HALL 4");
    // A new configuration is bound and shown; the old one is gone.
    Prompts.Answer(mrNo);
    Main->FileNew->trigger();
    EXPECT_EQ(frame->Logic().Config(), ConfigData);
    EXPECT_EQ(frame->txtSiteName->text(), "");
    frame->txtSiteName->setText("HALL 5");
    emit frame->txtSiteName->textEdited("HALL 5");
    EXPECT_EQ(ConfigData->GeneralPanelSetup->GetSiteName(), "HALL 5");
    Prompts.Answer(mrNo);
    ASSERT_TRUE(Main->close());
    EXPECT_EQ(frame->Logic().Config(), nullptr);
}

// The options need more room than the window has: they scroll, and neither
// the window nor the tree changes its size for them.
TEST_F(MainFixture, ShowingThePanelOptionsKeepsTheWindowAndTreeSizes)
{
    Show();
    QApplication::processEvents();
    const QSize size = Main->size();
    const int tree = Main->TreeView1()->width();
    EXPECT_GE(tree, 195);
    Main->ViewGeneralSetupOptions->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Main->size(), size);
    EXPECT_EQ(Main->TreeView1()->width(), tree);
    const QSize least = Main->minimumSizeHint().expandedTo(Main->minimumSize());
    EXPECT_LE(least.width(), 800);
    EXPECT_LE(least.height(), 600);
    // The window fits the screen, title bar included.
    const QRect avail = Main->screen()->availableGeometry();
    EXPECT_GE(Main->frameGeometry().top(), avail.top());
    EXPECT_LE(Main->height(), avail.height());
    // Every "Address" node is shown whole.
    ConfigData->Sensors->SetType(99, 1);
    Main->UpdateDeviceTreeNode(false, 99);
    QTreeWidget* t = Main->TreeView1();
    QTreeWidgetItem* node = Main->FindDeviceNode(Main->SensorsNode(), 99);
    ASSERT_NE(node, nullptr);
    const int needed = t->visualItemRect(node).left() + t->fontMetrics().horizontalAdvance(node->text(0));
    EXPECT_LE(needed, t->viewport()->width());
}

TEST_F(MainFixture, PasteThatBreaksTheProtocolRuleSaysWhyAndChangesNothing)
{
    Show();
    for (int a = 1; a <= 40; ++a)
        ConfigData->Sensors->SetType(a, 2);
    ConfigData->Modules->SetType(1, 1);
    ConfigData->Modules->SetTorqType(1, 132);
    Main->RebuildDeviceTree();
    Main->SensorFrame()->GotoAddress(5);
    Main->EditCopyDevice->trigger();
    Main->SensorFrame()->GotoAddress(50);
    ConfigData->Sensors->ClearModified();
    Prompts.Answer(mrOk);
    Main->EditPasteDevice->trigger();
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Text,
        "The device was not pasted: TORQ devices and more than 40 BRIM devices cannot share the loop.");
    EXPECT_EQ(Prompts.Log[0].Type, MsgDlgType::mtWarning);
    EXPECT_EQ(ConfigData->Sensors->GetType(50), 0);
    EXPECT_FALSE(ConfigData->Sensors->IsModified());
    EXPECT_EQ(Main->FindDeviceNode(Main->SensorsNode(), 50), nullptr);
}

// The tree follows the grid from a device node through an address without
// one (no selection) to the next device.
TEST_F(MainFixture, TreeFollowsTheGridPastAddressesWithoutADevice)
{
    Show();
    for (int a : { 1, 3 })
        ConfigData->Sensors->SetType(a, 2);
    Main->RebuildDeviceTree();
    Main->TreeView1()->setCurrentItem(Main->FindDeviceNode(Main->SensorsNode(), 1));
    Main->SensorFrame()->Widget()->setFocus();
    Main->SensorFrame()->GotoAddress(2);
    EXPECT_EQ(Main->TreeView1()->currentItem(), nullptr);
    Main->SensorFrame()->GotoAddress(3);
    EXPECT_EQ(Main->TreeView1()->currentItem(), Main->FindDeviceNode(Main->SensorsNode(), 3));
    // A fixed node keeps the selection.
    Main->TreeView1()->setCurrentItem(Main->LoopNode());
    Main->SensorFrame()->GotoAddress(1);
    EXPECT_EQ(Main->TreeView1()->currentItem(), Main->LoopNode());
}

namespace {
// The name of the pop-up menu `open` shows, which is closed again at once.
QString PopupShownBy(const std::function<void()>& open)
{
    auto shown = std::make_shared<QString>();
    QTimer::singleShot(0, [shown] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            *shown = menu->objectName();
            menu->close();
        }
    });
    open();
    QApplication::processEvents();
    return *shown;
}
void MenuKey(QWidget* w)
{
    // The system turns the Menu key into a context menu event for the focus.
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(0, 0), w->mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(w, &menu);
}
} // namespace

// Without a mouse: Shift+F10 and the Menu key open the pop-up menu of the
// tree's current node and of the grids, also from an open cell.
TEST_F(MainFixture, ShiftF10AndTheMenuKeyOpenThePopupMenus)
{
    Show();
    QApplication::setActiveWindow(Main.get());
    QTreeWidget* tree = Main->TreeView1();
    tree->setFocus();
    tree->setCurrentItem(Main->LoopNode());
    EXPECT_EQ(PopupShownBy([&] { QTest::keyClick(tree, Qt::Key_F10, Qt::ShiftModifier); }), "popLoop");
    tree->setCurrentItem(Main->ModulesNode());
    EXPECT_EQ(PopupShownBy([&] { MenuKey(tree); }), "popAllModules");

    tree->setCurrentItem(Main->SensorsNode());
    auto* grid = Main->SensorFrame()->Widget()->findChild<TRecordGrid*>();
    ASSERT_TRUE(grid);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(4, 1)); // a description cell, its editor open
    QApplication::processEvents();
    QWidget* cell = grid->OpenEditor();
    ASSERT_TRUE(cell);
    EXPECT_EQ(PopupShownBy([&] { QTest::keyClick(cell, Qt::Key_F10, Qt::ShiftModifier); }), "popDeviceTable");
    EXPECT_EQ(PopupShownBy([&] { MenuKey(cell); }), "popDeviceTable");
    grid->setCurrentIndex(grid->model()->index(4, 0)); // the address: no editor
    QApplication::processEvents();
    EXPECT_EQ(PopupShownBy([&] { QTest::keyClick(grid, Qt::Key_F10, Qt::ShiftModifier); }), "popDeviceTable");
}
