// Start-up: the about window first (it owns the dictionary and the version
// information), the check of the machine, the splash screen, the long-lived
// windows, then the message loop until the main window closes.
#include "About.h"
#include "ExceptionHandler.h"
#include "Ivdictio.h"
#include "LazyIconStyle.h"
#include "Main.h"
#include "QtPrompts.h"
#include "SplashScreen.h"
#include "StartupProbe.h"

#include <QTimer>

#include <algorithm>

int main(int argc, char** argv)
{
    // Decoded while the application object and the about window are made.
    std::future<TSplashPicture> splashPicture = DecodeSplashPictureAsync();
    TApplication app(argc, argv);
    QApplication::setStyle(new LazyIconStyle(QApplication::style()->name()));
    platform::QtPrompts prompts(PX10_APP_TITLE);
    platform::SetPrompts(&prompts);
    frmSplashScreen = nullptr;
    frmAbout = nullptr;
    try {
        frmAbout = new TfrmAbout(nullptr);
        if (frmAbout->CheckRunEnvironment()) {
            frmSplashScreen = new TfrmSplashScreen(
                Translate(frmAbout->GetProductName()), nullptr, std::move(splashPicture));
            frmSplashScreen->show();
            frmSplashScreen->repaint();
            QApplication::setApplicationName("PX10Tool");
            prompts.SetCaption(Translate("PX1x/2x"));
            // The title of message boxes follows the language.
            if (TIvDictionary* d = frmAbout->LanguageDictionary)
                d->SetOnLanguageChange(
                    [&prompts](TIvDictionary*) { prompts.SetCaption(Translate("PX1x/2x")); });

            // argv as the system gave it (Qt has taken its own options out):
            // a file name need not be valid UTF-8.
            frmMain = new TfrmMain(frmAbout, std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
            // Closing the main window ends the program.
            QObject::connect(frmMain, &TfrmMain::Closed, &app, &QApplication::quit);
            // The other long-lived windows (rule and zone text editors, panel
            // comms, printing, range entry, text download) are made when
            // first needed, by their one owner (AppWindows.h).

            // The splash stays up for 500 ms over the main window instead of
            // holding the whole start-up back.
            QTimer::singleShot(500, frmSplashScreen, [] {
                frmSplashScreen->hide();
                frmSplashScreen->close();
            });
            frmMain->show();
            frmSplashScreen->raise();
            platform::InstallStartupProbe(frmMain);
            app.exec();
        }
    } catch (const std::exception& e) {
        ShowExceptionBox(e);
    }
    delete frmMain;
    frmMain = nullptr;
    delete frmAbout;
    frmAbout = nullptr;
    delete frmSplashScreen;
    frmSplashScreen = nullptr;
    return 0;
}
