#include "Cberuleform.h"

#include "Ivwindows.h"

#include "AccessibleName.h"
#include "Cberuledataset.h"
#include "Cberulelogic.h"
#include "Cberulezonedataset.h"
#include "CodePage.h"
#include "DialogKeys.h"
#include "DeviceTexts.h"
#include "ExceptionBox.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"
#include "RecordGrid.h"
#include "Spincontrol.h"
#include "WindowFit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace cberules;

namespace {

// The entries of a value list in the language in force, by index.
void RetextList(QComboBox* box, const std::vector<std::string>& list)
{
    for (int i = 0; i < box->count() && i < int(list.size()); ++i)
        box->setItemText(i, platform::Utf8ToQString(Translate(list[size_t(i)])));
}

constexpr int RuleCount = TPX10ConfigCBERuleConfiguration::RuleCount;
constexpr int TabsPerRow = 32;

// The field of each flag box, and its flag in the enable table.
struct FlagField {
    int Field;
    Flag Which;
};

// Shows `code` of `list` in `box`, whose rows are the list's entries; a code
// outside the list shows as its number in an extra row, never stored.
void ShowCode(QComboBox* box, const std::vector<std::string>& list, int code)
{
    const QSignalBlocker block(box);
    while (box->count() > int(list.size()))
        box->removeItem(box->count() - 1);
    if (code >= 0 && code < int(list.size())) {
        box->setCurrentIndex(code);
        return;
    }
    box->addItem(QString::number(code));
    box->setCurrentIndex(box->count() - 1);
}

QComboBox* ListBox(
    QWidget* parent, const char* name, const std::vector<std::string>& list, const QStringList& label)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (const std::string& entry : list)
        box->addItem(platform::Utf8ToQString(Translate(entry)));
    box->setMaxVisibleItems(int(list.size()));
    KeepWideAsEntries(box); // in the language in force
    SetAccessibleNameParts(box, label);
    IvSetCodeText(box, "Items"); // filled translated, mapped back by index
    return box;
}

} // namespace

