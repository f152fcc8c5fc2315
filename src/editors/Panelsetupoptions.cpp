#include "Panelsetupoptions.h"

#include "Ivmulti.h"

#include "AccessibleName.h"
#include "CodePage.h"
#include "CodePageValidator.h"
#include "DialogKeys.h"
#include "ExceptionBox.h"
#include "Ivdictio.h"
#include "PanelOptionTable.h"
#include "PanelTypeList.h"
#include "Spincontrol.h"
#include "WindowFit.h"

#include <QApplication>
#include <QFocusEvent>
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
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>

using platform::Cp1252ToQString;
using platform::QStringToCp1252;
using platform::Utf8ToQString;

namespace {
QStringList Items(const std::vector<std::string>& items)
{
    QStringList out;
    for (const auto& i : items)
        out << Utf8ToQString(i);
    return out;
}
QStringList OptionItems(PanelOption option)
{
    return Items(PanelSetupOptions::OptionItems(option));
}
// Screen readers and automated checks name a control without text of its own
// by the label beside it.
void Speak(QWidget* control, const QString& label)
{
    SetAccessibleNameParts(control, { label });
}
void AddRow(QFormLayout* form, const char* label, QWidget* control, QWidget* field = nullptr)
{
    auto* l = new QLabel(Utf8ToQString(label), form->parentWidget());
    l->setBuddy(control);
    Speak(control, l->text());
    form->addRow(l, field ? field : control);
}
QWidget* Unit(QWidget* control, const char* unit, QWidget* parent)
{
    auto* w = new QWidget(parent);
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(control);
    h->addWidget(new QLabel(Utf8ToQString(unit), w));
    h->addStretch();
    return w;
}
// The GSM number's mask: an edit that does not fit is refused as typed. The
// number as shown is the logic's, which every accepted edit and every load
// updates before the edit shows it.
class GsmNumberValidator : public QValidator {
public:
    GsmNumberValidator(const PanelSetupOptions& logic, QObject* parent)
        : QValidator(parent)
        , FLogic(logic)
    {
    }
    State validate(QString& input, int&) const override
    {
        return PanelSetupOptions::GsmNumberEditFits(FLogic.State().Gsm.Number, QStringToCp1252(input))
            ? Acceptable
            : Invalid;
    }

private:
    const PanelSetupOptions& FLogic;
};
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
            Guarded(OnClick);
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

// ---- construction ----

int TfrmPanelSetupOptions::FindPanelTypeIndex(const std::string& Identification)
{
    return ::FindPanelTypeIndex(Identification);
}

TfrmPanelSetupOptions::TfrmPanelSetupOptions(QWidget* Owner)
    : QWidget(Owner)
{
    setObjectName("frmPanelSetupOptions");
    auto* v = new QVBoxLayout(this);
    auto* title = new QLabel(Utf8ToQString(IvNative("Setup Options")), this);
    QFont f = title->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.4);
    title->setFont(f);
    v->addWidget(title);
    // Longer languages break the tabs' captions rather than hide a tab.
    pclSetupOptions = new TWrappingTabWidget(this);
    pclSetupOptions->setObjectName("pclSetupOptions");
    v->addWidget(pclSetupOptions);
    const std::pair<const char*, const char*> pages[] = { { "tbsPanelOptions", IvNative("Panel Options") },
        { "tbsSiteDetails", IvNative("Site Details") }, { "tbsDeviceOptions", IvNative("Device Options") },
        { "tbsPeripheralOptions", IvNative("Peripheral Options") },
        { "tbsDayNightSettings", IvNative("Day/Night Settings") } };
    for (const auto& [name, caption] : pages) {
        // A page taller or wider than the room the window gives it scrolls,
        // so the frame never makes the main window grow.
        auto* scroll = new QScrollArea(pclSetupOptions);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        auto* page = new QWidget(scroll);
        page->setObjectName(name);
        scroll->setWidget(page);
        pclSetupOptions->addTab(scroll, Utf8ToQString(caption));
    }
    tmrDayModeCheck = new QTimer(this);
    tmrDayModeCheck->setObjectName("tmrDayModeCheck");
    tmrDayModeCheck->setInterval(100);
    connect(tmrDayModeCheck, &QTimer::timeout, this, [this] { Act([this] { FLogic.DayModeCheckTick(); }); });
    FLogic.OnPanelTypeChanged = [this] {
        if (RefreshAllViews)
            RefreshAllViews();
        else
            LoadFromConfig();
    };
}

void TfrmPanelSetupOptions::SetConfiguration(TPX10ConfigData* config)
{
    FLogic.Bind(config);
    tmrDayModeCheck->stop();
}

