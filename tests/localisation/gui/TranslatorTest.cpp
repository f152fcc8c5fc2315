#include "GuiDictionary.h"
#include "Ivmulti.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

TIvTargetProperties WindowTargets()
{
    TIvTargetProperties t;
    for (const char* name : { "Caption", "Hint", "Items", "Tabs", "Cells" })
        t.Add("", name);
    t.Add("QPlainTextEdit", "Text");
    return t;
}

// A main window with one control of every kind the translator knows.
struct TestWindow {
    TestWindow()
    {
        Window->setObjectName("frmTest");
        Window->setWindowTitle("Window");
        auto* central = new QWidget;
        auto* layout = new QVBoxLayout(central);
        Label = new QLabel("Gift");
        Label->setObjectName("lblGift");
        Label->setToolTip("Opens a file");
        Label->setStatusTip("Opens a file");
        Button = new QPushButton("Poison");
        Check = new QCheckBox("Red");
        Group = new QGroupBox("Options");
        Combo = new QComboBox;
        Combo->addItems({ "Red", "Green" });
        Combo->setCurrentIndex(1);
        List = new QListWidget;
        for (const char* text : { "Red", "Green", "Zone" }) {
            auto* item = new QListWidgetItem(text, List);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
        List->setSelectionMode(QAbstractItemView::MultiSelection);
        List->item(0)->setCheckState(Qt::Checked);
        List->item(2)->setSelected(true);
        List->setCurrentRow(2, QItemSelectionModel::NoUpdate);
        Tabs = new QTabWidget;
        auto* main = new QWidget;
        Tabs->addTab(main, "Main");
        PageTwo = new QWidget;
        auto* pageLayout = new QVBoxLayout(PageTwo);
        PageCombo = new QComboBox;
        PageCombo->addItems({ "Sensor", "Zone" });
        HiddenCombo = new QComboBox;
        HiddenCombo->addItems({ "Red" });
        HiddenCombo->hide();
        pageLayout->addWidget(PageCombo);
        pageLayout->addWidget(HiddenCombo);
        Tabs->addTab(PageTwo, "Extra");
        Memo = new QPlainTextEdit("First line\nSecond line\n");
        Data = new QPlainTextEdit("Open\nRed");
        IvSetDataControl(Data);
        for (QWidget* w :
            std::initializer_list<QWidget*> { Label, Button, Check, Group, Combo, List, Tabs, Memo, Data })
            layout->addWidget(w);
        Window->setCentralWidget(central);
        FileMenu = Window->menuBar()->addMenu("&File");
        OpenAction = FileMenu->addAction("&Open");
        OpenAction->setStatusTip("Opens a file");
        Window->addToolBar("Tools")->addAction(OpenAction);
        Translator = new TIvTranslator(Window.get());
        Translator->SetTargets(WindowTargets());
    }

    void ExpectIn(const GuiDictionary& g, TestLanguage l) const
    {
        EXPECT_EQ(Window->windowTitle(), g.Tr(l, "Window"));
        EXPECT_EQ(Label->text(), g.Tr(l, "Gift"));
        EXPECT_EQ(Label->toolTip(), g.Tr(l, "Opens a file"));
        EXPECT_EQ(Label->statusTip(), g.Tr(l, "Opens a file"));
        EXPECT_EQ(Button->text(), g.Tr(l, "Poison"));
        EXPECT_EQ(Check->text(), g.Tr(l, "Red"));
        EXPECT_EQ(Group->title(), g.Tr(l, "Options"));
        EXPECT_EQ(Combo->itemText(0), g.Tr(l, "Red"));
        EXPECT_EQ(Combo->itemText(1), g.Tr(l, "Green"));
        EXPECT_EQ(Combo->currentIndex(), 1);
        EXPECT_EQ(List->item(2)->text(), g.Tr(l, "Zone"));
        EXPECT_EQ(List->item(0)->checkState(), Qt::Checked);
        EXPECT_EQ(List->item(1)->checkState(), Qt::Unchecked);
        EXPECT_TRUE(List->item(2)->isSelected());
        EXPECT_FALSE(List->item(0)->isSelected());
        EXPECT_EQ(List->currentRow(), 2);
        EXPECT_EQ(Tabs->tabText(0), g.Tr(l, "Main"));
        EXPECT_EQ(Tabs->tabText(1), g.Tr(l, "Extra"));
        EXPECT_EQ(PageCombo->itemText(0), g.Tr(l, "Sensor"));
        EXPECT_EQ(HiddenCombo->itemText(0), "Red"); // hidden: kept
        // Written back without its final line break.
        QString memo = Memo->toPlainText();
        EXPECT_EQ(memo.endsWith('\n') ? memo.chopped(1) : memo, g.Tr(l, "First line\nSecond line"));
        EXPECT_EQ(Data->toPlainText(), "Open\nRed"); // data: never
        EXPECT_EQ(OpenAction->text().remove('&'), g.Tr(l, "Open"));
        EXPECT_EQ(OpenAction->statusTip(), g.Tr(l, "Opens a file"));
        QString file = l == English ? "&File" : l == German ? "&Datei" : "Fichier";
        EXPECT_EQ(FileMenu->title(), file);
    }

    std::unique_ptr<QMainWindow> Window = std::make_unique<QMainWindow>();
    QLabel* Label;
    QPushButton* Button;
    QCheckBox* Check;
    QGroupBox* Group;
    QComboBox* Combo;
    QListWidget* List;
    QTabWidget* Tabs;
    QWidget* PageTwo;
    QComboBox* PageCombo;
    QComboBox* HiddenCombo;
    QPlainTextEdit* Memo;
    QPlainTextEdit* Data;
    QMenu* FileMenu;
    QAction* OpenAction;
    TIvTranslator* Translator;
};

} // namespace

