#include "Panelsetupoptions.h"

#include "CodePage.h"
#include "ExceptionBox.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"
#include "PanelTypeList.h"
#include "Prompts.h"
#include "Spincontrol.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}
QString T(const char* s)
{
    return Q(Translate(s));
}
// Configuration texts are Windows-1252 bytes; the controls show Unicode.
QString FromCfg(const std::string& s)
{
    return platform::Cp1252ToQString(s);
}
std::string ToCfg(const QString& s)
{
    return platform::QStringToCp1252(s);
}
QStringList Items(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* i : items)
        out << T(i);
    return out;
}
QStringList Rows(const std::vector<std::string>& rows)
{
    QStringList out;
    for (const auto& r : rows)
        out << Q(r);
    return out;
}
TPX10ConfigGeneralPanelSetup* G()
{
    return ConfigData ? ConfigData->GeneralPanelSetup.get() : nullptr;
}
// Runs a handler and shows its failure, as the event loop's guard does.
template <class F> void Guard(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        ShowExceptionBox(e);
    }
}
QWidget* Unit(QWidget* control, const char* unit, QWidget* parent)
{
    auto* w = new QWidget(parent);
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(control);
    h->addWidget(new QLabel(T(unit), w));
    h->addStretch();
    return w;
}
} // namespace

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QWidget(parent)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    Box = new QGroupBox(caption, this);
    outer->addWidget(Box);
    auto* v = new QVBoxLayout(Box);
    v->setSpacing(2);
    FGroup = new QButtonGroup(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], Box);
        FGroup->addButton(b, i);
        v->addWidget(b);
    }
    connect(FGroup, &QButtonGroup::idClicked, this, [this](int) {
        if (OnClick)
            Guard(OnClick);
    });
}

int RadioGroup::ItemIndex() const
{
    return FGroup->checkedId();
}

void RadioGroup::SetItemIndex(int index)
{
    if (QAbstractButton* b = FGroup->button(index))
        b->setChecked(true);
    else if (QAbstractButton* c = FGroup->checkedButton()) {
        FGroup->setExclusive(false);
        c->setChecked(false);
        FGroup->setExclusive(true);
    }
}

// ---- lists ----

const std::vector<std::string>& TfrmPanelSetupOptions::PanelTypesVeltrane()
{
    static const std::vector<std::string> rows { "412-304-xxx : PX21/22", "412-303-xxx : PX11/12",
        "412-302-xxx : PX20", "412-301-xxx : PX10" };
    return rows;
}
const std::vector<std::string>& TfrmPanelSetupOptions::RS485DefaultProtocolList()
{
    static const std::vector<std::string> rows { "DISABLED", "VELTRANE", "VRQ40/RQ40", "BFT/LLT",
        "THIRD PARTY" };
    return rows;
}
const std::vector<std::string>& TfrmPanelSetupOptions::RS485PX11ProtocolList()
{
    static const std::vector<std::string> rows { "VELTRANE", "BFT/LLT", "THIRD PARTY" };
    return rows;
}
const std::vector<std::string>& TfrmPanelSetupOptions::RS232PX10EventPrinterOptions()
{
    static const std::vector<std::string> rows { "BASIC", "XON/XOFF" };
    return rows;
}
const std::vector<std::string>& TfrmPanelSetupOptions::RS232PX11EventPrinterOptions()
{
    static const std::vector<std::string> rows { "BASIC", "XON/XOFF", "HARDWARE" };
    return rows;
}
const std::vector<std::string>& TfrmPanelSetupOptions::RS232ThirdPartyOptions()
{
    static const std::vector<std::string> rows { "FULL DUPLEX", "HALF DUPLEX" };
    return rows;
}

int TfrmPanelSetupOptions::FindPanelTypeIndex(const std::string& Identification)
{
    return ::FindPanelTypeIndex(Identification);
}

int TfrmPanelSetupOptions::PanelTypeSelectionRow(int panelType)
{
    const auto& all = PanelTypesAll();
    if (panelType < 0 || panelType >= int(all.size()))
        return 0;
    const auto& rows = PanelTypesVeltrane();
    for (int i = 0; i < int(rows.size()); ++i)
        if (rows[i] == all[panelType])
            return i;
    return 0;
}

const std::vector<std::string>& TfrmPanelSetupOptions::RS485ListFor(int panelType)
{
    return panelType >= 2 && panelType <= 6 ? RS485DefaultProtocolList() : RS485PX11ProtocolList();
}

int TfrmPanelSetupOptions::RS485SelectionRow(int panelType, int protocol)
{
    const auto& all = RS485DefaultProtocolList();
    if (protocol < 0 || protocol >= int(all.size()))
        return 0;
    const auto& rows = RS485ListFor(panelType);
    for (int i = 0; i < int(rows.size()); ++i)
        if (rows[i] == all[protocol])
            return i;
    return 0;
}

int TfrmPanelSetupOptions::RS485ProtocolOfText(const std::string& text)
{
    const auto& all = RS485DefaultProtocolList();
    for (int i = 0; i < int(all.size()); ++i)
        if (all[i] == text)
            return i;
    return -1;
}

const std::vector<std::string>* TfrmPanelSetupOptions::RS232OptionsListFor(int r, int panelType)
{
    if (r == 1)
        return &RS232ThirdPartyOptions();
    if (r == 2)
        return nullptr; // the list stays as it is
    return panelType >= 2 && panelType <= 6 ? &RS232PX10EventPrinterOptions()
                                            : &RS232PX11EventPrinterOptions();
}

// ---- construction ----

TfrmPanelSetupOptions::TfrmPanelSetupOptions(QWidget* Owner)
    : QWidget(Owner)
{
    setObjectName("frmPanelSetupOptions");
    auto* v = new QVBoxLayout(this);
    auto* title = new QLabel(T("Setup Options"), this);
    QFont f = title->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.4);
    title->setFont(f);
    v->addWidget(title);
    pclSetupOptions = new QTabWidget(this);
    pclSetupOptions->setObjectName("pclSetupOptions");
    v->addWidget(pclSetupOptions);
    const char* pages[]
        = { "Panel Options", "Site Details", "Device Options", "Peripheral Options", "Day/Night Settings" };
    for (const char* page : pages)
        pclSetupOptions->addTab(new QWidget(pclSetupOptions), T(page));
    tmrDayModeCheck = new QTimer(this);
    tmrDayModeCheck->setInterval(100);
    connect(tmrDayModeCheck, &QTimer::timeout, this, [this] { Guard([this] { tmrDayModeCheckTimer(); }); });
}