void TfrmPanelSetupOptions::CreateControls()
{
    if (FControlsCreated)
        return;
    FControlsCreated = true;
    // Built while hidden: the pages lay themselves out once, when shown.
    auto page = [this](int i) { return static_cast<QScrollArea*>(pclSetupOptions->widget(i))->widget(); };
    BuildPanelOptions(page(0));
    BuildSiteDetails(page(1));
    BuildDeviceOptions(page(2));
    BuildPeripheralOptions(page(3));
    BuildDayNight(page(4));
    // Every component by its name, for the translators and automated checks.
#define PX10_NAMED(w)                                                                                        \
    {                                                                                                        \
        w, #w                                                                                                \
    }
    // The option controls are named as they are made.
    const std::pair<QObject*, const char*> named[] = { PX10_NAMED(cboPanelTypeSelection),
        PX10_NAMED(cboRS232Protocol), PX10_NAMED(cboRS485Protocol), PX10_NAMED(cboGsmQtyAlarm),
        PX10_NAMED(cboGsmQtyPreAlarm), PX10_NAMED(cboGsmQtyFault), PX10_NAMED(lblPanelType),
        PX10_NAMED(txtSiteName), PX10_NAMED(txtServicePhoneNo), PX10_NAMED(medHightestTime),
        PX10_NAMED(medDayModeSensitivityStartTime), PX10_NAMED(medDayModeSensitivityEndTime),
        PX10_NAMED(medDayModeStartTime), PX10_NAMED(medDayModeEndTime), PX10_NAMED(edtGsmNumber),
        PX10_NAMED(cbxServiceDueEnabled), PX10_NAMED(cbxGsmAlarm), PX10_NAMED(cbxGsmFault),
        PX10_NAMED(cbxGsmPrealarm), PX10_NAMED(cbxGsmControls), PX10_NAMED(cbxGsmGeneralDisable),
        PX10_NAMED(cbxGsmZoneDisable), PX10_NAMED(cbxGsmDeviceDisable), PX10_NAMED(cbxGsmSystemDisable),
        PX10_NAMED(dtpServiceDue), PX10_NAMED(pnlRS232Options), PX10_NAMED(gbxGSMItems),
        PX10_NAMED(gbxDayModeDelays), PX10_NAMED(pclGSMItems), PX10_NAMED(pnlDayModeTime) };
#undef PX10_NAMED
    for (const auto& [object, name] : named)
        object->setObjectName(name);
    // Lists the rules build, and lists of another language, keep every entry whole.
    for (QComboBox* box : findChildren<QComboBox*>())
        KeepWideAsEntries(box);
    WireHandlers();
    pclSetupOptions->setCurrentIndex(0);
    pclGSMItems->setCurrentIndex(0);
    // Lists that the rules build, and the caption that shows the day mode's state.
    for (QComboBox* c : { cboPanelTypeSelection, cboRS485Protocol, cbxRS232Options })
        IvSetCodeText(c, "Items");
    IvSetCodeText(gbxDayModeDelays);
    // Built after the window's translator ran: into the language in force.
    IvRetranslate(this);
}

void TfrmPanelSetupOptions::RefreshFromConfig()
{
    if (FControlsCreated) {
        LoadFromConfig();
        return;
    }
    // What loading writes back is written now, not when the page is first
    // shown: Save and Send must carry it either way.
    if (TPX10ConfigData* config = FLogic.Config())
        PanelSetupOptions::WriteBackSpinValues(*config);
    FLoadPending = true;
}

void TfrmPanelSetupOptions::setVisible(bool visible)
{
    // The controls exist before the frame becomes visible, so that they show
    // with it and it is laid out once.
    if (visible && (!FControlsCreated || FLoadPending))
        Guarded([this] { FLoadPending ? LoadFromConfig() : CreateControls(); });
    QWidget::setVisible(visible);
}

void TfrmPanelSetupOptions::showEvent(QShowEvent* event)
{
    // Shown along with a parent, without setVisible.
    if (!FControlsCreated || FLoadPending)
        Guarded([this] { FLoadPending ? LoadFromConfig() : CreateControls(); });
    QWidget::showEvent(event);
}

