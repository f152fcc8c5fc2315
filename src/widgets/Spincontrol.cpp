#include "Spincontrol.h"

#include "Sliderbuttoncontrolform.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kPartWidth = 12;
constexpr int kBarHeight = 4;
constexpr int kFirstPause = 100;
constexpr int kSecondPause = 1400;

// The thin bar under the edit: a click or drag picks a value in proportion.
class SpinQuickSelectBar : public QWidget {
public:
    explicit SpinQuickSelectBar(TSpinControl* owner)
        : QWidget(owner)
        , Owner(owner)
    {
        setCursor(Qt::ArrowCursor);
        setFixedHeight(kBarHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(0, 1, width(), height() - 1, palette().color(QPalette::Base));
        p.fillRect(0, 1, Owner->ValueShapeWidth(), height() - 1, palette().color(QPalette::Highlight));
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            Owner->QuickSelectMouseDown(int(e->position().x()));
    }
    void mouseMoveEvent(QMouseEvent* e) override { Owner->QuickSelectMouseMove(int(e->position().x())); }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            Owner->QuickSelectMouseUp(int(e->position().x()));
    }

private:
    TSpinControl* Owner;
};

// The button that pops up the track bar while the mouse button is held on it.
class SpinSliderButton : public QToolButton {
public:
    explicit SpinSliderButton(TSpinControl* owner)
        : QToolButton(owner)
        , Owner(owner)
    {
        setCursor(Qt::ArrowCursor);
        setArrowType(Qt::RightArrow);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        QToolButton::mousePressEvent(e);
        if (e->button() == Qt::LeftButton)
            Owner->ShowSliderButtonForm();
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        QToolButton::mouseMoveEvent(e);
        if (e->buttons() & Qt::LeftButton)
            Owner->UpdateSliderButtonForm(e->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QToolButton::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton)
            Owner->HideSliderButtonForm();
    }

private:
    TSpinControl* Owner;
};

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow)
{
    auto* b = new QToolButton(parent);
    b->setArrowType(arrow);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setCursor(Qt::ArrowCursor);
    b->setIconSize(QSize(6, 6));
    return b;
}

} // namespace

TSpinControl::TSpinControl(QWidget* Owner, TControlParts options)
    : QLineEdit(Owner)
{
    FTimer.setInterval(kFirstPause);
    connect(&FTimer, &QTimer::timeout, this, [this] { TimerEvent(); });

    FUpDown = new QWidget(this);
    auto* column = new QVBoxLayout(FUpDown);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    FUp = MakeArrow(FUpDown, Qt::UpArrow);
    FDown = MakeArrow(FUpDown, Qt::DownArrow);
    column->addWidget(FUp);
    column->addWidget(FDown);
    connect(FUp, &QToolButton::clicked, this, [this] { OnUpDownClick(true); });
    connect(FDown, &QToolButton::clicked, this, [this] { OnUpDownClick(false); });
    FUpDown->hide();

    FSliderButton = new SpinSliderButton(this);
    FSliderButton->hide();
    FBar = new SpinQuickSelectBar(this);
    FBar->hide();

    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setText("0");
    connect(this, &QLineEdit::textChanged, this, [this] { OnChangeEvent(); });
    FOptions = { false, false, false };
    SetControlOptions(options);
    UpdateValue();
}

TSpinControl::~TSpinControl()
{
    delete FPopup;
    FPopup = nullptr;
}

int TSpinControl::To16(int v)
{
    return int(int16_t(uint16_t(unsigned(v))));
}

QSize TSpinControl::sizeHint() const
{
    // Room for five digits, as the 65 pixels of the original font gave.
    int text = std::max(65 - 2 * kPartWidth, fontMetrics().horizontalAdvance("00000") + 14);
    int w = text + (FOptions.UpDown ? kPartWidth : 0) + (FOptions.Slider ? kPartWidth : 0);
    return { w, MinHeight() };
}

QSize TSpinControl::minimumSizeHint() const
{
    return { kPartWidth * 3, MinHeight() };
}

int TSpinControl::MinHeight() const
{
    int base
        = std::max(QLineEdit::sizeHint().height(), fontMetrics().height() + fontMetrics().height() / 4 + 6);
    return base + (FOptions.QuickSelect ? kBarHeight : 0);
}