void TfrmPanelSetupOptions::CreateControls()
{
    if (FControlsCreated)
        return;
    FControlsCreated = true;
    // Built while hidden: the pages lay themselves out once, when shown.
    BuildPanelOptions(pclSetupOptions->widget(0));
    BuildSiteDetails(pclSetupOptions->widget(1));
    BuildDeviceOptions(pclSetupOptions->widget(2));
    BuildPeripheralOptions(pclSetupOptions->widget(3));
    BuildDayNight(pclSetupOptions->widget(4));
    WireHandlers();
    pclSetupOptions->setCurrentIndex(0);
    pclGSMItems->setCurrentIndex(0);
}

void TfrmPanelSetupOptions::RefreshFromConfig()
{
    if (FControlsCreated)
        LoadFromConfig();
    else
        FLoadPending = true;
}

void TfrmPanelSetupOptions::setVisible(bool visible)
{
    // The controls exist before the frame becomes visible, so that they show
    // with it and it is laid out once.
    if (visible && (!FControlsCreated || FLoadPending))
        Guard([this] { FLoadPending ? LoadFromConfig() : CreateControls(); });
    QWidget::setVisible(visible);
}

void TfrmPanelSetupOptions::showEvent(QShowEvent* event)
{
    // Shown along with a parent, without setVisible.
    if (!FControlsCreated || FLoadPending)
        Guard([this] { FLoadPending ? LoadFromConfig() : CreateControls(); });
    QWidget::showEvent(event);
}

void TfrmPanelSetupOptions::BuildPanelOptions(QWidget* page)
{
    auto* g = new QGridLayout(page);
    auto* top = new QFormLayout;
    cboDateFormat = new QComboBox(page);
    cboDateFormat->addItems({ "dd/mm/yyyy", "mm/dd/yyyy", "yyyy/mm/dd" });
    top->addRow(T("Date Format"), cboDateFormat);
    cboPanelTypeSelection = new QComboBox(page);
    lblPanelType = new QLabel(T("Panel Type"), page);
    top->addRow(lblPanelType, cboPanelTypeSelection);
    spnMainsDelay = new TSpinControl(page);
    spnMainsDelay->SetMax(60);
    auto* mains = new QGroupBox(T("Mains Fault Delay"), page);
    (new QHBoxLayout(mains))->addWidget(Unit(spnMainsDelay, "minutes", mains));
    g->addLayout(top, 0, 0);
    g->addWidget(mains, 0, 1);
    rdgEventPrinting = new RadioGroup(T("Event Printing"), Items({ "On-Demand", "Continuous" }), page);
    rdgPrintFormat = new RadioGroup(T("Print Format"), Items({ "Single Height", "Double Height" }), page);
    rdgControlKeys = new RadioGroup(T("Control Keys Require Level 2 Access"), Items({ "No", "Yes" }), page);
    rdgLED1HMode = new RadioGroup(
        T("LED 1H Mode"), Items({ "Pre-Alarm", "Sounders Silenced", "F.C. System Fault" }), page);
    rdgLED2CMode
        = new RadioGroup(T("LED 2C Mode"), Items({ "Plant Alarm", "Fault Output: Fault/Disable" }), page);
    rdgControlKey3Mode = new RadioGroup(T("Control Key 3 Mode"),
        Items({ "End Delays/Evacuate", "Transmission Device Enable/Disable" }), page);
    rdgUnmuteOption = new RadioGroup(
        T("Un-mute Internal Tone"), Items({ "On new zone in alarm", "On new device in alarm" }), page);
    rdgFireOutputActiveLEDOption = new RadioGroup(T("Fire Output Active LED Option"),
        Items({ "On Transmission Device Return Signal", "On Transmission Device Trigger" }), page);
    rdgAutoResoundMode
        = new RadioGroup(T("Automatic Resound Mode"), Items({ "Any Zone", "New Zone", "No" }), page);
    rdgLampTest = new RadioGroup(T("Lamp Test at Access Level 1"), Items({ "No", "Yes" }), page);
    rdgTorqSwitch = new RadioGroup(T("Torq Protocol"), Items({ "Disabled", "Enabled" }), page);
    RadioGroup* order[] = { rdgEventPrinting, rdgPrintFormat, rdgControlKeys, rdgLED1HMode, rdgLED2CMode,
        rdgUnmuteOption, rdgAutoResoundMode, rdgLampTest, rdgTorqSwitch, rdgControlKey3Mode,
        rdgFireOutputActiveLEDOption };
    int i = 0;
    for (RadioGroup* r : order) {
        g->addWidget(r, 1 + i / 2, i % 2);
        ++i;
    }
    g->setRowStretch(1 + i / 2 + 1, 1);
}

void TfrmPanelSetupOptions::BuildSiteDetails(QWidget* page)
{
    auto* form = new QFormLayout(page);
    txtSiteName = new QLineEdit(page);
    txtSiteName->setMaxLength(20);
    txtServicePhoneNo = new QLineEdit(page);
    txtServicePhoneNo->setMaxLength(20);
    form->addRow(T("Site Name"), txtSiteName);
    form->addRow(T("Service Phone No."), txtServicePhoneNo);
    auto* due = new QGroupBox(T("Service Due Date"), page);
    auto* h = new QHBoxLayout(due);
    dtpServiceDue = new QDateEdit(due);
    dtpServiceDue->setCalendarPopup(true);
    dtpServiceDue->setDisplayFormat("dd/MM/yyyy");
    cbxServiceDueEnabled = new QCheckBox(T("Enabled"), due);
    h->addWidget(dtpServiceDue);
    h->addWidget(cbxServiceDueEnabled);
    h->addStretch();
    form->addRow(due);
}