QWidget* TfrmPanelSetupOptions::Make(PanelOption option, QWidget* parent)
{
    const TPanelOption& row = PanelOptionRow(option);
    QWidget* control = nullptr;
    if (row.Radio)
        control = this->*row.Radio = new RadioGroup(Utf8ToQString(row.Caption), OptionItems(option), parent);
    else if (row.Spin) {
        TSpinControl* spin = this->*row.Spin = new TSpinControl(parent);
        spin->SetMax(row.Max);
        spin->SetMin(row.Min);
        control = spin;
    } else if (row.Check)
        control = this->*row.Check = new QCheckBox(Utf8ToQString(row.Caption), parent);
    else {
        QComboBox* box = this->*row.Combo = new QComboBox(parent);
        box->addItems(OptionItems(option));
        control = box;
    }
    control->setObjectName(row.Name);
    if (row.Hidden)
        control->hide();
    return control;
}

void TfrmPanelSetupOptions::BuildPanelOptions(QWidget* page)
{
    auto* g = new QGridLayout(page);
    auto* general = new QWidget(page);
    auto* top = new QFormLayout(general);
    top->setContentsMargins(0, 0, 0, 0);
    AddRow(top, IvNative("Date Format"), Make(PanelOption::DateFormat, page));
    cboPanelTypeSelection = new QComboBox(page);
    lblPanelType = new QLabel(Utf8ToQString(IvNative("Panel Type")), page);
    lblPanelType->setBuddy(cboPanelTypeSelection);
    Speak(cboPanelTypeSelection, lblPanelType->text());
    top->addRow(lblPanelType, cboPanelTypeSelection);
    Make(PanelOption::MainsDelay, page);
    auto* mains = new QGroupBox(Utf8ToQString(IvNative("Mains Fault Delay")), page);
    Speak(spnMainsDelay, mains->title());
    (new QHBoxLayout(mains))->addWidget(Unit(spnMainsDelay, IvNative("minutes"), mains));
    // Made in this order, which is their tab order; laid out as they read.
    for (PanelOption o : { PanelOption::EventPrinting, PanelOption::PrintFormat, PanelOption::ControlKeys,
             PanelOption::LED1HMode, PanelOption::LED2CMode, PanelOption::ControlKey3Mode,
             PanelOption::UnmuteOption, PanelOption::FireOutputActiveLEDOption, PanelOption::AutoResoundMode,
             PanelOption::LampTest, PanelOption::TorqSwitch })
        Make(o, page);
    RadioGroup* order[] = { rdgEventPrinting, rdgPrintFormat, rdgControlKeys, rdgLED1HMode, rdgLED2CMode,
        rdgUnmuteOption, rdgAutoResoundMode, rdgLampTest, rdgTorqSwitch, rdgControlKey3Mode,
        rdgFireOutputActiveLEDOption };
    // Two columns where the room allows, one on a small screen or in a longer language.
    std::vector<QWidget*> cells { general, mains };
    cells.insert(cells.end(), std::begin(order), std::end(order));
    FlowIntoColumns(g, page->parentWidget(), cells, 2);
}

void TfrmPanelSetupOptions::BuildSiteDetails(QWidget* page)
{
    auto* form = new QFormLayout(page);
    txtSiteName = new QLineEdit(page);
    LimitToCp1252(txtSiteName, PanelSetupOptions::TextLimit);
    txtServicePhoneNo = new QLineEdit(page);
    LimitToCp1252(txtServicePhoneNo, PanelSetupOptions::TextLimit);
    AddRow(form, IvNative("Site Name"), txtSiteName);
    AddRow(form, IvNative("Service Phone No."), txtServicePhoneNo);
    auto* due = new QGroupBox(Utf8ToQString(IvNative("Service Due Date")), page);
    auto* h = new QHBoxLayout(due);
    dtpServiceDue = new QDateEdit(due);
    dtpServiceDue->setCalendarPopup(true);
    dtpServiceDue->setDisplayFormat("dd/MM/yyyy");
    TypeDigitsIntoAnyPart(dtpServiceDue);
    cbxServiceDueEnabled = new QCheckBox(Utf8ToQString(IvNative("Enabled")), due);
    Speak(dtpServiceDue, due->title());
    h->addWidget(dtpServiceDue);
    h->addWidget(cbxServiceDueEnabled);
    h->addStretch();
    form->addRow(due);
}

