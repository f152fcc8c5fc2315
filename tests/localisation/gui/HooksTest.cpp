#include "GuiDictionary.h"
#include "Ivqthooks.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

// Counts the LanguageChange events that reach a window.
struct Watcher : QLabel {
    int Changes = 0;
    void changeEvent(QEvent* e) override
    {
        if (e->type() == QEvent::LanguageChange)
            ++Changes;
        QLabel::changeEvent(e);
    }
};

} // namespace

TEST(QtHooks, DirectionLocaleQtTextsAndTheChangeEvent)
{
    IvInstallQtHooks();
    Watcher window;
    {
        GuiDictionary g;
        g.Nls.Add(0x0401, "ar_SA", "ar", "SA", "Arabic", "Saudi Arabia", "Arabic", 1256);
        // Qt's own texts are answered from the dictionary while it is open.
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), g.Tr(English, "Cancel"));
        g.D.SetLanguage(German);
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), g.Tr(German, "Cancel"));
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Unknown"), "Unknown");
        EXPECT_EQ(QLocale().name(), "de_DE");
        EXPECT_EQ(window.locale().name(), "de_DE");
        QCoreApplication::processEvents();
        int changes = window.Changes;
        EXPECT_GE(changes, 1);
        g.D.SetLanguage(Arabic);
        EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::RightToLeft);
        EXPECT_EQ(QLocale().name(), "ar_SA");
        QCoreApplication::processEvents();
        EXPECT_GT(window.Changes, changes);
        g.D.SetLanguage(French);
        EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
        g.D.Close(); // the dictionary's texts go with it
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    }
    IvSetApplicationHooks(nullptr);
    QLocale::setDefault(QLocale::c());
}

TEST(QtHooks, TranslateWindowUsesTheWholeTextAndWidens)
{
    GuiDictionary g;
    g.D.SetLanguage(German);
    QCheckBox box("Opens a file");
    box.resize(10, 20);
    TranslateWindow(&box, "", true);
    EXPECT_EQ(box.text(), g.Tr(German, "Opens a file"));
    int needed = QFontMetrics(QApplication::font()).horizontalAdvance(box.text()) + 20;
    EXPECT_EQ(box.width(), needed);
    EXPECT_EQ(box.height(), 20);
    QLabel label;
    std::string longText(400, 'x');
    TranslateWindow(&label, longText, false);
    EXPECT_EQ(label.text().size(), 400);
    EXPECT_EQ(label.width(), QLabel().width());
}
