#pragma once
// Key handling shared by the editor windows.
class QDialog;

// Enter that no control of `Dialog` took presses no button. Qt would click
// the dialog's default button, which without one set is its first button
// ("Set All ON", "Clear ALL Zone Text"), not an OK. A focused button still
// takes Enter itself.
void DisableDefaultButton(QDialog* Dialog);