void TfrmPanelSetupOptions::BuildDeviceOptions(QWidget* page)
{
    auto* g = new QGridLayout(page);
    for (PanelOption o : { PanelOption::Blinking, PanelOption::PulseRatio, PanelOption::TransmissionDevice,
             PanelOption::DigitalInput1, PanelOption::FWPInput4Disable, PanelOption::FWP2OutputActivation,
             PanelOption::WeekendSensitivityNightMode, PanelOption::FiremansWorkPanelOption,
             PanelOption::RoutingAutoDisable, PanelOption::SuppressDoubleAddress, PanelOption::MaxHeadLEDs,
             PanelOption::SensorsBlinkColour, PanelOption::ModulesBlinkColour })
        Make(o, page);

    auto* hightest = new QGroupBox(Utf8ToQString(IvNative("Automatic Hightest Time")), page);
    auto* hh = new QHBoxLayout(hightest);
    medHightestTime = new QLineEdit(hightest);
    Make(PanelOption::HightestEnable, hightest);
    Speak(medHightestTime, hightest->title());
    hh->addWidget(medHightestTime);
    hh->addWidget(chkHightestEnable);
    auto* ext = new QGroupBox(Utf8ToQString(IvNative("Extinguishing System")), page);
    auto* ef = new QFormLayout(ext);
    Make(PanelOption::ExtSystemDelay, ext);
    Make(PanelOption::ExtSystemSoakTime, ext);
    AddRow(ef, IvNative("Activation Delay Time"), spnExtSystemDelay,
        Unit(spnExtSystemDelay, IvNative("seconds"), ext));
    AddRow(ef, IvNative("Soak Time"), spnExtSystemSoakTime,
        Unit(spnExtSystemSoakTime, IvNative("seconds"), ext));
    auto* hold = new QGroupBox(Utf8ToQString(IvNative("Hold Switch Operation")), page);
    Make(PanelOption::HoldSwitchOperation, hold);
    Speak(cboHoldSwitchOperation, hold->title());
    (new QHBoxLayout(hold))->addWidget(cboHoldSwitchOperation);
    auto* sens = new QGroupBox(Utf8ToQString(IvNative("Day Mode Device Sensitivity")), page);
    auto* sf = new QFormLayout(sens);
    medDayModeSensitivityStartTime = new QLineEdit(sens);
    medDayModeSensitivityEndTime = new QLineEdit(sens);
    AddRow(sf, IvNative("Start time"), medDayModeSensitivityStartTime);
    AddRow(sf, IvNative("End time"), medDayModeSensitivityEndTime);

    QWidget* cells[] = { rdgBlinking, rdgSensorsBlinkColour, rdgModulesBlinkColour, rdgPulseRatio,
        rdgTransmissionDevice, rdgDigitalInput1, hightest, ext, hold, rdgFWP2OutputActivation, sens,
        rdgWeekendSensitivityNightMode, rdgFiremansWorkPanelOption, rdgRoutingAutoDisable,
        rdgSuppressDoubleAddress, rdgMAxHeadLEDs };
    // Three columns where the room allows, fewer in longer languages or on
    // a small screen, rather than a page wider than its window.
    FlowIntoColumns(g, page->parentWidget(), std::vector<QWidget*>(std::begin(cells), std::end(cells)), 3);
}

