#include "WrappedText.h"

#include <QScreen>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <memory>

WrappedText::WrappedText(QWidget* parent)
    : QTextEdit(parent)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::ClickFocus);
    setTabChangesFocus(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document()->setDocumentMargin(0);
    // The window's background, as behind a label.
    viewport()->setAutoFillBackground(false);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void WrappedText::setText(const QString& text)
{
    setPlainText(text);
    updateGeometry(); // the window fits itself to the new text, as to a label's
}

int WrappedText::heightForWidth(int width) const
{
    // Measured on a copy: laying out the shown text would move its view.
    const std::unique_ptr<QTextDocument> copy(document()->clone());
    copy->setTextWidth(std::max(width - 2 * frameWidth(), 1));
    return static_cast<int>(std::ceil(copy->size().height())) + 2 * frameWidth();
}

QSize WrappedText::sizeHint() const
{
    const std::unique_ptr<QTextDocument> copy(document()->clone());
    copy->setTextWidth(-1);
    const int widest = std::min(screen()->availableGeometry().width() / 2, 500);
    const int width = std::min(static_cast<int>(std::ceil(copy->idealWidth())), widest) + 2 * frameWidth();
    return { width, heightForWidth(width) };
}
