#include "Previewpageframe.h"

#include "Ivwindows.h"

#include "AccessibleName.h"
#include "CodePage.h"
#include "DialogParts.h"
#include "ExceptionBox.h"
#include "Ivdictio.h"
#include "Spincontrol.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace report;
using platform::Utf8ToQString;

namespace {
constexpr int Gap = 10; // grey border around the page
} // namespace

class TPageView : public QWidget {
public:
    explicit TPageView(TPageDisplay* display)
        : QWidget(display)
        , FDisplay(display)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(128, 128, 128));
        const auto& pages = FDisplay->Pages();
        const int n = FDisplay->PageNumber();
        if (n < 1 || n > int(pages.size()))
            return;
        const QSize size = FDisplay->PageSize();
        const QRectF paper((width() - size.width()) / 2.0, Gap, size.width(), size.height());
        painter.fillRect(paper.translated(3, 3), Qt::black);
        painter.fillRect(paper, Qt::white);
        painter.setRenderHint(QPainter::TextAntialiasing);
        DrawPage(painter, pages[std::size_t(n - 1)], paper);
    }

private:
    TPageDisplay* FDisplay;
};

TPageDisplay::TPageDisplay(QWidget* parent)
    : QScrollArea(parent)
{
    setObjectName("qrpPageDisplay");
    setWidget(new TPageView(this));
    setWidgetResizable(false);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void TPageDisplay::SetPages(std::vector<TPage> pages)
{
    FPages = std::move(pages);
    FPage = 1;
    Relayout();
}

void TPageDisplay::SetPageNumber(int n)
{
    if (n < 1 || n > PageCount() || n == FPage)
        return;
    FPage = n;
    verticalScrollBar()->setValue(0);
    widget()->update();
}

void TPageDisplay::SetZoom(TZoom zoom)
{
    FZoom = zoom;
    Relayout();
}

QSize TPageDisplay::PageSize() const
{
    const QSize room
        = maximumViewportSize() - QSize(2 * Gap + verticalScrollBar()->sizeHint().width(), 2 * Gap);
    double w = std::max(room.width(), 50);
    if (FZoom == TZoom::ToFit)
        w = std::min(w, std::max(room.height(), 50) * PageWidth / PageHeight);
    return QSize(int(w), int(w * PageHeight / PageWidth));
}

void TPageDisplay::Relayout()
{
    const QSize page = PageSize();
    widget()->resize(std::max(page.width() + 2 * Gap, viewport()->width()), page.height() + 2 * Gap);
    widget()->update();
}

void TPageDisplay::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    Relayout();
}

TfrmPreviewPage::TfrmPreviewPage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("frmPreviewPage");
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    pnlPageControl = new QWidget(this);
    pnlPageControl->setObjectName("pnlPageControl");
    pnlPageControl->setFixedHeight(30);
    auto* h = new QHBoxLayout(pnlPageControl);
    h->setContentsMargins(4, 2, 4, 2);
    auto* page = new QLabel(Utf8ToQString(IvNative("Page")), pnlPageControl);
    PageSpinEdit = new TSpinControl(pnlPageControl, TControlParts::UpDownOnly());
    PageSpinEdit->setObjectName("PageSpinEdit");
    PageSpinEdit->SetMin(1);
    PageSpinEdit->SetMax(9999);
    PageSpinEdit->SetValue(1);
    SetAccessibleNameParts(PageSpinEdit, { page->text() });
    page->setBuddy(PageSpinEdit);
    auto tool = [this](const char* name, const char* hint, QStyle::StandardPixmap icon) {
        auto* b = new QToolButton(pnlPageControl);
        b->setObjectName(name);
        b->setToolTip(Utf8ToQString(hint));
        SetAccessibleNameParts(b, { Utf8ToQString(hint) });
        b->setIcon(style()->standardIcon(icon));
        if (b->icon().isNull())
            b->setText(Utf8ToQString(hint));
        b->setAutoRaise(true);
        return b;
    };
    btnPrint = tool("btnPrint", IvNative("Print"), QStyle::SP_CustomBase);
    btnPrint->setIcon(QIcon::fromTheme("document-print"));
    if (btnPrint->icon().isNull())
        btnPrint->setText(Utf8ToQString(IvNative("Print")));
    btnZoomToFit = tool("btnZoomToFit", IvNative("Zoom to fit"), QStyle::SP_FileDialogContentsView);
    btnFitToPage = tool("btnFitToPage", IvNative("Zoom to width"), QStyle::SP_FileDialogDetailedView);
    btnFullScreen = tool("btnFullScreen", IvNative("Maximize Preview"), QStyle::SP_TitleBarMaxButton);
    btnClose = new QPushButton(Utf8ToQString(IvNative("&Close")), pnlPageControl);
    btnClose->setObjectName("btnClose");
    btnClose->setToolTip(Utf8ToQString(IvNative("Close Preview")));
    h->addWidget(page);
    h->addWidget(PageSpinEdit);
    for (QToolButton* b : { btnPrint, btnZoomToFit, btnFitToPage, btnFullScreen })
        h->addWidget(b);
    h->addWidget(btnClose);
    h->addStretch();
    v->addWidget(pnlPageControl);
    qrpPageDisplay = new TPageDisplay(this);
    v->addWidget(qrpPageDisplay, 1);

    PageSpinEdit->OnChange = [this](TSpinControl*) { Guarded([this] { PageSpinEditChange(); }); };
    connect(btnZoomToFit, &QToolButton::clicked, this,
        [this] { qrpPageDisplay->SetZoom(TPageDisplay::TZoom::ToFit); });
    connect(btnFitToPage, &QToolButton::clicked, this,
        [this] { qrpPageDisplay->SetZoom(TPageDisplay::TZoom::ToWidth); });
    connect(btnFullScreen, &QToolButton::clicked, this, [this] {
        QWidget* w = window();
        w->isMaximized() ? w->showNormal() : w->showMaximized();
    });
    connect(btnPrint, &QToolButton::clicked, this, [this] {
        if (OnPrint)
            Guarded(OnPrint);
    });
    connect(btnClose, &QPushButton::clicked, this, [this] {
        if (OnClose)
            Guarded(OnClose);
    });
    IvAddTranslator(this);
}

void TfrmPreviewPage::AttachPages(std::vector<TPage> pages)
{
    qrpPageDisplay->SetPages(std::move(pages));
    qrpPageDisplay->SetZoom(TPageDisplay::TZoom::ToWidth);
    FSettingPage = true;
    PageSpinEdit->SetValue(1);
    FSettingPage = false;
}

void TfrmPreviewPage::PageSpinEditChange()
{
    if (FSettingPage)
        return;
    // The preview moves only to a page that exists; the control then shows
    // the page that is shown.
    qrpPageDisplay->SetPageNumber(PageSpinEdit->GetValue());
    FSettingPage = true;
    PageSpinEdit->SetValue(qrpPageDisplay->PageNumber());
    FSettingPage = false;
}
