#pragma once
// Numeric edit with an up-down pair, an optional pop-up slider and an optional
// quick-select bar. Typed text is committed after a pause (100 ms + 1400 ms)
// so that a number typed digit by digit gives one OnChange; every change of
// the shown value fires OnChange with the control as sender.
#include <QLineEdit>
#include <QTimer>

#include <functional>

class TfrmSliderControl;
class QToolButton;

enum class TControlPart { cpQuickSelect, cpUpDown, cpSlider };

struct TControlParts {
    bool QuickSelect = false;
    bool UpDown = true;
    bool Slider = false;
    static TControlParts All() { return { true, true, true }; }
    static TControlParts UpDownOnly() { return { false, true, false }; }
    bool Contains(TControlPart p) const
    {
        return p == TControlPart::cpQuickSelect ? QuickSelect : p == TControlPart::cpUpDown ? UpDown : Slider;
    }
};

class TSpinControl : public QLineEdit {
    Q_OBJECT
public:
    explicit TSpinControl(QWidget* Owner = nullptr, TControlParts options = TControlParts::UpDownOnly());
    ~TSpinControl() override;

    int GetValue() const { return FPosition; }
    void SetValue(int v);
    int GetMin() const { return FMin; }
    int GetMax() const { return FMax; }
    void SetMin(int v);
    void SetMax(int v);
    int GetIncrement() const { return FIncrement; }
    void SetIncrement(int v) { FIncrement = v; }
    TControlParts GetControlOptions() const { return FOptions; }
    void SetControlOptions(TControlParts options);
    int GetTrackBarWidth() const { return FTrackBarWidth; }
    void SetTrackBarWidth(int v);
    void SetEnabled(bool enabled);

    // The user's event; the sender is the control itself.
    std::function<void(TSpinControl* Sender)> OnChange;
    int Tag = 0;

    // Commits typed text that is still waiting for the pause, at once.
    // Windows call it before any command (save, send, print, close).
    void CommitPending();
    bool IsCommitPending() const { return FTimer.isActive(); }
    // The commit timer's step (100 ms, then 1400 ms); public so that tests
    // can run the pause without waiting.
    void TimerEvent();
    int TimerInterval() const { return FTimer.interval(); }

    // Width of the value mark on the quick-select bar.
    int ValueShapeWidth() const { return FValueShapeWidth; }
    bool SliderButtonEnabled() const;
    TfrmSliderControl* Popup() const { return FPopup; }

    // Parts, reachable for the mouse handlers and tests.
    void OnUpDownClick(bool up);
    void ShowSliderButtonForm();
    void UpdateSliderButtonForm(QPoint buttonPos);
    void HideSliderButtonForm();
    void QuickSelectMouseDown(int X);
    void QuickSelectMouseMove(int X);
    void QuickSelectMouseUp(int X);
    QWidget* QuickSelectBar() const { return FBar; }
    QToolButton* SliderButton() const { return FSliderButton; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void UpdateValue();
    void OnChangeEvent();
    void StartCommitTimer();
    void CommitNowIfPending();
    void PlaceParts();
    int MinHeight() const;
    static int To16(int v);

    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FIncrement = 1;
    TControlParts FOptions;
    int FTrackBarWidth = 130;
    int FValueShapeWidth = 0;
    bool FDragging = false;
    bool FChangeBound = true;
    QTimer FTimer;
    QWidget* FUpDown = nullptr;
    QToolButton* FUp = nullptr;
    QToolButton* FDown = nullptr;
    QToolButton* FSliderButton = nullptr;
    QWidget* FBar = nullptr;
    TfrmSliderControl* FPopup = nullptr;
};
