#include "Main.h"

#include "Cberangeentryform.h"
#include "Cberuleform.h"
#include "Onboardoutputsetupframe.h"

#include "About.h"
#include "AppSettings.h"
#include "AddDevicesForm.h"
#include "ModuleEditFrame.h"
#include "SensorEditFrame.h"
#include "WindowFit.h"
#include "DeviceRules.h"
#include "DialogKeys.h"
#include "ExceptionHandler.h"
#include "Format.h"
#include "Ivdictio.h"
#include "Ivdlgmod.h"
#include "Ivwindows.h"
#include "LanguageRules.h"
#include "Onboardoutputsetupframe.h"
#include "PX10ConfigData.h"
#include "Panelsetupoptions.h"
#include "LazyWindows.h"
#include "PrintWindows.h"
#include "Prompts.h"
#include "StartupProbe.h"
#include "Spincontrol.h"
#include "ToolbarIcons.h"
#include "UserManual.h"
#include "Zonetexteditform.h"
#include "Quorvelprotocolcomponent.h"
#include "Panelcommstransferform.h"
#include "Serialsetupform.h"
#include "Textdownloadform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

TfrmMain* frmMain = nullptr;

using namespace platform;

namespace {
QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}
// A static English text; the window's translator translates it.
QString N(const char* native)
{
    return QString::fromUtf8(native);
}
constexpr int KindRole = Qt::UserRole;
constexpr int DataRole = Qt::UserRole + 1;
int KindOf(const QTreeWidgetItem* n)
{
    return n ? n->data(0, KindRole).toInt() : -1;
}
int DataOf(const QTreeWidgetItem* n)
{
    return n ? n->data(0, DataRole).toInt() : 0;
}
} // namespace

TfrmMain::TfrmMain(TfrmAbout* about, std::vector<std::string> arguments, QWidget* parent)
    : QMainWindow(parent)
    , FAbout(about)
    , FArguments(std::move(arguments))
    , FLifecycle(about->GetProductName(), about->GetProductVersion())
{
    setObjectName("frmMain");
    ConfigData = nullptr;
    FLifecycle.NewConfigFlags
        = [this] { return ::NewConfigFlags(IsVdSCompatibility(), FAbout->LanguageDictionary); };
    FLifecycle.OnConfigChanged = [this] {
        // Bound before the old configuration is deleted.
        if (frmOnboardOutputSetup1)
            frmOnboardOutputSetup1->SetConfig(ConfigData);
        BindEditorWindows(ConfigData);
        FSensorFrame->SetConfig(ConfigData);
        if (FModuleFrame)
            FModuleFrame->SetConfig(ConfigData);
        if (frmPanelSetupOptions1)
            frmPanelSetupOptions1->SetConfiguration(ConfigData);
        RebuildDeviceTree();
        RefreshAllViews();
    };
    FLifecycle.OnCaptionChanged = [this] {
        UpdateCaption();
        UpdateFileHistoryMenu();
    };
    FLifecycle.OnCommitPendingEdits = [this] { CommitPendingEdits(); };
    FProtocol = std::make_unique<TQuorvelProtocol>();

    CreateActions();
    CreateTree();
    CreateMenus();

    FFrames = new QStackedWidget(this);
    auto* sensors = new TfrmSensorEdit(FFrames);
    sensors->OnEditCBERange = [this](int deviceId) { OpenRangeEntry(deviceId); };
    sensors->SetAddDevicesDialog([this] { return AddDevicesDialog(); });
    FSensorFrame = sensors;
    // The first page added is the one shown with the window: the sensor
    // grid, which the first showing selects anyway. The module grid, the
    // panel setup options and the on-board outputs join when first asked for.
    FFrames->addWidget(sensors);
    ConnectDeviceFrame(FSensorFrame, false);

    // The tree keeps its width when the window is resized; the frames take
    // the rest, and a frame taller or wider than that scrolls.
    auto* split = new QSplitter(this);
    split->addWidget(FTree);
    split->addWidget(FFrames);
    split->setChildrenCollapsible(false);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({ 201, 733 });
    setCentralWidget(split);

    // Centred, and on a screen smaller than the window no larger than it,
    // so the title bar stays reachable.
    const QSize size = BoundedToScreen(this, QSize(942, 710));
    if (QScreen* s = screen()) {
        const QRect avail = s->availableGeometry();
        const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight);
        QRect r(QPoint(), size);
        r.moveCenter(avail.center());
        move(std::max(r.left(), avail.left()), std::max(r.top() - title / 2, avail.top()));
    }
    resize(size);
    UpdateFileHistoryMenu();

    // Qt's dialogs and message boxes in the program's language.
    IvDialogModule1 = new TIvDialogModule(this);
    IvDialogModule1->Loaded();
    // The caption and the recent files are built by code; the frames without
    // a translator of their own are translated with the window.
    IvSetCodeText(this);
    for (QAction* a : FileHistorySlots)
        IvSetCodeText(a);
    IvAddTranslator(this);
}

