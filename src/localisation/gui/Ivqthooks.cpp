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
#include <QLibraryInfo>
#include <QRadioButton>
#include <QTabBar>
#include <QThread>
#include <QToolButton>
#include <QWidget>

QString TIvQtTranslator::translate(
    const char* context, const char* sourceText, const char* disambiguation, int n) const
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
    if (found && !translation.empty())
        return QString::fromStdString(translation);
    std::shared_ptr<const QTranslator> qt;
    {
        std::lock_guard lock(FQtMutex);
        qt = FQtTexts;
    }
    return qt ? qt->translate(context, sourceText, disambiguation, n) : QString();
}

void TIvQtTranslator::SetQtLanguage(const QString& localeName)
{
    if (localeName == FQtLocale)
        return;
    FQtLocale = localeName;
    std::shared_ptr<QTranslator> texts;
    const QLocale locale(localeName);
    if (!localeName.isEmpty() && locale.language() != QLocale::English && locale.language() != QLocale::C) {
        // A worker may hold the last reference: the translator goes on its own thread.
        texts.reset(new QTranslator, [](QTranslator* t) {
            if (t->thread() == QThread::currentThread())
                delete t;
            else
                t->deleteLater();
        });
        if (!texts->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            texts.reset();
    }
    std::lock_guard lock(FQtMutex);
    FQtTexts = std::move(texts);
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
    if (!QCoreApplication::instance())
        return;
    if (FTranslator) {
        TIvDictionary* d = GetDefaultDictionary();
        FTranslator->SetQtLanguage(d && d->IsOpen()
                ? QString::fromStdString(
                    platform::CurrentNls().LocaleName(d->GetCurrentLanguage()->GetActiveLocale()))
                : QString());
    }
    // Qt names the scroll buttons when it makes a tab bar and never again.
    for (QWidget* w : QApplication::allWidgets())
        if (auto* bar = qobject_cast<QTabBar*>(w))
            for (auto [name, text] : { std::pair { "ScrollLeftButton", "Scroll Left" },
                     std::pair { "ScrollRightButton", "Scroll Right" } })
                if (auto* b = bar->findChild<QToolButton*>(QLatin1String(name), Qt::FindDirectChildrenOnly))
                    b->setAccessibleName(QTabBar::tr(text));
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