TfrmCBERuleEdit::TfrmCBERuleEdit(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("frmCBERuleEdit");
    setWindowTitle(IvNative("CBE Rules"));
    RuleData = new TCBERuleDataSet(this);
    ZoneData = new TCBERuleZoneDataSet(this);

    lblRuleNumber = new QLabel(IvNative("Rule Number"), this);
    lblRuleNumber->setObjectName("lblRuleNumber");
    QWidget* tabs = BuildTabs();

    gbxRuleDetails = new QGroupBox(IvNative("Rule Details"), this);
    gbxRuleDetails->setObjectName("gbxRuleDetails");
    dbgRuleZones = new TRecordGrid(IvNative("Rule Details"), gbxRuleDetails);
    dbgRuleZones->setObjectName("dbgRuleZones");
    IvSetDataControl(dbgRuleZones); // headings come from the data set
    dbgRuleZones->SetDataSet(ZoneData);
    dbgRuleZones->setEnabled(false);
    dbgRuleZones->SetEscapeToWindow(true); // Esc anywhere closes the window
    // One column is edited, row by row with the arrows: Tab goes on to the
    // rule's other controls instead of through 32 cells and no further.
    dbgRuleZones->setTabKeyNavigation(false);
    DisableDefaultButton(this); // "Set All ON" would overwrite every zone
    btnSetZonesAllOn = new QPushButton(IvNative("Set All &ON"), gbxRuleDetails);
    btnSetZonesAllOn->setObjectName("btnSetZonesAllOn");
    btnSetAllZonesOff = new QPushButton(IvNative("Set All O&FF"), gbxRuleDetails);
    btnSetAllZonesOff->setObjectName("btnSetAllZonesOff");
    connect(btnSetZonesAllOn, &QPushButton::clicked, this,
        [this] { Guarded([this] { SetAllZoneConditions(On); }); });
    connect(btnSetAllZonesOff, &QPushButton::clicked, this,
        [this] { Guarded([this] { SetAllZoneConditions(Off); }); });
    auto* zoneButtons = new QHBoxLayout;
    zoneButtons->addWidget(btnSetZonesAllOn);
    zoneButtons->addWidget(btnSetAllZonesOff);
    auto* zones = new QVBoxLayout(gbxRuleDetails);
    zones->addWidget(dbgRuleZones, 1);
    zones->addLayout(zoneButtons);

    QWidget* details = BuildDetails();

    btnPreviousRule = new QPushButton(IvNative("&Previous Rule"), this);
    btnPreviousRule->setObjectName("btnPreviousRule");
    btnNextRule = new QPushButton(IvNative("&Next Rule"), this);
    btnNextRule->setObjectName("btnNextRule");
    btnClose = new QPushButton(IvNative("&Close"), this);
    btnClose->setObjectName("btnClose");
    connect(btnPreviousRule, &QPushButton::clicked, this,
        [this] { Guarded([this] { SelectRule(PreviousRule(FRule, RuleCount)); }); });
    connect(btnNextRule, &QPushButton::clicked, this,
        [this] { Guarded([this] { SelectRule(NextRule(FRule, RuleCount)); }); });
    connect(btnClose, &QPushButton::clicked, this, &TfrmCBERuleEdit::reject);

    auto* body = new QHBoxLayout;
    body->addWidget(gbxRuleDetails);
    body->addWidget(details, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btnPreviousRule);
    bottom->addWidget(btnNextRule);
    bottom->addStretch();
    bottom->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblRuleNumber);
    layout->addWidget(tabs);
    layout->addLayout(body, 1);
    layout->addLayout(bottom);

    // Every condition a rule may offer, in the language shown.
    dbgRuleZones->SetColumnEntries(TCBERuleZoneDataSet::fldCondition - 1, [] {
        QStringList out;
        for (std::size_t code = 0; code < ZoneConditions().size(); ++code)
            out << platform::Utf8ToQString(ListText(ZoneConditions(), int(code)));
        return out;
    });
    dbgRuleZones->SetColumnWidths({ 40, 130 });
    FitZoneGridWidth();
    // After the grid has widened its columns to headings or conditions of another language.
    connect(dbgRuleZones, &TRecordGrid::ColumnsFitted, this, &TfrmCBERuleEdit::FitZoneGridWidth);
    // The grid shows a few zones at least and scrolls through the rest, so the
    // window fits a small screen; it opens showing every zone where there is room.
    dbgRuleZones->setMinimumHeight(ZoneGridHeight(8));
    IvSetCodeText(dtcFilterType, "Items");
    IvAddTranslator(this, [this] { RetextCodeTexts(); });
}

void TfrmCBERuleEdit::RetextCodeTexts()
{
    RetextList(dtcRuleType, RuleTypes());
    for (QComboBox* box : dtcDeviceInputType)
        RetextList(box, DeviceKinds());
    if (isVisible())
        ShowRule();
}

QWidget* TfrmCBERuleEdit::BuildTabs()
{
    // Qt's tab bar does not wrap: the 64 rules are two rows of tab-like buttons.
    tbcCBERules = new QWidget(this);
    tbcCBERules->setObjectName("tbcCBERules");
    SetAccessibleNameParts(tbcCBERules, { IvNative("Rule Number") });
    tbcCBERules->setStyleSheet(QStringLiteral(
        "QToolButton { font-size: 7pt; padding: 0px; border: 1px solid palette(mid); border-bottom: none; }"
        "QToolButton:checked { font-weight: bold; background: palette(dark); }"));
    FTabGroup = new QButtonGroup(this);
    FTabGroup->setExclusive(true);
    auto* grid = new QGridLayout(tbcCBERules);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int rule = 1; rule <= RuleCount; ++rule) {
        auto* tab = new QToolButton(tbcCBERules);
        tab->setText(QString::number(rule));
        tab->setCheckable(true);
        tab->setFixedSize(19, 18);
        // The rule tabs are one stop of the Tab key, as a tab control is:
        // only the tab shown takes it, and the arrow keys move between rules.
        tab->setFocusPolicy(Qt::NoFocus);
        connect(tab, &QToolButton::toggled, tab,
            [tab](bool shown) { tab->setFocusPolicy(shown ? Qt::TabFocus : Qt::NoFocus); });
        tab->installEventFilter(this);
        FTabGroup->addButton(tab, rule);
        grid->addWidget(tab, (rule - 1) / TabsPerRow, (rule - 1) % TabsPerRow);
        RuleTabs.push_back(tab);
    }
    RuleTabs.front()->setChecked(true);
    connect(
        FTabGroup, &QButtonGroup::idClicked, this, [this](int rule) { Guarded([&] { SelectRule(rule); }); });
    return tbcCBERules;
}

