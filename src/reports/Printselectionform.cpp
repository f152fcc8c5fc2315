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
    , FPrinterName(SystemDefaultPrinterName())
{
    setObjectName("frmPrintSelection");
    setWindowTitle(Utf8ToQString(IvNative("Print Selection")));
    auto* v = new QVBoxLayout(this);
    auto* g = new QGridLayout;
    auto box = [this](const char* name, const char* caption) {
        auto* c = new QCheckBox(Utf8ToQString(caption), this);
        c->setObjectName(name);
        c->setChecked(true);
        return c;
    };
    cbxPanelOptions = box("cbxPanelOptions", IvNative("Panel Setup Options"));
    cbxZones = box("cbxZones", IvNative("Zone Descriptions"));
    cbxLoopSensors = box("cbxLoopSensors", IvNative("Loop Sensors"));
    cbxLoopModules = box("cbxLoopModules", IvNative("Loop Modules"));
    cbxOnboardOutputs = box("cbxOnboardOutputs", IvNative("Onboard Output Settings"));
    cbxCBERules = box("cbxCBERules", IvNative("CBE Rules"));
    g->addWidget(cbxPanelOptions, 0, 0);
    g->addWidget(cbxZones, 1, 0);
    g->addWidget(cbxLoopSensors, 2, 0);
    g->addWidget(cbxLoopModules, 0, 1);
    g->addWidget(cbxOnboardOutputs, 1, 1);
    g->addWidget(cbxCBERules, 2, 1);
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

std::vector<const TReport*> TfrmPrintSelection::ChosenReports() const
{
    // Job order: panel, zones, on-board outputs, CBE rules, sensors, modules.
    return FForms.Chosen(
        { cbxPanelOptions->isChecked(), cbxZones->isChecked(), cbxOnboardOutputs->isChecked(),
            cbxCBERules->isChecked(), cbxLoopSensors->isChecked(), cbxLoopModules->isChecked() });
}

void TfrmPrintSelection::PrintChosen()
{
    const auto reports = ChosenReports();
    const TReportInput input = FSource ? FSource() : TReportInput {};
    if (reports.empty() || !input.Config)
        return;
    const auto pages = BuildComposite(reports, *input.Config, input.Context);
    PrintPages(pages, { FPrinterName, FCopies, QString::fromStdString(JobTitle()) });
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