void TfrmPanelSetupOptions::BuildDeviceOptions(QWidget* page)
{
    auto* g = new QGridLayout(page);
    rdgBlinking = new RadioGroup(T("Blinking"), Items({ "Off", "On" }), page);
    rdgPulseRatio = new RadioGroup(T("Pulse Ratio"), Items({ "1/1", "4/1" }), page);
    rdgTransmissionDevice
        = new RadioGroup(T("Transmission Device"), Items({ "Continuous", "6s Pulse" }), page);
    rdgDigitalInput1
        = new RadioGroup(T("Digital Input 1"), Items({ "Class Change", "Day Mode Start" }), page);
    rdgFWPInput4Disable
        = new RadioGroup(T("FWP Input 4 Disable"), Items({ "Extinguishant", "Sounders" }), page);
    rdgFWPInput4Disable->hide();
    rdgFWP2OutputActivation = new RadioGroup(T("FWP 2 Output Activation"),
        Items({ "On Transmission Device Trigger", "On Transmission Device Return Signal" }), page);
    rdgWeekendSensitivityNightMode
        = new RadioGroup(T("Weekend Night Mode"), Items({ "Disabled", "Enabled" }), page);
    rdgFiremansWorkPanelOption
        = new RadioGroup(T("Fireman's Work Panel"), Items({ "German", "Swiss" }), page);
    rdgRoutingAutoDisable = new RadioGroup(T("TD/ES Auto Disable"), Items({ "No", "Yes" }), page);
    rdgSuppressDoubleAddress = new RadioGroup(T("Suppress Double Address"), Items({ "Off", "On" }), page);
    rdgMAxHeadLEDs = new RadioGroup(T("Maximum Number of Head LEDs"), Items({ "10 LEDs", "2 LEDs" }), page);
    rdgSensorsBlinkColour = new RadioGroup(T("Sensors Blink Colour"), Items({ "Red", "Green" }), page);
    rdgModulesBlinkColour = new RadioGroup(T("Modules Blink Colour"), Items({ "Green", "Red" }), page);

    auto* hightest = new QGroupBox(T("Automatic Hightest Time"), page);
    auto* hh = new QHBoxLayout(hightest);
    medHightestTime = new QLineEdit(hightest);
    chkHightestEnable = new QCheckBox(T("&Enable"), hightest);
    hh->addWidget(medHightestTime);
    hh->addWidget(chkHightestEnable);
    auto* ext = new QGroupBox(T("Extinguishing System"), page);
    auto* ef = new QFormLayout(ext);
    spnExtSystemDelay = new TSpinControl(ext);
    spnExtSystemDelay->SetMax(180);
    spnExtSystemDelay->SetMin(10);
    spnExtSystemSoakTime = new TSpinControl(ext);
    spnExtSystemSoakTime->SetMax(999);
    ef->addRow(T("Activation Delay Time"), Unit(spnExtSystemDelay, "seconds", ext));
    ef->addRow(T("Soak Time"), Unit(spnExtSystemSoakTime, "seconds", ext));
    auto* hold = new QGroupBox(T("Hold Switch Operation"), page);
    cboHoldSwitchOperation = new QComboBox(hold);
    cboHoldSwitchOperation->addItems(Items({ "AHJ", "NYC", "ULI", "IRI" }));
    (new QHBoxLayout(hold))->addWidget(cboHoldSwitchOperation);
    auto* sens = new QGroupBox(T("Day Mode Device Sensitivity"), page);
    auto* sf = new QFormLayout(sens);
    medDayModeSensitivityStartTime = new QLineEdit(sens);
    medDayModeSensitivityEndTime = new QLineEdit(sens);
    sf->addRow(T("Start time"), medDayModeSensitivityStartTime);
    sf->addRow(T("End time"), medDayModeSensitivityEndTime);

    QWidget* cells[] = { rdgBlinking, rdgSensorsBlinkColour, rdgModulesBlinkColour, rdgPulseRatio,
        rdgTransmissionDevice, rdgDigitalInput1, hightest, ext, hold, rdgFWP2OutputActivation, sens,
        rdgWeekendSensitivityNightMode, rdgFiremansWorkPanelOption, rdgRoutingAutoDisable,
        rdgSuppressDoubleAddress, rdgMAxHeadLEDs };
    int i = 0;
    for (QWidget* w : cells) {
        g->addWidget(w, i / 3, i % 3);
        ++i;
    }
    g->setRowStretch(i / 3 + 1, 1);
}

void TfrmPanelSetupOptions::BuildPeripheralOptions(QWidget* page)
{
    auto* g = new QGridLayout(page);
    auto* rs232 = new QGroupBox(T("RS232 Protocol"), page);
    auto* r2 = new QVBoxLayout(rs232);
    cboRS232Protocol = new QComboBox(rs232);
    cboRS232Protocol->addItems(Items({ "PRINTER", "THIRD PARTY", "GSM MODEM" }));
    r2->addWidget(cboRS232Protocol);
    g->addWidget(rs232, 0, 0);

    pnlRS232Options = new QWidget(page);
    pnlRS232Options->setAutoFillBackground(true);
    auto* po = new QVBoxLayout(pnlRS232Options);
    auto* optBox = new QGroupBox(T("RS232 Options"), pnlRS232Options);
    cbxRS232Options = new QComboBox(optBox);
    (new QHBoxLayout(optBox))->addWidget(cbxRS232Options);
    po->addWidget(optBox);
    rdgRS232ThirdPartyDatalinkMonitoring = new RadioGroup(
        T("Third Party Datalink Monitoring"), Items({ "Disable", "Enable" }), pnlRS232Options);
    po->addWidget(rdgRS232ThirdPartyDatalinkMonitoring);
    auto* lim = new QGroupBox(T("Third Party Suspend Comms Limit"), pnlRS232Options);
    spnRS232ThirdPartySuspendCommsLimit = new TSpinControl(lim);
    spnRS232ThirdPartySuspendCommsLimit->SetMax(300);
    (new QHBoxLayout(lim))->addWidget(Unit(spnRS232ThirdPartySuspendCommsLimit, "minutes", lim));
    po->addWidget(lim);
    po->addStretch();

    // The GSM items take the same place as the RS232 options; one shows.
    gbxGSMItems = new QGroupBox(T("GSM Items"), page);
    auto* gv = new QVBoxLayout(gbxGSMItems);
    pclGSMItems = new QTabBar(gbxGSMItems);
    for (int i = 1; i <= 5; ++i)
        pclGSMItems->addTab(QString::number(i));
    gv->addWidget(pclGSMItems);
    auto* gf = new QFormLayout;
    edtGsmNumber = new QLineEdit(gbxGSMItems);
    edtGsmNumber->setMaxLength(40);
    edtGsmNumber->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9+\\- ]*"), edtGsmNumber));
    gf->addRow(T("Number"), edtGsmNumber);
    gv->addLayout(gf);
    auto* checks = new QGridLayout;
    auto box = [this](const char* text) { return new QCheckBox(T(text), gbxGSMItems); };
    cbxGsmAlarm = box("Alarm");
    cbxGsmFault = box("Fault");
    cbxGsmPrealarm = box("Pre-alarm");
    cbxGsmControls = box("Controls");
    cbxGsmGeneralDisable = box("General Disable");
    cbxGsmZoneDisable = box("Zone Disable");
    cbxGsmDeviceDisable = box("Device Disable");
    cbxGsmSystemDisable = box("System Disable");
    auto qty = [this] {
        auto* c = new QComboBox(gbxGSMItems);
        c->addItems({ "1", "5", T("ALL") });
        return c;
    };
    cboGsmQtyAlarm = qty();
    cboGsmQtyPreAlarm = qty();
    cboGsmQtyFault = qty();
    checks->addWidget(cbxGsmAlarm, 0, 0);
    checks->addWidget(cboGsmQtyAlarm, 0, 1);
    checks->addWidget(cbxGsmFault, 1, 0);
    checks->addWidget(cboGsmQtyFault, 1, 1);
    checks->addWidget(cbxGsmPrealarm, 2, 0);
    checks->addWidget(cboGsmQtyPreAlarm, 2, 1);
    checks->addWidget(cbxGsmControls, 3, 0);
    checks->addWidget(cbxGsmGeneralDisable, 0, 2);
    checks->addWidget(cbxGsmZoneDisable, 1, 2);
    checks->addWidget(cbxGsmDeviceDisable, 2, 2);
    checks->addWidget(cbxGsmSystemDisable, 3, 2);
    gv->addLayout(checks);
    gv->addStretch();
    gbxGSMItems->hide();
    g->addWidget(pnlRS232Options, 1, 0);
    g->addWidget(gbxGSMItems, 1, 0);

    auto* rs485 = new QGroupBox(T("RS485"), page);
    auto* r5 = new QFormLayout(rs485);
    spnRS485QtyRepeaters = new TSpinControl(rs485);
    spnRS485QtyRepeaters->SetMax(16);
    r5->addRow(T("No of Repeaters"), spnRS485QtyRepeaters);
    cboRS485Protocol = new QComboBox(rs485);
    r5->addRow(T("RS485 Protocol"), cboRS485Protocol);
    rdgRS485ThirdPartyDatalinkMonitoring
        = new RadioGroup(T("Third Party Datalink Monitoring"), Items({ "Disable", "Enable" }), rs485);
    r5->addRow(rdgRS485ThirdPartyDatalinkMonitoring);
    spnRS485ThirdPartySuspendCommsLimit = new TSpinControl(rs485);
    spnRS485ThirdPartySuspendCommsLimit->SetMax(300);
    r5->addRow(
        T("Third Party Suspend Comms Limit"), Unit(spnRS485ThirdPartySuspendCommsLimit, "minutes", rs485));
    g->addWidget(rs485, 0, 1, 2, 1);
    g->setRowStretch(2, 1);
}

