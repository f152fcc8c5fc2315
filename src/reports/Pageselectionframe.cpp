#include "Pageselectionframe.h"

#include "AccessibleName.h"
#include "ExceptionBox.h"
#include "Ivdictio.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>

namespace {
constexpr int PictureWidth = 67, PictureHeight = 86, Spacing = 128, Top = 12;
// The column is 113 pixels wide, less its border and a scroll bar: the
// pictures and their captions fit in what is left.
constexpr int Width = 92;
constexpr int Left = (Width - PictureWidth) / 2;

// A caption under a page picture. The column is narrow: a word longer than
// it breaks where it must, and a caption taller than its room gets a smaller
// font, so that every caption reads whole in every language.
class TPageCaption : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        QTextOption option(Qt::AlignHCenter);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        QFont f = font();
        for (;;) {
            QTextLayout layout(text(), f, this);
            layout.setTextOption(option);
            layout.beginLayout();
            double y = 0;
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(width());
                line.setPosition(QPointF(0, y));
                y += line.height();
            }
            layout.endLayout();
            if (y <= height() || f.pointSizeF() <= 5) {
                layout.draw(&painter, QPointF(0, 0));
                return;
            }
            f.setPointSizeF(f.pointSizeF() - 0.5);
        }
    }
};

} // namespace

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
