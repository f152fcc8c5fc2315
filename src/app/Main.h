#pragma once
// The main window: the current configuration's life (files, settings, recent
// files, caption), the device tree with its views and pop-up menus, and the
// Edit menu's device cut, copy and paste.
#include "AppWindows.h"
#include "ConfigLifecycle.h"
#include "DeviceRules.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class TfrmAbout;
class TIvDictionary;
class TIvDialogModule;
class TfrmPanelSetupOptions;
class TfrmOnboardOutputSetup;
class DeviceEditFrame;
class TQuorvelProtocol;

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // `about` (not owned) supplies the product name, version and dictionary;
    // `arguments` are the command line's parameters after the program.
    // File names are the system's bytes, as the command line gave them: a name
    // that is not valid UTF-8 opens as any other.
    TfrmMain(TfrmAbout* about, std::vector<std::string> arguments, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Node kinds (the tree's image index).
    enum NodeKind { nkPanel = 0, nkOnboardOutputs = 1, nkLoop = 2, nkSensors = 3, nkModules = 4 };

    ConfigLifecycle& Lifecycle() { return FLifecycle; }
    void NewConfiguration() { FLifecycle.NewConfiguration(); }
    void OpenConfigFile(const std::string& name) { FLifecycle.OpenConfigFile(name); }
    bool QuerySaveChanges() { return FLifecycle.QuerySaveChanges(); }
    std::string GetDisplayFileName() const { return FLifecycle.GetDisplayFileName(); }
    std::string GetFileHistoryItem(int slot) const { return FLifecycle.History().Item(slot); }
    void UpdateCaption();
    void RefreshAllViews();

    // Device tree.
    void RebuildDeviceTree();
    void UpdateDeviceTreeNode(bool module, int address);
    void SelectDeviceTreeNode(bool module, int address);
    QTreeWidgetItem* FindDeviceNode(QTreeWidgetItem* group, int address) const;
    void RetextDeviceNodes(QTreeWidgetItem* group);
    QTreeWidgetItem* PanelNode() const { return FPanelNode; }
    QTreeWidgetItem* OnboardNode() const { return FOnboardNode; }
    QTreeWidgetItem* LoopNode() const { return FLoopNode; }
    QTreeWidgetItem* SensorsNode() const { return FSensorsNode; }
    QTreeWidgetItem* ModulesNode() const { return FModulesNode; }
    QTreeWidget* TreeView1() const { return FTree; }
    int ShownKind() const { return FTreeTag; }
    // The pop-up menu for the node, as the tree offers it on a right click.
    QMenu* PopupMenuFor(QTreeWidgetItem* node) const;

    // Edit and Tools actions.
    void EditCopyDeviceExecute();
    void EditCutDeviceExecute();
    void EditPasteDeviceExecute();
    void UpdateEditActions();
    void ToolsDeleteAllSensorsExecute();
    void ToolsDeleteAllModulesExecute();
    void ToolsDeleteAllDevicesExecute();
    void ToolsDeleteSensorExecute();
    void ToolsDeleteModuleExecute();

    DeviceEditFrame* SensorFrame() const { return FSensorFrame; }
    // Made when first needed, like the frames below.
    DeviceEditFrame* ModuleFrame();
    // The window shows the sensor grid first: these are made when first
    // needed, each once, bound to the configuration shown and translated
    // into the language in force.
    TfrmPanelSetupOptions* PanelSetupFrame();
    TfrmOnboardOutputSetup* OnboardOutputFrame();

    // Tools, language and help.
    void ToolsSerialPortSetupExecute();
    void ToolsSendToPanelExecute();
    // After the save question, into a fresh configuration that becomes
    // current only when the whole of it arrived.
    void ToolsReceiveFromPanelExecute();
    void ToolsFetchEventLogExecute();
    void ToolsFetchDeviceDataExecute();
    void ToolsLogDeviceExecute();
    // The windows it opens.
    TAppWindows& Windows() { return *FWindows; }
    // The printing actions are enabled only while the system has a printer.
    void UpdatePrintActions();
    // The system's printers; tests name their own.
    std::function<QStringList()> PrinterNames = report::SystemPrinterNames;
    void VdSCompatibilityClick();
    void HelpPX10UserManualExecute();
    // One item per language of the dictionary after the first, each with
    // its language index; captions follow the language in force.
    void BuildLanguageMenu();
    void RetextLanguageMenu();
    // Switches the whole program to the item's language, then rebuilds what
    // code shows: the VdS mark, the views, the device nodes, the items.
    void SelectLanguageClick(QAction* item);
    const std::vector<QAction*>& LanguageItems() const { return FLanguageItems; }
    QMenu* LanguageMenu() const { return Language1; }
    // Sets the VdS check mark from the language in force (index 5).
    bool UpdateVdSMenuFromLanguage();
    bool IsOptionAlwaysEnabled() const { return true; }
    // Opens a document with the system's viewer; tests replace it.
    std::function<bool(const std::string&)> OpenDocument;

    bool IsRegionalOptionEnabled() const;
    bool IsRegionalOptionEnabled2() const { return IsRegionalOptionEnabled(); }
    bool IsVdSCompatibility() const;
    // Commits text the user is still typing in any spin control.
    void CommitPendingEdits();
    // Opens the first .UDF file of a drop, after the drop has finished.
    void FilesDropped(const std::vector<std::string>& files);

    QAction *FileNew, *FileOpen, *FileSave, *FileSaveAs, *FilePrintPreview, *FilePrint, *FilePrinterSetup,
        *FileExit;
    QAction *EditCutDevice, *EditCopyDevice, *EditPasteDevice;
    QAction *ViewGeneralSetupOptions, *ViewOnboardOutputCircuits, *ViewLoopDevices, *ViewZoneText,
        *ViewCBERules;
    QAction *ToolsSendToPanel, *ToolsReceiveFromPanel, *ToolsFetchEventLog, *ToolsFetchDeviceData,
        *ToolsLogDevice, *ToolsSerialPortSetup;
    QAction *ToolsAddChangeSensors, *ToolsAddChangeModules, *ToolsDeleteAllSensors, *ToolsDeleteAllModules,
        *ToolsDeleteAllDevices, *ToolsDeleteSensor, *ToolsDeleteModule;
    QAction *HelpPX10UserManual, *HelpAboutBox, *VdSCompatibility;
    QAction* FileHistorySlots[5];

signals:
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateTree();
    void FormShow();
    void FormClose();
    void ReleaseConfiguration();
    void UpdateFileHistoryMenu();
    void TreeView1Change(QTreeWidgetItem* node);
    void TreeView1ContextPopup(const QPoint& pos);
    void ShowFrameOfKind(int kind);
    void OpenRangeEntry(int deviceId);
    // A page made when first needed joins the frames, translated into the
    // language in force, and shows the configuration in force when there is one.
    void AddLatePage(QWidget* page, const std::function<void()>& showConfiguration);
    // Joins a device grid to the tree, the edit actions and the pop-up menu.
    void ConnectDeviceFrame(DeviceEditFrame* frame, bool module);
    // The module grid's current address, which the edit rules ask for.
    int ModuleAddress() const;
    int SelectedAddress() const;
    bool SensorFrameVisible() const;
    bool ModuleFrameVisible() const;
    DeviceClipboard::View DeviceView() const;
    DeviceEditFrame* DeviceFrameInView() const;

    TfrmAbout* FAbout;
    std::vector<std::string> FArguments;
    ConfigLifecycle FLifecycle;
    bool FShownOnce = false;
    bool FClosed = false;
    int FTreeTag = -1; // no view chosen before the first showing
    QTreeWidget* FTree = nullptr;
    QTreeWidgetItem *FPanelNode = nullptr, *FOnboardNode = nullptr, *FLoopNode = nullptr,
                    *FSensorsNode = nullptr, *FModulesNode = nullptr;
    QStackedWidget* FFrames = nullptr;
    TfrmPanelSetupOptions* frmPanelSetupOptions1 = nullptr;
    TfrmOnboardOutputSetup* frmOnboardOutputSetup1 = nullptr;
    DeviceEditFrame* FSensorFrame = nullptr;
    DeviceEditFrame* FModuleFrame = nullptr;
    QMenu *popPanel, *popOOutputs, *popLoop, *popAllSensors, *popSensor, *popAllModules, *popModule,
        *popDeviceTable;
    QMenu* FFileMenu = nullptr;
    QMenu* Language1 = nullptr;
    std::vector<QAction*> FLanguageItems;
    TIvDialogModule* IvDialogModule1 = nullptr;
    DeviceClipboard FClipboard;
    std::unique_ptr<TQuorvelProtocol> FProtocol;
    std::unique_ptr<TAppWindows> FWindows;

public:
    TQuorvelProtocol* QuorvelProtocol1() const { return FProtocol.get(); }
};

extern TfrmMain* frmMain;
