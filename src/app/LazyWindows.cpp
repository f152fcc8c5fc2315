#include "LazyWindows.h"

#include <utility>

#include "Cberangeentryform.h"
#include "Cberuleform.h"
#include "Initiatepanelcommsform.h"
#include "Main.h"
#include "PX10ConfigData.h"
#include "Panelcommstransferform.h"
#include "Serialsetupform.h"
#include "Textdownloadform.h"
#include "Zonetexteditform.h"

namespace {

// Makes the window the global names and forgets it when it goes (with the
// main window that owns it), so that a later main window gets its own.
template <class T, class... Args> T* Make(T*& global, Args&&... args)
{
    T* window = new T(std::forward<Args>(args)...);
    global = window;
    QObject::connect(window, &QObject::destroyed, [&global, window] {
        if (global == window)
            global = nullptr;
    });
    return window;
}

} // namespace

TfrmCBERuleEdit* CBERuleEditWindow(TfrmMain* main)
{
    if (!frmCBERuleEdit) {
        Make(frmCBERuleEdit, main);
        frmCBERuleEdit->IsVdSCompatibility = [main] { return main->IsVdSCompatibility(); };
        if (ConfigData)
            frmCBERuleEdit->SetConfig(ConfigData);
    }
    return frmCBERuleEdit;
}

TfrmZoneText* ZoneTextWindow(TfrmMain* main)
{
    if (!frmZoneText) {
        Make(frmZoneText, main);
        if (ConfigData)
            frmZoneText->SetConfig(ConfigData);
    }
    return frmZoneText;
}

TfrmSerialSetup* SerialSetupWindow(TfrmMain* main)
{
    if (!frmSerialSetup)
        Make(frmSerialSetup, main);
    return frmSerialSetup;
}

TfrmInitiatePanelComms* PanelDetectionWindow(TfrmMain* main)
{
    if (!frmInitiatePanelComms)
        Make(frmInitiatePanelComms, main);
    return frmInitiatePanelComms;
}

TfrmConfigTransfer* ConfigTransferWindow(TfrmMain* main)
{
    if (!frmConfigTransfer) {
        PanelDetectionWindow(main);
        Make(frmConfigTransfer, main);
    }
    return frmConfigTransfer;
}

TfrmCBERangeEntry* CBERangeEntryWindow(TfrmMain* main)
{
    if (!frmCBERangeEntry) {
        Make(frmCBERangeEntry, main);
        frmCBERangeEntry->EditRule = [main](int rule) { return CBERuleEditWindow(main)->Execute(rule); };
    }
    return frmCBERangeEntry;
}

TfrmTextDownload* TextDownloadWindow(TfrmMain* main)
{
    if (!frmTextDownload) {
        ConfigTransferWindow(main);
        Make(frmTextDownload, ConfigTransferDownloads(), main);
    }
    return frmTextDownload;
}
