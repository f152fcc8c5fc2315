#include "Serialsetupform.h"

#include "Ivdictio.h"
#include "Serialcommscomponent.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmSerialSetup* frmSerialSetup = nullptr;

namespace {
QString T(const char* s)
{
    return QString::fromStdString(Translate(s));
}
} // namespace

TfrmSerialSetup::TfrmSerialSetup(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("frmSerialSetup");
    setWindowTitle(T("Serial Port Setup"));
    lblSerialPort = new QLabel(T("Serial Port"), this);
    lblSerialPort->setObjectName("lblSerialPort");
    QFont bold = lblSerialPort->font();
    bold.setBold(true);
    lblSerialPort->setFont(bold);
    cboCommsPortSelect = new QComboBox(this);
    cboCommsPortSelect->setObjectName("cboCommsPortSelect");
    cboCommsPortSelect->setMinimumContentsLength(24);
    btnOK = new QPushButton(T("OK"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnCancel = new QPushButton(T("Cancel"), this);
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
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // no resizing
    // The window sees keys before its controls do.
    for (QWidget* w : { static_cast<QWidget*>(cboCommsPortSelect), static_cast<QWidget*>(btnOK),
             static_cast<QWidget*>(btnCancel) })
        w->installEventFilter(this);
    FillPorts();
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

void TfrmSerialSetup::FillPorts()
{
    const int index = cboCommsPortSelect->currentIndex();
    cboCommsPortSelect->clear();
    for (int i = 0; i < 8; ++i) {
        const TCommPort port = static_cast<TCommPort>(i);
        const QString name = QString::fromStdString(CommPortName(port));
        const QString device = QString::fromStdString(CommPortDevice(port));
        cboCommsPortSelect->addItem(name + "  (" + device + ")");
    }
    cboCommsPortSelect->setCurrentIndex(index < 0 ? 0 : index);
}

int TfrmSerialSetup::Execute(int PortIndex)
{
    FillPorts();
    cboCommsPortSelect->setCurrentIndex(PortIndex >= 0 && PortIndex < 8 ? PortIndex : 0);
    if (exec() == QDialog::Accepted)
        return cboCommsPortSelect->currentIndex();
    return PortIndex;
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
