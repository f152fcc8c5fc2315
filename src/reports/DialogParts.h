#pragma once
// Parts the print windows share.
#include <QString>

class QBoxLayout;
class QDialog;
class QPushButton;

namespace report {

struct TOkCancel {
    QPushButton* OK;
    QPushButton* Cancel;
};
// "OK" (the default button) and "Cancel" at the right of a row added to
// `layout`; Cancel rejects the dialog, OK is the caller's to connect.
TOkCancel AddOkCancel(QDialog* dialog, QBoxLayout* layout);

} // namespace report
