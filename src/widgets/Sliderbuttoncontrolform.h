#pragma once
// The track bar that pops up under a spin control's slider button while the
// mouse button is held on it.
#include <QWidget>

#include <functional>

class QSlider;
class QFrame;

class TfrmSliderControl : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSliderControl(QWidget* Owner = nullptr);

    // Sets up the track bar, places the popup with its thumb under the
    // button's bottom edge centre (kept on the screen) and shows it.
    void ShowForControl(QWidget* Button, int Maximum, int Value, int Minimum);
    // A mouse point in the popup's client coordinates picks the value.
    void FormMouseMove(int X, int Y);

    // Called with the new track bar position; empty after construction.
    std::function<void(int)> OnValueChange;

    QSlider* TrackBar1() const { return FTrackBar; }
    // The left/top the popup would take for a button at `buttonPoint`
    // (screen point of the button's bottom edge centre) on `screen`.
    static QPoint PlaceFor(QPoint buttonPoint, QSize popupSize, int trackBarWidth, int position, int minimum,
        int maximum, QRect screen);
    // The track bar position for a mouse X in client coordinates.
    static int PositionFor(int X, int trackBarLeft, int trackBarWidth, int minimum, int maximum);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormResize();
    QSlider* FTrackBar;
    QFrame* FFrame;
};
