#pragma once
// The widget side of a language change: the application's reading direction,
// the default and the windows' locale, Qt's own texts answered from the
// dictionary, and the LanguageChange event after each change.
#include "Ivlocale.h"

#include <QPointer>
#include <QTranslator>

class QWidget;

// Answers Qt's own texts (dialog buttons, shortcut names) from the default dictionary.
class TIvQtTranslator : public QTranslator {
    Q_OBJECT
public:
    using QTranslator::QTranslator;
    // Qt skips a translator that says it is empty.
    bool isEmpty() const override { return false; }
    QString translate(
        const char* context, const char* sourceText, const char* disambiguation, int n) const override;
};

class TIvQtHooks : public TIvApplicationHooks {
public:
    ~TIvQtHooks() override;
    void SetRightToLeft(bool rightToLeft) override;
    void SetLocale(uint32_t lcid) override;
    void InstallResourceTranslator() override;
    void RemoveResourceTranslator() override;
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
