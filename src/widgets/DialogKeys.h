#pragma once
// Key handling shared by the editor windows.
class QDialog;

// Enter that no control of `Dialog` took presses no button. Qt would click
// the dialog's default button, which without one set is its first button
// ("Set All ON", "Clear ALL Zone Text"), not an OK. A focused button still
// takes Enter itself.
void DisableDefaultButton(QDialog* Dialog);

class QAbstractItemView;
class QDateTimeEdit;
class QEvent;

// Digits typed into a part of the date that is already full (the day the
// user clicked into) replace that part, as after Tab into it; Qt would refuse
// a third digit and ignore the typing.
void TypeDigitsIntoAnyPart(QDateTimeEdit* Edit);

// Whether `Event` asks for a pop-up menu from the keyboard: Shift+F10, or
// the Menu key (which the system turns into a context menu event).
bool IsPopupMenuKey(const QEvent* Event);
// Opens the view's pop-up menu for its current item, as a right click on
// that item does (false while such a request is already on its way).
bool ShowPopupMenuAtCurrentItem(QAbstractItemView* View);
// Shift+F10 and the Menu key open the view's pop-up menu at its current item.
void AddPopupMenuKeys(QAbstractItemView* View);