TfrmMain::~TfrmMain()
{
    if (!FClosed)
        ReleaseConfiguration();
    if (frmMain == this)
        frmMain = nullptr;
}

void TfrmMain::OpenRangeEntry(int deviceId)
{
    CBERangeEntryWindow(this)->Execute(ConfigData, deviceId);
}

void TfrmMain::ConnectDeviceFrame(DeviceEditFrame* f, bool module)
{
    f->OnDeviceChanged = [this, module](int a) { UpdateDeviceTreeNode(module, a); };
    f->OnCurrentAddressChanged = [this, module](int a) {
        SelectDeviceTreeNode(module, a);
        UpdateEditActions();
    };
    f->Widget()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(f->Widget(), &QWidget::customContextMenuRequested, this,
        [this, f](const QPoint& p) { popDeviceTable->exec(f->Widget()->mapToGlobal(p)); });
}

void TfrmMain::AddLatePage(QWidget* page, const std::function<void()>& showConfiguration)
{
    FFrames->addWidget(page);
    IvRetranslate(page); // the window's translator, in the language in force
    if (ConfigData)
        showConfiguration();
}

DeviceEditFrame* TfrmMain::ModuleFrame()
{
    if (!FModuleFrame) {
        auto* modules = new TfrmModuleEdit(FFrames);
        modules->OnEditCBERange = [this](int deviceId) { OpenRangeEntry(deviceId); };
        modules->SetAddDevicesDialog([this] { return AddDevicesDialog(); });
        FModuleFrame = modules;
        AddLatePage(modules, [modules] {
            modules->SetConfig(ConfigData);
            modules->LoadFromConfig();
        });
        // Joined to the tree once loaded: its grid opening on its first row
        // is no move of the user's, as it was none when made at start-up.
        ConnectDeviceFrame(modules, true);
    }
    return FModuleFrame;
}

int TfrmMain::ModuleAddress() const
{
    // A module grid made now would open on its first row.
    return FModuleFrame ? FModuleFrame->CurrentAddress() : 1;
}

TfrmAddDevices* TfrmMain::AddDevicesDialog()
{
    if (!frmAddDevices)
        frmAddDevices = new TfrmAddDevices(this); // its own translator
    return frmAddDevices;
}

TfrmPanelSetupOptions* TfrmMain::PanelSetupFrame()
{
    if (!frmPanelSetupOptions1) {
        auto* frame = new TfrmPanelSetupOptions(FFrames);
        frame->setObjectName("frmPanelSetupOptions1");
        frame->IsRegionalOptionEnabled2 = [this] { return IsRegionalOptionEnabled2(); };
        frame->IsVdSCompatibility = [this] { return IsVdSCompatibility(); };
        frame->RefreshAllViews = [this] { RefreshAllViews(); };
        frmPanelSetupOptions1 = frame;
        AddLatePage(frame, [frame] {
            frame->SetConfiguration(ConfigData);
            frame->RefreshFromConfig();
        });
    }
    return frmPanelSetupOptions1;
}

TfrmOnboardOutputSetup* TfrmMain::OnboardOutputFrame()
{
    if (!frmOnboardOutputSetup1) {
        auto* frame = new TfrmOnboardOutputSetup(FFrames);
        frame->OpenRangeEntry = [this](int deviceId) { OpenRangeEntry(deviceId); };
        frmOnboardOutputSetup1 = frame;
        AddLatePage(frame, [frame] {
            frame->SetConfig(ConfigData);
            frame->LoadFromConfig();
        });
    }
    return frmOnboardOutputSetup1;
}

