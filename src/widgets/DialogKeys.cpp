#include "DialogKeys.h"

#include <QDialog>
#include <QKeyEvent>

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
