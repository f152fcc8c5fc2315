#pragma once
// The frame that edits the panel-wide options of the current configuration:
// every control writes its option at once; LoadFromConfig fills them all.
// Filling controls in code never writes back. The option controls are
// created when the frame is first shown or loaded, not with the frame: the
// main window creates it at start-up but shows it only on request.
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabBar;
class QTabWidget;
class QTimer;
class TSpinControl;

// A group of radio buttons with an item index, like the class library's.
class RadioGroup : public QWidget {
    Q_OBJECT
public:
    RadioGroup(const QString& caption, const QStringList& items, QWidget* parent);
    int ItemIndex() const;
    void SetItemIndex(int index); // -1 clears; never reports a click
    std::function<void()> OnClick;
    QGroupBox* Box;

private:
    QButtonGroup* FGroup;
};

class TfrmPanelSetupOptions : public QWidget {
    Q_OBJECT
public:
    explicit TfrmPanelSetupOptions(QWidget* Owner = nullptr);
    void setVisible(bool visible) override;

    // Creates the option controls when they do not exist yet, then fills them.
    void LoadFromConfig();
    // Fills the controls now when they exist, else when the frame is first
    // shown, from the configuration current then.
    void RefreshFromConfig();
    // The option controls below exist once this has run (it runs once).
    void CreateControls();
    bool ControlsCreated() const { return FControlsCreated; }
    static int FindPanelTypeIndex(const std::string& Identification);

    // From the main window.
    std::function<bool()> IsRegionalOptionEnabled2;
    std::function<bool()> IsVdSCompatibility;
    std::function<void()> RefreshAllViews;
    std::function<void()> OnBlinkingClick;

    // Hidden lists.
    static const std::vector<std::string>& PanelTypesVeltrane();
    static const std::vector<std::string>& RS485DefaultProtocolList();
    static const std::vector<std::string>& RS485PX11ProtocolList();
    static const std::vector<std::string>& RS232PX10EventPrinterOptions();
    static const std::vector<std::string>& RS232PX11EventPrinterOptions();
    static const std::vector<std::string>& RS232ThirdPartyOptions();
    // List mappings (bounds-checked: a stored value outside a list shows row 0).
    static int PanelTypeSelectionRow(int panelType);
    static const std::vector<std::string>& RS485ListFor(int panelType);
    static int RS485SelectionRow(int panelType, int protocol);
    static int RS485ProtocolOfText(const std::string& text);
    static const std::vector<std::string>* RS232OptionsListFor(int rs232Protocol, int panelType);

    void cboPanelTypeSelectionChange();
    void cboRS485ProtocolChange();
    void cboRS232ProtocolChange();
    void UpdateRS485Options();
    void UpdateRS232Options();
    void pclGSMItemsChange();
    void edtGsmNumberChange();
    void rdgTorqSwitchClick();
    void rdgBlinkingClick();
    void cbxServiceDueEnabledClick();
    void dtpServiceDueChange();
    void tmrDayModeCheckTimer();
    void pnlDayModeTimeExit();
    void UpdateDayModeCaption();
    char TimeSeparator() const;

    // Controls (component names as the window gives them); all but the tab
    // control and the timer are null until CreateControls.
    QTabWidget* pclSetupOptions = nullptr;
    QComboBox *cboDateFormat = nullptr, *cboPanelTypeSelection = nullptr, *cboHoldSwitchOperation = nullptr,
              *cboRS232Protocol = nullptr, *cbxRS232Options = nullptr, *cboRS485Protocol = nullptr,
              *cboGsmQtyAlarm = nullptr, *cboGsmQtyPreAlarm = nullptr, *cboGsmQtyFault = nullptr;
    QLabel* lblPanelType = nullptr;
    RadioGroup *rdgEventPrinting = nullptr, *rdgPrintFormat = nullptr, *rdgControlKeys = nullptr,
               *rdgLED1HMode = nullptr, *rdgLED2CMode = nullptr, *rdgControlKey3Mode = nullptr,
               *rdgUnmuteOption = nullptr, *rdgFireOutputActiveLEDOption = nullptr,
               *rdgAutoResoundMode = nullptr, *rdgLampTest = nullptr, *rdgTorqSwitch = nullptr,
               *rdgBlinking = nullptr, *rdgPulseRatio = nullptr, *rdgTransmissionDevice = nullptr,
               *rdgDigitalInput1 = nullptr, *rdgFWPInput4Disable = nullptr,
               *rdgFWP2OutputActivation = nullptr, *rdgWeekendSensitivityNightMode = nullptr,
               *rdgFiremansWorkPanelOption = nullptr, *rdgRoutingAutoDisable = nullptr,
               *rdgSuppressDoubleAddress = nullptr, *rdgMAxHeadLEDs = nullptr,
               *rdgSensorsBlinkColour = nullptr, *rdgModulesBlinkColour = nullptr,
               *rdgRS232ThirdPartyDatalinkMonitoring = nullptr,
               *rdgRS485ThirdPartyDatalinkMonitoring = nullptr, *rdgDelaysActiveIndication = nullptr,
               *rdgWeekendNightMode = nullptr, *rdgDayModeStartOption = nullptr;
    TSpinControl *spnMainsDelay = nullptr, *spnExtSystemDelay = nullptr, *spnExtSystemSoakTime = nullptr,
                 *spnRS232ThirdPartySuspendCommsLimit = nullptr, *spnRS485QtyRepeaters = nullptr,
                 *spnRS485ThirdPartySuspendCommsLimit = nullptr, *spnPrimaryDelay = nullptr,
                 *spnExtendDelay = nullptr;
    QLineEdit *txtSiteName = nullptr, *txtServicePhoneNo = nullptr, *medHightestTime = nullptr,
              *medDayModeSensitivityStartTime = nullptr, *medDayModeSensitivityEndTime = nullptr,
              *medDayModeStartTime = nullptr, *medDayModeEndTime = nullptr, *edtGsmNumber = nullptr;
    QCheckBox *chkHightestEnable = nullptr, *cbxServiceDueEnabled = nullptr,
              *cbxHeatDetectorsEndDelays = nullptr, *cbxDayModeNewAlarmOption = nullptr;
    QCheckBox *cbxGsmAlarm = nullptr, *cbxGsmFault = nullptr, *cbxGsmPrealarm = nullptr,
              *cbxGsmControls = nullptr, *cbxGsmGeneralDisable = nullptr, *cbxGsmZoneDisable = nullptr,
              *cbxGsmDeviceDisable = nullptr, *cbxGsmSystemDisable = nullptr;
    QDateEdit* dtpServiceDue = nullptr;
    QWidget* pnlRS232Options = nullptr;
    QGroupBox *gbxGSMItems = nullptr, *gbxDayModeDelays = nullptr;
    QTabBar* pclGSMItems = nullptr;
    QWidget* pnlDayModeTime = nullptr;
    QTimer* tmrDayModeCheck;
    int tmrDayModeCheckTag = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildPanelOptions(QWidget* page);
    void BuildSiteDetails(QWidget* page);
    void BuildDeviceOptions(QWidget* page);
    void BuildPeripheralOptions(QWidget* page);
    void BuildDayNight(QWidget* page);
    void WireHandlers();
    void cbxGsmConditionClick(QObject* sender);
    void UpdateGsmQuantityEnables();
    void TimeEdited(QLineEdit* edit, int tag);
    bool FLoading = false;
    bool FControlsCreated = false;
    bool FLoadPending = false;
};