void TfrmMain::CreateActions()
{
    auto make = [this](const char* name, const char* caption, const char* hint = nullptr,
                    QKeySequence key = {}, QIcon icon = {}) {
        auto* a = new QAction(icon, N(caption), this);
        a->setObjectName(name);
        if (hint)
            a->setStatusTip(N(hint)), a->setToolTip(N(hint));
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
    for (QAction* a : { FilePrintPreview, FilePrint, FilePrinterSetup, ToolsSendToPanel,
             ToolsReceiveFromPanel, ToolsFetchEventLog, ToolsFetchDeviceData, ToolsLogDevice,
             ToolsSerialPortSetup, ViewZoneText, ViewCBERules })
        a->setEnabled(false);
    // The communication actions are always available.
    for (QAction* a : { ToolsSendToPanel, ToolsReceiveFromPanel, ToolsFetchEventLog, ToolsFetchDeviceData,
             ToolsLogDevice, ToolsSerialPortSetup, ViewZoneText, ViewCBERules })
        a->setEnabled(true);

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
    on(ViewZoneText, [this] { ZoneTextWindow(this)->ShowModal(); });
    on(ViewCBERules, [this] { CBERuleEditWindow(this)->Execute(-1); });
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
    FPrintWindows = std::make_unique<TPrintWindows>(this, [this] {
        const std::string& name = FLifecycle.FileName();
        return report::TReportInput { ConfigData,
            { name.empty() ? name : QFileInfo(QString::fromStdString(name)).absoluteFilePath().toStdString(),
                IsVdSCompatibility(),
                // A frame not made yet has no time fields either.
                frmPanelSetupOptions1 ? frmPanelSetupOptions1->TimeSeparator() : ':' } };
    });
    on(FilePrint, [this] {
        CommitPendingEdits();
        FPrintWindows->FilePrintExecute();
    });
    on(FilePrintPreview, [this] {
        CommitPendingEdits();
        FPrintWindows->FilePrintPreviewExecute();
    });
    on(FilePrinterSetup, [this] { FPrintWindows->FilePrinterSetupExecute(); });
    // Asking the system for its printers waits until the window has been painted.
    platform::AfterFirstPaint(this, [this] {
        Guarded([this] { FPrintWindows->UpdateActions({ FilePrintPreview, FilePrint, FilePrinterSetup }); });
    });
    for (int i = 0; i < 5; ++i) {
        FileHistorySlots[i] = new QAction(this);
        FileHistorySlots[i]->setVisible(false);
        on(FileHistorySlots[i], [this, i] { FLifecycle.FileHistoryClick(i); });
    }
    FileHistorySlots[0]->setObjectName("FileHistoryFirst");
    FileHistorySlots[4]->setObjectName("FileHistoryLast");
}

void TfrmMain::CreateMenus()
{
    FFileMenu = menuBar()->addMenu(N(IvNative("&File")));
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

    QMenu* edit = menuBar()->addMenu(N(IvNative("&Edit")));
    edit->addAction(EditCutDevice);
    edit->addAction(EditCopyDevice);
    edit->addAction(EditPasteDevice);
    connect(edit, &QMenu::aboutToShow, this, [this] { UpdateEditActions(); });

    QMenu* view = menuBar()->addMenu(N(IvNative("&View")));
    view->addAction(ViewGeneralSetupOptions);
    view->addAction(ViewOnboardOutputCircuits);
    view->addAction(ViewZoneText);
    view->addAction(ViewCBERules);

    QMenu* tools = menuBar()->addMenu(N(IvNative("&Tools")));
    tools->addAction(ToolsSendToPanel);
    tools->addAction(ToolsReceiveFromPanel);
    tools->addSeparator();
    tools->addAction(ToolsFetchEventLog);
    tools->addAction(ToolsFetchDeviceData);
    tools->addAction(ToolsLogDevice);
    tools->addSeparator();
    tools->addAction(ToolsSerialPortSetup);
    tools->addSeparator();
    Language1 = tools->addMenu(N(IvNative("&Language")));
    Language1->setObjectName("Language1");
    Language1->addSeparator()->setObjectName("N7");
    Language1->addAction(VdSCompatibility);

    QMenu* help = menuBar()->addMenu(N(IvNative("&Help")));
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
    QMenu* panelEdit = popPanel->addMenu(N(IvNative("Edit")));
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
    QMenu* addChange = popLoop->addMenu(N(IvNative("Add/Change")));
    addChange->addAction(ToolsAddChangeSensors);
    addChange->addAction(ToolsAddChangeModules);
    QMenu* del = popLoop->addMenu(N(IvNative("Delete")));
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

void TfrmMain::CreateTree()
{
    FTree = new QTreeWidget(this);
    FTree->setObjectName("TreeView1");
    FTree->setHeaderHidden(true);
    FTree->setMinimumWidth(150);
    FTree->setContextMenuPolicy(Qt::CustomContextMenu);
    AddPopupMenuKeys(FTree); // Add/Change lives on its menus
    // The selected node keeps the highlight while the tree has no focus.
    QPalette pal = FTree->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
        pal.color(QPalette::Active, QPalette::HighlightedText));
    FTree->setPalette(pal);
    auto node = [](QTreeWidgetItem* parent, const char* text, int kind) {
        auto* n = new QTreeWidgetItem(QStringList(N(text)));
        n->setData(0, KindRole, kind);
        n->setData(0, DataRole, 0);
        if (parent)
            parent->addChild(n);
        return n;
    };
    FPanelNode = node(nullptr, IvNative("Panel"), nkPanel);
    FTree->addTopLevelItem(FPanelNode);
    FOnboardNode = node(FPanelNode, IvNative("Onboard Outputs"), nkOnboardOutputs);
    FLoopNode = node(FPanelNode, IvNative("Loop"), nkLoop);
    FSensorsNode = node(FLoopNode, IvNative("Sensors"), nkSensors);
    FModulesNode = node(FLoopNode, IvNative("Modules"), nkModules);
    FTree->expandAll();
    connect(FTree, &QTreeWidget::currentItemChanged, this,
        [this](QTreeWidgetItem* n) { Guarded([&] { TreeView1Change(n); }); });
    connect(FTree, &QTreeWidget::customContextMenuRequested, this,
        [this](const QPoint& p) { Guarded([&] { TreeView1ContextPopup(p); }); });
}

bool TfrmMain::IsVdSCompatibility() const
{
    return VdSCompatibility->isChecked();
}

bool TfrmMain::UpdateVdSMenuFromLanguage()
{
    const bool vds = IsVdSLanguage(FAbout->LanguageDictionary);
    VdSCompatibility->setChecked(vds);
    return vds;
}

void TfrmMain::VdSCompatibilityClick()
{
    // The action has toggled its check mark already; the frame shows the
    // options the mark decides.
    if (frmPanelSetupOptions1)
        frmPanelSetupOptions1->RefreshFromConfig();
}

void TfrmMain::HelpPX10UserManualExecute()
{
    const std::string path = FindUserManual(QCoreApplication::applicationDirPath().toStdString());
    OpenUserManual(
        path, OpenDocument ? OpenDocument : [](const std::string& p) {
            return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(p)));
        });
}

