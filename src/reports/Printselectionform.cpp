#include "Printselectionform.h"

#include "Ivwindows.h"

#include "CodePage.h"
#include "DialogParts.h"
#include "ExceptionBox.h"
#include "Ivdictio.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace report;
using platform::Utf8ToQString;

TfrmPrintSelection::TfrmPrintSelection(const TReportForms& forms, TReportSource source, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , FForms(forms)
    , FSource(std::move(source))
{
    setObjectName("frmPrintSelection");
    setWindowTitle(Utf8ToQString(IvNative("Print Selection")));
    auto* v = new QVBoxLayout(this);
    auto* g = new QGridLayout;
    // The boxes are made in the order they stand on screen, which is their
    // tab order.
    for (int place = 0; place < ReportKindCount; ++place)
        for (const TReportEntry& r : ReportCatalogue)
            if (r.BoxPlace == place) {
                auto* c = new QCheckBox(Utf8ToQString(r.BoxCaption), this);
                c->setObjectName(r.Box);
                c->setChecked(true);
                g->addWidget(c, place % 3, place / 3);
                FBoxes[std::size_t(r.Kind)] = c;
            }
    v->addLayout(g);
    const TOkCancel buttons = AddOkCancel(this, v);
    btnOK = buttons.OK;
    btnCancel = buttons.Cancel;
    connect(btnOK, &QPushButton::clicked, this, [this] { Guarded([this] { btnOKClick(); }); });
    IvAddTranslator(this);
}

void TfrmPrintSelection::SetCopies(int copies)
{
    FCopies = std::clamp(copies, 1, 999);
}

QString TfrmPrintSelection::GetPrinterName() const
{
    if (!FPrinterName.isEmpty())
        return FPrinterName;
    return Printers ? Printers().Current() : QString();
}

std::vector<const TReport*> TfrmPrintSelection::ChosenReports() const
{
    std::array<bool, ReportKindCount> chosen {};
    for (int k = 0; k < ReportKindCount; ++k)
        chosen[std::size_t(k)] = FBoxes[std::size_t(k)]->isChecked();
    return FForms.Chosen(chosen);
}

void TfrmPrintSelection::PrintChosen()
{
    const auto reports = ChosenReports();
    const TReportInput input = FSource ? FSource() : TReportInput {};
    if (reports.empty() || !input.Config)
        return;
    const auto pages = BuildComposite(reports, *input.Config, input.Context);
    PrintPages(pages, { GetPrinterName(), FCopies, QString::fromStdString(JobTitle()) });
}

void TfrmPrintSelection::btnOKClick()
{
    // No input while the job runs; a failed job leaves the dialog open and
    // usable, with the error shown.
    setEnabled(false);
    try {
        PrintChosen();
    } catch (...) {
        setEnabled(true);
        throw;
    }
    setEnabled(true);
    accept();
}