QWidget* TfrmCBERuleEdit::BuildDetails()
{
    auto* box = new QGroupBox(this);
    box->setObjectName("gbxDetails");
    auto* grid = new QGridLayout(box);
    auto* typeLabel = new QLabel(IvNative("Rule Type"), box);
    dtcRuleType = ListBox(box, "dtcRuleType", RuleTypes(), { typeLabel->text() });
    auto* filterLabel = new QLabel(IvNative("Filter Type"), box);
    dtcFilterType = new QComboBox(box);
    dtcFilterType->setObjectName("dtcFilterType");
    KeepWideAsEntries(dtcFilterType);
    SetAccessibleNameParts(dtcFilterType, { filterLabel->text() });
    connect(
        dtcRuleType, &QComboBox::activated, this, [this](int row) { Guarded([&] { RuleTypeChosen(row); }); });
    connect(
        dtcFilterType, &QComboBox::activated, this, [this](int row) { Guarded([&] { FilterChosen(row); }); });
    grid->addWidget(typeLabel, 0, 0);
    grid->addWidget(dtcRuleType, 0, 1, 1, 2);
    grid->addWidget(filterLabel, 1, 0);
    grid->addWidget(dtcFilterType, 1, 1, 1, 2);

    auto flag = [&](QCheckBox*& b, const char* name, const char* caption, int row, int column) {
        b = new QCheckBox(QString::fromUtf8(caption), box);
        b->setObjectName(name);
        connect(b, &QCheckBox::clicked, this, [this, b] { Guarded([&] { FlagClicked(b); }); });
        // A long caption of the right-hand column may reach over the columns
        // beside it rather than widen the device kinds under it.
        grid->addWidget(b, row, column, 1, column == 0 ? 1 : 3);
    };
    flag(cbxEvacuate, "cbxEvacuate", IvNative("&Evacuate"), 2, 0);
    flag(cbxEnableSoakTimer, "cbxEnableSoakTimer", IvNative("Enable Soa&k Timer"), 2, 1);
    flag(cbxSilence, "cbxSilence", IvNative("&Silence"), 3, 0);
    flag(cbxInterruptable, "cbxInterruptable", IvNative("&Interruptable"), 3, 1);
    flag(cbxTwoZone, "cbxTwoZone", IvNative("&Two Zone"), 4, 0);
    flag(cbxClassChange, "cbxClassChange", IvNative("&Class Change"), 4, 1);

    const char* titles[] = { IvNative("Device Kind"), IvNative("Address"), IvNative("Type") };
    for (int c = 0; c < 3; ++c) {
        auto* title = new QLabel(QString::fromUtf8(titles[c]), box);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        grid->addWidget(title, 5, c + 1);
    }
    for (int n = 1; n <= InputDevices; ++n) {
        const size_t i = static_cast<size_t>(n - 1);
        const QString device = QString::fromStdString("Device " + std::to_string(n));
        grid->addWidget(new QLabel(device, box), 5 + n, 0);
        dtcDeviceInputType[i] = ListBox(box, qPrintable(QString("dtcDeviceInputType%1").arg(n)),
            DeviceKinds(), { device, IvNative("Device Kind") });
        connect(dtcDeviceInputType[i], &QComboBox::activated, this,
            [this, n](int row) { Guarded([&] { KindChosen(n, row); }); });
        grid->addWidget(dtcDeviceInputType[i], 5 + n, 1);
        auto* spin = new TSpinControl(box, TControlParts::UpDownOnly());
        spin->setObjectName(QString("cseDeviceInputType%1").arg(n));
        SetAccessibleNameParts(spin, { device, IvNative("Address") });
        spin->SetMin(1);
        spin->SetMax(99);
        spin->SetValue(1);
        spin->Tag = n;
        // The control reports changes made in code too: only the user's are stored.
        spin->OnChange = [this, n](TSpinControl*) {
            if (!FLoading)
                Guarded([&] { AddressChanged(n); });
        };
        cseDeviceInputType[i] = spin;
        grid->addWidget(spin, 5 + n, 2);
        lblDeviceInputType[i] = new QLabel(box);
        lblDeviceInputType[i]->setObjectName(QString("lblDeviceInputType%1").arg(n));
        // Room for the longest type designation, so the window keeps its width
        // from rule to rule.
        lblDeviceInputType[i]->setMinimumWidth(
            lblDeviceInputType[i]->fontMetrics().horizontalAdvance(QStringLiteral("K710-CZWW")));
        IvSetCodeText(lblDeviceInputType[i]); // the device's type text
        grid->addWidget(lblDeviceInputType[i], 5 + n, 3);
    }
    grid->setRowStretch(9, 1);
    return box;
}