void TfrmMain::ToolsSerialPortSetupExecute()
{
    const int index = SerialSetupWindow(this)->Execute(int(FProtocol->CommPort()));
    if (index >= 0 && index < 8)
        FProtocol->SetCommPort(TCommPort(index));
}

void TfrmMain::ToolsSendToPanelExecute()
{
    CommitPendingEdits();
    if (ConfigData)
        ConfigTransferWindow(this)->SendConfiguration(FProtocol.get(), ConfigData);
}

void TfrmMain::ToolsReceiveFromPanelExecute()
{
    if (!FLifecycle.QuerySaveChanges())
        return;
    const ConfigLifecycle::Flags f = FLifecycle.NewConfigFlags();
    auto config = std::make_unique<TPX10ConfigData>(
        f.VdSDefaults, f.LED2CModeDefault, f.TorqSwitchDefault, f.ControlKey3ModeDefault);
    // A failed or cancelled receive leaves the fresh configuration current.
    if (ConfigTransferWindow(this)->ReceiveConfiguration(FProtocol.get(), config.get()))
        FLifecycle.SetCurrentConfig(std::move(config));
}

void TfrmMain::ToolsFetchEventLogExecute()
{
    TextDownloadWindow(this)->ShowPanelEventLog(FProtocol.get());
}

void TfrmMain::ToolsFetchDeviceDataExecute()
{
    TextDownloadWindow(this)->ShowDeviceData(FProtocol.get());
}

void TfrmMain::ToolsLogDeviceExecute()
{
    TextDownloadWindow(this)->ShowDeviceLogger(FProtocol.get());
}

