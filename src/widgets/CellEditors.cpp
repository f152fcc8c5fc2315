#include "CellEditors.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>

TEllipsisEdit::TEllipsisEdit(QWidget* Parent)
    : QLineEdit(Parent)
    , FButton(new QToolButton(this))
{
    FButton->setText(QStringLiteral("..."));
    FButton->setAccessibleName(QStringLiteral("..."));
    FButton->setFocusPolicy(Qt::NoFocus); // the cell keeps the keyboard
    FButton->setCursor(Qt::ArrowCursor);
    connect(FButton, &QToolButton::clicked, this, &TEllipsisEdit::ButtonClicked);
}

void TEllipsisEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    const int w = qMin(height(), width() / 2);
    FButton->setGeometry(width() - w, 0, w, height());
    setTextMargins(0, 0, w, 0);
}

void TEllipsisEdit::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & Qt::ControlModifier)) {
        emit ButtonClicked();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

QValidator* EditMaskValidator(const QString& Mask, QObject* Parent)
{
    const QString mask = Mask.section(QLatin1Char(';'), 0, 0);
    QString pattern;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        switch (c.unicode()) {
        case '!':
        case '>':
        case '<':
            break;
        case '\\':
            if (i + 1 < mask.size())
                pattern += QRegularExpression::escape(QString(mask[++i]));
            break;
        case '0':
            pattern += QStringLiteral("\\d");
            break;
        case '9':
            pattern += QStringLiteral("\\d?");
            break;
        case '#':
            pattern += QStringLiteral("[\\d+-]?");
            break;
        case 'L':
            pattern += QStringLiteral("\\p{L}");
            break;
        case 'l':
            pattern += QStringLiteral("\\p{L}?");
            break;
        case 'A':
            pattern += QStringLiteral("[\\p{L}\\d]");
            break;
        case 'a':
            pattern += QStringLiteral("[\\p{L}\\d]?");
            break;
        case 'C':
            pattern += QStringLiteral(".");
            break;
        case 'c':
            pattern += QStringLiteral(".?");
            break;
        default:
            pattern += QRegularExpression::escape(QString(c));
            break;
        }
    }
    return new QRegularExpressionValidator(QRegularExpression(pattern), Parent);
}
