#include "DialogKeys.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

class TEnterFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Watched == parent() && Event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(Event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                return true;
        }
        return false;
    }
};

} // namespace

void DisableDefaultButton(QDialog* Dialog)
{
    Dialog->installEventFilter(new TEnterFilter(Dialog));
}

// ---- typing into a date ----

namespace {

class TDateDigitsFilter : public QObject {
public:
    explicit TDateDigitsFilter(QDateTimeEdit* Edit)
        : QObject(Edit)
        , FEdit(Edit)
    {
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Watched != FEdit || Event->type() != QEvent::KeyPress)
            return false;
        const QString text = static_cast<QKeyEvent*>(Event)->text();
        auto* line = FEdit->findChild<QLineEdit*>();
        if (text.size() != 1 || !text.at(0).isDigit() || !line || line->hasSelectedText())
            return false;
        const QDateTimeEdit::Section part = FEdit->currentSection();
        const bool longYear
            = part == QDateTimeEdit::YearSection && FEdit->displayFormat().contains(QLatin1String("yyyy"));
        if (FEdit->sectionText(part).size() >= (longYear ? 4 : 2))
            FEdit->setSelectedSection(part);
        return false; // the edit takes the digit as usual
    }

private:
    QDateTimeEdit* FEdit;
};

bool PopupMenuOnItsWay = false;

class TPopupMenuKeys : public QObject {
public:
    explicit TPopupMenuKeys(QAbstractItemView* View)
        : QObject(View)
        , FView(View)
    {
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        return Watched == FView && IsPopupMenuKey(Event) && ShowPopupMenuAtCurrentItem(FView);
    }

private:
    QAbstractItemView* FView;
};

} // namespace

void TypeDigitsIntoAnyPart(QDateTimeEdit* Edit)
{
    Edit->installEventFilter(new TDateDigitsFilter(Edit));
}

// ---- pop-up menus from the keyboard ----

bool IsPopupMenuKey(const QEvent* Event)
{
    if (PopupMenuOnItsWay)
        return false;
    if (Event->type() == QEvent::ContextMenu)
        return static_cast<const QContextMenuEvent*>(Event)->reason() == QContextMenuEvent::Keyboard;
    if (Event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(Event);
    return key->key() == Qt::Key_F10 && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier;
}

bool ShowPopupMenuAtCurrentItem(QAbstractItemView* View)
{
    if (PopupMenuOnItsWay)
        return false;
    QWidget* viewport = View->viewport();
    // The menu opens over the current item, brought into view (a right click
    // elsewhere would choose another), or at the top left without one.
    if (View->currentIndex().isValid())
        View->scrollTo(View->currentIndex());
    const QRect item = View->visualRect(View->currentIndex());
    const QPoint at = item.isValid() && viewport->rect().intersects(item) ? item.center() : QPoint(0, 0);
    // Sent to the viewport, where a click lands: a view that takes no menu
    // itself passes it to its parent, as for a right click.
    QContextMenuEvent request(QContextMenuEvent::Keyboard, at, viewport->mapToGlobal(at));
    PopupMenuOnItsWay = true;
    struct Done {
        ~Done() { PopupMenuOnItsWay = false; }
    } done;
    QCoreApplication::sendEvent(viewport, &request);
    return true;
}

void AddPopupMenuKeys(QAbstractItemView* View)
{
    View->installEventFilter(new TPopupMenuKeys(View));
}