bool TfrmMain::IsRegionalOptionEnabled() const
{
    return ::IsRegionalOptionEnabled(IsVdSCompatibility(), FAbout->LanguageDictionary);
}

void TfrmMain::CommitPendingEdits()
{
    FSensorFrame->CommitEdit();
    if (FModuleFrame)
        FModuleFrame->CommitEdit();
    for (TSpinControl* s : findChildren<TSpinControl*>())
        s->CommitPending();
    if (frmOnboardOutputSetup1)
        frmOnboardOutputSetup1->CommitPendingEdits();
}

void TfrmMain::UpdateCaption()
{
    setWindowTitle(Q(FLifecycle.Caption()));
}

void TfrmMain::UpdateFileHistoryMenu()
{
    for (int i = 0; i < 5; ++i) {
        std::string caption = FLifecycle.History().Caption(i);
        FileHistorySlots[i]->setText(Q(caption));
        FileHistorySlots[i]->setVisible(!caption.empty());
    }
}

void TfrmMain::RefreshAllViews()
{
    UpdateCaption();
    UpdateFileHistoryMenu();
    if (frmOnboardOutputSetup1)
        frmOnboardOutputSetup1->LoadFromConfig();
    FSensorFrame->LoadFromConfig();
    if (FModuleFrame)
        FModuleFrame->LoadFromConfig();
    if (frmPanelSetupOptions1)
        frmPanelSetupOptions1->RefreshFromConfig();
    UpdateEditActions();
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (FShownOnce)
        return; // start-up steps run on the first showing only
    FShownOnce = true;
    Guarded([this] { FormShow(); });
}

void TfrmMain::FormShow()
{
    setWindowTitle(Q(Translate(FAbout->GetProductName())));
    HelpPX10UserManual->setText(N(IvNative("PX1x/2x User &Manual")));
    IvRetranslate(HelpPX10UserManual);
    BuildLanguageMenu();
    TIvDictionary* dict = FAbout->LanguageDictionary;
    StoredSettings s = ReadSettings(FAbout->VersionSection(), false);
    FProtocol->SetBaud(cb9600);
    FProtocol->SetCommPort(TCommPort(s.ComPort));
    if (dict && s.UILanguage) {
        try {
            dict->SetLanguage(*s.UILanguage);
        } catch (const std::exception& e) {
            ShowExceptionBox(e); // the previous language stays; start-up goes on
        }
    }
    // The VdS default follows the language just applied.
    VdSCompatibility->setChecked(ReadVdSCompatibility(FAbout->VersionSection(), UpdateVdSMenuFromLanguage()));
    for (int k = 5; k >= 1; --k)
        FLifecycle.History().Add(s.Files[k - 1]);
    UpdateFileHistoryMenu();
    FLifecycle.NewConfiguration();
    if (!FArguments.empty()) {
        // A file that fails to load leaves a fresh configuration and shows
        // the error; the window still goes on to its usual start state.
        Guarded([this] { FLifecycle.OpenConfigFile(FArguments.front()); });
    }
    FTree->setCurrentItem(FSensorsNode);
    setAcceptDrops(true);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (FClosed) {
        event->accept();
        return;
    }
    bool mayClose = true;
    if (ConfigData) {
        mayClose = false;
        Guarded([&] { mayClose = FLifecycle.QuerySaveChanges(); });
    }
    if (!mayClose) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
    emit Closed();
}

void TfrmMain::BindEditorWindows(TPX10ConfigData* config)
{
    if (frmZoneText)
        frmZoneText->SetConfig(config);
    if (frmCBERuleEdit)
        frmCBERuleEdit->SetConfig(config);
}

void TfrmMain::FormClose()
{
    FClosed = true;
    StoredSettings s;
    s.ComPort = int(FProtocol->CommPort());
    s.VdSCompatibility = IsVdSCompatibility();
    s.UILanguage = LanguageToStore(FAbout->LanguageDictionary);
    for (int i = 0; i < 5; ++i)
        s.Files.push_back(FLifecycle.History().Item(i));
    try {
        WriteSettings(FAbout->VersionSection(), s);
    } catch (const std::exception& e) {
        ShowExceptionBox(e);
    }
    FClipboard.Clear();
    ReleaseConfiguration();
}

