#include "Printersetup.h"

#include "Ivwindows.h"

#include "AccessibleName.h"
#include "CodePage.h"
#include "DialogParts.h"
#include "ExceptionBox.h"
#include "Ivdictio.h"
#include "Printselectionform.h"
#include "Spincontrol.h"

using platform::Utf8ToQString;
using report::AddOkCancel;
using report::TOkCancel;

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmPrintSetup::TfrmPrintSetup(TfrmPrintSelection& selection, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
    , FSelection(selection)
{
    setObjectName("frmPrintSetup");
    setWindowTitle(Utf8ToQString(IvNative("Print Setup")));
    auto* v = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    cboPrinterSelect = new QComboBox(this);
    cboPrinterSelect->setObjectName("cboPrinterSelect");
    // A name may be typed as well as chosen.
    cboPrinterSelect->setEditable(true);
    cboPrinterSelect->setInsertPolicy(QComboBox::NoInsert);
    cboPrinterSelect->setMinimumContentsLength(24);
    cseCopies = new TSpinControl(this, TControlParts::UpDownOnly());
    cseCopies->setObjectName("cseCopies");
    cseCopies->SetMin(1);
    cseCopies->SetMax(999);
    cseCopies->SetValue(1);
    auto* printer = new QLabel(Utf8ToQString(IvNative("Printer")), this);
    printer->setBuddy(cboPrinterSelect);
    auto* copies = new QLabel(Utf8ToQString(IvNative("Copies")), this);
    copies->setBuddy(cseCopies);
    SetAccessibleNameParts(cboPrinterSelect, { printer->text() });
    SetAccessibleNameParts(cseCopies, { copies->text() });
    form->addRow(printer, cboPrinterSelect);
    form->addRow(copies, cseCopies);
    v->addLayout(form);
    const TOkCancel buttons = AddOkCancel(this, v);
    btnOK = buttons.OK;
    btnCancel = buttons.Cancel;
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    IvSetCodeText(cboPrinterSelect, "Items"); // the system's printers
    IvAddTranslator(this);
}

void TfrmPrintSetup::showEvent(QShowEvent* event)
{
    Guarded([this] { FormShow(); });
    QDialog::showEvent(event);
}

void TfrmPrintSetup::FormShow()
{
    cboPrinterSelect->clear();
    // The system's printers as the print selection asks them, at every showing.
    const QStringList names = FSelection.PrinterNames();
    cboPrinterSelect->addItems(names);
    cseCopies->SetValue(FSelection.GetCopies());
    cboPrinterSelect->setCurrentIndex(int(names.indexOf(FSelection.GetPrinterName())));
}

void TfrmPrintSetup::done(int result)
{
    // Only OK changes the job; Cancel, Esc and the close box change nothing.
    if (result == QDialog::Accepted)
        Guarded([this] { FormCloseOK(); });
    QDialog::done(result);
}

void TfrmPrintSetup::FormCloseOK()
{
    cseCopies->CommitPending();
    FSelection.SetCopies(cseCopies->GetValue());
    // A typed name that is no printer keeps the printer chosen before.
    const QString name = cboPrinterSelect->currentText().trimmed();
    const QStringList names = FSelection.PrinterNames();
    if (names.contains(name))
        FSelection.SetPrinterName(name);
}
