#pragma once
// The widget side of a language change: the application's reading direction,
// the default and the windows' locale, Qt's own texts answered from the
// dictionary and then from Qt's translations, and the LanguageChange event
// after each change.
#include "Ivlocale.h"

#include <QPointer>
#include <QTranslator>

#include <memory>
#include <mutex>

class QWidget;

// Answers Qt's own texts (dialog buttons, shortcut names) from the default
// dictionary, and what the dictionary does not hold from Qt's own
// translations of the language in force: the program's row wins.
class TIvQtTranslator : public QTranslator {
    Q_OBJECT
public:
    using QTranslator::QTranslator;
    // Qt skips a translator that says it is empty.
    bool isEmpty() const override { return false; }
    QString translate(
        const char* context, const char* sourceText, const char* disambiguation, int n) const override;
    // Loads Qt's translations for the locale `localeName` ("de_CH"); none for
    // English, an empty name or a language Qt has none for.
    void SetQtLanguage(const QString& localeName);

private:
    // Qt asks from its worker threads too (the file list's type names).
    mutable std::mutex FQtMutex;
    std::shared_ptr<const QTranslator> FQtTexts;
    QString FQtLocale;
};

class TIvQtHooks : public TIvApplicationHooks {
public:
    ~TIvQtHooks() override;
    void SetRightToLeft(bool rightToLeft) override;
    void SetLocale(uint32_t lcid) override;
    void InstallResourceTranslator() override;
    void RemoveResourceTranslator() override;
    // Qt's translations follow the language; what Qt sets only once (the
    // tab bars' scroll buttons) is set again; then every window hears of it.
    void LanguageChangeDone() override;
    TIvQtTranslator* GetTranslator() const { return FTranslator; }

private:
    QPointer<TIvQtTranslator> FTranslator;
};

// Installs the process's hooks (once; a QApplication must exist).
void IvInstallQtHooks();

// Sets a control's text to the translation of `text` (its own text when
// empty); with `resize` the control is widened when the new text needs it.
void TranslateWindow(QWidget* window, const std::string& text, bool resize);