// Every view lets go of the configuration before it is deleted: a window
// destroyed without being closed still lays out its open cell editors,
// which read their records.
void TfrmMain::ReleaseConfiguration()
{
    FSensorFrame->CloseDataSet();
    if (FModuleFrame)
        FModuleFrame->CloseDataSet();
    if (frmPanelSetupOptions1)
        frmPanelSetupOptions1->SetConfiguration(nullptr);
    if (frmOnboardOutputSetup1)
        frmOnboardOutputSetup1->SetConfig(nullptr);
    BindEditorWindows(nullptr);
    FLifecycle.Close();
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event)
{
    std::vector<std::string> files;
    for (const QUrl& u : event->mimeData()->urls())
        if (u.isLocalFile()) {
            // The path's own bytes: a name that is not UTF-8 stays percent-
            // encoded in the URL and would not survive a QString.
            files.push_back(
                QByteArray::fromPercentEncoding(u.path(QUrl::FullyEncoded).toLatin1()).toStdString());
        }
    event->acceptProposedAction();
    // Open once the drop has finished, so that the source is not kept
    // waiting on the question or the load.
    QTimer::singleShot(0, this, [this, files] { FilesDropped(files); });
}

void TfrmMain::FilesDropped(const std::vector<std::string>& files)
{
    Guarded([&] { FLifecycle.OpenDroppedFiles(files); });
}

// ---- device tree ----

void TfrmMain::UpdateDeviceTreeNode(bool module, int address)
{
    QTreeWidgetItem* group = module ? FModulesNode : FSensorsNode;
    if (!ConfigData)
        return;
    TPX10ConfigDeviceConfiguration& d = module ? *ConfigData->Modules : *ConfigData->Sensors;
    QTreeWidgetItem* node = FindDeviceNode(group, address);
    if (d.GetType(address) != 0) {
        if (!node) {
            node = new QTreeWidgetItem(QStringList(Q(DeviceNodeText(address))));
            node->setData(0, IvCodeTextRole, true); // rebuilt after a language change
            node->setData(0, KindRole, KindOf(group));
            node->setData(0, DataRole, address);
            group->addChild(node);
            group->sortChildren(0, Qt::AscendingOrder);
        }
        group->setExpanded(true);
    } else if (node) {
        if (FTree->currentItem() == node) {
            const QSignalBlocker block(FTree);
            FTree->setCurrentItem(nullptr);
        }
        delete node;
    }
}

void TfrmMain::RebuildDeviceTree()
{
    for (int a = 1; a <= TPX10ConfigDeviceConfiguration::AddressCount; ++a) {
        UpdateDeviceTreeNode(false, a);
        UpdateDeviceTreeNode(true, a);
    }
}

QTreeWidgetItem* TfrmMain::FindDeviceNode(QTreeWidgetItem* group, int address) const
{
    for (int i = 0; i < group->childCount(); ++i)
        if (DataOf(group->child(i)) == address)
            return group->child(i);
    return nullptr;
}

void TfrmMain::SelectDeviceTreeNode(bool module, int address)
{
    if (FTree->hasFocus())
        return;
    // A fixed node keeps the selection; a device node, or none (the grid was
    // on an address without a device), follows the grid.
    // A grid out of view (filled by Add/Change) moves no selection.
    QTreeWidgetItem* sel = FTree->currentItem();
    if ((sel && DataOf(sel) == 0) || FTreeTag != (module ? nkModules : nkSensors))
        return;
    QTreeWidgetItem* node = FindDeviceNode(module ? FModulesNode : FSensorsNode, address);
    const QSignalBlocker block(FTree); // the grid is already there
    FTree->setCurrentItem(node);
}

void TfrmMain::BuildLanguageMenu()
{
    TIvDictionary* d = FAbout->LanguageDictionary;
    if (!d)
        return;
    std::vector<std::unique_ptr<TIvLanguage>> languages;
    d->GetLanguageDatas(languages);
    // Every language from position 1 by its own index: languages that share a
    // primary language (German and its regional variants) each get an item.
    QAction* before = Language1->actions().isEmpty() ? nullptr : Language1->actions().first();
    for (int i = 1; i < static_cast<int>(languages.size()); ++i) {
        auto* item = new QAction(Q(Translate(languages[i]->EnglishName)), Language1);
        item->setObjectName(QString("LanguageItem%1").arg(i));
        item->setData(i); // the Tag
        item->setProperty("ivNativeName", Q(languages[i]->EnglishName));
        item->setCheckable(true);
        IvSetCodeText(item);
        connect(
            item, &QAction::triggered, this, [this, item] { Guarded([&] { SelectLanguageClick(item); }); });
        Language1->insertAction(before, item);
        FLanguageItems.push_back(item);
    }
    RetextLanguageMenu();
}

