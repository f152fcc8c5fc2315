#pragma once
// The editors and validators of grid cells.
#include <QLineEdit>
#include <QValidator>

class QToolButton;

// A text cell with a "..." button at its right end; Ctrl+Enter presses it too.
class TEllipsisEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TEllipsisEdit(QWidget* Parent = nullptr);
    QToolButton* Button() const { return FButton; }

signals:
    void ButtonClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QToolButton* FButton;
};

// The validator for a class library edit mask ("09;0; ", "!099;0; "). The
// mask's `0` is a required digit and `9` an optional one (Qt's input masks
// have them the other way round); `#` an optional digit or sign, `L`/`l` a
// required/optional letter, `A`/`a` a letter or digit, `C`/`c` any character;
// `!`, `>` and `<` are ignored, `\` takes the next character literally, and
// every other character stands for itself. Only the first section counts.
QValidator* EditMaskValidator(const QString& Mask, QObject* Parent = nullptr);
