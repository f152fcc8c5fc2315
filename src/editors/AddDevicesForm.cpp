#include "AddDevicesForm.h"

#include "Ivwindows.h"

#include "AccessibleName.h"
#include "CodePage.h"
#include "DeviceEditRules.h"
#include "ExceptionBox.h"
#include "Ivdictio.h"
#include "PX10ConfigDeviceConfiguration.h"
#include "Spincontrol.h"
#include "WindowFit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace {

void Fill(QComboBox* box, const TTextList& items)
{
    box->clear();
    for (const std::string& s : items)
        box->addItem(platform::Utf8ToQString(s));
    box->setMaxVisibleItems(std::max(1, box->count()));
}

QLabel* Label(const char* text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setBuddy(buddy);
    SetAccessibleNameParts(buddy, { label->text() });
    return label;
}

} // namespace

TfrmAddDevices::TfrmAddDevices(QWidget* Parent)
    : QDialog(Parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName("frmAddDevices");
    setModal(true);
    auto* digits = new QRegularExpressionValidator(QRegularExpression("\\d{0,2}"), this);
    auto address = [&](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setMaxLength(2);
        e->setValidator(digits);
        e->setFixedWidth(40);
        return e;
    };
    edtStartAddress = address("edtStartAddress");
    edtEndAddress = address("edtEndAddress");
    cseZone = new TSpinControl(this);
    cseZone->setObjectName("cseZone");
    cseZone->SetMin(1);
    cseZone->SetMax(16);
    cseZone->SetValue(1);
    cboProtocol = new QComboBox(this);
    cboProtocol->setObjectName("cboProtocol");
    cboDeviceTypes = new QComboBox(this);
    cboDeviceTypes->setObjectName("cboDeviceTypes");
    cboFunction = new QComboBox(this);
    cboFunction->setObjectName("cboFunction");
    // The lists change with the protocol and the language: each box stays as
    // wide as its longest entry.
    for (QComboBox* box : { cboProtocol, cboDeviceTypes, cboFunction })
        KeepWideAsEntries(box);
    cbxOverwrite = new QCheckBox(IvNative("Overwrite defined devices"), this);
    cbxOverwrite->setObjectName("cbxOverwrite");
    btnOK = new QPushButton(IvNative("&OK"), this);
    btnOK->setObjectName("btnOK");
    btnCancel = new QPushButton(IvNative("&Cancel"), this);
    btnCancel->setObjectName("btnCancel");

    auto* grid = new QGridLayout(this);
    auto* addressLabel = Label(IvNative("Address"), edtStartAddress, this);
    grid->addWidget(addressLabel, 0, 0);
    auto* range = new QHBoxLayout;
    range->addWidget(Label(IvNative("From:"), edtStartAddress, this));
    range->addWidget(edtStartAddress);
    range->addWidget(Label(IvNative("to"), edtEndAddress, this));
    range->addWidget(edtEndAddress);
    range->addStretch();
    grid->addLayout(range, 0, 1);
    grid->addWidget(Label(IvNative("Zone"), cseZone, this), 1, 0);
    grid->addWidget(cseZone, 1, 1, Qt::AlignLeft);
    grid->addWidget(Label(IvNative("Protocol"), cboProtocol, this), 2, 0);
    grid->addWidget(cboProtocol, 2, 1);
    grid->addWidget(Label(IvNative("Type"), cboDeviceTypes, this), 3, 0);
    grid->addWidget(cboDeviceTypes, 3, 1);
    lblFunction = Label(IvNative("Function"), cboFunction, this);
    grid->addWidget(lblFunction, 4, 0);
    grid->addWidget(cboFunction, 4, 1);
    grid->addWidget(cbxOverwrite, 5, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    grid->addLayout(buttons, 6, 0, 1, 2);

    auto guarded = [](auto f) { return [f] { Guarded(f); }; };
    connect(edtStartAddress, &QLineEdit::textChanged, this, guarded([this] { AddressChanged(true); }));
    connect(edtEndAddress, &QLineEdit::textChanged, this, guarded([this] { AddressChanged(false); }));
    connect(cboProtocol, &QComboBox::activated, this, guarded([this] { ProtocolChanged(); }));
    connect(cboDeviceTypes, &QComboBox::activated, this, guarded([this] { TypeChanged(); }));
    connect(cboFunction, &QComboBox::activated, this, guarded([this] { FunctionChanged(); }));
    connect(btnOK, &QPushButton::clicked, this, guarded([this] { btnOKClick(); }));
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    // The caller's caption and the lists its rules fill are built by code.
    IvSetCodeText(this);
    for (QComboBox* box : { cboProtocol, cboDeviceTypes, cboFunction })
        IvSetCodeText(box, "Items");
    IvAddTranslator(this);
}

int TfrmAddDevices::Execute(const QString& Caption, int StartAddress, TFillLists FillLists,
    TSelectAddress SelectAddress, TAddDevices AddDevices, int /*ZoneTypeIndex*/, int BrimLimit,
    TZoneRange ZoneRange)
{
    Prepare(Caption, StartAddress, std::move(FillLists), std::move(SelectAddress), std::move(AddDevices),
        BrimLimit, std::move(ZoneRange));
    return exec();
}

void TfrmAddDevices::Prepare(const QString& Caption, int StartAddress, TFillLists FillLists,
    TSelectAddress SelectAddress, TAddDevices AddDevices, int BrimLimit, TZoneRange ZoneRange)
{
    setWindowTitle(Caption);
    FFillLists = std::move(FillLists);
    FSelectAddress = std::move(SelectAddress);
    FAddDevices = std::move(AddDevices);
    FZoneRange = std::move(ZoneRange);
    FBrimLimit = BrimLimit;
    btnOK->setEnabled(false);
    edtStartAddress->setText(QString::number(StartAddress));
    edtEndAddress->clear();
    TTextList protocols, types, functions;
    if (FFillLists)
        FFillLists(&protocols, &types, &functions, Selected(cboProtocol), Selected(cboDeviceTypes));
    Fill(cboProtocol, protocols);
    Fill(cboDeviceTypes, types);
    ShowFunctions(functions);
    // The protocol shown first decides the types and functions offered.
    ProtocolChanged();
    edtStartAddress->setFocus();
}

std::string TfrmAddDevices::Selected(const QComboBox* Box) const
{
    return Box->currentIndex() < 0 ? std::string() : Box->currentText().toStdString();
}

void TfrmAddDevices::ShowFunctions(const TTextList& Functions)
{
    Fill(cboFunction, Functions);
    const bool shown = !Functions.empty();
    cboFunction->setVisible(shown);
    lblFunction->setVisible(shown);
    if (shown)
        cboFunction->setCurrentIndex(0);
    FunctionChanged();
}

void TfrmAddDevices::AddressChanged(bool First)
{
    const TAddressCheck check = CheckAddresses(edtStartAddress->text().toStdString(),
        edtEndAddress->text().toStdString(), Selected(cboProtocol), Selected(cboDeviceTypes), FBrimLimit);
    btnOK->setEnabled(check.Ok);
    if (First && check.First != 0 && FSelectAddress)
        FSelectAddress(check.First);
    if (check.ClearLast)
        edtEndAddress->clear();
}

void TfrmAddDevices::ProtocolChanged()
{
    TTextList types, functions;
    if (FFillLists)
        FFillLists(nullptr, &types, nullptr, Selected(cboProtocol), Selected(cboDeviceTypes));
    Fill(cboDeviceTypes, types);
    if (cboDeviceTypes->count() > 0)
        cboDeviceTypes->setCurrentIndex(0);
    TypeChanged();
    AddressChanged(false);
}

void TfrmAddDevices::TypeChanged()
{
    TTextList functions;
    if (FFillLists)
        FFillLists(nullptr, nullptr, &functions, Selected(cboProtocol), Selected(cboDeviceTypes));
    ShowFunctions(functions);
    AddressChanged(false);
}

// Only the zones the chosen function allows are offered (an AUX module
// needs 17 to 32).
void TfrmAddDevices::FunctionChanged()
{
    std::pair<int, int> zones = SensorZoneRange;
    if (FZoneRange && cboFunction->count() > 0)
        zones = FZoneRange(Selected(cboFunction));
    const int value = std::clamp(cseZone->GetValue(), zones.first, zones.second);
    cseZone->SetMin(zones.first);
    cseZone->SetMax(zones.second);
    cseZone->SetValue(value);
}

void TfrmAddDevices::btnOKClick()
{
    const TAddressCheck check = CheckAddresses(edtStartAddress->text().toStdString(),
        edtEndAddress->text().toStdString(), Selected(cboProtocol), Selected(cboDeviceTypes), FBrimLimit);
    if (!check.Ok)
        return;
    cseZone->CommitPending();
    if (FAddDevices)
        FAddDevices(check.First, check.Last, cseZone->GetValue(), Selected(cboProtocol),
            Selected(cboDeviceTypes), cboFunction->isVisibleTo(this) ? Selected(cboFunction) : std::string(),
            cbxOverwrite->isChecked());
    if (FSelectAddress)
        FSelectAddress(
            check.Last == TPX10ConfigDeviceConfiguration::AddressCount ? check.Last : check.Last + 1);
    accept();
}

void TfrmAddDevices::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (btnOK->isEnabled())
            Guarded([this] { btnOKClick(); });
        return;
    case Qt::Key_Escape:
        reject();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