TEST(Translator, EnglishGermanFrenchEnglishTranslatesEveryPropertyFromEnglish)
{
    GuiDictionary g;
    TestWindow t;
    t.Translator->Loaded();
    EXPECT_TRUE(t.Translator->IsBound());
    t.ExpectIn(g, English);
    g.D.SetLanguage(German);
    t.ExpectIn(g, German);
    // German "Gift" is English "Poison": French must show "Poison", not "Cadeau".
    g.D.SetLanguage(French);
    t.ExpectIn(g, French);
    g.D.SetLanguage(English);
    t.ExpectIn(g, English);
    g.D.SetLanguage(German);
    t.ExpectIn(g, German);

    EXPECT_EQ(t.Translator->GetNativePropertyValue(t.Label, "caption"), "Gift");
    EXPECT_EQ(t.Translator->GetNativePropertyValueEx(t.Button, "Caption", "gift"), "Poison");
    EXPECT_THROW(t.Translator->GetNativePropertyValueEx(t.Button, "Caption", "Poison"), Exception);
    EXPECT_THROW(t.Translator->GetNativePropertyValue(t.Data, "Lines"), Exception);
}

TEST(Translator, ACaptionSetByCodeIsANewNativeText)
{
    GuiDictionary g;
    TestWindow t;
    t.Translator->Loaded();
    g.D.SetLanguage(German);
    int rows = t.Translator->GetTable().GetCount();
    t.Label->setText("Open");
    t.Check->setText(""); // empty stays empty, no row
    g.D.SetLanguage(French);
    EXPECT_EQ(t.Label->text(), "Ouvrir");
    EXPECT_EQ(t.Check->text(), "");
    EXPECT_EQ(t.Translator->GetTable().GetCount(), rows + 1); // the old row stays
    g.D.SetLanguage(English);
    EXPECT_EQ(t.Label->text(), "Open");
}

TEST(Translator, APageBuiltAfterThePassShowsTheCurrentLanguage)
{
    GuiDictionary g;
    TestWindow t;
    t.Translator->Loaded();
    g.D.SetLanguage(German);
    auto* page = new QWidget;
    auto* later = new QPushButton("Later", page);
    t.Tabs->addTab(page, "Zone");
    EXPECT_TRUE(IvRetranslate(page));
    EXPECT_EQ(later->text(), g.Tr(German, "Later"));
    EXPECT_EQ(t.Tabs->tabText(2), g.Tr(German, "Zone"));
    g.D.SetLanguage(French); // and it follows from then on, from English
    EXPECT_EQ(later->text(), g.Tr(French, "Later"));
    QWidget orphan;
    EXPECT_FALSE(IvRetranslate(&orphan));
}

