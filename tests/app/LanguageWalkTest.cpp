// Every text on screen follows each change of language: the program's
// windows, the widgets Qt makes inside them (the tab bars' scroll buttons)
// and Qt's file dialogs as the program opens them, read after English ->
// German -> French -> English.
#include "Ivcustdic.h"
#include "Ivqthooks.h"
#include "ProgramWindows.h"
#include "PX10VersionInfo.h"
#include "QtPrompts.h"
#include "Settings.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <mutex>
#include <set>

namespace {

// Where a text is shown -> the text. Places are paths of class and object
// names up to the window read, so a file dialog opened again is the same place.
using Screen = std::map<QString, QString>;

QString PlaceOf(const QObject* o, const QObject* window)
{
    QString path;
    for (; o && o != window->parent(); o = o->parent()) {
        int index = 0;
        if (o->parent())
            for (const QObject* sibling : o->parent()->children()) {
                if (sibling == o)
                    break;
                if (sibling->metaObject() == o->metaObject() && sibling->objectName() == o->objectName())
                    ++index;
            }
        path.prepend(
            QStringLiteral("/%1:%2#%3").arg(o->metaObject()->className(), o->objectName()).arg(index));
    }
    return path;
}

struct Reader {
    Screen& Texts;
    const QObject* Window;
    QString Prefix; // the action that opened one of Qt's dialogs; empty for our windows

