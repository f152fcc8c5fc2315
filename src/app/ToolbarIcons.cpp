#include "ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

void Page(QPainter& p, QRectF r, QColor fill = Qt::white)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 4, r.top());
    path.lineTo(r.right(), r.top() + 4);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setBrush(fill);
    p.drawPath(path);
}

} // namespace

QIcon MakeToolbarIcon(ToolbarIcon which)
{
    QPixmap pix(20, 20);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    switch (which) {
    case ToolbarIcon::New:
        Page(p, QRectF(4.5, 2.5, 11, 15));
        break;
    case ToolbarIcon::Open:
        p.setBrush(QColor(230, 180, 60));
        p.drawRect(QRectF(2.5, 6.5, 15, 10));
        p.drawRect(QRectF(2.5, 4.5, 6, 2));
        break;
    case ToolbarIcon::Save:
        p.setBrush(QColor(50, 90, 170));
        p.drawRect(QRectF(3.5, 3.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 3.5, 7, 5));
        p.drawRect(QRectF(5.5, 11.5, 9, 5));
        break;
    case ToolbarIcon::Print:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 2.5, 9, 6));
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(QRectF(2.5, 8.5, 15, 6));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 12.5, 9, 5));
        break;
    case ToolbarIcon::Preview:
        Page(p, QRectF(3.5, 2.5, 10, 14));
        p.setBrush(QColor(200, 230, 255));
        p.drawEllipse(QRectF(9.5, 9.5, 6, 6));
        p.drawLine(QPointF(15, 15), QPointF(18, 18));
        break;
    case ToolbarIcon::Cut:
        p.drawLine(QPointF(6, 2), QPointF(13, 12));
        p.drawLine(QPointF(14, 2), QPointF(7, 12));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(3.5, 12.5, 5, 5));
        p.drawEllipse(QRectF(11.5, 12.5, 5, 5));
        break;
    case ToolbarIcon::Copy:
        Page(p, QRectF(2.5, 2.5, 10, 12));
        Page(p, QRectF(7.5, 5.5, 10, 12));
        break;
    case ToolbarIcon::Paste:
        p.setBrush(QColor(200, 160, 100));
        p.drawRect(QRectF(3.5, 3.5, 12, 14));
        Page(p, QRectF(8.5, 7.5, 9, 11));
        break;
    case ToolbarIcon::Send:
    case ToolbarIcon::Receive: {
        p.setBrush(QColor(40, 140, 60));
        QPolygonF arrow;
        if (which == ToolbarIcon::Send)
            arrow << QPointF(10, 2) << QPointF(17, 10) << QPointF(13, 10) << QPointF(13, 18) << QPointF(7, 18)
                  << QPointF(7, 10) << QPointF(3, 10);
        else
            arrow << QPointF(10, 18) << QPointF(17, 10) << QPointF(13, 10) << QPointF(13, 2) << QPointF(7, 2)
                  << QPointF(7, 10) << QPointF(3, 10);
        p.drawPolygon(arrow);
        break;
    }
    case ToolbarIcon::Help:
        p.setBrush(QColor(50, 90, 170));
        p.drawEllipse(QRectF(2.5, 2.5, 15, 15));
        p.setPen(Qt::white);
        p.drawText(QRectF(2.5, 2.5, 15, 15), Qt::AlignCenter, "?");
        break;
    }
    p.end();
    return QIcon(pix);
}
