#pragma once
// Every window of the program, made as start-up makes them, with every page
// that is built late built too; and what their translators hold.
#include "About.h"
#include "Cberangeentryform.h"
#include "Cberuleform.h"
#include "Initiatepanelcommsform.h"
#include "Ivcustdic.h"
#include "Ivmulti.h"
#include "Main.h"
#include "PX10ConfigData.h"
#include "Pageselectionframe.h"
#include "Panelcommstransferform.h"
#include "Printersetup.h"
#include "Printpreviewform.h"
#include "Printselectionform.h"
#include "Serialsetupform.h"
#include "SplashScreen.h"
#include "Textdownloadform.h"
#include "Zonetexteditform.h"

#include <QAction>
#include <QApplication>
#include <QTreeWidget>

#include <memory>
#include <vector>

// The shipped dictionary's languages by their index: the full ones first
// (English, French, Italian, Spanish, German), then German's regional two.
constexpr int English = 1, French = 2, German = 5, Swiss = 6, Austrian = 7;
constexpr int FullLanguages = German;

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
        Main->show();
        // The windows made when first needed, made now, as the program makes them.
        Main->Windows().MakeAll();
        // What is built when first used: the panel options and their pages,
        // the on-board outputs, the module grid and a preview page.
        Main->TreeView1()->setCurrentItem(Main->PanelNode());
        Main->TreeView1()->setCurrentItem(Main->OnboardNode());
        Main->TreeView1()->setCurrentItem(Main->ModulesNode());
        Main->TreeView1()->setCurrentItem(Main->SensorsNode());
        Main->Windows().PrintPreview().PageSelect->PageSelectClick(0, Qt::LeftButton, QPoint());
        QApplication::processEvents();
    }
    ~ProgramWindows()
    {
        Main.reset();
        frmMain = nullptr;
        ConfigData = nullptr;
    }

    // The dictionary the program opened (null without one).
    TIvCustomDictionary* Dictionary() const
    {
        return dynamic_cast<TIvCustomDictionary*>(About->LanguageDictionary);
    }
    // Chooses `language` from the Language menu, as a user does.
    void ChooseLanguage(int language)
    {
        for (QAction* item : Main->LanguageItems())
            if (item->data().toInt() == language)
                item->trigger();
        // The change posted to the application reaches the windows as events
        // posted in their turn: the grids' headings and the controls' names follow it.
        QApplication::processEvents();
        QApplication::processEvents();
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
