// The main window's construction and the current configuration's life:
// showing, closing, settings, caption, recent files and dropped files.
#include "Main.h"

#include "About.h"
#include "AppSettings.h"
#include "CodePage.h"
#include "ExceptionHandler.h"
#include "Ivdictio.h"
#include "Ivdlgmod.h"
#include "Ivwindows.h"
#include "LanguageRules.h"
#include "Onboardoutputsetupframe.h"
#include "Panelsetupoptions.h"
#include "PX10ConfigData.h"
#include "Quorvelprotocolcomponent.h"
#include "SensorEditFrame.h"
#include "Spincontrol.h"
#include "WindowFit.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

TfrmMain* frmMain = nullptr;

using platform::Utf8ToQString;

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
        FWindows->BindConfiguration(ConfigData);
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
    sensors->SetAddDevicesDialog([this] { return &FWindows->AddDevices(); });
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
    // frame and title bar included, so the title bar stays reachable.
    QRect wanted(QPoint(), QSize(942, 710));
    if (QScreen* s = screen()) {
        const QMargins frame = FrameMargins(this);
        QRect framed = wanted.marginsAdded(frame);
        framed.moveCenter(s->availableGeometry().center());
        wanted = FittedGeometry(s->availableGeometry(), frame, framed.marginsRemoved(frame));
    }
    setGeometry(wanted);
    KeepOnScreenWhenShownOrGrown(this);
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
    setWindowTitle(Utf8ToQString(FLifecycle.Caption()));
}

void TfrmMain::UpdateFileHistoryMenu()
{
    for (int i = 0; i < 5; ++i) {
        std::string caption = FLifecycle.History().Caption(i);
        FileHistorySlots[i]->setText(Utf8ToQString(caption));
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
    else if (ConfigData)
        // The frame is made when first asked for; what loading it would write
        // back is written all the same.
        PanelSetupOptions::WriteBackSpinValues(*ConfigData);
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
    setWindowTitle(Utf8ToQString(Translate(FAbout->GetProductName())));
    HelpPX10UserManual->setText(Utf8ToQString(IvNative("PX1x/2x User &Manual")));
    IvRetranslate(HelpPX10UserManual);
    BuildLanguageMenu();
    // The stored language was applied when the about window was made.
    StoredSettings s = ReadSettings(FAbout->VersionSection(), false);
    FProtocol->SetBaud(cb9600);
    FProtocol->SetCommPort(TCommPort(s.ComPort));
    // The VdS default follows the language in force.
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
    FWindows->BindConfiguration(nullptr);
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
