// The main window's actions, menus, tool bar and pop-up menus.
#include "Main.h"

#include "About.h"
#include "Cberuleform.h"
#include "CodePage.h"
#include "ExceptionHandler.h"
#include "Ivdictio.h"
#include "EditorInterfaces.h"
#include "Panelsetupoptions.h"
#include "PX10ConfigData.h"
#include "Printersetup.h"
#include "Printpreviewform.h"
#include "Printselectionform.h"
#include "StartupProbe.h"
#include "ToolbarIcons.h"
#include "Zonetexteditform.h"

#include <QFileInfo>
#include <QMenuBar>
#include <QToolBar>
#include <QTreeWidget>

using platform::Utf8ToQString;

void TfrmMain::CreateActions()
{
    auto make = [this](const char* name, const char* caption, const char* hint = nullptr,
                    QKeySequence key = {}, QIcon icon = {}) {
        auto* a = new QAction(icon, Utf8ToQString(caption), this);
        a->setObjectName(name);
        if (hint)
            a->setStatusTip(Utf8ToQString(hint)), a->setToolTip(Utf8ToQString(hint));
        if (!key.isEmpty())
            a->setShortcut(key);
        return a;
    };
    FileNew = make("FileNew", IvNative("&New"), IvNative("New File"), QKeySequence("Ctrl+N"),
        MakeToolbarIcon(ToolbarIcon::New));
    FileOpen = make("FileOpen", IvNative("&Open..."), IvNative("Open File"), QKeySequence("Ctrl+O"),
        MakeToolbarIcon(ToolbarIcon::Open));
    FileSave = make("FileSave", IvNative("&Save"), IvNative("Save File"), QKeySequence("Ctrl+S"),
        MakeToolbarIcon(ToolbarIcon::Save));
    FileSaveAs = make("FileSaveAs", IvNative("Save &As..."));
    FilePrintPreview = make("FilePrintPreview", IvNative("Print Preview"), IvNative("Print Preview"), {},
        MakeToolbarIcon(ToolbarIcon::Preview));
    FilePrint = make("FilePrint", IvNative("Print"), IvNative("Print"), QKeySequence("Ctrl+P"),
        MakeToolbarIcon(ToolbarIcon::Print));
    FilePrinterSetup = make("FilePrinterSetup", IvNative("Printer Setup"));
    FileExit = make("FileExit", IvNative("E&xit"), nullptr, QKeySequence("Ctrl+Q"));
    EditCutDevice = make("EditCutDevice", IvNative("Cu&t Device"), nullptr, QKeySequence("Ctrl+X"),
        MakeToolbarIcon(ToolbarIcon::Cut));
    EditCopyDevice = make("EditCopyDevice", IvNative("&Copy Device"), nullptr, QKeySequence("Ctrl+C"),
        MakeToolbarIcon(ToolbarIcon::Copy));
    EditPasteDevice = make("EditPasteDevice", IvNative("&Paste Device"), nullptr, QKeySequence("Ctrl+V"),
        MakeToolbarIcon(ToolbarIcon::Paste));
    ViewGeneralSetupOptions = make(
        "ViewGeneralSetupOptions", IvNative("&General Setup Options"), nullptr, QKeySequence("Ctrl+G"));
    ViewOnboardOutputCircuits = make("ViewOnboardOutputCircuits", IvNative("&Onboard Output Circuits"),
        IvNative("Onboard Output Settings"), QKeySequence("Ctrl+D"));
    ViewLoopDevices = make("ViewLoopDevices", IvNative("&Loop Devices"));
    ViewZoneText = make("ViewZoneText", IvNative("&Zone Text"), nullptr, QKeySequence("Ctrl+Z"));
    ViewCBERules = make("ViewCBERules", IvNative("&CBE Rules"), nullptr, QKeySequence("Ctrl+B"));
    ToolsSendToPanel = make("ToolsSendToPanel", IvNative("Send to Panel"), IvNative("Send to Panel"),
        QKeySequence("Ctrl+T"), MakeToolbarIcon(ToolbarIcon::Send));
    ToolsReceiveFromPanel = make("ToolsReceiveFromPanel", IvNative("&Receive from Panel"),
        IvNative("Receive from Panel"), QKeySequence("Ctrl+R"), MakeToolbarIcon(ToolbarIcon::Receive));
    ToolsFetchEventLog
        = make("ToolsFetchEventLog", IvNative("Fetch Event &Log"), IvNative("Fetch Event Log From Panel"));
    ToolsFetchDeviceData = make(
        "ToolsFetchDeviceData", IvNative("Fetch &Device Data"), IvNative("Fetch Event Log From Panel"));
    ToolsLogDevice = make("ToolsLogDevice", IvNative("&Log Device"));
    ToolsSerialPortSetup
        = make("ToolsSerialPortSetup", IvNative("Serial &Port Setup"), nullptr, QKeySequence("Ctrl+E"));
    ToolsAddChangeSensors = make("ToolsAddChangeSensors", IvNative("&Add/Change Sensors"));
    ToolsAddChangeModules = make("ToolsAddChangeModules", IvNative("&Add/Change Modules"));
    ToolsDeleteAllSensors = make("ToolsDeleteAllSensors", IvNative("&Delete ALL Sensors"));
    ToolsDeleteAllModules = make("ToolsDeleteAllModules", IvNative("&Delete All Modules"));
    ToolsDeleteAllDevices = make("ToolsDeleteAllDevices", IvNative("ALL Devices"));
    ToolsDeleteSensor = make("ToolsDeleteSensor", IvNative("&Delete Sensor"));
    ToolsDeleteModule = make("ToolsDeleteModule", IvNative("&Delete Module"));
    HelpPX10UserManual = make("HelpPX10UserManual", IvNative("PX1x/2x User &Manual"), nullptr,
        QKeySequence("F1"), MakeToolbarIcon(ToolbarIcon::Help));
    HelpAboutBox = make("HelpAboutBox", IvNative("&About..."), nullptr, QKeySequence("Ctrl+A"));
    VdSCompatibility = make("VdSCompatibility", IvNative("VdS Compatibility"));
    VdSCompatibility->setCheckable(true);

    // The printing actions wait until the system's printers are known.
    for (QAction* a : { FilePrintPreview, FilePrint, FilePrinterSetup })
        a->setEnabled(false);

    // Every command first takes what is typed in an open cell: a command that
    // changes records underneath the cell would otherwise get the typed text
    // written over its result when the grid is read again.
    auto on = [this](QAction* a, auto fn) {
        connect(a, &QAction::triggered, this, [this, fn] {
            Guarded([&] {
                CommitPendingEdits();
                fn();
            });
        });
    };
    on(FileNew, [this] { FLifecycle.FileNewExecute(); });
    on(FileOpen, [this] { FLifecycle.FileOpenExecute(); });
    on(FileSave, [this] { FLifecycle.FileSaveExecute(); });
    on(FileSaveAs, [this] { FLifecycle.FileSaveAsExecute(); });
    on(FileExit, [this] { close(); });
    on(EditCutDevice, [this] { EditCutDeviceExecute(); });
    on(EditCopyDevice, [this] { EditCopyDeviceExecute(); });
    on(EditPasteDevice, [this] { EditPasteDeviceExecute(); });
    on(ViewGeneralSetupOptions, [this] { FTree->setCurrentItem(FPanelNode); });
    on(ViewOnboardOutputCircuits, [this] { FTree->setCurrentItem(FOnboardNode); });
    on(ViewLoopDevices, [this] { FTree->setCurrentItem(FLoopNode); });
    on(ToolsAddChangeSensors, [this] { FSensorFrame->AddDevices(); });
    on(ToolsAddChangeModules, [this] { ModuleFrame()->AddDevices(); });
    on(ViewZoneText, [this] { FWindows->ZoneText().ShowModal(); });
    on(ViewCBERules, [this] { FWindows->CBERuleEdit().Execute(-1); });
    on(ToolsDeleteAllSensors, [this] { ToolsDeleteAllSensorsExecute(); });
    on(ToolsDeleteAllModules, [this] { ToolsDeleteAllModulesExecute(); });
    on(ToolsDeleteAllDevices, [this] { ToolsDeleteAllDevicesExecute(); });
    on(ToolsDeleteSensor, [this] { ToolsDeleteSensorExecute(); });
    on(ToolsDeleteModule, [this] { ToolsDeleteModuleExecute(); });
    on(HelpAboutBox, [this] { FAbout->exec(); });
    on(HelpPX10UserManual, [this] { HelpPX10UserManualExecute(); });
    on(VdSCompatibility, [this] { VdSCompatibilityClick(); });
    on(ToolsSerialPortSetup, [this] { ToolsSerialPortSetupExecute(); });
    on(ToolsSendToPanel, [this] { ToolsSendToPanelExecute(); });
    on(ToolsReceiveFromPanel, [this] { ToolsReceiveFromPanelExecute(); });
    on(ToolsFetchEventLog, [this] { ToolsFetchEventLogExecute(); });
    on(ToolsFetchDeviceData, [this] { ToolsFetchDeviceDataExecute(); });
    on(ToolsLogDevice, [this] { ToolsLogDeviceExecute(); });
    // Reports are built from the current configuration when printed.
    TAppWindows::Collaborators with;
    with.Configuration = [] { return ConfigData; };
    with.IsVdSCompatibility = [this] { return IsVdSCompatibility(); };
    with.Reports = [this] {
        const std::string& name = FLifecycle.FileName();
        return report::TReportInput { ConfigData,
            { name.empty() ? name : QFileInfo(QString::fromStdString(name)).absoluteFilePath().toStdString(),
                IsVdSCompatibility(),
                // A frame not made yet has no time fields either.
                frmPanelSetupOptions1 ? frmPanelSetupOptions1->TimeSeparator() : ':' } };
    };
    FWindows = std::make_unique<TAppWindows>(this, std::move(with));
    on(FilePrint, [this] { FWindows->PrintSelection().exec(); });
    on(FilePrintPreview, [this] { FWindows->PrintPreview().exec(); });
    on(FilePrinterSetup, [this] { FWindows->PrintSetup().exec(); });
    // Asking the system for its printers waits until the window has been painted.
    platform::AfterFirstPaint(this, [this] { Guarded([this] { UpdatePrintActions(); }); });
    for (int i = 0; i < 5; ++i) {
        FileHistorySlots[i] = new QAction(this);
        FileHistorySlots[i]->setVisible(false);
        on(FileHistorySlots[i], [this, i] { FLifecycle.FileHistoryClick(i); });
    }
    FileHistorySlots[0]->setObjectName("FileHistoryFirst");
    FileHistorySlots[4]->setObjectName("FileHistoryLast");
}