TEST(Translator, TheMainWindowLeavesADialogWithItsOwnTranslatorAlone)
{
    GuiDictionary g;
    TestWindow t;
    auto* dialog = new QDialog(t.Window.get());
    auto* cancel = new QPushButton("Cancel", dialog);
    auto* own = new TIvTranslator(dialog);
    TIvTargetProperties hints;
    hints.Add("", "Hint");
    own->SetTargets(hints); // the dialog's own targets leave captions alone
    auto* plain = new QDialog(t.Window.get()); // no translator: the main window's translates it
    auto* plainButton = new QPushButton("Cancel", plain);
    t.Translator->Loaded();
    own->Loaded();
    g.D.SetLanguage(German);
    EXPECT_EQ(cancel->text(), "Cancel");
    EXPECT_EQ(plainButton->text(), g.Tr(German, "Cancel"));
    // Pop-up menus are windows too, and are walked.
    EXPECT_EQ(t.OpenAction->text(), g.Tr(German, "Open"));
}

TEST(Translator, AFailedChangeLeavesTheWindowsAndCanBeRetried)
{
    GuiDictionary g;
    TestWindow t;
    t.Translator->Loaded();
    g.D.SetLanguage(German);
    g.D.FailLoad = true;
    EXPECT_THROW(g.D.SetLanguage(French), EIvMulti);
    t.ExpectIn(g, German);
    EXPECT_EQ(g.D.GetActiveLanguageIndex(), German);
    g.D.FailLoad = false;
    g.D.SetLanguage(French);
    t.ExpectIn(g, French);
}

TEST(Translator, AThrowingTranslatorDoesNotStopTheOthers)
{
    GuiDictionary g;
    TestWindow a, b, c;
    for (TestWindow* w : { &a, &b, &c })
        w->Translator->Loaded();
    b.Translator->OnBeforeTranslate = [](TIvCustomTranslator*) { throw EIvMulti("broken window"); };
    int events = 0;
    g.D.SetOnLanguageChange([&](TIvDictionary*) { ++events; });
    EXPECT_THROW(g.D.SetLanguage(German), EIvMulti);
    a.ExpectIn(g, German);
    c.ExpectIn(g, German);
    EXPECT_EQ(events, 1);
}

TEST(Translator, AWindowDestroyedAndAnotherCreatedDuringAChange)
{
    GuiDictionary g;
    auto first = std::make_unique<TestWindow>();
    auto second = std::make_unique<TestWindow>();
    std::unique_ptr<TestWindow> third;
    first->Translator->Loaded();
    second->Translator->Loaded();
    first->Translator->OnAfterTranslate = [&](TIvCustomTranslator*) {
        if (!second)
            return;
        second.reset(); // the allocator may hand its memory to the next window
        third = std::make_unique<TestWindow>();
        third->Translator->Loaded();
    };
    g.D.SetLanguage(German);
    first->ExpectIn(g, German);
    ASSERT_TRUE(third);
    third->ExpectIn(g, German); // translated once, at its creation
    g.D.SetLanguage(French);
    third->ExpectIn(g, French);
    EXPECT_EQ(g.D.GetTranslatorCount(), 2);
}

TEST(Translator, CloseRestoresItsWindowAndLeavesTheDictionary)
{
    GuiDictionary g;
    TestWindow a, b;
    a.Translator->Loaded();
    b.Translator->Loaded();
    g.D.SetLanguage(German);
    a.Translator->Close();
    EXPECT_EQ(g.D.GetLanguage(), German);
    EXPECT_EQ(g.D.Translate("Open"), g.Tr(German, "Open").toStdString());
    a.ExpectIn(g, English);
    b.ExpectIn(g, German);
    EXPECT_FALSE(a.Translator->IsBound());
    g.D.SetLanguage(French); // a closed translator no longer follows
    a.ExpectIn(g, English);
    b.ExpectIn(g, French);
    b.Translator->UnbindAndSetNative();
    b.ExpectIn(g, English);
}

