// The windows the user cannot see at start-up are made when first needed,
// each once, those another builds on first, as children of the main window.
#include "Cberangeentryform.h"
#include "Cberuleform.h"
#include "DeviceRules.h"
#include "EditorInterfaces.h"
#include "Initiatepanelcommsform.h"
#include "ModuleEditFrame.h"
#include "LazyWindows.h"
#include "MainWindowFixture.h"
#include "Panelcommstransferform.h"
#include "Serialsetupform.h"
#include "Textdownloadform.h"
#include "Zonetexteditform.h"

#include <QAction>
#include <QDialog>
#include <QTreeWidget>

#include <algorithm>

namespace {

struct LazyWindowsFixture : MainWindowFixture {
    // The main window's dialogs in the order they were made.
    std::vector<QObject*> Made() const
    {
        std::vector<QObject*> out;
        for (QObject* c : Main->children())
            if (qobject_cast<QDialog*>(c))
                out.push_back(c);
        return out;
    }
    static bool Before(const std::vector<QObject*>& made, QObject* a, QObject* b)
    {
        auto ia = std::find(made.begin(), made.end(), a), ib = std::find(made.begin(), made.end(), b);
        return ia != made.end() && ib != made.end() && ia < ib;
    }
};

} // namespace

TEST_F(LazyWindowsFixture, NoneIsMadeAtStartUpAndEachOnceInStartUpOrder)
{
    Show();
    const std::size_t atStart = Made().size();
    for (QObject* w : std::initializer_list<QObject*> { frmCBERuleEdit, frmZoneText, frmSerialSetup,
             frmInitiatePanelComms, frmConfigTransfer, frmCBERangeEntry, frmTextDownload })
        EXPECT_EQ(w, nullptr);

    // The text download builds on the transfer, which builds on detection.
    TfrmTextDownload* download = TextDownloadWindow(Main.get());
    auto made = Made();
    EXPECT_EQ(made.size(), atStart + 3);
    EXPECT_TRUE(Before(made, frmInitiatePanelComms, frmConfigTransfer));
    EXPECT_TRUE(Before(made, frmConfigTransfer, download));
    EXPECT_EQ(frmSerialSetup, nullptr);

    // Asked again, directly or through what builds on them: nothing new.
    EXPECT_EQ(TextDownloadWindow(Main.get()), download);
    TfrmConfigTransfer* transfer = frmConfigTransfer;
    EXPECT_EQ(ConfigTransferWindow(Main.get()), transfer);
    EXPECT_EQ(PanelDetectionWindow(Main.get()), frmInitiatePanelComms);
    EXPECT_EQ(Made().size(), atStart + 3);

    // The editors take the configuration in force when they are made.
    TfrmZoneText* zones = ZoneTextWindow(Main.get());
    TfrmCBERuleEdit* rules = CBERuleEditWindow(Main.get());
    TfrmCBERangeEntry* range = CBERangeEntryWindow(Main.get());
    TfrmSerialSetup* serial = SerialSetupWindow(Main.get());
    EXPECT_EQ(ZoneTextWindow(Main.get()), zones);
    EXPECT_EQ(CBERuleEditWindow(Main.get()), rules);
    EXPECT_EQ(CBERangeEntryWindow(Main.get()), range);
    EXPECT_EQ(SerialSetupWindow(Main.get()), serial);
    EXPECT_EQ(Made().size(), atStart + 7);
    ASSERT_TRUE(range->EditRule);
}

TEST_F(LazyWindowsFixture, AWindowGoneWithItsMainWindowIsMadeAgainForTheNext)
{
    Show();
    SerialSetupWindow(Main.get());
    ZoneTextWindow(Main.get());
    Main.reset();
    EXPECT_EQ(frmSerialSetup, nullptr);
    EXPECT_EQ(frmZoneText, nullptr);
    Show();
    EXPECT_EQ(SerialSetupWindow(Main.get())->parent(), Main.get());
}

// The module grid is made when first needed, once. The edit rules ask for its
// current address while the sensors are shown too: before it is made they
// get the address it opens on, so the Edit menu reads the same either way.
TEST_F(LazyWindowsFixture, TheModuleGridIsMadeOnceAndTheEditRulesSeeTheSameBeforeIt)
{
    Show();
    EXPECT_EQ(Main->findChild<TfrmModuleEdit*>(), nullptr);
    // Address 1 is the second channel of a K720: cut and copy are refused
    // while it is the module grid's current address.
    ConfigData->Modules->SetType(1, 5);
    ConfigData->Modules->SetTorqType(1, kTorqTwoChannelModule);
    ConfigData->Modules->SetChannel(1, 2);
    Main->UpdateEditActions();
    EXPECT_EQ(Main->ShownKind(), TfrmMain::nkSensors);
    EXPECT_FALSE(Main->EditCopyDevice->isEnabled());

    // Made and loaded while a sensor is chosen in the tree, which stays chosen.
    ConfigData->Sensors->SetType(2, 1);
    Main->RebuildDeviceTree();
    QTreeWidgetItem* sensor = Main->FindDeviceNode(Main->SensorsNode(), 2);
    ASSERT_NE(sensor, nullptr);
    Main->TreeView1()->setCurrentItem(sensor);
    DeviceEditFrame* modules = Main->ModuleFrame();
    EXPECT_EQ(Main->TreeView1()->currentItem(), sensor);
    EXPECT_EQ(modules->CurrentAddress(), 1);
    Main->UpdateEditActions();
    EXPECT_FALSE(Main->EditCopyDevice->isEnabled());
    ConfigData->Modules->SetChannel(1, 0);
    Main->UpdateEditActions();
    EXPECT_TRUE(Main->EditCopyDevice->isEnabled());

    Main->TreeView1()->setCurrentItem(Main->ModulesNode());
    EXPECT_EQ(Main->ModuleFrame(), modules);
    EXPECT_TRUE(modules->Widget()->isVisible());
    EXPECT_EQ(Main->findChildren<TfrmModuleEdit*>().size(), 1);
}