void TfrmMain::UpdatePrintActions()
{
    const bool any = PrinterNames && !PrinterNames().isEmpty();
    for (QAction* a : { FilePrintPreview, FilePrint, FilePrinterSetup })
        a->setEnabled(any);
}

void TfrmMain::CreateMenus()
{
    FFileMenu = menuBar()->addMenu(Utf8ToQString(IvNative("&File")));
    FFileMenu->addAction(FileNew);
    FFileMenu->addAction(FileOpen);
    FFileMenu->addSeparator();
    FFileMenu->addAction(FileSave);
    FFileMenu->addAction(FileSaveAs);
    FFileMenu->addSeparator();
    FFileMenu->addAction(FilePrintPreview);
    FFileMenu->addAction(FilePrint);
    FFileMenu->addAction(FilePrinterSetup);
    QAction* spacer = FFileMenu->addSeparator();
    spacer->setObjectName("FileHistorySpacer");
    spacer->setVisible(false); // stays hidden
    for (QAction* a : FileHistorySlots)
        FFileMenu->addAction(a);
    FFileMenu->addSeparator();
    FFileMenu->addAction(FileExit);

    QMenu* edit = menuBar()->addMenu(Utf8ToQString(IvNative("&Edit")));
    edit->addAction(EditCutDevice);
    edit->addAction(EditCopyDevice);
    edit->addAction(EditPasteDevice);
    connect(edit, &QMenu::aboutToShow, this, [this] { UpdateEditActions(); });

    QMenu* view = menuBar()->addMenu(Utf8ToQString(IvNative("&View")));
    view->addAction(ViewGeneralSetupOptions);
    view->addAction(ViewOnboardOutputCircuits);
    view->addAction(ViewZoneText);
    view->addAction(ViewCBERules);

    QMenu* tools = menuBar()->addMenu(Utf8ToQString(IvNative("&Tools")));
    tools->addAction(ToolsSendToPanel);
    tools->addAction(ToolsReceiveFromPanel);
    tools->addSeparator();
    tools->addAction(ToolsFetchEventLog);
    tools->addAction(ToolsFetchDeviceData);
    tools->addAction(ToolsLogDevice);
    tools->addSeparator();
    tools->addAction(ToolsSerialPortSetup);
    tools->addSeparator();
    Language1 = tools->addMenu(Utf8ToQString(IvNative("&Language")));
    Language1->setObjectName("Language1");
    Language1->addSeparator()->setObjectName("N7");
    Language1->addAction(VdSCompatibility);

    QMenu* help = menuBar()->addMenu(Utf8ToQString(IvNative("&Help")));
    help->addAction(HelpPX10UserManual);
    help->addSeparator();
    help->addAction(HelpAboutBox);

    QToolBar* bar = addToolBar(IvNative("Toolbar"));
    bar->setObjectName("ToolBar1");
    bar->setMovable(false);
    bar->addAction(FileNew);
    bar->addAction(FileOpen);
    bar->addAction(FileSave);
    bar->addSeparator();
    bar->addAction(FilePrint);
    bar->addAction(FilePrintPreview);
    bar->addSeparator();
    bar->addAction(EditCutDevice);
    bar->addAction(EditCopyDevice);
    bar->addAction(EditPasteDevice);

    auto menu = [this](const char* name) {
        auto* m = new QMenu(this);
        m->setObjectName(name);
        return m;
    };
    popPanel = menu("popPanel");
    QMenu* panelEdit = popPanel->addMenu(Utf8ToQString(IvNative("Edit")));
    panelEdit->addAction(ViewLoopDevices);
    panelEdit->addAction(ViewOnboardOutputCircuits);
    panelEdit->addAction(ViewCBERules);
    panelEdit->addAction(ViewZoneText);
    popPanel->addSeparator();
    popPanel->addAction(ToolsSendToPanel);
    popPanel->addAction(ToolsReceiveFromPanel);
    popOOutputs = menu("popOOutputs");
    popOOutputs->addAction(ViewCBERules);
    popLoop = menu("popLoop");
    QMenu* addChange = popLoop->addMenu(Utf8ToQString(IvNative("Add/Change")));
    addChange->addAction(ToolsAddChangeSensors);
    addChange->addAction(ToolsAddChangeModules);
    QMenu* del = popLoop->addMenu(Utf8ToQString(IvNative("Delete")));
    del->addAction(ToolsDeleteAllSensors);
    del->addAction(ToolsDeleteAllModules);
    del->addSeparator();
    del->addAction(ToolsDeleteAllDevices);
    popAllSensors = menu("popAllSensors");
    popAllSensors->addAction(ToolsAddChangeSensors);
    popAllSensors->addSeparator();
    popAllSensors->addAction(ToolsDeleteAllSensors);
    popSensor = menu("popSensor");
    popSensor->addAction(ToolsDeleteSensor);
    popAllModules = menu("popAllModules");
    popAllModules->addAction(ToolsAddChangeModules);
    popAllModules->addSeparator();
    popAllModules->addAction(ToolsDeleteAllModules);
    popModule = menu("popModule");
    popModule->addAction(ToolsDeleteModule);
    popDeviceTable = menu("popDeviceTable");
    popDeviceTable->addAction(EditCutDevice);
    popDeviceTable->addAction(EditCopyDevice);
    popDeviceTable->addAction(EditPasteDevice);
    connect(popDeviceTable, &QMenu::aboutToShow, this, [this] { UpdateEditActions(); });
}