void TfrmMain::RetextLanguageMenu()
{
    TIvDictionary* d = FAbout->LanguageDictionary;
    for (QAction* item : FLanguageItems) {
        item->setText(Q(Translate(item->property("ivNativeName").toString().toStdString())));
        item->setChecked(d && d->GetActiveLanguageIndex() == item->data().toInt());
    }
}

void TfrmMain::SelectLanguageClick(QAction* item)
{
    TIvDictionary* d = FAbout->LanguageDictionary;
    if (!d)
        return;
    // Text still being typed belongs to the configuration, in any language.
    CommitPendingEdits();
    try {
        d->SetLanguage(item->data().toInt());
    } catch (...) {
        RetextLanguageMenu(); // the check mark stays on the language in force
        throw;
    }
    UpdateVdSMenuFromLanguage();
    RefreshAllViews();
    RetextDeviceNodes(FSensorsNode);
    RetextDeviceNodes(FModulesNode);
    RetextLanguageMenu();
}

void TfrmMain::RetextDeviceNodes(QTreeWidgetItem* group)
{
    for (int i = 0; i < group->childCount(); ++i)
        group->child(i)->setText(0, Q(DeviceNodeText(DataOf(group->child(i)))));
}

void TfrmMain::ShowFrameOfKind(int kind)
{
    switch (kind) {
    case nkOnboardOutputs:
        FFrames->setCurrentWidget(OnboardOutputFrame());
        break;
    case nkLoop:
    case nkSensors:
        FFrames->setCurrentWidget(FSensorFrame->Widget());
        FSensorFrame->UpdateColumns();
        break;
    case nkModules:
        FFrames->setCurrentWidget(ModuleFrame()->Widget());
        FModuleFrame->UpdateColumns();
        break;
    default:
        FFrames->setCurrentWidget(PanelSetupFrame());
        break;
    }
}

void TfrmMain::TreeView1Change(QTreeWidgetItem* node)
{
    if (!node)
        return;
    CommitPendingEdits();
    int kind = KindOf(node);
    if (kind != FTreeTag || FFrames->currentIndex() < 0) {
        FTreeTag = kind;
        ShowFrameOfKind(kind);
    }
    int address = DataOf(node);
    if (address != 0) {
        if (kind == nkSensors)
            FSensorFrame->GotoAddress(address);
        else if (kind == nkModules)
            ModuleFrame()->GotoAddress(address);
    }
    UpdateEditActions();
}

QMenu* TfrmMain::PopupMenuFor(QTreeWidgetItem* node) const
{
    switch (KindOf(node)) {
    case nkOnboardOutputs:
        return popOOutputs;
    case nkLoop:
        return popLoop;
    case nkSensors:
        return DataOf(node) == 0 ? popAllSensors : popSensor;
    case nkModules:
        return DataOf(node) == 0 ? popAllModules : popModule;
    case -1:
        return nullptr;
    default:
        return popPanel;
    }
}

void TfrmMain::TreeView1ContextPopup(const QPoint& pos)
{
    QTreeWidgetItem* node = FTree->itemAt(pos);
    if (node)
        FTree->setCurrentItem(node); // a right click selects
    if (QMenu* m = PopupMenuFor(FTree->currentItem()))
        m->exec(FTree->viewport()->mapToGlobal(pos));
}

// ---- edit ----

bool TfrmMain::SensorFrameVisible() const
{
    return FFrames->currentWidget() == FSensorFrame->Widget();
}
bool TfrmMain::ModuleFrameVisible() const
{
    return FModuleFrame && FFrames->currentWidget() == FModuleFrame->Widget();
}

DeviceClipboard::View TfrmMain::DeviceView() const
{
    if (SensorFrameVisible())
        return DeviceClipboard::View::Sensors;
    if (ModuleFrameVisible())
        return DeviceClipboard::View::Modules;
    return DeviceClipboard::View::Other;
}

DeviceEditFrame* TfrmMain::DeviceFrameInView() const
{
    return SensorFrameVisible() ? FSensorFrame : ModuleFrameVisible() ? FModuleFrame : nullptr;
}