void TfrmPanelSetupOptions::BuildPeripheralOptions(QWidget* page)
{
    auto* g = new QGridLayout(page);
    // The RS232 side: the protocol above its options or the GSM items.
    auto* rs232Side = new QWidget(page);
    auto* side = new QVBoxLayout(rs232Side);
    side->setContentsMargins(0, 0, 0, 0);
    auto* rs232 = new QGroupBox(Utf8ToQString(IvNative("RS232 Protocol")), rs232Side);
    auto* r2 = new QVBoxLayout(rs232);
    cboRS232Protocol = new QComboBox(rs232);
    cboRS232Protocol->addItems(Items(PanelSetupOptions::RS232ProtocolList()));
    Speak(cboRS232Protocol, rs232->title());
    r2->addWidget(cboRS232Protocol);
    side->addWidget(rs232);

    pnlRS232Options = new QWidget(rs232Side);
    pnlRS232Options->setAutoFillBackground(true);
    auto* po = new QVBoxLayout(pnlRS232Options);
    auto* optBox = new QGroupBox(Utf8ToQString(IvNative("RS232 Options")), pnlRS232Options);
    Make(PanelOption::RS232Options, optBox);
    Speak(cbxRS232Options, optBox->title());
    (new QHBoxLayout(optBox))->addWidget(cbxRS232Options);
    po->addWidget(optBox);
    po->addWidget(Make(PanelOption::RS232ThirdPartyDatalinkMonitoring, pnlRS232Options));
    auto* lim = new QGroupBox(Utf8ToQString(IvNative("Third Party Suspend Comms Limit")), pnlRS232Options);
    Make(PanelOption::RS232ThirdPartySuspendCommsLimit, lim);
    Speak(spnRS232ThirdPartySuspendCommsLimit, lim->title());
    (new QHBoxLayout(lim))->addWidget(Unit(spnRS232ThirdPartySuspendCommsLimit, IvNative("minutes"), lim));
    po->addWidget(lim);
    po->addStretch();

    // The GSM items take the same place as the RS232 options; one shows.
    gbxGSMItems = new QGroupBox(Utf8ToQString(IvNative("GSM Items")), rs232Side);
    auto* gv = new QVBoxLayout(gbxGSMItems);
    pclGSMItems = new QTabBar(gbxGSMItems);
    for (int i = 1; i <= 5; ++i)
        pclGSMItems->addTab(QString::number(i));
    gv->addWidget(pclGSMItems);
    auto* gf = new QFormLayout;
    edtGsmNumber = new QLineEdit(gbxGSMItems);
    // The record keeps 20 positions: the edit takes no more.
    edtGsmNumber->setMaxLength(PanelSetupOptions::TextLimit);
    edtGsmNumber->setValidator(new GsmNumberValidator(FLogic, edtGsmNumber));
    AddRow(gf, IvNative("Number"), edtGsmNumber);
    gv->addLayout(gf);
    auto* checks = new QGridLayout;
    auto box = [this](const char* text) { return new QCheckBox(Utf8ToQString(text), gbxGSMItems); };
    cbxGsmAlarm = box(IvNative("Alarm"));
    cbxGsmFault = box(IvNative("Fault"));
    cbxGsmPrealarm = box(IvNative("Pre-alarm"));
    cbxGsmControls = box(IvNative("Controls"));
    cbxGsmGeneralDisable = box(IvNative("General Disable"));
    cbxGsmZoneDisable = box(IvNative("Zone Disable"));
    cbxGsmDeviceDisable = box(IvNative("Device Disable"));
    cbxGsmSystemDisable = box(IvNative("System Disable"));
    auto qty = [this] {
        auto* c = new QComboBox(gbxGSMItems);
        c->addItems({ "1", "5", Utf8ToQString(IvNative("ALL")) });
        return c;
    };
    cboGsmQtyAlarm = qty();
    cboGsmQtyPreAlarm = qty();
    cboGsmQtyFault = qty();
    Speak(cboGsmQtyAlarm, cbxGsmAlarm->text());
    Speak(cboGsmQtyPreAlarm, cbxGsmPrealarm->text());
    Speak(cboGsmQtyFault, cbxGsmFault->text());
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
    side->addWidget(pnlRS232Options);
    side->addWidget(gbxGSMItems);
    side->addStretch();

    auto* rs485 = new QGroupBox(Utf8ToQString(IvNative("RS485")), page);
    auto* r5 = new QFormLayout(rs485);
    // A caption too long to share its row with its control goes above it.
    r5->setRowWrapPolicy(QFormLayout::WrapLongRows);
    AddRow(r5, IvNative("No of Repeaters"), Make(PanelOption::RS485QtyRepeaters, rs485));
    cboRS485Protocol = new QComboBox(rs485);
    AddRow(r5, IvNative("RS485 Protocol"), cboRS485Protocol);
    r5->addRow(Make(PanelOption::RS485ThirdPartyDatalinkMonitoring, rs485));
    Make(PanelOption::RS485ThirdPartySuspendCommsLimit, rs485);
    AddRow(r5, IvNative("Third Party Suspend Comms Limit"), spnRS485ThirdPartySuspendCommsLimit,
        Unit(spnRS485ThirdPartySuspendCommsLimit, IvNative("minutes"), rs485));
    // The longest caption of the group wraps rather than widen the page.
    if (auto* label
        = qobject_cast<QLabel*>(r5->labelForField(spnRS485ThirdPartySuspendCommsLimit->parentWidget())))
        label->setWordWrap(true);
    // Side by side where the room allows, else the RS485 box below.
    FlowIntoColumns(g, page->parentWidget(), { rs232Side, rs485 }, 2);
}

