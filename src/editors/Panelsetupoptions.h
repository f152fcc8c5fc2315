#pragma once
// The frame that edits the panel-wide options of the current configuration:
// every control writes its option at once; LoadFromConfig fills them all.
// Filling controls in code never writes back.
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

    void LoadFromConfig();
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

    // Controls (component names as the window gives them).
    QTabWidget* pclSetupOptions;
    QComboBox *cboDateFormat, *cboPanelTypeSelection, *cboHoldSwitchOperation, *cboRS232Protocol,
        *cbxRS232Options, *cboRS485Protocol, *cboGsmQtyAlarm, *cboGsmQtyPreAlarm, *cboGsmQtyFault;
    QLabel* lblPanelType;
    RadioGroup *rdgEventPrinting, *rdgPrintFormat, *rdgControlKeys, *rdgLED1HMode, *rdgLED2CMode,
        *rdgControlKey3Mode, *rdgUnmuteOption, *rdgFireOutputActiveLEDOption, *rdgAutoResoundMode,
        *rdgLampTest, *rdgTorqSwitch, *rdgBlinking, *rdgPulseRatio, *rdgTransmissionDevice, *rdgDigitalInput1,
        *rdgFWPInput4Disable, *rdgFWP2OutputActivation, *rdgWeekendSensitivityNightMode,
        *rdgFiremansWorkPanelOption, *rdgRoutingAutoDisable, *rdgSuppressDoubleAddress, *rdgMAxHeadLEDs,
        *rdgSensorsBlinkColour, *rdgModulesBlinkColour, *rdgRS232ThirdPartyDatalinkMonitoring,
        *rdgRS485ThirdPartyDatalinkMonitoring, *rdgDelaysActiveIndication, *rdgWeekendNightMode,
        *rdgDayModeStartOption;
    TSpinControl *spnMainsDelay, *spnExtSystemDelay, *spnExtSystemSoakTime,
        *spnRS232ThirdPartySuspendCommsLimit, *spnRS485QtyRepeaters, *spnRS485ThirdPartySuspendCommsLimit,
        *spnPrimaryDelay, *spnExtendDelay;
    QLineEdit *txtSiteName, *txtServicePhoneNo, *medHightestTime, *medDayModeSensitivityStartTime,
        *medDayModeSensitivityEndTime, *medDayModeStartTime, *medDayModeEndTime, *edtGsmNumber;
    QCheckBox *chkHightestEnable, *cbxServiceDueEnabled, *cbxHeatDetectorsEndDelays,
        *cbxDayModeNewAlarmOption;
    QCheckBox *cbxGsmAlarm, *cbxGsmFault, *cbxGsmPrealarm, *cbxGsmControls, *cbxGsmGeneralDisable,
        *cbxGsmZoneDisable, *cbxGsmDeviceDisable, *cbxGsmSystemDisable;
    QDateEdit* dtpServiceDue;
    QWidget* pnlRS232Options;
    QGroupBox *gbxGSMItems, *gbxDayModeDelays;
    QTabBar* pclGSMItems;
    QWidget* pnlDayModeTime;
    QTimer* tmrDayModeCheck;
    int tmrDayModeCheckTag = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

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
};
