// The main window's device tree, the frames it shows, and device editing:
// cut, copy and paste of one device, and deleting devices.
#include "Main.h"

#include "AddDevicesForm.h"
#include "Cberangeentryform.h"
#include "CodePage.h"
#include "DialogKeys.h"
#include "ExceptionHandler.h"
#include "Format.h"
#include "Ivdictio.h"
#include "Ivwindows.h"
#include "ModuleEditFrame.h"
#include "Onboardoutputsetupframe.h"
#include "PX10ConfigData.h"
#include "Panelsetupoptions.h"
#include "Prompts.h"

#include <QMenu>
#include <QStackedWidget>
#include <QTreeWidget>

using namespace platform;

namespace {
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

void TfrmMain::OpenRangeEntry(int deviceId)
{
    FWindows->CBERangeEntry().Execute(ConfigData, deviceId);
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
        modules->SetAddDevicesDialog([this] { return &FWindows->AddDevices(); });
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
        auto* n = new QTreeWidgetItem(QStringList(Utf8ToQString(text)));
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

// ---- device tree ----

void TfrmMain::UpdateDeviceTreeNode(bool module, int address)
{
    QTreeWidgetItem* group = module ? FModulesNode : FSensorsNode;
    if (!ConfigData)
        return;
    const TPX10ConfigDeviceConfiguration& d = module ? *ConfigData->Modules : *ConfigData->Sensors;
    QTreeWidgetItem* node = FindDeviceNode(group, address);
    if (d.GetType(address) != 0) {
        if (!node) {
            node = new QTreeWidgetItem(QStringList(Utf8ToQString(DeviceNodeText(address))));
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

void TfrmMain::RetextDeviceNodes(QTreeWidgetItem* group)
{
    for (int i = 0; i < group->childCount(); ++i)
        group->child(i)->setText(0, Utf8ToQString(DeviceNodeText(DataOf(group->child(i)))));
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
