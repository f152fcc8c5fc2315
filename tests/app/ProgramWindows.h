#pragma once
// Every window of the program, made as start-up makes them, with every page
// that is built late built too; and what their translators hold.
#include "About.h"
#include "Cberangeentryform.h"
#include "Cberuleform.h"
#include "Initiatepanelcommsform.h"
#include "Ivmulti.h"
#include "Main.h"
#include "PX10ConfigData.h"
#include "Pageselectionframe.h"
#include "Panelcommstransferform.h"
#include "Printersetup.h"
#include "Printpreviewform.h"
#include "Printselectionform.h"
#include "PrintWindows.h"
#include "Serialsetupform.h"
#include "SplashScreen.h"
#include "Textdownloadform.h"
#include "Zonetexteditform.h"

#include <QApplication>
#include <QTreeWidget>

#include <memory>
#include <vector>

struct ProgramWindows {
    std::unique_ptr<TfrmAbout> About;
    std::unique_ptr<TfrmSplashScreen> Splash;
    std::unique_ptr<TfrmMain> Main;

    ProgramWindows()
    {
        About = std::make_unique<TfrmAbout>();
        Splash = std::make_unique<TfrmSplashScreen>(Translate(About->GetProductName()));
        Main = std::make_unique<TfrmMain>(About.get(), std::vector<std::string>());
        frmMain = Main.get();
        frmCBERuleEdit = new TfrmCBERuleEdit(Main.get());
        frmZoneText = new TfrmZoneText(Main.get());
        frmSerialSetup = new TfrmSerialSetup(Main.get());
        frmInitiatePanelComms = new TfrmInitiatePanelComms(Main.get());
        frmConfigTransfer = new TfrmConfigTransfer(Main.get());
        frmCBERangeEntry = new TfrmCBERangeEntry(Main.get());
        frmTextDownload = new TfrmTextDownload(ConfigTransferDownloads(), Main.get());
        Main->show();
        // What is built when first used: the panel options' pages, the
        // module grid, the print windows and a preview page.
        Main->TreeView1()->setCurrentItem(Main->PanelNode());
        Main->TreeView1()->setCurrentItem(Main->ModulesNode());
        Main->TreeView1()->setCurrentItem(Main->SensorsNode());
        TPrintWindows& print = Main->PrintWindows();
        print.PrintSelection();
        print.PrintSetup();
        print.PrintPreview().PageSelect->PageSelectClick(0, Qt::LeftButton, QPoint());
        QApplication::processEvents();
    }
    ~ProgramWindows()
    {
        Main.reset();
        frmMain = nullptr;
        ConfigData = nullptr;
        // Children of the main window, gone with it.
        frmCBERuleEdit = nullptr;
        frmZoneText = nullptr;
        frmSerialSetup = nullptr;
        frmInitiatePanelComms = nullptr;
        frmConfigTransfer = nullptr;
        frmCBERangeEntry = nullptr;
        frmTextDownload = nullptr;
    }

    // Every translator of every window.
    std::vector<TIvTranslator*> Translators() const
    {
        std::vector<TIvTranslator*> out;
        for (QWidget* top : QApplication::topLevelWidgets())
            for (TIvTranslator* t : top->findChildren<TIvTranslator*>())
                if (std::find(out.begin(), out.end(), t) == out.end())
                    out.push_back(t);
        return out;
    }
};