void TfrmPanelSetupOptions::BuildDayNight(QWidget* page)
{
    auto* v = new QVBoxLayout(page);
    gbxDayModeDelays = new QGroupBox(Utf8ToQString(IvNative("Day Mode Delays")), page);
    v->addWidget(gbxDayModeDelays);
    auto* group = new QVBoxLayout(gbxDayModeDelays);
    pnlDayModeTime = new QWidget(gbxDayModeDelays);
    auto* tf = new QFormLayout(pnlDayModeTime);
    medDayModeStartTime = new QLineEdit(pnlDayModeTime);
    medDayModeEndTime = new QLineEdit(pnlDayModeTime);
    AddRow(tf, IvNative("Start time"), medDayModeStartTime);
    AddRow(tf, IvNative("End time"), medDayModeEndTime);
    auto* delays = new QWidget(gbxDayModeDelays);
    auto* df = new QFormLayout(delays);
    Make(PanelOption::PrimaryDelay, delays);
    Make(PanelOption::ExtendDelay, delays);
    AddRow(df, IvNative("Primary Delay Time"), spnPrimaryDelay,
        Unit(spnPrimaryDelay, IvNative("seconds"), delays));
    AddRow(
        df, IvNative("Extend Delay Time"), spnExtendDelay, Unit(spnExtendDelay, IvNative("minutes"), delays));
    for (PanelOption o : { PanelOption::HeatDetectorsEndDelays, PanelOption::TwoAlarmZonesEndDelays,
             PanelOption::DelaysActiveIndication, PanelOption::WeekendNightMode,
             PanelOption::DayModeStartOption })
        Make(o, gbxDayModeDelays);
    // The times beside the delays and the groups two by two where the room
    // allows, else one below the other; each long check box has a row of its own.
    auto* times = new QGridLayout;
    group->addLayout(times);
    FlowIntoColumns(times, page->parentWidget(), { pnlDayModeTime, delays }, 2);
    group->addWidget(cbxHeatDetectorsEndDelays);
    group->addWidget(cbxDayModeNewAlarmOption);
    auto* groups = new QGridLayout;
    group->addLayout(groups);
    FlowIntoColumns(groups, page->parentWidget(),
        { rdgDelaysActiveIndication, rdgWeekendNightMode, rdgDayModeStartOption }, 2);
    v->addStretch();
}

// ---- wiring ----

std::array<std::pair<QCheckBox*, GsmFlag>, std::size_t(GsmFlag::Count)>
TfrmPanelSetupOptions::GsmFlagBoxes() const
{
    return { { { cbxGsmAlarm, GsmFlag::Alarm }, { cbxGsmFault, GsmFlag::Fault },
        { cbxGsmPrealarm, GsmFlag::Prealarm }, { cbxGsmControls, GsmFlag::Controls },
        { cbxGsmGeneralDisable, GsmFlag::GeneralDisable }, { cbxGsmZoneDisable, GsmFlag::ZoneDisable },
        { cbxGsmDeviceDisable, GsmFlag::DeviceDisable }, { cbxGsmSystemDisable, GsmFlag::SystemDisable } } };
}

template <class F> void TfrmPanelSetupOptions::Act(F&& action)
{
    if (FLoading)
        return; // a control changed by code
    Guarded([&] {
        FLogic.SetTimeSeparator(TimeSeparator());
        action();
    });
    ApplyState();
}

void TfrmPanelSetupOptions::WireHandlers()
{
    for (const TPanelOption& row : PanelOptions) {
        const PanelOption o = row.Option;
        if (row.Radio) {
            RadioGroup* r = this->*row.Radio;
            r->OnClick = [this, r, o] { Act([&] { FLogic.SetOption(o, r->ItemIndex()); }); };
        } else if (row.Spin)
            // Spin controls report programmatic changes too; Act ignores
            // those made while loading.
            (this->*row.Spin)->OnChange
                = [this, o](TSpinControl* sender) { Act([&] { FLogic.SetOption(o, sender->GetValue()); }); };
        else if (row.Check)
            connect(this->*row.Check, &QCheckBox::clicked, this,
                [this, o](bool on) { Act([&] { FLogic.SetOption(o, on); }); });
        else
            connect(this->*row.Combo, &QComboBox::activated, this,
                [this, o](int i) { Act([&] { FLogic.SetOption(o, i); }); });
    }

    auto combo = [this](QComboBox* c, std::function<void(int)> choose) {
        connect(c, &QComboBox::activated, this, [this, choose](int i) { Act([&] { choose(i); }); });
    };
    combo(cboPanelTypeSelection, [this](int i) { FLogic.ChoosePanelType(i); });
    combo(cboRS485Protocol, [this](int i) { FLogic.ChooseRS485Protocol(i); });
    combo(cboRS232Protocol, [this](int i) { FLogic.ChooseRS232Protocol(i); });
    combo(cboGsmQtyAlarm, [this](int i) { FLogic.SetGsmQuantity(GsmQuantity::Alarm, i); });
    combo(cboGsmQtyPreAlarm, [this](int i) { FLogic.SetGsmQuantity(GsmQuantity::PreAlarm, i); });
    combo(cboGsmQtyFault, [this](int i) { FLogic.SetGsmQuantity(GsmQuantity::Fault, i); });

    for (const auto& [box, flag] : GsmFlagBoxes())
        connect(box, &QCheckBox::clicked, this,
            [this, flag](bool on) { Act([&] { FLogic.SetGsmFlag(flag, on); }); });

    connect(txtSiteName, &QLineEdit::textEdited, this,
        [this](const QString& t) { Act([&] { FLogic.SetSiteName(QStringToCp1252(t)); }); });
    connect(txtServicePhoneNo, &QLineEdit::textEdited, this,
        [this](const QString& t) { Act([&] { FLogic.SetServicePhoneNo(QStringToCp1252(t)); }); });
    connect(cbxServiceDueEnabled, &QCheckBox::clicked, this,
        [this](bool on) { Act([&] { FLogic.SetServiceDueEnabled(on, dtpServiceDue->date()); }); });
    connect(dtpServiceDue, &QDateEdit::dateChanged, this,
        [this](QDate d) { Act([&] { FLogic.SetServiceDueDate(d); }); });

    const std::pair<QLineEdit*, TimeField> times[] = { { medHightestTime, TimeField::HightestTime },
        { medDayModeSensitivityStartTime, TimeField::SensitivityStart },
        { medDayModeSensitivityEndTime, TimeField::SensitivityEnd },
        { medDayModeStartTime, TimeField::DayModeStart }, { medDayModeEndTime, TimeField::DayModeEnd } };
    for (const auto& [edit, field] : times) {
        edit->setInputMask("09:99;_"); // hours, separator, minutes
        edit->setMaximumWidth(70);
        connect(edit, &QLineEdit::textEdited, this, [this, e = edit, f = field] {
            // Blank positions of the mask read as blanks, which the setter reads as 0.
            Act([&] { FLogic.EditTime(f, e->displayText().replace('_', ' ').toStdString()); });
        });
    }
    medDayModeStartTime->installEventFilter(this);
    medDayModeEndTime->installEventFilter(this);

    // Every change of the current tab (click, keys, wheel or code) shows its item.
    connect(pclGSMItems, &QTabBar::currentChanged, this,
        [this](int i) { Act([&] { FLogic.SelectGsmItem(i + 1); }); });
    connect(edtGsmNumber, &QLineEdit::textEdited, this, [this](const QString& t) {
        int caret = edtGsmNumber->cursorPosition();
        Act([&] { caret = FLogic.EditGsmNumber(QStringToCp1252(t), caret); });
        edtGsmNumber->setCursorPosition(caret);
    });
}

