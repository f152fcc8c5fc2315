// The windows the user cannot see at start-up are made when first needed,
// each once, those another builds on first, as children of the main window.
#include "Cberangeentryform.h"
#include "Cberuleform.h"
#include "DeviceRules.h"
#include "EditorInterfaces.h"
#include "AppWindows.h"
#include "Initiatepanelcommsform.h"
#include "ModuleEditFrame.h"
#include "MainWindowFixture.h"
#include "Panelcommstransferform.h"
#include "Printersetup.h"
#include "Printselectionform.h"
#include "Serialsetupform.h"
#include "Textdownloadform.h"
#include "Zonetexteditform.h"

#include <QAction>
#include <QDialog>
#include <QPointer>
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
    TAppWindows& windows = Main->Windows();

    // The text download builds on the transfer, which builds on detection.
    TfrmTextDownload* download = &windows.TextDownload();
    auto made = Made();
    ASSERT_EQ(made.size(), atStart + 3);
    TfrmConfigTransfer* transfer = &windows.ConfigTransfer();
    TfrmInitiatePanelComms* detection = &windows.PanelDetection();
    EXPECT_TRUE(Before(made, detection, transfer));
    EXPECT_TRUE(Before(made, transfer, download));
    EXPECT_EQ(&transfer->Logic().Detection(), &detection->Logic());

    // Asked again, directly or through what builds on them: nothing new.
    EXPECT_EQ(&windows.TextDownload(), download);
    EXPECT_EQ(Made().size(), atStart + 3);

    TfrmZoneText* zones = &windows.ZoneText();
    TfrmCBERuleEdit* rules = &windows.CBERuleEdit();
    TfrmCBERangeEntry* range = &windows.CBERangeEntry();
    TfrmSerialSetup* serial = &windows.SerialSetup();
    EXPECT_EQ(&windows.ZoneText(), zones);
    EXPECT_EQ(&windows.CBERuleEdit(), rules);
    EXPECT_EQ(&windows.CBERangeEntry(), range);
    EXPECT_EQ(&windows.SerialSetup(), serial);
    EXPECT_EQ(Made().size(), atStart + 7);
    ASSERT_TRUE(range->EditRule);

    // The print setup builds on the print selection; all the rest once more
    // makes only what is left: add devices and the three print windows.
    windows.MakeAll();
    made = Made();
    EXPECT_EQ(made.size(), atStart + 11);
    EXPECT_TRUE(Before(made, &windows.PrintSelection(), &windows.PrintSetup()));
    for (QObject* w : made)
        EXPECT_EQ(w->parent(), Main.get());
}

TEST_F(LazyWindowsFixture, AWindowGoneWithItsMainWindowIsMadeAgainForTheNext)
{
    Show();
    const QPointer<QObject> serial = &Main->Windows().SerialSetup();
    const QPointer<QObject> zones = &Main->Windows().ZoneText();
    Main.reset();
    EXPECT_TRUE(serial.isNull());
    EXPECT_TRUE(zones.isNull());
    Show();
    EXPECT_EQ(Main->Windows().SerialSetup().parent(), Main.get());
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
