#pragma once
// The frame that edits the panel-wide options of a configuration. Its rules
// live in PanelSetupOptions (Panelsetupoptionslogic.h); the frame only wires
// its widgets to them: every user edit goes to the logic, which writes the
// configuration at once, and the widgets then show the logic's state.
// Filling controls in code never writes back; what the spin controls show
// is stored by the logic's load instead. The option controls are
// created when the frame is first shown or loaded, not with the frame: the
// main window creates it at start-up but shows it only on request.
#include "Panelsetupoptionslogic.h"

#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <utility>

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
class TPX10ConfigData;
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

    // The configuration edited from now on; the main window binds every
    // configuration it makes current (null before it is deleted).
    void SetConfiguration(TPX10ConfigData* config);
    PanelSetupOptions& Logic() { return FLogic; }
    // The hour/minute separator the time edits show (the reports print
    // times with it).
    char TimeSeparator() const;

    // Creates the option controls when they do not exist yet, then fills them.
    void LoadFromConfig();
    // Fills the controls now when they exist, else when the frame is first
    // shown, from the configuration bound then; what loading writes back
    // (PanelSetupOptions::WriteBackSpinValues) is written now either way.
    void RefreshFromConfig();
    // The option controls below exist once this has run (it runs once).
    void CreateControls();
    bool ControlsCreated() const { return FControlsCreated; }
    static int FindPanelTypeIndex(const std::string& Identification);

    // From the main window.
    std::function<bool()> IsRegionalOptionEnabled2;
    std::function<bool()> IsVdSCompatibility;
    std::function<void()> RefreshAllViews;

    // Controls (component names as the window gives them); all but the tab
    // control and the timer are null until CreateControls. An option's
    // control is made, named, wired and filled from its row in PanelOptions
    // (PanelOptionTable.h).
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Makes the control of `option` from its row, as the frame's member the
    // row names.
    QWidget* Make(PanelOption option, QWidget* parent);
    void BuildPanelOptions(QWidget* page);
    void BuildSiteDetails(QWidget* page);
    void BuildDeviceOptions(QWidget* page);
    void BuildPeripheralOptions(QWidget* page);
    void BuildDayNight(QWidget* page);
    void WireHandlers();
    // Runs a user action on the logic (its failure goes to the error box),
    // then shows the resulting state.
    template <class F> void Act(F&& action);
    // Shows the logic's state in every control, without writing back.
    void ApplyState();
    std::array<std::pair<QCheckBox*, GsmFlag>, std::size_t(GsmFlag::Count)> GsmFlagBoxes() const;
    PanelSetupOptions FLogic;
    bool FLoading = false;
    bool FControlsCreated = false;
    bool FLoadPending = false;
};
