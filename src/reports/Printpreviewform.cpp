#include "Printpreviewform.h"

#include "Ivwindows.h"

#include "ExceptionBox.h"
#include "Ivdictio.h"
#include "Pageselectionframe.h"
#include "Previewpageframe.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

using namespace report;

TfrmPrintPreview::TfrmPrintPreview(const TReportForms& forms, TReportSource source, QWidget* parent)
    : QDialog(parent,
        Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
            | Qt::WindowCloseButtonHint)
    , FForms(forms)
    , FSource(std::move(source))
{
    setObjectName("frmPrintPreview");
    setWindowTitle(IvNative("Print Preview"));
    resize(798, 540);
    FLayout = new QHBoxLayout(this);
    FLayout->setContentsMargins(0, 0, 0, 0);
    FLayout->setSpacing(0);
    pnlPages = new QFrame(this);
    pnlPages->setObjectName("pnlPages");
    static_cast<QFrame*>(pnlPages)->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto* left = new QVBoxLayout(pnlPages);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    pnlPreviewTitle = new QLabel(IvNative("Preview"), pnlPages);
    pnlPreviewTitle->setObjectName("pnlPreviewTitle");
    pnlPreviewTitle->setFixedHeight(25);
    pnlPreviewTitle->setAlignment(Qt::AlignCenter);
    pnlPreviewTitle->setStyleSheet("background: #0000C0; color: white;");
    left->addWidget(pnlPreviewTitle);
    // Six pictures need more room than the window's height: they scroll.
    auto* scroll = new QScrollArea(pnlPages);
    scroll->setFrameStyle(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PageSelect = new TfrmPageSelection;
    scroll->setWidget(PageSelect);
    scroll->setWidgetResizable(true);
    left->addWidget(scroll, 1);
    FLayout->addWidget(pnlPages);
    FLayout->addStretch(1);
    PageSelect->StartPreview = [this](int tag) { Preview(tag); };
    PageSelect->ClosePreview = [this] { ClosePreviewPage(); };
    // The column is as wide as its captions need in the language in force,
    // never narrower than 113 pixels; the page shown takes the rest.
    const int chrome
        = 2 * static_cast<QFrame*>(pnlPages)->frameWidth() + scroll->verticalScrollBar()->sizeHint().width();
    auto fitPages = [this, chrome] {
        PageSelect->FitCaptions();
        pnlPages->setFixedWidth(std::max(113, PageSelect->minimumWidth() + chrome));
    };
    IvAddTranslator(this, fitPages);
    fitPages();
}

void TfrmPrintPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Opening the window previews the panel setup options.
    Guarded([this] { PageSelect->PageSelectClick(0, Qt::LeftButton, QPoint(0, 0)); });
}

void TfrmPrintPreview::done(int result)
{
    PageSelect->ClosePreviewPage();
    QDialog::done(result);
}

void TfrmPrintPreview::ClosePreviewPage()
{
    if (!frmPreviewPage)
        return;
    delete frmPreviewPage;
    frmPreviewPage = nullptr;
    // The stretch stands in for the page while none is shown.
    if (FLayout->count() == 1)
        FLayout->addStretch(1);
}

void TfrmPrintPreview::Preview(int tag)
{
    ClosePreviewPage();
    const TReportInput input = FSource ? FSource() : TReportInput {};
    std::vector<TPage> pages;
    if (input.Config)
        pages = FForms.Of(TReportKind(tag)).BuildPages(*input.Config, input.Context);
    if (FLayout->count() > 1)
        delete FLayout->takeAt(1);
    frmPreviewPage = new TfrmPreviewPage(this);
    FLayout->addWidget(frmPreviewPage, 1);
    frmPreviewPage->OnPrint = [this] { PrintShown(); };
    frmPreviewPage->OnClose = [this] { done(QDialog::Rejected); };
    frmPreviewPage->AttachPages(std::move(pages));
    frmPreviewPage->show();
}

void TfrmPrintPreview::PrintShown()
{
    // The whole report, on the system's current printer.
    if (!frmPreviewPage || frmPreviewPage->qrpPageDisplay->Pages().empty())
        return;
    PrintPages(frmPreviewPage->qrpPageDisplay->Pages(),
        { Printers ? Printers().Current() : QString(), 1, QString::fromStdString(JobTitle()) });
}