void TfrmPanelSetupOptions::BuildDayNight(QWidget* page)
{
    auto* v = new QVBoxLayout(page);
    gbxDayModeDelays = new QGroupBox(T("Day Mode Delays"), page);
    v->addWidget(gbxDayModeDelays);
    auto* g = new QGridLayout(gbxDayModeDelays);
    pnlDayModeTime = new QWidget(gbxDayModeDelays);
    auto* tf = new QFormLayout(pnlDayModeTime);
    medDayModeStartTime = new QLineEdit(pnlDayModeTime);
    medDayModeEndTime = new QLineEdit(pnlDayModeTime);
    tf->addRow(T("Start time"), medDayModeStartTime);
    tf->addRow(T("End time"), medDayModeEndTime);
    g->addWidget(pnlDayModeTime, 0, 0);
    auto* delays = new QFormLayout;
    spnPrimaryDelay = new TSpinControl(gbxDayModeDelays);
    spnPrimaryDelay->SetMax(300);
    spnExtendDelay = new TSpinControl(gbxDayModeDelays);
    spnExtendDelay->SetMax(10);
    delays->addRow(T("Primary Delay Time"), Unit(spnPrimaryDelay, "seconds", gbxDayModeDelays));
    delays->addRow(T("Extend Delay Time"), Unit(spnExtendDelay, "minutes", gbxDayModeDelays));
    g->addLayout(delays, 0, 1);
    cbxHeatDetectorsEndDelays = new QCheckBox(T("Heat Detectors End Delays"), gbxDayModeDelays);
    cbxDayModeNewAlarmOption = new QCheckBox(T("Two Alarm Zones End Delays"), gbxDayModeDelays);
    g->addWidget(cbxHeatDetectorsEndDelays, 1, 0);
    g->addWidget(cbxDayModeNewAlarmOption, 1, 1);
    rdgDelaysActiveIndication = new RadioGroup(T("Delays Active Indication"),
        Items({ "Delays Active LED Only", "Delays Active and Disablement LEDs" }), gbxDayModeDelays);
    rdgWeekendNightMode
        = new RadioGroup(T("Weekend Night Mode"), Items({ "Disabled", "Enabled" }), gbxDayModeDelays);
    rdgDayModeStartOption
        = new RadioGroup(T("Day Mode Start Option"), Items({ "Manual", "Automatic" }), gbxDayModeDelays);
    g->addWidget(rdgDelaysActiveIndication, 2, 0);
    g->addWidget(rdgWeekendNightMode, 2, 1);
    g->addWidget(rdgDayModeStartOption, 3, 0);
    v->addStretch();
}

// ---- handlers ----

