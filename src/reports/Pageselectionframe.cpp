#include "Pageselectionframe.h"

#include "AccessibleName.h"
#include "ExceptionBox.h"
#include "Ivdictio.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <iterator>

namespace {
constexpr int PictureWidth = 67, PictureHeight = 86, Spacing = 128, Top = 12;
constexpr int CaptionTop = PictureHeight + 4, CaptionHeight = Spacing - CaptionTop;
// The captions' width: at least what the column of 113 pixels leaves beside
// its border and a scroll bar; wider when a caption needs it to read whole at
// its size, up to a bound past which that caption prints smaller instead.
constexpr int NarrowestCaptions = 92, WidestCaptions = 200;
// Keeps a caption that fills its line off the column's edges.
constexpr int CaptionMargin = 3;

// `text` in lines of the room's width, ending at blanks and after hyphens and
// slashes (or anywhere, when `anywhere`); whether the lines fit the room.
bool LayLines(const QString& text, const QFont& font, QSize room, bool anywhere, QStringList& lines)
{
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(anywhere ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::WordWrap);
    QTextLayout layout(text, font);
    layout.setTextOption(option);
    layout.beginLayout();
    double height = 0;
    bool fits = true;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(room.width());
        fits = fits && line.naturalTextWidth() <= room.width();
        height += line.height();
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return fits && height <= room.height();
}

// A caption under a page picture. A caption that does not fit even the
// widest column gets a smaller font, so that it reads whole all the same.
class TPageCaption : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        const TCaptionLayout laid = LayCaption(text(), font(), size());
        painter.setFont(laid.Font);
        const QFontMetricsF metrics(laid.Font, this);
        double y = 0;
        for (const QString& line : laid.Lines) {
            painter.drawText(QRectF(0, y, width(), metrics.height()), Qt::AlignHCenter | Qt::AlignTop, line);
            y += metrics.lineSpacing();
        }
    }
};

} // namespace

TCaptionLayout LayCaption(const QString& text, const QFont& font, QSize room)
{
    QFont f = font;
    for (;;) {
        // A word is cut only at the smallest size.
        const bool smallest = f.pointSizeF() <= 5;
        TCaptionLayout laid { {}, f };
        if (LayLines(text, f, room, smallest, laid.Lines) || smallest)
            return laid;
        f.setPointSizeF(std::max(5.0, f.pointSizeF() - 0.5));
    }
}

TfrmPageSelection::TfrmPageSelection(QWidget* parent)
    : QFrame(parent)
{
    setObjectName("PageSelect");
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Dark);
    shpHighlightPage = new QFrame(this);
    shpHighlightPage->setObjectName("shpHighlightPage");
    shpHighlightPage->resize(PictureWidth + 10, PictureHeight + 10);
    shpHighlightPage->move(0, Top - 4);
    shpHighlightPage->setStyleSheet("background: #000080;");
    shpHighlightPage->hide();
    for (int i = 0; i < PictureCount; ++i) {
        const report::TReportEntry& r = report::ReportCatalogue[std::size_t(i)];
        auto* shadow = new QFrame(this);
        shadow->resize(PictureWidth, PictureHeight);
        shadow->setStyleSheet("background: #404040;");
        FShadows[i] = shadow;
        auto* p = new QFrame(this);
        p->setObjectName(r.Picture);
        p->resize(PictureWidth, PictureHeight);
        p->setStyleSheet("background: white; border: 1px solid black;");
        p->setCursor(Qt::PointingHandCursor);
        SetAccessibleNameParts(p, { QString::fromUtf8(r.PictureCaption) });
        p->installEventFilter(this);
        FPictures[i] = p;
        auto* caption = new TPageCaption(QString::fromUtf8(r.PictureCaption), this);
        caption->setWordWrap(true);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        QFont small = caption->font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        caption->setFont(small);
        FCaptions[i] = caption;
    }
    setMinimumSize(NarrowestCaptions, Top + PictureCount * Spacing);
    resize(minimumSize());
    FitCaptions();
}

void TfrmPageSelection::FitCaptions()
{
    const auto allFit = [this](int width) {
        return std::all_of(std::begin(FCaptions), std::end(FCaptions), [&](const QLabel* caption) {
            QStringList lines;
            return LayLines(
                caption->text(), caption->font(), { width - 2 * CaptionMargin, CaptionHeight }, false, lines);
        });
    };
    int width = NarrowestCaptions;
    while (width < WidestCaptions && !allFit(width))
        ++width;
    setMinimumWidth(width);
    Arrange();
}

void TfrmPageSelection::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    Arrange();
}

void TfrmPageSelection::Arrange()
{
    // The pictures in the middle, each caption across the width.
    const int left = (width() - PictureWidth) / 2;
    for (int i = 0; i < PictureCount; ++i) {
        const int y = Top + i * Spacing;
        FShadows[i]->move(left + 3, y + 3);
        FPictures[i]->move(left, y);
        FCaptions[i]->setGeometry(CaptionMargin, y + CaptionTop, width() - 2 * CaptionMargin, CaptionHeight);
    }
    shpHighlightPage->move(left - 4, shpHighlightPage->y());
}

bool TfrmPageSelection::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease)
        for (int i = 0; i < PictureCount; ++i)
            if (watched == FPictures[i]) {
                auto* m = static_cast<QMouseEvent*>(event);
                Guarded([&] { PageSelectClick(i, m->button(), m->position().toPoint()); });
                return true;
            }
    return QFrame::eventFilter(watched, event);
}

void TfrmPageSelection::PageSelectClick(int tag, Qt::MouseButton button, QPoint pos)
{
    if (tag < 0 || tag >= PictureCount || button != Qt::LeftButton)
        return;
    QFrame* p = FPictures[tag];
    if (pos.x() < 0 || pos.x() >= p->width() || pos.y() < 0 || pos.y() >= p->height() || tag == Tag)
        return;
    shpHighlightPage->move(p->x() - 4, p->y() - 4);
    shpHighlightPage->show();
    shpHighlightPage->lower();
    ClosePreviewPage();
    Tag = tag;
    if (StartPreview)
        StartPreview(tag);
}

void TfrmPageSelection::ClosePreviewPage()
{
    if (ClosePreview)
        ClosePreview();
    Tag = -1;
}