void TSpinControl::SetValue(int v)
{
    // A value set from code replaces what was being typed: the typing's
    // pending commit would otherwise report this value as the user's.
    FTimer.stop();
    FPosition = std::clamp(v, FMin, FMax);
    UpdateValue();
}

void TSpinControl::UpdateValue()
{
    setText(QString::number(FPosition));
    FValueShapeWidth = FMax == FMin ? 0 : (FPosition - FMin) * FBar->width() / (FMax - FMin);
    FBar->update();
    FSliderButton->setEnabled(FMax != FMin && isEnabled());
}

bool TSpinControl::SliderButtonEnabled() const
{
    return FSliderButton->isEnabled();
}

void TSpinControl::SetMax(int v)
{
    FMax = To16(v);
    if (FMin > FMax)
        SetMin(FMax);
    else {
        FPosition = std::clamp(FPosition, FMin, FMax);
        UpdateValue();
    }
}

void TSpinControl::SetMin(int v)
{
    FMin = To16(v);
    if (FMin > FMax)
        SetMax(FMin);
    else {
        FPosition = std::clamp(FPosition, FMin, FMax);
        UpdateValue();
    }
}

void TSpinControl::SetTrackBarWidth(int v)
{
    FTrackBarWidth = std::clamp(v, 50, 2000);
}

void TSpinControl::SetControlOptions(TControlParts options)
{
    FOptions = options;
    FBar->setVisible(options.QuickSelect);
    FUpDown->setVisible(options.UpDown);
    FSliderButton->setVisible(options.Slider);
    updateGeometry();
    PlaceParts();
}

void TSpinControl::SetEnabled(bool enabled)
{
    FUpDown->setEnabled(enabled);
    FSliderButton->setEnabled(enabled);
    FBar->setEnabled(enabled);
    setEnabled(enabled);
    UpdateValue();
}

void TSpinControl::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        FSliderButton->setEnabled(FMax != FMin && isEnabled());
}

void TSpinControl::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    PlaceParts();
    UpdateValue();
}

void TSpinControl::PlaceParts()
{
    // The parts sit inside the edit's frame; the text keeps clear of them.
    const int inset = 2;
    int b = FOptions.QuickSelect ? kBarHeight : 0;
    int h = height() - 2 * inset - b;
    int right = width() - inset;
    if (FOptions.Slider) {
        FSliderButton->setGeometry(right - kPartWidth, inset, kPartWidth, h);
        right -= kPartWidth;
    }
    if (FOptions.UpDown) {
        FUpDown->setGeometry(right - kPartWidth, inset, kPartWidth, h);
        right -= kPartWidth;
    }
    FBar->setGeometry(inset, height() - inset - kBarHeight, width() - 2 * inset, kBarHeight);
    setTextMargins(0, 0, width() - inset - right, b);
}

void TSpinControl::StartCommitTimer()
{
    // Setting the same interval does not restart a running wait: a number
    // typed quickly still commits about 1.5 s after the first key.
    if (!FTimer.isActive() || FTimer.interval() != kFirstPause) {
        FTimer.setInterval(kFirstPause);
        FTimer.start();
    }
}

void TSpinControl::CommitNowIfPending()
{
    if (FTimer.isActive()) {
        FTimer.stop();
        OnChangeEvent();
    }
}

void TSpinControl::CommitPending()
{
    CommitNowIfPending();
}

void TSpinControl::TimerEvent()
{
    if (FTimer.interval() == kFirstPause) {
        FTimer.setInterval(kSecondPause);
        if (!FTimer.isActive())
            FTimer.start();
        return;
    }
    FTimer.stop();
    OnChangeEvent();
}

void TSpinControl::OnChangeEvent()
{
    if (!FChangeBound)
        return;
    FChangeBound = false;
    if (!FTimer.isActive()) {
        const QString t = text();
        if (t.isEmpty()) {
            SetValue(FMin);
            setCursorPosition(0);
            FChangeBound = true;
            OnChangeEvent(); // commits the Min just shown, which fires OnChange
            return;
        }
        bool ok = false;
        int v = t.toInt(&ok);
        if (ok) {
            SetValue(v);
            if (OnChange)
                OnChange(this);
        } else {
            SetValue(FMin);
            setCursorPosition(int(text().size()));
        }
    }
    FChangeBound = true;
}

