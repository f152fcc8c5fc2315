#include "LazyIconStyle.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QStyleOption>
#include <QWidget>
#include <QPainter>
#include <QPointer>

namespace {

// Stands in for the style's picture and asks the style for it on first use.
class DeferredIconEngine : public QIconEngine {
public:
    DeferredIconEngine(QStyle* style, QStyle::StandardPixmap which, Qt::LayoutDirection direction)
        : FStyle(style)
        , FWhich(which)
        , FDirection(direction)
    {
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Real().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Real().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return Real().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Real().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Real().availableSizes(mode, state);
    }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }
    QIconEngine* clone() const override
    {
        auto* copy = new DeferredIconEngine(FStyle, FWhich, FDirection);
        copy->FReal = FReal;
        copy->FLoaded = FLoaded;
        return copy;
    }
    // The style has this picture; asking must not read it.
    bool isNull() override { return false; }

private:
    QIcon& Real()
    {
        if (!FLoaded) {
            FLoaded = true;
            if (FStyle) {
                QStyleOption option;
                option.direction = FDirection; // the only part of the option these pictures use
                FReal = FStyle->standardIcon(FWhich, &option);
            }
        }
        return FReal;
    }
    QPointer<QStyle> FStyle;
    QStyle::StandardPixmap FWhich;
    Qt::LayoutDirection FDirection;
    QIcon FReal;
    bool FLoaded = false;
};

} // namespace

QIcon LazyIconStyle::standardIcon(
    StandardPixmap which, const QStyleOption* option, const QWidget* widget) const
{
    if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton) {
        const Qt::LayoutDirection direction = option ? option->direction
            : widget                                 ? widget->layoutDirection()
                                                     : QGuiApplication::layoutDirection();
        return QIcon(new DeferredIconEngine(baseStyle(), which, direction));
    }
    return QProxyStyle::standardIcon(which, option, widget);
}