void TfrmPanelSetupOptions::WireHandlers()
{
    auto radio = [](RadioGroup* r, std::function<void(int)> set) {
        r->OnClick = [r, set] {
            if (G())
                set(r->ItemIndex());
        };
    };
    radio(rdgEventPrinting, [](int i) { G()->SetEventPrinting(i != 0); });
    radio(rdgPrintFormat, [](int i) { G()->SetPrintFormat(i != 0); });
    radio(rdgControlKeys, [](int i) { G()->SetControlKeys(i != 0); });
    radio(rdgLED1HMode, [](int i) { G()->SetLED1HMode(i); });
    radio(rdgLED2CMode, [](int i) { G()->SetLED2CMode(i); });
    radio(rdgControlKey3Mode, [](int i) { G()->SetControlKey3Mode(i); });
    radio(rdgUnmuteOption, [](int i) { G()->SetUnmuteOption(i); });
    radio(rdgFireOutputActiveLEDOption, [](int i) { G()->SetFireOutputActiveLEDOption(i != 0); });
    radio(rdgAutoResoundMode, [](int i) { G()->SetAutoResoundMode(i); });
    radio(rdgLampTest, [](int i) { G()->SetLampTest(i != 0); });
    rdgTorqSwitch->OnClick = [this] { rdgTorqSwitchClick(); };
    rdgBlinking->OnClick = [this] { rdgBlinkingClick(); };
    radio(rdgPulseRatio, [](int i) { G()->SetPulseRatio(i); });
    radio(rdgTransmissionDevice, [](int i) { G()->SetTransmissionDevice(i != 0); });
    radio(rdgDigitalInput1, [](int i) { G()->SetDigitalInput1(i == 1); });
    radio(rdgFWPInput4Disable, [](int i) { G()->SetFWPInput4Disable(i != 0); });
    radio(rdgFWP2OutputActivation, [](int i) { G()->SetFWP2OutputActivation(i); });
    radio(rdgWeekendSensitivityNightMode, [](int i) { G()->SetWeekendSensitivityNightMode(i != 0); });
    radio(rdgFiremansWorkPanelOption, [](int i) { G()->SetFiremansWorkPanelOption(i); });
    radio(rdgRoutingAutoDisable, [](int i) { G()->SetRoutingAutoDisable(i); });
    radio(rdgSuppressDoubleAddress, [](int i) { G()->SetSuppressDoubleAddress(i); });
    radio(rdgMAxHeadLEDs, [](int i) { G()->SetMaxHeadLEDs(i != 0); });
    radio(rdgSensorsBlinkColour, [](int i) { G()->SetSensorsBlinkColour(i != 0); });
    radio(rdgModulesBlinkColour, [](int i) { G()->SetModulesBlinkColour(i != 0); });
    radio(rdgRS232ThirdPartyDatalinkMonitoring,
        [](int i) { G()->SetRS232ThirdPartyDatalinkMonitoring(i != 0); });
    radio(rdgRS485ThirdPartyDatalinkMonitoring,
        [](int i) { G()->SetRS485ThirdPartyDatalinkMonitoring(i != 0); });
    radio(rdgDelaysActiveIndication, [](int i) { G()->SetDelaysActiveIndication(i); });
    radio(rdgWeekendNightMode, [](int i) { G()->SetWeekendNightMode(i != 0); });
    radio(rdgDayModeStartOption, [](int i) { G()->SetDayModeStartOption(i != 0); });

    // Spin controls report programmatic changes too: loading is ignored.
    auto spin = [this](TSpinControl* s, std::function<void(int)> set) {
        s->OnChange = [this, set](TSpinControl* sender) {
            if (!FLoading && G())
                Guard([&] { set(sender->GetValue()); });
        };
    };
    spin(spnMainsDelay, [](int v) { G()->SetMainsDelay(v); });
    spin(spnExtSystemDelay, [](int v) { G()->SetExtSystemDelay(v); });
    spin(spnExtSystemSoakTime, [](int v) { G()->SetExtSystemSoakTime(v); });
    spin(spnRS232ThirdPartySuspendCommsLimit, [](int v) { G()->SetRS232ThirdPartySuspendCommsLimit(v); });
    spin(spnRS485QtyRepeaters, [](int v) { G()->SetRS485QtyRepeaters(v); });
    spin(spnRS485ThirdPartySuspendCommsLimit, [](int v) { G()->SetRS485ThirdPartySuspendCommsLimit(v); });
    spin(spnPrimaryDelay, [](int v) { G()->SetPrimaryDelay(v); });
    spin(spnExtendDelay, [](int v) { G()->SetExtendDelay(v); });

    auto combo = [](QComboBox* c, std::function<void(int)> set) {
        QObject::connect(c, &QComboBox::activated, c, [set](int i) {
            if (G())
                Guard([&] { set(i); });
        });
    };
    combo(cboDateFormat, [](int i) { G()->SetDateFormat(i); });
    combo(cboHoldSwitchOperation, [](int i) { G()->SetHoldSwitchOperation(i); });
    combo(cboPanelTypeSelection, [this](int) { cboPanelTypeSelectionChange(); });
    combo(cboRS485Protocol, [this](int) { cboRS485ProtocolChange(); });
    combo(cboRS232Protocol, [this](int) { cboRS232ProtocolChange(); });
    combo(cbxRS232Options, [](int i) { G()->SetRS232Options(i); });

    connect(txtSiteName, &QLineEdit::textEdited, this, [](const QString& t) {
        if (G())
            G()->SetSiteName(ToCfg(t));
    });
    connect(txtServicePhoneNo, &QLineEdit::textEdited, this, [](const QString& t) {
        if (G())
            G()->SetServicePhoneNo(ToCfg(t));
    });
    connect(chkHightestEnable, &QCheckBox::clicked, this, [](bool on) {
        if (G())
            G()->SetHightestEnable(on);
    });
    connect(cbxHeatDetectorsEndDelays, &QCheckBox::clicked, this, [](bool on) {
        if (G())
            G()->SetHeatDetectorsEndDelays(on);
    });
    connect(cbxDayModeNewAlarmOption, &QCheckBox::clicked, this, [](bool on) {
        if (G())
            G()->SetDayModeNewAlarmOption(on ? 0 : 1); // stored inverted
    });
    connect(cbxServiceDueEnabled, &QCheckBox::clicked, this,
        [this] { Guard([this] { cbxServiceDueEnabledClick(); }); });
    connect(dtpServiceDue, &QDateEdit::dateChanged, this, [this] {
        if (!FLoading)
            Guard([this] { dtpServiceDueChange(); });
    });

    for (QLineEdit* e : { medHightestTime, medDayModeSensitivityStartTime, medDayModeSensitivityEndTime,
             medDayModeStartTime, medDayModeEndTime }) {
        e->setInputMask("09:99;_"); // hours, separator, minutes
        e->setMaximumWidth(70);
    }
    connect(medHightestTime, &QLineEdit::textEdited, this, [this] { TimeEdited(medHightestTime, -1); });
    connect(
        medDayModeStartTime, &QLineEdit::textEdited, this, [this] { TimeEdited(medDayModeStartTime, 202); });
    connect(medDayModeEndTime, &QLineEdit::textEdited, this, [this] { TimeEdited(medDayModeEndTime, 304); });
    connect(medDayModeSensitivityStartTime, &QLineEdit::textEdited, this,
        [this] { TimeEdited(medDayModeSensitivityStartTime, 2); });
    connect(medDayModeSensitivityEndTime, &QLineEdit::textEdited, this,
        [this] { TimeEdited(medDayModeSensitivityEndTime, 104); });
    medDayModeStartTime->installEventFilter(this);
    medDayModeEndTime->installEventFilter(this);

    connect(pclGSMItems, &QTabBar::tabBarClicked, this,
        [this](int) { QTimer::singleShot(0, this, [this] { pclGSMItemsChange(); }); });
    connect(edtGsmNumber, &QLineEdit::textEdited, this, [this] { edtGsmNumberChange(); });
    for (QCheckBox* c : { cbxGsmAlarm, cbxGsmFault, cbxGsmPrealarm, cbxGsmControls, cbxGsmGeneralDisable,
             cbxGsmZoneDisable, cbxGsmDeviceDisable, cbxGsmSystemDisable })
        connect(c, &QCheckBox::clicked, this, [this, c] { cbxGsmConditionClick(c); });
    for (QComboBox* c : { cboGsmQtyAlarm, cboGsmQtyPreAlarm, cboGsmQtyFault })
        connect(c, &QComboBox::activated, this, [this, c] { cbxGsmConditionClick(c); });
}

char TfrmPanelSetupOptions::TimeSeparator() const
{
    if (!medDayModeStartTime)
        return ':';
    QString t = medDayModeStartTime->displayText();
    return t.size() >= 3 ? char(t.at(2).toLatin1()) : ':';
}

namespace {
std::string TimeText(const QLineEdit* e)
{
    // Blank positions of the mask read as blanks, which the setter reads as 0.
    return e->displayText().replace('_', ' ').toStdString();
}
} // namespace

