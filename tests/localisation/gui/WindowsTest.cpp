// A window's translator as the program's windows get it, texts that code
// builds kept out of its walk, and Qt's own dialogs in the language in force.
#include "GuiDictionary.h"
#include "Ivdlgmod.h"
#include "Ivqthooks.h"
#include "Ivwindows.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A window with a static text, a caption that code builds, a tree with a
// fixed node and a node built by code, and a frame with a translator of its own.
struct CodeTextWindow {
    QWidget Window;
    QLabel* Static = new QLabel("Open", &Window);
    QLabel* Built = new QLabel(&Window);
    QTreeWidget* Tree = new QTreeWidget(&Window);
    QTreeWidgetItem* Fixed = new QTreeWidgetItem(QStringList("Sensor"));
    QTreeWidgetItem* Node = new QTreeWidgetItem(QStringList("Address 7"));
    QWidget* Frame = new QWidget(&Window);
    QLabel* FrameLabel = new QLabel("Zone", Frame);
    int Rebuilds = 0;
    TIvTranslator* Translator = nullptr;

    CodeTextWindow()
    {
        Tree->addTopLevelItem(Fixed);
        Fixed->addChild(Node);
        Node->setData(0, IvCodeTextRole, true);
        IvAddTranslator(Frame);
        IvSetCodeText(Built);
        Rebuild();
        Translator = IvAddTranslator(&Window, [this] { Rebuild(); });
    }
    void Rebuild()
    {
        ++Rebuilds;
        Built->setText(QString::fromStdString(Translate("Window") + " 1"));
        Node->setText(0, QString::fromStdString(Translate("Zone") + " 7"));
    }
};

} // namespace

TEST(WindowTranslators, StaticTextsFromEnglishAndCodeTextsRebuiltByTheWindow)
{
    GuiDictionary g;
    CodeTextWindow w;
    EXPECT_EQ(IvAddTranslator(&w.Window), w.Translator) << "one translator a window";
    for (TestLanguage language : { German, French, English, German }) {
        g.D.SetLanguage(language);
        EXPECT_EQ(w.Static->text(), g.Tr(language, "Open"));
        EXPECT_EQ(w.Fixed->text(0), g.Tr(language, "Sensor"));
        EXPECT_EQ(w.FrameLabel->text(), g.Tr(language, "Zone"));
        // The window's own rebuild, after the walk: never translated again.
        EXPECT_EQ(w.Built->text(), g.Tr(language, "Window") + " 1");
        EXPECT_EQ(w.Node->text(0), g.Tr(language, "Zone") + " 7");
    }
    EXPECT_GE(w.Rebuilds, 5);
    // Neither the built texts nor the frame's are rows of the window's translator.
    const TIvTranslatorTable& table = w.Translator->GetTable();
    for (int i = 0; i < table.GetCount(); ++i) {
        EXPECT_NE(table.GetItem(i).Object, w.Built);
        EXPECT_NE(table.GetItem(i).Object, w.FrameLabel);
        EXPECT_EQ(table.GetItem(i).NativeValue.find(" 7"), std::string::npos);
    }
    EXPECT_THROW(w.Translator->GetNativePropertyValue(w.Built, "Caption"), Exception);
    EXPECT_TRUE(IvIsCodeText(w.Built, "caption"));
    EXPECT_FALSE(IvIsCodeText(w.Static, "Caption"));
}

TEST(DialogModule, RegistersDialogClassesOnce)
{
    TIvDialogModule module;
    EXPECT_FALSE(module.AddDialogClass(nullptr));
    EXPECT_FALSE(module.AddDialogClass(&QLabel::staticMetaObject)) << "not a dialog";
    module.Loaded();
    EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
    EXPECT_TRUE(module.IsRegistered(&QFileDialog::staticMetaObject));
    EXPECT_FALSE(module.AddDialogClass(&QFileDialog::staticMetaObject)) << "registered already";
    EXPECT_TRUE(module.RemoveDialogClass(&QFileDialog::staticMetaObject));
    EXPECT_FALSE(module.RemoveDialogClass(&QFileDialog::staticMetaObject));
    EXPECT_TRUE(module.AddDialogClass(&QFileDialog::staticMetaObject));
}

TEST(DialogModule, QtsTextsMapOntoTheProgramsEnglish)
{
    EXPECT_EQ(IvQtNativeText("QFileDialog", "Look in:"), "Look &in:");
    EXPECT_EQ(IvQtNativeText("QFileDialog", "Parent Directory"), "Up One Level");
    EXPECT_EQ(IvQtNativeText("QFileSystemModel", "Date Modified"), "Modified");
    EXPECT_EQ(IvQtNativeText("QFileDialog", "Back"), "Back");
    EXPECT_EQ(IvQtNativeText("QMessageBox", "Look in:"), "Look in:") << "only in its own context";
}

TEST(DialogModule, AFileDialogInTheLanguageInForce)
{
    IvInstallQtHooks();
    {
        GuiDictionary g;
        g.D.Rows[German].push_back(Row("Look &in:", "Suchen &in:"));
        g.D.Rows[German].push_back(Row("Save As", "Speichern unter"));
        TIvDialogModule module;
        module.Loaded();
        g.D.SetLanguage(German);
        QFileDialog open;
        open.show();
        EXPECT_EQ(open.windowTitle(), g.Tr(German, "Open")) << "no title of the program's: Open";
        auto* lookIn = open.findChild<QLabel*>("lookInLabel");
        ASSERT_NE(lookIn, nullptr);
        EXPECT_EQ(lookIn->text(), "Suchen &in:");
        QFileDialog save(nullptr, "Export");
        save.setAcceptMode(QFileDialog::AcceptSave);
        save.show();
        EXPECT_EQ(save.windowTitle(), "Export") << "the program's own title stays";
        QFileDialog saveAs;
        saveAs.setAcceptMode(QFileDialog::AcceptSave);
        saveAs.show();
        EXPECT_EQ(saveAs.windowTitle(), "Speichern unter");
    }
    IvSetApplicationHooks(nullptr);
    QLocale::setDefault(QLocale::c());
}