std::vector<QWidget*> TfrmCBERuleEdit::RuleControls() const
{
    return { dtcFilterType, dbgRuleZones, btnSetZonesAllOn, btnSetAllZonesOff, cbxTwoZone, cbxInterruptable,
        cbxClassChange, cbxEvacuate, cbxSilence, cbxEnableSoakTimer, dtcDeviceInputType[0],
        dtcDeviceInputType[1], dtcDeviceInputType[2], cseDeviceInputType[0], cseDeviceInputType[1],
        cseDeviceInputType[2] };
}

std::vector<QCheckBox*> TfrmCBERuleEdit::FlagBoxes() const
{
    return { cbxEvacuate, cbxInterruptable, cbxSilence, cbxTwoZone, cbxClassChange, cbxEnableSoakTimer };
}

namespace {
// In the order of FlagBoxes.
const FlagField FlagFields[] = { { TCBERuleDataSet::fldEvacuate, flgEvacuate },
    { TCBERuleDataSet::fldInterruptable, flgInterruptable }, { TCBERuleDataSet::fldSilence, flgSilence },
    { TCBERuleDataSet::fldTwoZone, flgTwoZone }, { TCBERuleDataSet::fldClassChange, flgClassChange },
    { TCBERuleDataSet::fldEnableSoakTimer, flgSoakTimer } };
} // namespace

void TfrmCBERuleEdit::SetConfig(TPX10ConfigData* config)
{
    dbgRuleZones->CommitEdit();
    FConfig = config;
    TPX10ConfigCBERuleConfiguration* rules = config ? config->CBERules.get() : nullptr;
    RuleData->SetConfigPart(rules);
    ZoneData->SetConfigPart(rules);
    if (isVisible())
        ShowRule();
}

int TfrmCBERuleEdit::PanelType() const
{
    return FConfig ? FConfig->FileHeader->GetPanelType() : 0;
}

int TfrmCBERuleEdit::Execute(int RuleNo)
{
    if (RuleNo != -1 && (RuleNo < 1 || RuleNo > RuleCount))
        return FRule;
    if (RuleNo != -1) {
        FRule = RuleNo;
        RuleTabs[static_cast<size_t>(RuleNo - 1)]->setChecked(true);
    }
    exec();
    return FRule;
}

void TfrmCBERuleEdit::FitZoneGridWidth()
{
    dbgRuleZones->setMinimumWidth(dbgRuleZones->ColumnsWidth()
        + dbgRuleZones->verticalHeader()->sizeHint().width()
        + dbgRuleZones->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * dbgRuleZones->frameWidth()
        + 2);
}

int TfrmCBERuleEdit::ZoneGridHeight(int Rows) const
{
    return Rows * dbgRuleZones->verticalHeader()->defaultSectionSize()
        + dbgRuleZones->horizontalHeader()->sizeHint().height() + 2 * dbgRuleZones->frameWidth() + 2;
}