void TfrmMain::UpdateEditActions()
{
    const DeviceClipboard::Enables on = FClipboard.EditEnables(ConfigData, DeviceView(), ModuleAddress());
    EditCutDevice->setEnabled(on.CutCopy);
    EditCopyDevice->setEnabled(on.CutCopy);
    EditPasteDevice->setEnabled(on.Paste);
}

void TfrmMain::EditCopyDeviceExecute()
{
    DeviceEditFrame* frame = DeviceFrameInView();
    if (!ConfigData || !frame)
        return;
    frame->Resync();
    FClipboard.Copy(*ConfigData, DeviceView(), frame->CurrentAddress());
    UpdateEditActions();
}

void TfrmMain::EditCutDeviceExecute()
{
    DeviceEditFrame* frame = DeviceFrameInView();
    if (!ConfigData || !frame)
        return;
    frame->Resync();
    const int a = frame->CurrentAddress();
    FClipboard.Cut(*ConfigData, DeviceView(), a);
    if (frame == FSensorFrame) {
        UpdateDeviceTreeNode(false, a);
        FSensorFrame->Resync();
    } else
        frame->DeleteDevices(a, a);
    UpdateEditActions();
}

void TfrmMain::EditPasteDeviceExecute()
{
    DeviceEditFrame* frame = DeviceFrameInView();
    if (!ConfigData || !frame)
        return;
    const int a = frame->CurrentAddress();
    // A shortcut may come while Paste is off; only a paste that may go on is
    // refused with the reason.
    if (!FClipboard.EditEnables(ConfigData, DeviceView(), ModuleAddress()).Paste)
        return;
    if (!FClipboard.PasteKeepsProtocolRule(*ConfigData, DeviceView(), a)) {
        CurrentPrompts().MessageDlg(Translate("The device was not pasted: TORQ devices and more than 40 "
                                              "BRIM devices cannot share the loop."),
            MsgDlgType::mtWarning, mbOK);
        return;
    }
    if (FClipboard.Paste(*ConfigData, DeviceView(), a, ModuleAddress()))
        frame->DevicePasted(a); // updates the tree nodes
    UpdateEditActions();
}

int TfrmMain::SelectedAddress() const
{
    return DataOf(FTree->currentItem());
}

namespace {
bool Confirm(const std::string& text)
{
    return CurrentPrompts().MessageDlg(text, MsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes;
}
} // namespace

void TfrmMain::ToolsDeleteAllSensorsExecute()
{
    if (Confirm(Translate("Delete ALL sensors ?") + "\r\n\r\n"
            + Translate("NOTE: This may affect CBE\r\n            Rule assignments.")))
        FSensorFrame->DeleteDevices(1, 99);
}

void TfrmMain::ToolsDeleteAllModulesExecute()
{
    if (Confirm(Translate("Delete ALL modules ?") + "\r\n\r\n"
            + Translate("NOTE: This may remove CBE\r\n            Rule assignments.")))
        ModuleFrame()->DeleteDevices(1, 99);
}

void TfrmMain::ToolsDeleteAllDevicesExecute()
{
    if (Confirm(Translate("Delete ALL devices ?") + "\r\n\r\n"
            + Translate("NOTE: This will remove all\r\n            CBE Rule assignments."))) {
        FSensorFrame->DeleteDevices(1, 99);
        ModuleFrame()->DeleteDevices(1, 99);
    }
}

void TfrmMain::ToolsDeleteSensorExecute()
{
    int a = SelectedAddress();
    if (a == 0)
        return;
    if (Confirm(Format(Translate("Delete sensor at address %d") + "\r\n\r\n", a)
            + Translate("NOTE: This may affect CBE\r\n            Rule assignments.")))
        FSensorFrame->DeleteDevices(a, a);
}

void TfrmMain::ToolsDeleteModuleExecute()
{
    int a = SelectedAddress();
    if (a == 0 || !ConfigData)
        return;
    std::string text = Format(Translate("Delete module at address %d") + "\r\n", a);
    int t = ConfigData->Modules->GetTorqType(ModuleAddress());
    if (t == kTorqTwoChannelModule || t == kTorqThreeChannelModule)
        text += Translate("Subsequent channels of the\r\nsame module will also be deleted.\r\n");
    text += Translate("\r\nNOTE: This may remove CBE\r\n            Rule assignments.");
    if (Confirm(text))
        ModuleFrame()->DeleteDevices(a, a);
}
