#include "Sliderbuttoncontrolform.h"

#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QSlider>

#include <algorithm>

TfrmSliderControl::TfrmSliderControl(QWidget* Owner)
    : QWidget(Owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("frmSliderControl");
    setAttribute(Qt::WA_ShowWithoutActivating);
    FFrame = new QFrame(this);
    FFrame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    FFrame->setLineWidth(2);
    FTrackBar = new QSlider(Qt::Horizontal, this);
    FTrackBar->setObjectName("TrackBar1");
    FTrackBar->setEnabled(false); // the popup follows the mouse, not the track bar
    FTrackBar->setGeometry(2, 2, 130, 30);
    FTrackBar->setMaximum(100);
    FTrackBar->setPageStep(10);
    FTrackBar->setTickInterval(10);
    FTrackBar->setTickPosition(QSlider::TicksAbove);
    resize(134, 34);
}

void TfrmSliderControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TfrmSliderControl::FormResize()
{
    FTrackBar->setGeometry(2, 2, width() - 4, FTrackBar->height());
    FFrame->setGeometry(0, 0, width(), height());
}

QPoint TfrmSliderControl::PlaceFor(
    QPoint p, QSize size, int trackBarWidth, int position, int minimum, int maximum, QRect screen)
{
    int span = maximum - minimum;
    int top = p.y() + 7;
    int left = p.x() - 11 - (span != 0 ? (position - minimum) * (trackBarWidth - 18) / span : 0);
    if (top < screen.top())
        top = screen.top();
    if (top + size.height() > screen.bottom() + 1)
        top = screen.bottom() + 1 - size.height();
    if (left < screen.left())
        left = screen.left();
    if (left + size.width() > screen.right() + 1)
        left = screen.right() + 1 - size.width();
    return { left, top };
}

int TfrmSliderControl::PositionFor(int X, int trackBarLeft, int trackBarWidth, int minimum, int maximum)
{
    int span = maximum - minimum;
    int x0 = trackBarLeft + 9;
    int w = trackBarWidth - 18;
    if (span <= 0 || w <= 0)
        return minimum;
    int step = w / span;
    int position = minimum + ((X - x0) + step / 2 + 1) * span / w;
    return std::clamp(position, minimum, maximum);
}

void TfrmSliderControl::ShowForControl(QWidget* Button, int Maximum, int Value, int Minimum)
{
    FTrackBar->setMinimum(Minimum);
    FTrackBar->setMaximum(Maximum);
    FTrackBar->setValue(Value);
    int frequency = (Maximum - Minimum) / 10;
    FTrackBar->setTickInterval(frequency == 0 ? 1 : frequency);
    QPoint p = Button->mapToGlobal(QPoint(Button->width() / 2, Button->height()));
    QScreen* screen = Button->screen() ? Button->screen() : QGuiApplication::primaryScreen();
    QRect area = screen ? screen->geometry() : QRect(0, 0, 1 << 15, 1 << 15);
    move(PlaceFor(p, size(), FTrackBar->width(), Value, Minimum, Maximum, area));
    show();
}

void TfrmSliderControl::FormMouseMove(int X, int Y)
{
    FTrackBar->setValue(
        PositionFor(X, FTrackBar->x(), FTrackBar->width(), FTrackBar->minimum(), FTrackBar->maximum()));
    if (OnValueChange)
        OnValueChange(FTrackBar->value());
}