void TfrmCBERuleEdit::showEvent(QShowEvent* event)
{
    if (!FSized) {
        // The first showing: every zone in view, as far as the screen allows.
        FSized = true;
        const int more = ZoneGridHeight(cberules::ZoneSlots) - dbgRuleZones->minimumHeight();
        layout()->activate();
        resize(BoundedToScreen(this, minimumSizeHint() + QSize(0, more)));
    }
    QDialog::showEvent(event);
    Guarded([this] {
        if (!RuleData->IsOpen())
            RuleData->Open();
        if (!ZoneData->IsOpen())
            ZoneData->Open();
        cbxEvacuate->setVisible(!(IsVdSCompatibility && IsVdSCompatibility()));
        ShowRule();
        if (ZoneData->IsOpen()
            && dbgRuleZones->currentIndex().column() != TCBERuleZoneDataSet::fldCondition - 1)
            dbgRuleZones->setCurrentIndex(ZoneData->index(0, TCBERuleZoneDataSet::fldCondition - 1));
    });
}

void TfrmCBERuleEdit::SelectRule(int rule)
{
    RefreshRuleZones(); // a condition still being chosen belongs to the rule shown
    for (TSpinControl* address : cseDeviceInputType)
        address->CommitPending(); // and so does an address still being typed
    FRule = rule;
    RuleTabs[static_cast<size_t>(rule - 1)]->setChecked(true);
    ShowRule();
}

void TfrmCBERuleEdit::ShowRule()
{
    if (!FConfig)
        return;
    RuleData->SetRecNo(FRule);
    FillFilterTypes();
    UpdateRuleControls();
    ZoneData->SetCurrentRule(FRule);
    UpdateZonePickList();
}

void TfrmCBERuleEdit::FillFilterTypes()
{
    const TPX10ConfigCBERuleConfiguration& rules = *FConfig->CBERules;
    const int type = rules.GetRuleType(FRule);
    const QSignalBlocker block(dtcFilterType);
    dtcFilterType->clear();
    for (int code : FilterChoices(PanelType(), type))
        dtcFilterType->addItem(QString::fromStdString(ListText(FilterListFor(type), code)), code);
    dtcFilterType->setCurrentIndex(
        dtcFilterType->findText(RuleData->ReadField(TCBERuleDataSet::fldFilterType, FRule).toString()));
    dtcFilterType->setMaxVisibleItems(std::max(1, dtcFilterType->count()));
}

void TfrmCBERuleEdit::UpdateRuleControls()
{
    const TPX10ConfigCBERuleConfiguration& rules = *FConfig->CBERules;
    const int type = rules.GetRuleType(FRule);
    ShowCode(dtcRuleType, RuleTypes(), type);
    const auto enables = RuleControlEnables(type);
    const auto controls = RuleControls();
    for (size_t i = 0; i < controls.size(); ++i) {
        if (auto* spin = qobject_cast<TSpinControl*>(controls[i]))
            spin->SetEnabled(enables[i]); // its buttons are its siblings
        else
            controls[i]->setEnabled(enables[i]);
    }

    // The addresses first: a device's type label is that of the address shown.
    FLoading = true;
    for (int n = 1; n <= InputDevices; ++n)
        cseDeviceInputType[static_cast<size_t>(n - 1)]->SetValue(rules.GetDeviceAddress(FRule, n));
    FLoading = false;
    const TSensorTexts sensors(*FConfig->Sensors, false);
    const TModuleTexts modules(*FConfig->Modules);
    for (int n = 1; n <= InputDevices; ++n) {
        const size_t i = static_cast<size_t>(n - 1);
        const int kind = rules.GetDeviceKind(FRule, n);
        ShowCode(dtcDeviceInputType[i], DeviceKinds(), kind);
        const int address = cseDeviceInputType[i]->GetValue();
        if (kind == Sensor) {
            lblDeviceInputType[i]->setText(QString::fromStdString(sensors.SensorTypeText(address)));
        } else if (kind == Module) {
            lblDeviceInputType[i]->setText(QString::fromStdString(modules.ModuleTypeText(address)));
        } else {
            cseDeviceInputType[i]->SetEnabled(false);
            lblDeviceInputType[i]->clear();
        }
    }
    // A flag that the rule type disables always shows clear.
    const auto boxes = FlagBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked(FlagShown(rules, FRule, FlagFields[i].Which));
}