    // Accelerators left out: Qt marks its buttons' one only after a while.
    void Note(const QObject* o, const QString& what, const QString& text)
    {
        if (!text.trimmed().isEmpty())
            Texts[Prefix + PlaceOf(o, Window) + QLatin1Char('.') + what]
                = QString(text).remove(QLatin1Char('&'));
    }
    void Model(const QAbstractItemView* view);
    void Read(const QObject* root);
};

void Reader::Model(const QAbstractItemView* view)
{
    const QAbstractItemModel* model = view->model();
    if (!model)
        return;
    for (int c = 0; c < model->columnCount(view->rootIndex()); ++c) {
        Note(view, QStringLiteral("heading%1").arg(c), model->headerData(c, Qt::Horizontal).toString());
        for (int r = 0; r < std::min(model->rowCount(view->rootIndex()), 40); ++r)
            Note(view, QStringLiteral("cell%1,%2").arg(r).arg(c),
                model->index(r, c, view->rootIndex()).data().toString());
    }
}

// Every text that `root` and what it holds show, data controls left out.
void Reader::Read(const QObject* root)
{
    if (IvIsDataControl(root))
        return;
    if (auto* w = qobject_cast<const QWidget*>(root)) {
        if (w->isWindow())
            Note(w, "title", w->windowTitle());
        Note(w, "tip", w->toolTip());
        // What a screen reader says: the names of our controls and of those Qt makes.
        Note(w, "name", w->accessibleName());
    }
    if (auto* b = qobject_cast<const QAbstractButton*>(root))
        Note(b, "text", b->text());
    if (auto* l = qobject_cast<const QLabel*>(root)) {
        Note(l, "text", l->text());
        // Only a label with a buddy shows an accelerator; without one the "&" shows.
        if (!l->buddy()
            && QString(l->text()).remove(QLatin1String("&&")).contains(QRegularExpression("&\\S")))
            ADD_FAILURE() << (Prefix + PlaceOf(l, Window)).toStdString() << " shows \""
                          << l->text().toStdString() << "\"";
    }
    if (auto* g = qobject_cast<const QGroupBox*>(root))
        Note(g, "text", g->title());
    if (auto* m = qobject_cast<const QPlainTextEdit*>(root))
        Note(m, "text", m->toPlainText());
    if (auto* a = qobject_cast<const QAction*>(root)) {
        Note(a, "text", a->text());
        Note(a, "tip", a->toolTip());
    }
    if (auto* t = qobject_cast<const QTabBar*>(root))
        for (int i = 0; i < t->count(); ++i)
            Note(t, QStringLiteral("tab%1").arg(i), t->tabText(i));
    if (auto* c = qobject_cast<const QComboBox*>(root); c && !c->isEditable())
        for (int i = 0; i < c->count(); ++i)
            Note(c, QStringLiteral("item%1").arg(i), c->itemText(i));
    if (auto* v = qobject_cast<const QAbstractItemView*>(root))
        Model(v);
    for (const QObject* child : root->children())
        Read(child);
}

// The texts of the language in force, from the dictionary's rows, without
// their accelerators.
std::set<QString> TextsInForce(TIvCustomDictionary& d)
{
    std::set<QString> out;
    for (int i = 0; i < d.GetTranslationCount(); ++i)
        out.insert(QString::fromStdString(d.GetTranslation(i)->Translation).remove(QLatin1Char('&')));
    return out;
}

// What Qt asks the translators for; answers nothing, so the others are asked too.
struct AskedTexts : QTranslator {
    struct Ask {
        std::string Context, Source, Disambiguation;
        int N;
        auto operator<=>(const Ask&) const = default;
    };
    bool isEmpty() const override { return false; }
    QString translate(
        const char* context, const char* source, const char* disambiguation, int n) const override
    {
        // Qt asks from its worker threads too (the file list's type names).
        std::lock_guard lock(Mutex);
        Asked.insert(
            { context ? context : "", source ? source : "", disambiguation ? disambiguation : "", n });
        return {};
    }
    mutable std::mutex Mutex;
    mutable std::set<Ask> Asked;
};

struct LanguageWalk : ::testing::Test {
    QTemporaryDir Dir; // the current folder, which the file dialogs list
    QTemporaryDir SettingsDir;
    QString OldFolder = QDir::currentPath();
    platform::QtPrompts Prompts { "PX1x/2x" };
    platform::Prompts* OldPrompts = platform::SetPrompts(&Prompts);
    std::unique_ptr<ProgramWindows> Windows;

    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsDir.path());
        ASSERT_TRUE(QFile::copy(PX10_DICTIONARY_FILE, Dir.filePath("PX10Tool.mld")));
        QDir::setCurrent(Dir.path());
        TPX10ConfigData(false, false, true, false).SaveToFile(Dir.filePath("site.UDF").toStdString());
    }
    void Start(int language)
    {
        Windows.reset();
        platform::ProgramSettings()->setValue("V" PX10_VERSION_PRODUCT_VERSION "/UILanguage", language);
        Windows = std::make_unique<ProgramWindows>();
        ASSERT_EQ(Dictionary().GetActiveLanguageIndex(), language);
    }
    void TearDown() override
    {
        Windows.reset();
        platform::SetPrompts(OldPrompts);
        QDir::setCurrent(OldFolder);
    }
    TIvCustomDictionary& Dictionary() { return *Windows->Dictionary(); }
    void Choose(int language)
    {
        Windows->ChooseLanguage(language);
        ASSERT_EQ(Dictionary().GetActiveLanguageIndex(), language);
    }
    // Opens a file dialog through `action` and reads it once its list is filled.
    void ReadFileDialog(Screen& screen, QAction* action)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) { // a question instead: answered, so the test ends
                if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                    other->reject();
                return;
            }
            seen = true;
            QElapsedTimer waited;
            waited.start();
            auto* list = dialog->findChild<QAbstractItemView*>("listView");
            while (list && list->model()->rowCount(list->rootIndex()) == 0 && waited.elapsed() < 5000)
                QApplication::processEvents(QEventLoop::AllEvents, 50);
            Reader { screen, dialog, action->objectName() }.Read(dialog);
            dialog->reject();
        });
        action->trigger();
        EXPECT_TRUE(seen) << action->objectName().toStdString();
    }
    Screen ReadEverything()
    {
        Screen screen;
        // The splash shows only while the program starts, before any change.
        for (QWidget* top : QApplication::topLevelWidgets())
            if (!top->parent() && !qobject_cast<QFileDialog*>(top) && !qobject_cast<TfrmSplashScreen*>(top))
                Reader { screen, top, {} }.Read(top);
        ReadFileDialog(screen, Windows->Main->FileOpen);
        ReadFileDialog(screen, Windows->Main->FileSaveAs);
        return screen;
    }
};

} // namespace