void TfrmPanelSetupOptions::TimeEdited(QLineEdit* edit, int tag)
{
    TPX10ConfigGeneralPanelSetup* g = G();
    if (!g || FLoading)
        return;
    Guard([&] {
        std::string text = TimeText(edit);
        char sep = TimeSeparator();
        std::string stored;
        if (edit == medHightestTime) {
            g->SetHightestTimeText(text);
            stored = g->GetHightestTimeText(sep);
        } else if (edit == medDayModeStartTime) {
            g->SetDayModeStartTimeText(text);
            stored = g->GetDayModeStartTimeText(sep);
        } else if (edit == medDayModeEndTime) {
            g->SetDayModeEndTimeText(text);
            stored = g->GetDayModeEndTimeText(sep);
        } else if (edit == medDayModeSensitivityStartTime) {
            g->SetDayModeSensitivityStartTimeText(text);
            stored = g->GetDayModeSensitivityStartTimeText(sep);
        } else {
            g->SetDayModeSensitivityEndTimeText(text);
            stored = g->GetDayModeSensitivityEndTimeText(sep);
        }
        int caret = edit->cursorPosition();
        if (edit->displayText() != Q(stored)) {
            edit->setText(Q(stored));
            edit->setCursorPosition(caret);
        }
        if (tag >= 0) {
            tmrDayModeCheckTag = tag;
            tmrDayModeCheck->start();
        }
    });
}

void TfrmPanelSetupOptions::tmrDayModeCheckTimer()
{
    TPX10ConfigGeneralPanelSetup* g = G();
    --tmrDayModeCheckTag;
    int tag = tmrDayModeCheckTag;
    if (tag != 0 && tag != 100 && tag != 200 && tag != 300)
        return;
    tmrDayModeCheck->stop();
    if (!g)
        return;
    char sep = TimeSeparator();
    // Setting an edit's text stores it, as typing would, and arms the check
    // again for that edit.
    auto pull = [this](QLineEdit* edit, const std::string& text, int again) {
        edit->setText(Q(text));
        TimeEdited(edit, again);
    };
    switch (tag) {
    case 0:
        if (g->GetDayModeSensitivityStartTime() > g->GetDayModeSensitivityEndTime())
            pull(medDayModeSensitivityEndTime, g->GetDayModeSensitivityStartTimeText(sep), 104);
        break;
    case 100:
        if (g->GetDayModeSensitivityStartTime() > g->GetDayModeSensitivityEndTime())
            pull(medDayModeSensitivityStartTime, g->GetDayModeSensitivityEndTimeText(sep), 2);
        break;
    case 200:
        if (g->GetDayModeStartTime() > g->GetDayModeEndTime())
            pull(medDayModeEndTime, g->GetDayModeStartTimeText(sep), 304);
        UpdateDayModeCaption();
        break;
    case 300:
        if (g->GetDayModeStartTime() > g->GetDayModeEndTime())
            pull(medDayModeStartTime, g->GetDayModeEndTimeText(sep), 202);
        UpdateDayModeCaption();
        break;
    }
}

bool TfrmPanelSetupOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut
        && (watched == medDayModeStartTime || watched == medDayModeEndTime)) {
        QWidget* next = QApplication::focusWidget();
        if (next != medDayModeStartTime && next != medDayModeEndTime)
            Guard([this] { pnlDayModeTimeExit(); });
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmPanelSetupOptions::pnlDayModeTimeExit()
{
    TPX10ConfigGeneralPanelSetup* g = G();
    if (!g)
        return;
    if (g->GetDayModeStartTime() > g->GetDayModeEndTime())
        platform::CurrentPrompts().MessageDlg(Translate("Invalid start or end time entered.") + "\r\n\r\n"
                + Translate("To activate day mode, the start time\r\nmust be less "
                            "than the end time."),
            platform::MsgDlgType::mtWarning, platform::mbOK);
    UpdateDayModeCaption();
}

void TfrmPanelSetupOptions::UpdateDayModeCaption()
{
    TPX10ConfigGeneralPanelSetup* g = G();
    bool active = g && g->GetDayModeStartTime() != g->GetDayModeEndTime();
    gbxDayModeDelays->setTitle(
        Q(Translate("Day Mode Delays") + " - " + Translate(active ? "ACTIVE" : "INACTIVE")));
}

void TfrmPanelSetupOptions::cboPanelTypeSelectionChange()
{
    int row = cboPanelTypeSelection->currentIndex();
    if (!ConfigData || row < 0 || row >= int(PanelTypesVeltrane().size()))
        return;
    const auto& all = PanelTypesAll();
    for (int i = 0; i < int(all.size()); ++i)
        if (all[i] == PanelTypesVeltrane()[row]) {
            ConfigData->FileHeader->SetPanelType(i);
            break;
        }
    if (RefreshAllViews)
        RefreshAllViews();
    else
        LoadFromConfig();
}

void TfrmPanelSetupOptions::cboRS485ProtocolChange()
{
    int p = RS485ProtocolOfText(cboRS485Protocol->currentText().toStdString());
    if (!G() || p < 0)
        return;
    G()->SetRS485Protocol(p);
    UpdateRS485Options();
}

void TfrmPanelSetupOptions::UpdateRS485Options()
{
    int p = G() ? G()->GetRS485Protocol() : 0;
    bool repeaters = p >= 1 && p <= 3;
    bool thirdParty = p == 4;
    spnRS485QtyRepeaters->SetEnabled(repeaters);
    rdgRS485ThirdPartyDatalinkMonitoring->setEnabled(thirdParty);
    spnRS485ThirdPartySuspendCommsLimit->SetEnabled(thirdParty);
}

void TfrmPanelSetupOptions::cboRS232ProtocolChange()
{
    TPX10ConfigGeneralPanelSetup* g = G();
    int i = cboRS232Protocol->currentIndex();
    if (!g || i == g->GetRS232Protocol())
        return;
    g->SetRS232Protocol(i);
    UpdateRS232Options();
    cbxRS232Options->setCurrentIndex(0);
    g->SetRS232Options(0);
}

void TfrmPanelSetupOptions::UpdateRS232Options()
{
    int r = G() ? G()->GetRS232Protocol() : 0;
    int type = ConfigData ? ConfigData->FileHeader->GetPanelType() : 3;
    if (const auto* list = RS232OptionsListFor(r, type)) {
        const QSignalBlocker block(cbxRS232Options);
        cbxRS232Options->clear();
        cbxRS232Options->addItems(Rows(*list));
    }
    if (r != 2) {
        bool thirdParty = r == 1;
        rdgRS232ThirdPartyDatalinkMonitoring->setEnabled(thirdParty);
        spnRS232ThirdPartySuspendCommsLimit->SetEnabled(thirdParty);
    }
    pnlRS232Options->setVisible(r != 2);
    gbxGSMItems->setVisible(r == 2);
}

void TfrmPanelSetupOptions::pclGSMItemsChange()
{
    if (!ConfigData)
        return;
    const bool wasLoading = FLoading;
    FLoading = true;
    int n = pclGSMItems->currentIndex() + 1;
    TPX10ConfigGsmItems& gsm = *ConfigData->GsmItems;
    edtGsmNumber->setText(FromCfg(gsm.GetNumber(n)));
    cbxGsmAlarm->setChecked(gsm.GetAlarm(n));
    cbxGsmFault->setChecked(gsm.GetFault(n));
    cbxGsmPrealarm->setChecked(gsm.GetPrealarm(n));
    cbxGsmControls->setChecked(gsm.GetControls(n));
    cbxGsmGeneralDisable->setChecked(gsm.GetGeneralDisable(n));
    cbxGsmZoneDisable->setChecked(gsm.GetZoneDisable(n));
    cbxGsmDeviceDisable->setChecked(gsm.GetDeviceDisable(n));
    cbxGsmSystemDisable->setChecked(gsm.GetSystemDisable(n));
    auto qty = [](QComboBox* c, int v) { c->setCurrentIndex(v >= 0 && v < c->count() ? v : -1); };
    qty(cboGsmQtyAlarm, gsm.GetQtyAlarm(n));
    qty(cboGsmQtyPreAlarm, gsm.GetQtyPreAlarm(n));
    qty(cboGsmQtyFault, gsm.GetQtyFault(n));
    UpdateGsmQuantityEnables();
    FLoading = wasLoading;
}

void TfrmPanelSetupOptions::UpdateGsmQuantityEnables()
{
    cboGsmQtyAlarm->setEnabled(cbxGsmAlarm->isChecked());
    cboGsmQtyFault->setEnabled(cbxGsmFault->isChecked());
    cboGsmQtyPreAlarm->setEnabled(cbxGsmPrealarm->isChecked());
}

void TfrmPanelSetupOptions::cbxGsmConditionClick(QObject* sender)
{
    if (!ConfigData)
        return;
    int n = pclGSMItems->currentIndex() + 1;
    TPX10ConfigGsmItems& gsm = *ConfigData->GsmItems;
    if (sender == cbxGsmAlarm)
        gsm.SetAlarm(n, cbxGsmAlarm->isChecked());
    else if (sender == cbxGsmFault)
        gsm.SetFault(n, cbxGsmFault->isChecked());
    else if (sender == cbxGsmPrealarm)
        gsm.SetPrealarm(n, cbxGsmPrealarm->isChecked());
    else if (sender == cbxGsmControls)
        gsm.SetControls(n, cbxGsmControls->isChecked());
    else if (sender == cbxGsmGeneralDisable)
        gsm.SetGeneralDisable(n, cbxGsmGeneralDisable->isChecked());
    else if (sender == cbxGsmZoneDisable)
        gsm.SetZoneDisable(n, cbxGsmZoneDisable->isChecked());
    else if (sender == cbxGsmDeviceDisable)
        gsm.SetDeviceDisable(n, cbxGsmDeviceDisable->isChecked());
    else if (sender == cbxGsmSystemDisable)
        gsm.SetSystemDisable(n, cbxGsmSystemDisable->isChecked());
    else if (sender == cboGsmQtyAlarm)
        gsm.SetQtyAlarm(n, cboGsmQtyAlarm->currentIndex());
    else if (sender == cboGsmQtyPreAlarm)
        gsm.SetQtyPreAlarm(n, cboGsmQtyPreAlarm->currentIndex());
    else if (sender == cboGsmQtyFault)
        gsm.SetQtyFault(n, cboGsmQtyFault->currentIndex());
    UpdateGsmQuantityEnables();
}

void TfrmPanelSetupOptions::edtGsmNumberChange()
{
    int caret = edtGsmNumber->cursorPosition();
    QString text = edtGsmNumber->text();
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == ' ') {
            if (i < caret)
                --caret;
        } else
            out += text[i];
    }
    if (out != text) {
        edtGsmNumber->setText(out);
        edtGsmNumber->setCursorPosition(caret);
    }
    if (ConfigData)
        ConfigData->GsmItems->SetNumber(pclGSMItems->currentIndex() + 1, ToCfg(out));
}

