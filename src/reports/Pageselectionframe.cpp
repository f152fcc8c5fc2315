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

namespace {
constexpr int PictureWidth = 67, PictureHeight = 86, Spacing = 128, Top = 12;
// The column is 113 pixels wide, less its border and a scroll bar: the
// pictures and their captions fit in what is left.
constexpr int Width = 92;
constexpr int Left = (Width - PictureWidth) / 2;

// A caption under a page picture. The column is narrow: a caption that does
// not fit gets a smaller font, so that it reads whole in every language.
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
        // Lines end at blanks and after hyphens and slashes; a word is cut
        // only at the smallest size.
        const bool smallest = f.pointSizeF() <= 5;
        QTextOption option(Qt::AlignHCenter);
        option.setWrapMode(smallest ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::WordWrap);
        QTextLayout layout(text, f);
        layout.setTextOption(option);
        layout.beginLayout();
        TCaptionLayout laid { {}, f };
        double height = 0;
        bool fits = true;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(room.width());
            fits = fits && line.naturalTextWidth() <= room.width();
            height += line.height();
            laid.Lines << text.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
        if ((fits && height <= room.height()) || smallest)
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
    shpHighlightPage->setGeometry(Left - 4, Top - 4, PictureWidth + 10, PictureHeight + 10);
    shpHighlightPage->setStyleSheet("background: #000080;");
    shpHighlightPage->hide();
    for (int i = 0; i < PictureCount; ++i) {
        const report::TReportEntry& r = report::ReportCatalogue[std::size_t(i)];
        const int y = Top + i * Spacing;
        auto* shadow = new QFrame(this);
        shadow->setGeometry(Left + 3, y + 3, PictureWidth, PictureHeight);
        shadow->setStyleSheet("background: #404040;");
        auto* p = new QFrame(this);
        p->setObjectName(r.Picture);
        p->setGeometry(Left, y, PictureWidth, PictureHeight);
        p->setStyleSheet("background: white; border: 1px solid black;");
        p->setCursor(Qt::PointingHandCursor);
        SetAccessibleNameParts(p, { QString::fromUtf8(r.PictureCaption) });
        p->installEventFilter(this);
        FPictures[i] = p;
        auto* caption = new TPageCaption(QString::fromUtf8(r.PictureCaption), this);
        caption->setWordWrap(true);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        caption->setGeometry(0, y + PictureHeight + 4, Width, Spacing - PictureHeight - 4);
        QFont small = caption->font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        caption->setFont(small);
    }
    setMinimumSize(Width, Top + PictureCount * Spacing);
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
