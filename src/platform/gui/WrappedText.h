#pragma once
// A text shown as a label shows it, wrapped at blanks, after "/" and "-", and
// inside a word too wide for a line (a long device path), so that no text
// widens its window past the screen. The user may select and copy it: what
// is copied is the text itself.
#include <QTextEdit>

class WrappedText : public QTextEdit {
public:
    explicit WrappedText(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return toPlainText(); }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    // As wide as the text's longest line, up to half the screen (500 pixels
    // at most, as a message box's label).
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
};