void TfrmPanelSetupOptions::rdgTorqSwitchClick()
{
    int count
        = ConfigData ? ConfigData->Sensors->CountTorqDevices() + ConfigData->Modules->CountTorqDevices() : 0;
    if (rdgTorqSwitch->ItemIndex() == 0 && count >= 1) {
        rdgTorqSwitch->SetItemIndex(1);
        platform::CurrentPrompts().MessageDlg(Translate("Sorry, TORQ protocol can't be disabled!")
                + "\r\n\r\n"
                + Translate("Remove/Replace TORQ protocol devices present in the current configuration."),
            platform::MsgDlgType::mtWarning, platform::mbOK);
    }
    if (G())
        G()->SetTorqSwitch(rdgTorqSwitch->ItemIndex() != 0);
}

void TfrmPanelSetupOptions::rdgBlinkingClick()
{
    if (G())
        G()->SetBlinking(rdgBlinking->ItemIndex() != 0);
    bool on = rdgBlinking->ItemIndex() == 1;
    rdgSensorsBlinkColour->setEnabled(on);
    rdgModulesBlinkColour->setEnabled(on);
    if (OnBlinkingClick)
        OnBlinkingClick();
}

void TfrmPanelSetupOptions::cbxServiceDueEnabledClick()
{
    bool on = cbxServiceDueEnabled->isChecked();
    dtpServiceDue->setEnabled(on);
    if (!G())
        return;
    if (on)
        dtpServiceDueChange();
    else
        G()->SetServiceDueWord(0);
}

void TfrmPanelSetupOptions::dtpServiceDueChange()
{
    QDate d = dtpServiceDue->date();
    // The stored word holds the years 2000 to 2063 only.
    int y = std::clamp(d.year(), 2000, 2063);
    if (y != d.year()) {
        QDate fixed(y, d.month(), std::min(d.day(), QDate(y, d.month(), 1).daysInMonth()));
        const QSignalBlocker block(dtpServiceDue);
        dtpServiceDue->setDate(fixed);
        d = fixed;
    }
    if (G() && cbxServiceDueEnabled->isChecked())
        G()->SetServiceDueDate(d);
}