TEST(Translator, NoDictionaryAndNoTargets)
{
    FakeNls nls;
    QWidget w;
    w.setObjectName("frmLonely");
    auto* t = new TIvTranslator(&w);
    t->SetTargets(WindowTargets());
    try {
        t->Translate();
        FAIL() << "no exception";
    } catch (const EIvMulti& e) {
        EXPECT_EQ(e.Message(),
            "No dictionary has been assigned to the translator component (IvTranslator1 on \"frmLonely\" "
            "form)");
    }
    t->Loaded(); // without a dictionary AutoOpen does nothing
    GuiDictionary g;
    g.D.SetLanguage(German);
    auto* label = new QLabel("Open", &w);
    t->SetTargets({});
    t->Translate(); // no targets: nothing translated, not bound
    EXPECT_EQ(label->text(), "Open");
    EXPECT_FALSE(t->IsBound());
}

TEST(Translator, MenuCaptionsWithoutTheirAmpersandAndRestrictions)
{
    GuiDictionary g;
    TestWindow t;
    t.Translator->OnRestrictComponent = [&](TIvTranslator*, QObject* o, TIvRestrictions& r) {
        if (o == t.Group)
            r |= 1u << ivrBuildInTranslation;
    };
    t.Translator->OnRestrictProperty = [&](TIvTranslator*, QObject* o, const std::string& p,
                                           bool& translate) { translate = !(o == t.Label && p == "Hint"); };
    std::vector<QObject*> translated;
    t.Translator->OnTranslate = [&](TIvTranslator*, QObject* o) { translated.push_back(o); };
    t.Translator->Loaded();
    g.D.SetLanguage(French);
    EXPECT_EQ(t.FileMenu->title(), "Fichier"); // "&File" found as "File"
    EXPECT_EQ(t.Group->title(), "Options");
    EXPECT_EQ(t.Label->toolTip(), "Opens a file");
    EXPECT_EQ(t.Label->text(), g.Tr(French, "Gift"));
    // Children come before their parents.
    auto at
        = [&](QObject* o) { return std::find(translated.begin(), translated.end(), o) - translated.begin(); };
    EXPECT_LT(at(t.Label), at(t.Window.get()));
    EXPECT_EQ(translated.back(), t.Window.get());
    g.D.SetLanguage(German);
    EXPECT_EQ(t.FileMenu->title(), "&Datei");
}

TEST(Translator, RightToLeftPassesKeepPositionsStable)
{
    GuiDictionary g;
    QWidget window;
    window.resize(300, 200);
    auto* free = new QPushButton("Open", &window);
    free->setGeometry(10, 5, 80, 20);
    auto* tabs = new QTabWidget(&window);
    tabs->setGeometry(0, 50, 300, 150);
    auto* page = new QWidget;
    tabs->addTab(page, "Main");
    page->resize(200, 100);
    auto* onPage = new QPushButton("Red", page);
    onPage->setGeometry(20, 5, 50, 20);
    auto* laidOut = new QWidget(&window);
    auto* layout = new QVBoxLayout(laidOut);
    auto* inLayout = new QPushButton("Green");
    layout->addWidget(inLayout);
    auto* t = new TIvTranslator(&window);
    t->SetTargets(WindowTargets());
    t->Loaded();
    int layoutX = inLayout->x();
    for (TestLanguage l : { Arabic, Hebrew, Arabic }) {
        g.D.SetLanguage(l);
        EXPECT_TRUE(t->IsMirrored());
        EXPECT_EQ(free->x(), 300 - 80 - 10);
        EXPECT_EQ(onPage->x(), page->width() - 50 - 20); // once, within its page
        EXPECT_EQ(tabs->x(), 0); // 300 wide: its mirror is itself
        EXPECT_EQ(inLayout->x(), layoutX); // Qt mirrors what layouts place
        EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight); // no hooks installed here
    }
    window.resize(400, 200);
    t->UpdateControls();
    EXPECT_EQ(free->x(), 400 - 80 - 10);
    g.D.SetLanguage(German);
    EXPECT_FALSE(t->IsMirrored());
    EXPECT_EQ(free->x(), 10);
    EXPECT_EQ(onPage->x(), 20);
}

