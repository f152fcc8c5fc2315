#pragma once
// The style's own pictures for the menu bar's and tool bars' extension
// buttons are read from image files the first time they are drawn rather
// than when each bar is created: those buttons show only when a bar is too
// narrow, and reading the files starts Qt's image readers, which is a
// measurable part of the start-up.
#include <QProxyStyle>

class LazyIconStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
        const QWidget* widget = nullptr) const override;
};
