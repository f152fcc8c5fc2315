#include "GuiDictionary.h"
#include "Ivqthooks.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QTranslator>

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

// Qt's own translations of the language in force answer what the dictionary
// does not hold; the dictionary's row wins; English has none.
TEST(QtHooks, QtsOwnTextsFollowTheLanguageBehindTheDictionary)
{
    IvInstallQtHooks();
    const auto qt = [](const char* source) { return QCoreApplication::translate("QFileDialog", source); };
    const auto qtOwn = [](const char* language, const char* source) {
        QTranslator t;
        EXPECT_TRUE(t.load(QLocale(QString::fromLatin1(language)), "qtbase", "_",
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        return t.translate("QFileDialog", source);
    };
    {
        GuiDictionary g;
        g.D.Rows[German].push_back(Row("New Folder", "Ordner neu"));
        EXPECT_EQ(qt("Create New Folder"), "Create New Folder");
        g.D.SetLanguage(German);
        EXPECT_EQ(qt("New Folder"), "Ordner neu");
        EXPECT_NE(qtOwn("de_DE", "Create New Folder"), "");
        EXPECT_EQ(qt("Create New Folder"), qtOwn("de_DE", "Create New Folder"));
        g.D.SetLanguage(French);
        EXPECT_EQ(qt("New Folder"), qtOwn("fr_FR", "New Folder"));
        EXPECT_NE(qt("New Folder"), "New Folder");
        g.D.SetLanguage(English);
        EXPECT_EQ(qt("New Folder"), "New Folder");
        EXPECT_EQ(qt("Create New Folder"), "Create New Folder");
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
