#pragma once
// Qt's own dialogs (file, colour, font, print, page setup and the message
// box) in the program's language. Their texts come from Qt's translation
// call, which the dictionary's Qt translator answers; IvQtNativeText maps
// Qt's source texts onto the program's English texts, so one dictionary row
// serves both. The module makes Qt use its own dialogs (the desktop's native
// ones cannot be translated) and, when a file dialog is shown, gives it the
// translated "Open" or "Save As" when it has no title of its own, the
// program's labels for its folder, name and type boxes (with their buddies,
// so their accelerators work) and dates in the language's format.
//
// The window-system mechanics of hooking the operating system's dialogs
// (replacing their message hooks, subclassing, enumerating child windows by
// numeric identifier, the tool-tip request, guarding the save button's
// caption) have no counterpart here: Qt's dialogs are widgets that ask for
// their texts.
#include "Ivconmod.h"

#include <QObject>
#include <QPointer>

#include <string>
#include <vector>

class QWidget;

class TIvDialogModule : public QObject, public TIvModule {
    Q_OBJECT
public:
    explicit TIvDialogModule(QObject* owner = nullptr);
    ~TIvDialogModule() override;

    // Registers Qt's dialog classes and those of the dialogs that `owner`
    // holds, and turns the desktop's native dialogs off.
    void Loaded();
    // False for no class, a class that is not a dialog, or one registered already.
    bool AddDialogClass(const QMetaObject* dialogClass);
    // False when the class is not registered.
    bool RemoveDialogClass(const QMetaObject* dialogClass);
    bool IsRegistered(const QMetaObject* dialogClass) const;
    // Translates what Qt leaves to the program: the default title, the labels, the dates.
    void TranslateDialog(QWidget* dialog);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QMetaObject* RegisteredClassOf(const QObject* object) const;
    std::vector<const QMetaObject*> FClasses;
    bool FFiltering = false;
};

// The program's English text for one of Qt's own texts, or `sourceText`
// itself when the two agree.
std::string IvQtNativeText(const char* context, const char* sourceText);
// Every English text of Qt's dialogs and boxes that the program shows, for
// the dictionary's checks.
std::vector<std::string> IvQtNativeTexts();