char TfrmPanelSetupOptions::TimeSeparator() const
{
    if (!medDayModeStartTime)
        return ':';
    QString t = medDayModeStartTime->displayText();
    // The separator of the time pictures is always a single ASCII character.
    return t.size() >= 3 && t.at(2).unicode() < 0x80 ? char(t.at(2).unicode()) : ':';
}

bool TfrmPanelSetupOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut
        && (watched == medDayModeStartTime || watched == medDayModeEndTime)) {
        // Another application or a menu taking the keyboard does not leave
        // the field (the warning would pull the user back each time), and the
        // warning waits until the focus has moved: a modal box inside the
        // focus change would stop the click that moved it halfway.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        QWidget* next = QApplication::focusWidget();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
            && next != medDayModeStartTime && next != medDayModeEndTime)
            QMetaObject::invokeMethod(
                this, [this] { Act([this] { FLogic.DayModeTimeExit(); }); }, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmPanelSetupOptions::LoadFromConfig()
{
    CreateControls();
    FLoadPending = false;
    if (!FLogic.Config())
        return;
    FLogic.SetTimeSeparator(TimeSeparator());
    FLogic.Load(
        IsRegionalOptionEnabled2 && IsRegionalOptionEnabled2(), IsVdSCompatibility && IsVdSCompatibility());
    ApplyState();
}

namespace {
// The rules' lists hold English texts (panel type names stay as they are);
// shown translated, chosen by row.
void ShowRows(QComboBox* c, const std::vector<std::string>& rows)
{
    QStringList items;
    for (const auto& r : rows)
        items << Utf8ToQString(Translate(r));
    QStringList shown;
    for (int i = 0; i < c->count(); ++i)
        shown << c->itemText(i);
    if (shown != items) {
        c->clear();
        c->addItems(items);
    }
}
void ShowIndex(QComboBox* c, int index)
{
    c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
}
void ShowText(QLineEdit* e, const QString& text)
{
    if (e->displayText() == text)
        return;
    // A text pulled in while the user types keeps the caret in place.
    const int caret = e->cursorPosition();
    e->setText(text);
    if (e->hasFocus())
        e->setCursorPosition(caret);
}
} // namespace

void TfrmPanelSetupOptions::ApplyState()
{
    if (!FControlsCreated)
        return;
    const PanelSetupOptionsState& s = FLogic.State();
    const bool wasLoading = FLoading;
    FLoading = true;
    // The rules fill the RS232 options' list before it shows its item.
    ShowRows(cbxRS232Options, s.RS232OptionsRows);
    for (const TPanelOption& row : PanelOptions) {
        const int value = s.Value(row.Option);
        if (row.Radio) {
            if ((this->*row.Radio)->ItemIndex() != value)
                (this->*row.Radio)->SetItemIndex(value);
        } else if (row.Spin) {
            if ((this->*row.Spin)->GetValue() != value)
                (this->*row.Spin)->SetValue(value);
        } else if (row.Check)
            (this->*row.Check)->setChecked(value != 0);
        else
            ShowIndex(this->*row.Combo, value);
    }

    lblPanelType->show();
    cboPanelTypeSelection->show();
    ShowRows(cboPanelTypeSelection, s.PanelTypeRows);
    ShowIndex(cboPanelTypeSelection, s.PanelTypeRow);
    rdgControlKey3Mode->setVisible(s.ControlKey3ModeVisible);
    rdgControlKey3Mode->setEnabled(s.ControlKey3ModeVisible);
    rdgFireOutputActiveLEDOption->setVisible(s.FireOutputActiveLEDVisible);
    rdgLED1HMode->setEnabled(s.LEDModesEnabled);
    rdgLED2CMode->setEnabled(s.LEDModesEnabled);
    rdgEventPrinting->setEnabled(s.PrintingEnabled);
    rdgPrintFormat->setEnabled(s.PrintingEnabled);
    rdgSensorsBlinkColour->setEnabled(s.BlinkColoursEnabled);
    rdgModulesBlinkColour->setEnabled(s.BlinkColoursEnabled);

    ShowText(txtSiteName, Cp1252ToQString(s.SiteName));
    ShowText(txtServicePhoneNo, Cp1252ToQString(s.ServicePhoneNo));
    cbxServiceDueEnabled->setChecked(s.ServiceDueEnabled);
    dtpServiceDue->setEnabled(s.ServiceDueEnabled);
    if (s.ServiceDue.isValid() && dtpServiceDue->date() != s.ServiceDue)
        dtpServiceDue->setDate(s.ServiceDue);

    ShowText(medHightestTime, Utf8ToQString(s.Time(TimeField::HightestTime)));
    ShowText(medDayModeSensitivityStartTime, Utf8ToQString(s.Time(TimeField::SensitivityStart)));
    ShowText(medDayModeSensitivityEndTime, Utf8ToQString(s.Time(TimeField::SensitivityEnd)));
    ShowText(medDayModeStartTime, Utf8ToQString(s.Time(TimeField::DayModeStart)));
    ShowText(medDayModeEndTime, Utf8ToQString(s.Time(TimeField::DayModeEnd)));
    gbxDayModeDelays->setTitle(Utf8ToQString(s.DayModeCaption));

    ShowRows(cboRS485Protocol, s.RS485Rows);
    ShowIndex(cboRS485Protocol, s.RS485Row);
    spnRS485QtyRepeaters->SetEnabled(s.RS485RepeatersEnabled);
    rdgRS485ThirdPartyDatalinkMonitoring->setEnabled(s.RS485ThirdPartyEnabled);
    spnRS485ThirdPartySuspendCommsLimit->SetEnabled(s.RS485ThirdPartyEnabled);

    ShowIndex(cboRS232Protocol, s.RS232Protocol);
    rdgRS232ThirdPartyDatalinkMonitoring->setEnabled(s.RS232ThirdPartyEnabled);
    spnRS232ThirdPartySuspendCommsLimit->SetEnabled(s.RS232ThirdPartyEnabled);
    pnlRS232Options->setVisible(!s.GsmItemsVisible);
    gbxGSMItems->setVisible(s.GsmItemsVisible);

    pclGSMItems->setCurrentIndex(s.GsmItem - 1);
    ShowText(edtGsmNumber, Cp1252ToQString(s.Gsm.Number));
    for (const auto& [box, flag] : GsmFlagBoxes())
        box->setChecked(s.Gsm.Flag(flag));
    for (auto [c, q] : { std::pair { cboGsmQtyAlarm, GsmQuantity::Alarm },
             { cboGsmQtyPreAlarm, GsmQuantity::PreAlarm }, { cboGsmQtyFault, GsmQuantity::Fault } }) {
        ShowIndex(c, s.Gsm.Quantity(q));
        c->setEnabled(s.Gsm.QuantityIsEnabled(q));
    }

    if (FLogic.DayModeCheckArmed() != tmrDayModeCheck->isActive())
        FLogic.DayModeCheckArmed() ? tmrDayModeCheck->start() : tmrDayModeCheck->stop();
    FLoading = wasLoading;
}