void TfrmCBERuleEdit::UpdateZonePickList()
{
    const TPX10ConfigCBERuleConfiguration& rules = *FConfig->CBERules;
    TCellEdit edit;
    edit.ButtonStyle = TCellEdit::cbsAuto;
    for (int code : ZoneConditionChoices(rules.GetRuleType(FRule), rules.GetTwoZone(FRule))) {
        edit.PickList << QString::fromStdString(ListText(ZoneConditions(), code));
        edit.Codes << code;
    }
    dbgRuleZones->SetColumnEdit(TCBERuleZoneDataSet::fldCondition - 1, edit);
    RefreshRuleZones();
    dbgRuleZones->viewport()->update();
}

void TfrmCBERuleEdit::RefreshRuleZones()
{
    if (ZoneData->IsOpen())
        ZoneData->Refresh(); // commits the open condition first
}

void TfrmCBERuleEdit::RuleTypeChosen(int row)
{
    if (!FConfig || row < 0 || row >= int(RuleTypes().size()))
        return; // the number of a stored type outside the list
    TPX10ConfigCBERuleConfiguration& rules = *FConfig->CBERules;
    if (row == rules.GetRuleType(FRule))
        return;
    RefreshRuleZones();
    ChangeRuleType(rules, FRule, row, PanelType());
    ShowRule();
    RuleData->Refresh();
}

void TfrmCBERuleEdit::FilterChosen(int row)
{
    if (!FConfig || row < 0)
        return;
    // By code, not by text: the rows are the codes offered for the rule's type.
    const QVariant code = dtcFilterType->itemData(row);
    if (!code.isValid())
        return;
    FConfig->CBERules->SetFilterType(FRule, code.toInt());
    RuleData->Refresh();
}

void TfrmCBERuleEdit::FlagClicked(QCheckBox* box)
{
    if (!FConfig || !box->isEnabled())
        return;
    const auto boxes = FlagBoxes();
    const size_t i = static_cast<size_t>(std::find(boxes.begin(), boxes.end(), box) - boxes.begin());
    RuleData->WriteField(FlagFields[i].Field, FRule, box->isChecked() ? 1 : 0);
    if (box == cbxTwoZone)
        UpdateZonePickList();
}

void TfrmCBERuleEdit::KindChosen(int device, int row)
{
    if (!FConfig || row < 0 || row >= int(DeviceKinds().size()))
        return;
    FConfig->CBERules->SetDeviceKind(FRule, device, row); // the rows are the kind codes
    RuleData->WriteField(TCBERuleDataSet::fldDevAddr1 + device - 1, FRule, 1);
    UpdateRuleControls();
}

void TfrmCBERuleEdit::AddressChanged(int device)
{
    if (!FConfig)
        return;
    RuleData->WriteField(TCBERuleDataSet::fldDevAddr1 + device - 1, FRule,
        cseDeviceInputType[static_cast<size_t>(device - 1)]->GetValue());
    UpdateRuleControls();
}

void TfrmCBERuleEdit::SetAllZoneConditions(int condition)
{
    if (!FConfig)
        return;
    dbgRuleZones->CommitEdit();
    cberules::SetAllZoneConditions(*FConfig->CBERules, FRule, condition);
    RefreshRuleZones();
    dbgRuleZones->viewport()->update();
}

bool TfrmCBERuleEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && FConfig
        && std::find(RuleTabs.begin(), RuleTabs.end(), watched) != RuleTabs.end()) {
        int rule = 0;
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            rule = PreviousRule(FRule, RuleCount);
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            rule = NextRule(FRule, RuleCount);
            break;
        default:
            break;
        }
        if (rule != 0) {
            Guarded([&] { SelectRule(rule); });
            RuleTabs[static_cast<size_t>(FRule - 1)]->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmCBERuleEdit::reject()
{
    Guarded([this] { RefreshRuleZones(); });
    accept();
}