TEST(Translator, MultiByteScalingUndoesTheFactorItApplied)
{
    GuiDictionary g;
    QWidget window;
    window.resize(200, 100);
    auto* free = new QPushButton("Open", &window);
    free->setGeometry(10, 10, 80, 20);
    auto* t = new TIvTranslator(&window);
    t->SetTargets(WindowTargets());
    t->MultiByteScale = 0; // counts as 100: nothing scaled
    t->Loaded();
    g.D.SetLanguage(Japanese);
    EXPECT_EQ(window.size(), QSize(200, 100));
    EXPECT_FALSE(t->IsScaled());
    g.D.SetLanguage(English);
    t->MultiByteScale = 150;
    int scaled = 0;
    t->OnScale = [&](TIvTranslator*, QObject*) { ++scaled; };
    g.D.SetLanguage(Japanese);
    EXPECT_TRUE(t->IsScaled());
    EXPECT_EQ(window.size(), QSize(300, 150));
    EXPECT_EQ(free->geometry(), QRect(15, 15, 120, 30));
    t->MultiByteScale = 120; // changed while scaled: the undo uses 150
    g.D.SetLanguage(German);
    EXPECT_FALSE(t->IsScaled());
    EXPECT_EQ(window.size(), QSize(200, 100));
    EXPECT_EQ(free->geometry(), QRect(10, 10, 80, 20));
    EXPECT_EQ(scaled, 2);
}

TEST(Translator, CenterControl)
{
    QWidget reference, control;
    reference.setGeometry(100, 100, 201, 101);
    control.resize(50, 20);
    IvCenterControl(&reference, &control);
    EXPECT_EQ(control.pos(), QPoint(175, 140));
    QWidget small;
    small.setGeometry(0, 0, 10, 10);
    IvCenterControl(&small, &control);
    EXPECT_EQ(control.pos(), QPoint(0, 0)); // never left of or above 0
}

TEST(Translator, RowsGoWithTheirObjectsAndAFrameWithItsOwnTranslatorAgrees)
{
    GuiDictionary g;
    TestWindow t;
    // A frame inside the window with a translator of its own: both walk it, both agree.
    auto* frame = new QWidget;
    t.Window->centralWidget()->layout()->addWidget(frame);
    auto* frameLabel = new QLabel("Sensor", frame);
    auto* frameTranslator = new TIvTranslator(frame);
    frameTranslator->SetTargets(WindowTargets());
    t.Translator->Loaded();
    frameTranslator->Loaded();
    g.D.SetLanguage(German);
    EXPECT_EQ(frameLabel->text(), g.Tr(German, "Sensor"));
    g.D.SetLanguage(French);
    EXPECT_EQ(frameLabel->text(), g.Tr(French, "Sensor"));
    EXPECT_EQ(frameTranslator->GetNativePropertyValue(frameLabel, "Caption"), "Sensor");

    int rows = t.Translator->GetTable().GetCount();
    delete t.Label;
    EXPECT_EQ(t.Translator->GetTable().GetCount(), rows - 2); // its caption and its hint
    // A new label, perhaps at the freed address, showing the French of another word.
    t.Label = new QLabel(g.Tr(French, "Gift"));
    t.Window->centralWidget()->layout()->addWidget(t.Label);
    g.D.SetLanguage(German);
    EXPECT_EQ(t.Label->text(), g.Tr(French, "Gift")); // a new native text, not "Geschenk"
}

TEST(Translator, HostFontAndAutoOpen)
{
    GuiDictionary g;
    g.D.Languages[Japanese].FontName = "Noto Sans CJK JP";
    g.D.Languages[Japanese].FontSize = 13;
    QWidget window;
    QFont native = window.font();
    native.setFamily("DejaVu Sans");
    native.setPointSize(9);
    window.setFont(native);
    auto* t = new TIvTranslator(&window);
    t->SetTargets(WindowTargets());
    t->SetAutoOpen(false);
    t->Loaded(); // without AutoOpen nothing happens
    EXPECT_FALSE(t->IsBound());
    t->SetAutoOpen(true);
    t->Loaded();
    EXPECT_TRUE(t->IsBound());
    g.D.SetLanguage(Japanese);
    EXPECT_EQ(window.font().family(), "Noto Sans CJK JP");
    EXPECT_EQ(window.font().pointSize(), 13);
    g.D.SetLanguage(German); // no font of its own: the window's native font again
    EXPECT_EQ(window.font().family(), "DejaVu Sans");
    EXPECT_EQ(window.font().pointSize(), 9);
}
