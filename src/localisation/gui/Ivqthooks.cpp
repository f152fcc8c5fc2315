#include "Ivqthooks.h"

#include "Ivdlgmod.h"
#include "Nls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

QString TIvQtTranslator::translate(const char* context, const char* sourceText, const char*, int) const
{
    // Per thread: a lookup that itself asks Qt for a text is not answered again.
    thread_local bool busy = false;
    TIvDictionary* d = GetDefaultDictionary();
    if (busy || !d || !d->IsOpen() || !sourceText || !*sourceText)
        return {};
    busy = true;
    std::string translation;
    bool found = false;
    try {
        // Qt's English and the program's differ for a few dialog texts.
        const std::string native = IvQtNativeText(context, sourceText);
        if (d->GetContextType() != 0)
            found = d->TranslateContextString(native, "", context ? context : "", translation);
        if (!found)
            found = d->TranslateString(native, translation);
    } catch (...) {
        found = false; // Qt keeps its own text
    }
    busy = false;
    return found && !translation.empty() ? QString::fromStdString(translation) : QString();
}

TIvQtHooks::~TIvQtHooks()
{
    RemoveResourceTranslator();
}

void TIvQtHooks::SetRightToLeft(bool rightToLeft)
{
    QGuiApplication::setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

void TIvQtHooks::SetLocale(uint32_t lcid)
{
    std::string name = platform::CurrentNls().LocaleName(lcid);
    if (name.empty())
        return;
    QLocale locale(QString::fromStdString(name));
    QLocale::setDefault(locale);
    for (QWidget* w : QApplication::topLevelWidgets())
        w->setLocale(locale);
}

void TIvQtHooks::InstallResourceTranslator()
{
    if (FTranslator || !QCoreApplication::instance())
        return;
    FTranslator = new TIvQtTranslator(QCoreApplication::instance());
    QCoreApplication::installTranslator(FTranslator);
}

void TIvQtHooks::RemoveResourceTranslator()
{
    if (!FTranslator)
        return;
    QCoreApplication::removeTranslator(FTranslator);
    delete FTranslator.data();
}

void TIvQtHooks::LanguageChangeDone()
{
    if (QCoreApplication::instance())
        QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::LanguageChange));
}

void IvInstallQtHooks()
{
    static TIvQtHooks hooks;
    IvSetApplicationHooks(&hooks);
}

namespace {

QString TextOf(QWidget* w)
{
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    return w->windowTitle();
}

void SetTextOf(QWidget* w, const QString& text)
{
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(text);
    else if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(text);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(text);
    else
        w->setWindowTitle(text);
}

} // namespace

void TranslateWindow(QWidget* window, const std::string& text, bool resize)
{
    if (!window)
        return;
    // The whole text: a long caption is not cut.
    std::string native = text.empty() ? TextOf(window).toStdString() : text;
    QString translated = QString::fromStdString(Translate(native));
    SetTextOf(window, translated);
    if (!resize)
        return;
    int width = QFontMetrics(QApplication::font()).horizontalAdvance(translated);
    if (qobject_cast<QCheckBox*>(window) || qobject_cast<QRadioButton*>(window))
        width += 20;
    if (window->width() < width)
        window->resize(width, window->height());
}