void TfrmPanelSetupOptions::LoadFromConfig()
{
    CreateControls();
    FLoadPending = false;
    TPX10ConfigGeneralPanelSetup* g = G();
    if (!g)
        return;
    FLoading = true;
    const QSignalBlocker b1(cboPanelTypeSelection), b2(cboRS485Protocol), b3(cboRS232Protocol),
        b4(cbxRS232Options), b5(dtpServiceDue);
    int type = ConfigData->FileHeader->GetPanelType();
    lblPanelType->show();
    cboPanelTypeSelection->show();
    cboPanelTypeSelection->clear();
    cboPanelTypeSelection->addItems(Rows(PanelTypesVeltrane()));
    cboPanelTypeSelection->setCurrentIndex(PanelTypeSelectionRow(type));
    cboDateFormat->setCurrentIndex(g->GetDateFormat() < cboDateFormat->count() ? g->GetDateFormat() : -1);

    bool regional = IsRegionalOptionEnabled2 && IsRegionalOptionEnabled2();
    rdgControlKey3Mode->SetItemIndex(regional ? g->GetControlKey3Mode() : 0);
    rdgControlKey3Mode->setVisible(regional);
    rdgControlKey3Mode->setEnabled(regional);
    bool vds = IsVdSCompatibility && IsVdSCompatibility();
    rdgFireOutputActiveLEDOption->setVisible(vds);
    rdgLED1HMode->SetItemIndex(g->GetLED1HMode());
    rdgLED2CMode->SetItemIndex(g->GetLED2CMode());
    rdgLED1HMode->setEnabled(!vds);
    rdgLED2CMode->setEnabled(!vds);
    rdgUnmuteOption->SetItemIndex(g->GetUnmuteOption());
    rdgFireOutputActiveLEDOption->SetItemIndex(g->GetFireOutputActiveLEDOption() ? 1 : 0);
    rdgControlKeys->SetItemIndex(g->GetControlKeys() ? 1 : 0);
    bool printing = !(type >= 2 && type <= 4);
    rdgEventPrinting->setEnabled(printing);
    rdgPrintFormat->setEnabled(printing);
    rdgEventPrinting->SetItemIndex(g->GetEventPrinting() ? 1 : 0);
    rdgPrintFormat->SetItemIndex(g->GetPrintFormat() ? 1 : 0);

    spnMainsDelay->SetValue(g->GetMainsDelay());
    txtSiteName->setText(FromCfg(g->GetSiteName()));
    txtServicePhoneNo->setText(FromCfg(g->GetServicePhoneNo()));
    rdgBlinking->SetItemIndex(g->GetBlinking() ? 1 : 0);
    rdgPulseRatio->SetItemIndex(g->GetPulseRatio() ? 1 : 0);
    spnExtSystemDelay->SetValue(g->GetExtSystemDelay());
    char sep = TimeSeparator();
    medHightestTime->setText(Q(g->GetHightestTimeText(sep)));
    chkHightestEnable->setChecked(g->GetHightestEnable());
    rdgTransmissionDevice->SetItemIndex(g->GetTransmissionDevice() ? 1 : 0);
    rdgDigitalInput1->SetItemIndex(g->GetDigitalInput1() ? 1 : 0);
    rdgFWPInput4Disable->SetItemIndex(g->GetFWPInput4Disable() ? 1 : 0);
    spnExtSystemSoakTime->SetValue(g->GetExtSystemSoakTime());
    int hold = g->GetHoldSwitchOperation();
    cboHoldSwitchOperation->setCurrentIndex(hold < cboHoldSwitchOperation->count() ? hold : -1);
    rdgFWP2OutputActivation->SetItemIndex(g->GetFWP2OutputActivation());
    medDayModeSensitivityStartTime->setText(Q(g->GetDayModeSensitivityStartTimeText(sep)));
    medDayModeSensitivityEndTime->setText(Q(g->GetDayModeSensitivityEndTimeText(sep)));
    rdgWeekendSensitivityNightMode->SetItemIndex(g->GetWeekendSensitivityNightMode() ? 1 : 0);
    rdgMAxHeadLEDs->SetItemIndex(g->GetMaxHeadLEDs() ? 1 : 0);
    rdgLampTest->SetItemIndex(g->GetLampTest() ? 1 : 0);
    rdgTorqSwitch->SetItemIndex(g->GetTorqSwitch() ? 1 : 0);
    rdgSensorsBlinkColour->SetItemIndex(g->GetSensorsBlinkColour() ? 1 : 0);
    rdgModulesBlinkColour->SetItemIndex(g->GetModulesBlinkColour() ? 1 : 0);
    rdgSensorsBlinkColour->setEnabled(g->GetBlinking());
    rdgModulesBlinkColour->setEnabled(g->GetBlinking());

    cboRS485Protocol->clear();
    cboRS485Protocol->addItems(Rows(RS485ListFor(type)));
    cboRS485Protocol->setCurrentIndex(RS485SelectionRow(type, g->GetRS485Protocol()));
    UpdateRS485Options();
    spnRS485QtyRepeaters->SetValue(g->GetRS485QtyRepeaters());
    rdgRS485ThirdPartyDatalinkMonitoring->SetItemIndex(g->GetRS485ThirdPartyDatalinkMonitoring() ? 1 : 0);
    spnRS485ThirdPartySuspendCommsLimit->SetValue(g->GetRS485ThirdPartySuspendCommsLimit());

    int r = g->GetRS232Protocol();
    cboRS232Protocol->setCurrentIndex(r < cboRS232Protocol->count() ? r : -1);
    UpdateRS232Options();
    int opt = g->GetRS232Options();
    cbxRS232Options->setCurrentIndex(opt < cbxRS232Options->count() ? opt : 0);
    rdgRS232ThirdPartyDatalinkMonitoring->SetItemIndex(g->GetRS232ThirdPartyDatalinkMonitoring() ? 1 : 0);
    spnRS232ThirdPartySuspendCommsLimit->SetValue(g->GetRS232ThirdPartySuspendCommsLimit());

    pclGSMItemsChange();

    medDayModeStartTime->setText(Q(g->GetDayModeStartTimeText(sep)));
    medDayModeEndTime->setText(Q(g->GetDayModeEndTimeText(sep)));
    rdgWeekendNightMode->SetItemIndex(g->GetWeekendNightMode() ? 1 : 0);
    rdgDayModeStartOption->SetItemIndex(g->GetDayModeStartOption() ? 1 : 0);
    UpdateDayModeCaption();
    spnPrimaryDelay->SetValue(g->GetPrimaryDelay());
    spnExtendDelay->SetValue(g->GetExtendDelay());
    cbxHeatDetectorsEndDelays->setChecked(g->GetHeatDetectorsEndDelays());
    cbxDayModeNewAlarmOption->setChecked(g->GetDayModeNewAlarmOption() == 0);
    rdgDelaysActiveIndication->SetItemIndex(g->GetDelaysActiveIndication());
    rdgFiremansWorkPanelOption->SetItemIndex(g->GetFiremansWorkPanelOption());
    rdgRoutingAutoDisable->SetItemIndex(g->GetRoutingAutoDisable());
    rdgAutoResoundMode->SetItemIndex(g->GetAutoResoundMode());
    rdgSuppressDoubleAddress->SetItemIndex(g->GetSuppressDoubleAddress());

    if (g->GetServiceDueWord() == 0) {
        cbxServiceDueEnabled->setChecked(false);
        dtpServiceDue->setEnabled(false);
    } else {
        cbxServiceDueEnabled->setChecked(true);
        dtpServiceDue->setEnabled(true);
        QDate d = g->GetServiceDueDate();
        if (d.isValid())
            dtpServiceDue->setDate(d);
    }
    FLoading = false;
}