void TSpinControl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        SetValue(FPosition + (event->key() == Qt::Key_Up ? FIncrement : -FIncrement));
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape
        || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        // A dialog's default button or Esc acts on the committed value.
        CommitNowIfPending();
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString t = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (t.isEmpty() || command) {
        QLineEdit::keyPressEvent(event); // carets, the clipboard's shortcuts
        return;
    }
    // Delete (which arrives with U+007F) and Backspace edit as in any field;
    // the edit waits for the commit pause like a typed digit.
    if (!t.at(0).isPrint()) {
        const bool wasPending = IsCommitPending();
        const QString before = text();
        StartCommitTimer();
        QLineEdit::keyPressEvent(event);
        if (text() == before && !wasPending)
            FTimer.stop();
        return;
    }
    const QChar c = t.at(0);
    bool consumed = false;
    if (c == '+' || c == '-')
        CommitNowIfPending(); // step from the typed number, not the old value
    if (c == '+') {
        SetValue(FPosition + FIncrement);
        consumed = true;
    } else if (c == '-') {
        SetValue(FPosition - FIncrement);
        consumed = true;
    } else if (c == '%' || c == '\'' || c == '.') {
        StartCommitTimer();
    } else if (c >= '0' && c <= '9') {
        if (text().size() == QString::number(FMax).size() && !hasSelectedText()) {
            QApplication::beep();
            consumed = true;
        } else
            StartCommitTimer();
    } else {
        QApplication::beep();
        consumed = true;
    }
    if (consumed) {
        CommitNowIfPending();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TSpinControl::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (event->reason() != Qt::MouseFocusReason)
        selectAll();
}

void TSpinControl::focusOutEvent(QFocusEvent* event)
{
    // Leaving the control commits what was typed, so no window ever acts on
    // a value the user sees but the configuration does not hold.
    if (event->reason() != Qt::PopupFocusReason)
        CommitNowIfPending();
    QLineEdit::focusOutEvent(event);
}

void TSpinControl::OnUpDownClick(bool up)
{
    if (!hasFocus())
        setFocus();
    FPosition = std::clamp(FPosition + (up ? FIncrement : -FIncrement), FMin, FMax);
    UpdateValue();
}

void TSpinControl::QuickSelectMouseDown(int X)
{
    if (!hasFocus())
        setFocus();
    CommitNowIfPending();
    FDragging = true;
    QuickSelectMouseMove(X);
}

void TSpinControl::QuickSelectMouseMove(int X)
{
    if (!FDragging)
        return;
    CommitNowIfPending();
    if (FMax == FMin)
        return;
    int range = FMax - FMin;
    int w = FBar->width();
    if (w <= 0)
        return;
    int step = w / range;
    SetValue(FMin + (step / 2 + X + 1) * range / w);
}

void TSpinControl::QuickSelectMouseUp(int X)
{
    CommitNowIfPending();
    QuickSelectMouseMove(X);
    FDragging = false;
}

void TSpinControl::ShowSliderButtonForm()
{
    if (!hasFocus())
        setFocus();
    if (FMax == FMin)
        return;
    if (!FPopup) {
        FPopup = new TfrmSliderControl(this);
        FPopup->OnValueChange = [this](int v) { SetValue(v); };
    }
    FPopup->resize(FTrackBarWidth + 4, FPopup->height());
    FPopup->ShowForControl(FSliderButton, FMax, FPosition, FMin);
}

void TSpinControl::UpdateSliderButtonForm(QPoint buttonPos)
{
    if (!FPopup || !FPopup->isVisible())
        return;
    QPoint p = FPopup->mapFromGlobal(FSliderButton->mapToGlobal(buttonPos));
    FPopup->FormMouseMove(p.x(), p.y());
}

void TSpinControl::HideSliderButtonForm()
{
    if (!FPopup)
        return;
    if (!hasFocus())
        setFocus();
    delete FPopup;
    FPopup = nullptr;
}
