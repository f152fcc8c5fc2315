#include "Serialsetupform.h"

#include "Ivwindows.h"

#include "AccessibleName.h"
#include "Commsformparts.h"
#include "Ivdictio.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

TfrmSerialSetup::TfrmSerialSetup(QWidget* parent, comms::SerialPorts Ports)
    : QDialog(parent)
    , FPorts(std::move(Ports))
{
    setObjectName("frmSerialSetup");
    setWindowTitle(IvNative("Serial Port Setup"));
    lblSerialPort = new QLabel(IvNative("Serial Port"), this);
    lblSerialPort->setObjectName("lblSerialPort");
    QFont bold = lblSerialPort->font();
    bold.setBold(true);
    lblSerialPort->setFont(bold);
    cboCommsPortSelect = new QComboBox(this);
    cboCommsPortSelect->setObjectName("cboCommsPortSelect");
    cboCommsPortSelect->setMinimumContentsLength(32);
    lblSerialPort->setBuddy(cboCommsPortSelect);
    SetAccessibleNameParts(cboCommsPortSelect, { lblSerialPort->text() });
    // A device of the computer, not a loop device (which "Device" names).
    lblDevice = new QLabel(IvNative("Serial Device"), this);
    lblDevice->setObjectName("lblDevice");
    cboDevice = new QComboBox(this);
    cboDevice->setObjectName("cboDevice");
    cboDevice->setMinimumContentsLength(32);
    lblDevice->setBuddy(cboDevice);
    SetAccessibleNameParts(cboDevice, { lblDevice->text() });
    // A long device path wraps here rather than widen the window past the screen.
    lblDeviceStatus = new WrappedText(this);
    lblDeviceStatus->setObjectName("lblDeviceStatus");
    for (QComboBox* list : { cboCommsPortSelect, cboDevice })
        list->setMaximumWidth(screen()->availableGeometry().width() * 3 / 4);
    btnOK = new QPushButton(IvNative("OK"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnCancel = new QPushButton(IvNative("Cancel"), this);
    btnCancel->setObjectName("btnCancel");
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSerialPort);
    layout->addWidget(cboCommsPortSelect);
    layout->addWidget(lblDevice);
    layout->addWidget(cboDevice);
    layout->addWidget(lblDeviceStatus);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // no resizing
    // The window sees keys before its controls do.
    for (QWidget* w : { static_cast<QWidget*>(cboCommsPortSelect), static_cast<QWidget*>(cboDevice),
             static_cast<QWidget*>(btnOK), static_cast<QWidget*>(btnCancel) })
        w->installEventFilter(this);

    connect(cboCommsPortSelect, &QComboBox::currentIndexChanged, this, [this] { ShowDevice(); });
    connect(cboDevice, &QComboBox::activated, this, [this](int index) {
        FPorts.Choose(SelectedPort(), cboDevice->itemData(index).toString().toStdString());
        FillPorts();
        ShowDevice();
    });
    // The port and device lists and the status are built by code.
    IvSetCodeText(cboCommsPortSelect, "Items");
    IvSetCodeText(cboDevice, "Items");
    IvSetCodeText(lblDeviceStatus);
    FillPorts();
    IvAddTranslator(this, [this] { FillPorts(); });
}

bool TfrmSerialSetup::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();
            return true;
        }
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

TCommPort TfrmSerialSetup::SelectedPort() const
{
    const int index = cboCommsPortSelect->currentIndex();
    return static_cast<TCommPort>(index >= 0 && index < 8 ? index : 0);
}

void TfrmSerialSetup::FillPorts()
{
    for (int i = 0; i < 8; ++i) {
        const QString text = QString::fromStdString(FPorts.PortCaption(static_cast<TCommPort>(i)));
        if (i < cboCommsPortSelect->count())
            cboCommsPortSelect->setItemText(i, text);
        else
            cboCommsPortSelect->addItem(text);
    }
    ShowDevice();
}

void TfrmSerialSetup::ShowDevice()
{
    const TCommPort port = SelectedPort();
    int current = 0;
    const std::vector<comms::DeviceChoice> choices = FPorts.Choices(port, current);
    {
        const QSignalBlocker block(cboDevice);
        cboDevice->clear();
        for (const comms::DeviceChoice& c : choices)
            cboDevice->addItem(QString::fromStdString(c.Text), QString::fromStdString(c.Path));
        cboDevice->setCurrentIndex(current);
    }
    lblDeviceStatus->setText(QString::fromStdString(FPorts.DeviceStatus(port)));
}

int TfrmSerialSetup::Execute(int PortIndex)
{
    FPorts.Discard();
    cboCommsPortSelect->setCurrentIndex(PortIndex >= 0 && PortIndex < 8 ? PortIndex : 0);
    FillPorts();
    if (exec() == QDialog::Accepted)
        return cboCommsPortSelect->currentIndex();
    return PortIndex;
}

void TfrmSerialSetup::accept()
{
    // A failed write of the device choices is shown; the port choice stands.
    Guarded([this] { FPorts.Save(); });
    FillPorts();
    QDialog::accept();
}

void TfrmSerialSetup::reject()
{
    FPorts.Discard();
    FillPorts();
    QDialog::reject();
}

void TfrmSerialSetup::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept();
        return;
    case Qt::Key_Escape:
        reject();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