TEST_F(LanguageWalk, EachChangeReachesEveryTextOfEveryWindowAndOfQtsDialogs)
{
    // What a program started in English shows; then one started in German,
    // whose windows and Qt's widgets in them are all made in German.
    Start(English);
    const Screen english = ReadEverything();
    Start(German);
    std::vector<std::pair<int, Screen>> steps;
    std::set<QString> earlierTexts;
    for (int language : { English, German, French, English }) {
        SCOPED_TRACE(language);
        Choose(language);
        Screen now = ReadEverything();
        ASSERT_GT(now.size(), 500u);
        // Texts of the languages chosen before, which this one does not use.
        const std::set<QString> own = TextsInForce(Dictionary());
        std::set<QString> foreign;
        std::set_difference(earlierTexts.begin(), earlierTexts.end(), own.begin(), own.end(),
            std::inserter(foreign, foreign.end()));
        earlierTexts.insert(own.begin(), own.end());
        for (const auto& [place, text] : now) {
            EXPECT_FALSE(foreign.count(text))
                << place.toStdString() << " shows \"" << text.toStdString() << "\"";
            // A text of Qt's own that the dictionary does not hold stays
            // where it was only when it is the English one.
            for (const auto& [earlier, screen] : steps) {
                auto was = screen.find(place);
                if (earlier == language || was == screen.end() || was->second != text || own.count(text))
                    continue;
                auto first = english.find(place);
                EXPECT_TRUE(first != english.end() && first->second == text)
                    << place.toStdString() << " keeps \"" << text.toStdString() << "\"";
            }
        }
        // In English, every place shows what a program started in English shows.
        if (language == English)
            for (const auto& [place, text] : english) {
                auto shown = now.find(place);
                EXPECT_TRUE(shown != now.end() && shown->second == text)
                    << place.toStdString() << ": \"" << text.toStdString() << "\", shown \""
                    << (shown != now.end() ? shown->second.toStdString() : "") << "\"";
            }
        steps.emplace_back(language, std::move(now));
    }
    // The file list's dates are written as the language in force writes them.
    const QString date
        = QStringLiteral("FileOpen/QFileDialog:QFileDialog#0/QSplitter:splitter#0/QFrame:frame#0/"
                         "QStackedWidget:stackedWidget#0/QWidget:page_2#0/QTreeView:treeView#0.cell0,3");
    const QDateTime modified = QFileInfo(Dir.filePath("site.UDF")).lastModified();
    EXPECT_EQ(steps[1].second.at(date).toStdString(),
        QLocale("de_DE").toString(modified, QLocale::ShortFormat).toStdString());
    // The file dialogs name their folder and type boxes as the program does.
    const Screen& last = steps.back().second;
    const QString labels = QStringLiteral("/QFileDialog:QFileDialog#0/QLabel:%1#0.text");
    EXPECT_EQ(last.at("FileOpen" + labels.arg("lookInLabel")), "Look in:");
    EXPECT_EQ(last.at("FileOpen" + labels.arg("fileTypeLabel")), "Files of type:");
    EXPECT_EQ(last.at("FileSaveAs" + labels.arg("lookInLabel")), "Save in:");
    EXPECT_EQ(last.at("FileSaveAs" + labels.arg("fileTypeLabel")), "Save as type:");
}

// Where Qt's own translations of a full language lack a text that Qt's file
// dialogs (a folder listed in them) or message boxes show, the dictionary
// has it: no text of theirs stays English.
TEST_F(LanguageWalk, QtsDialogsAndBoxesHaveEveryTextTranslatedInEveryFullLanguage)
{
    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder"));
    Start(English);
    AskedTexts asked;
    QCoreApplication::installTranslator(&asked); // asked before the program's own
    for (QAction* action : { Windows->Main->FileOpen, Windows->Main->FileSaveAs }) {
        bool listed = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* files = dialog->findChild<QAbstractItemView*>("treeView");
            ASSERT_NE(files, nullptr);
            QElapsedTimer waited;
            waited.start();
            // The type names come last, from a worker thread.
            while (!listed && waited.elapsed() < 5000) {
                QApplication::processEvents(QEventLoop::AllEvents, 50);
                const QAbstractItemModel* model = files->model();
                listed = model->rowCount(files->rootIndex()) >= 2; // the folder and site.UDF
                for (int r = 0; r < model->rowCount(files->rootIndex()); ++r)
                    listed = listed && !model->index(r, 2, files->rootIndex()).data().toString().isEmpty();
            }
            dialog->reject();
        });
        action->trigger();
        EXPECT_TRUE(listed) << action->objectName().toStdString();
    }
    using namespace platform;
    for (MsgDlgType type : { MsgDlgType::mtWarning, MsgDlgType::mtError, MsgDlgType::mtInformation,
             MsgDlgType::mtConfirmation }) {
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        Prompts.MessageDlg("?", type,
            mbYes | mbNo | mbOK | mbCancel | mbAbort | mbRetry | mbIgnore | mbNoToAll | mbYesToAll | mbHelp);
    }
    QCoreApplication::removeTranslator(&asked);
    ASSERT_GT(asked.Asked.size(), 30u);

    auto* translator = QCoreApplication::instance()->findChild<TIvQtTranslator*>();
    ASSERT_NE(translator, nullptr);
    for (int language = English + 1; language <= German; ++language) {
        Choose(language);
        for (const AskedTexts::Ask& a : asked.Asked)
            EXPECT_FALSE(translator
                             ->translate(a.Context.c_str(), a.Source.c_str(),
                                 a.Disambiguation.empty() ? nullptr : a.Disambiguation.c_str(), a.N)
                             .isEmpty())
                << "language " << language << ": " << a.Context << " \"" << a.Source << "\"";
    }
}
