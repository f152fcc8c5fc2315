// Every window in every full language of the shipped dictionary: no heading,
// list entry or caption is cut, no options page needs scrolling at the main
// window's size, and every window can be made to fit an 800x600 screen.
#include "Cberangeentryform.h"
#include "Onboardoutputsetupframe.h"
#include "Panelsetupoptions.h"
#include "PX10ConfigCBERuleConfiguration.h"
#include "LanguageFixture.h"
#include "WindowChecks.h"
#include "WindowFit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

std::string Name(const QWidget* w)
{
    std::string path;
    for (const QWidget* p = w; p && !p->isWindow(); p = p->parentWidget())
        if (!p->objectName().isEmpty() && !p->objectName().startsWith("qt_"))
            path = p->objectName().toStdString() + "/" + path;
    return path + w->metaObject()->className();
}

// What of `window` shows cut now: one line for each text wider than its control.
std::vector<std::string> CutTexts(QWidget* window)
{
    std::vector<std::string> cut;
    auto note = [&](const QWidget* w, const QString& text) {
        cut.push_back(Name(w) + " \"" + text.toStdString() + "\"");
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->objectName() == "PageSelect"
            || w->parentWidget()->objectName() == "PageSelect")
            continue; // the preview's page captions are the reports' own
        if (auto* header = qobject_cast<QHeaderView*>(w); header && header->orientation() == Qt::Horizontal) {
            const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
            for (int c = 0; c < header->count(); ++c) {
                const QString text = header->model()->headerData(c, Qt::Horizontal).toString();
                if (header->sectionSize(c) < header->fontMetrics().horizontalAdvance(text) + 2 * margin)
                    note(w, text);
            }
        } else if (auto* box = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(box);
            const int room
                = box->style()
                      ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box)
                      .width();
            for (int i = 0; i < box->count(); ++i)
                if (box->fontMetrics().horizontalAdvance(box->itemText(i)) > room)
                    note(w, box->itemText(i));
        } else if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
            if (label->wordWrap() ? label->heightForWidth(label->width()) > label->height()
                                  : label->minimumSizeHint().width() > label->width())
                note(w, label->text());
        } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
            if (w->sizeHint().width() > w->width())
                note(w, static_cast<QAbstractButton*>(w)->text());
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            const QString text = QString(button->text()).remove('&');
            if (button->fontMetrics().horizontalAdvance(text) > button->width())
                note(w, text);
        } else if (auto* group = qobject_cast<QGroupBox*>(w); group && !group->title().isEmpty()) {
            if (group->minimumSizeHint().width() > group->width())
                note(w, group->title());
        } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            if (tabs->sizeHint().width() > tabs->width())
                note(w, "tabs behind scroll arrows");
        } else if (auto* list = qobject_cast<QListView*>(w); list && list->model()) {
            for (int r = 0; r < list->model()->rowCount(list->rootIndex()); ++r) {
                const QModelIndex index = list->model()->index(r, 0, list->rootIndex());
                QStyleOptionViewItem option;
                option.initFrom(list);
                option.rect = list->visualRect(index);
                option.text = index.data().toString();
                option.features = QStyleOptionViewItem::HasDisplay;
                if (index.data(Qt::CheckStateRole).isValid())
                    option.features |= QStyleOptionViewItem::HasCheckIndicator;
                if (list->wordWrap())
                    option.features |= QStyleOptionViewItem::WrapText;
                const QRect room = list->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, list);
                const QRect needed = list->fontMetrics().boundingRect(room,
                    Qt::AlignLeft | Qt::AlignTop | (list->wordWrap() ? Qt::TextWordWrap : 0), option.text);
                if (needed.width() > room.width() || needed.height() > room.height())
                    note(w, option.text);
            }
        } else if (auto* area = qobject_cast<QScrollArea*>(w); area && area->widget()) {
            if (area->widget()->minimumSizeHint().width() > area->viewport()->width())
                note(area->widget(), "wider than its page");
        }
    }
    return cut;
}

// `window` can be made as small as an 800x600 screen leaves it, framed.
void ExpectFitsASmallScreen(const QWidget& window, const std::string& where)
{
    const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
    EXPECT_LE(least.width(), 800 - OpenboxFrame.left() - OpenboxFrame.right()) << where;
    EXPECT_LE(least.height(), 600 - OpenboxFrame.top() - OpenboxFrame.bottom()) << where;
}

} // namespace

TEST_F(LanguageFixture, NoTextIsCutInAnyFullLanguageAtTheDefaultSize)
{
    Windows = std::make_unique<ProgramWindows>();
    TfrmMain& main = *Windows->Main;
    main.resize(942, 710);
    for (int language = 1; language <= FullLanguages; ++language) {
        Choose(language);
        for (QWidget* window : TopWindows()) {
            window->show();
            QApplication::processEvents();
            std::vector<std::string> pages;
            auto check = [&](const std::string& page) {
                QApplication::processEvents();
                for (const std::string& cut : CutTexts(window))
                    ADD_FAILURE() << "language " << language << ", " << window->objectName().toStdString()
                                  << page << ": " << cut;
            };
            if (window != &main) {
                check("");
                window->hide();
                continue;
            }
            for (QTreeWidgetItem* node : { main.SensorsNode(), main.ModulesNode(), main.OnboardNode() }) {
                main.TreeView1()->setCurrentItem(node);
                check(" " + node->text(0).toStdString());
            }
            main.TreeView1()->setCurrentItem(main.PanelNode());
            auto* tabs = main.PanelSetupFrame()->findChild<QTabWidget*>("pclSetupOptions");
            ASSERT_NE(tabs, nullptr);
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                check(" " + tabs->tabText(i).toStdString());
            }
        }
    }
}

// The main window filling an 800x600 screen, the panel node selected: every
// options tab shows with its whole caption, and no page scrolls sideways or
// cuts a text.
TEST_F(LanguageFixture, TheOptionsPagesFitAMainWindowFillingAnEightHundredBySixHundredScreen)
{
    Windows = std::make_unique<ProgramWindows>();
    TfrmMain& main = *Windows->Main;
    main.resize(800, 600);
    main.TreeView1()->setCurrentItem(main.PanelNode());
    auto* tabs = main.PanelSetupFrame()->findChild<TWrappingTabWidget*>("pclSetupOptions");
    ASSERT_NE(tabs, nullptr);
    TWrappingTabBar* bar = tabs->WrappingTabBar();
    for (int language = 1; language <= FullLanguages; ++language) {
        Choose(language);
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            QApplication::processEvents();
            const std::string where
                = "language " + std::to_string(language) + ", page " + std::to_string(page);
            for (const std::string& cut : CutTexts(&main))
                ADD_FAILURE() << where << ": " << cut;
            for (int i = 0; i < bar->count(); ++i) {
                const QRect r = bar->tabRect(i);
                EXPECT_TRUE(bar->rect().contains(r)) << where << ": tab " << i << " outside its bar";
                const QString shown
                    = bar->TwoLines() ? TWrappingTabBar::BrokenCaption(bar->tabText(i)) : bar->tabText(i);
                for (const QString& line : shown.split('\n'))
                    EXPECT_LT(bar->fontMetrics().horizontalAdvance(line), r.width())
                        << where << ": \"" << line.toStdString() << "\" cut";
            }
        }
    }
}

TEST_F(LanguageFixture, EveryWindowCanBeMadeToFitAnEightHundredBySixHundredScreen)
{
    Windows = std::make_unique<ProgramWindows>();
    for (int language = 1; language <= FullLanguages; ++language) {
        Choose(language);
        for (QWidget* window : TopWindows()) {
            window->show();
            QApplication::processEvents();
            ExpectFitsASmallScreen(
                *window, window->objectName().toStdString() + " in language " + std::to_string(language));
            if (window != Windows->Main.get())
                window->hide();
        }
    }
}

// The rules' window names each rule with its type, however long the
// language makes it, and still fits the screen.
TEST_F(LanguageFixture, TheRangeEntryShowsEachRuleTypeWholeInEveryFullLanguage)
{
    Windows = std::make_unique<ProgramWindows>();
    TfrmMain& main = *Windows->Main;
    ConfigData->CBERules->SetRuleType(5, 5); // Fire Output/Transfer
    ConfigData->CBERules->SetRuleType(24, 11); // E.S. System Fault, French's longest
    main.TreeView1()->setCurrentItem(main.OnboardNode());
    for (int language = 1; language <= FullLanguages; ++language) {
        Choose(language);
        const std::string where = "language " + std::to_string(language);
        CheckModal([&] { main.OnboardOutputFrame()->btnCBERuleEdit[0]->click(); },
            [&](QDialog& dialog) {
                QListWidget* list = static_cast<TfrmCBERangeEntry&>(dialog).clbCBERangeSelector;
                EXPECT_EQ(list->item(4)->text().toStdString(), "5 - " + Translate("Fire Output/Transfer"));
                for (const std::string& cut : CutTexts(&dialog))
                    ADD_FAILURE() << where << ": " << cut;
                // All 24 in view at once, without scrolling.
                for (int i = 0; i < list->count(); ++i)
                    EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(i))))
                        << where << ": " << list->item(i)->text().toStdString();
                ExpectFitsASmallScreen(dialog, where);
            });
    }
}

// Every dialog's caption shows whole in its title bar in every full language,
// each dialog following the language as it changes: the dialog is as wide as
// the title and the bar's buttons need, as far as the screen allows. The Add
// Sensors and Add Modules captions are given when the dialog opens.
TEST_F(LanguageFixture, EveryDialogIsAsWideAsItsTitleInEveryFullLanguage)
{
    Windows = std::make_unique<ProgramWindows>();
    TfrmMain& main = *Windows->Main;
    const QWidget* preview = &main.Windows().PrintPreview(); // large anyway, like the main window
    for (int language = 1; language <= FullLanguages; ++language) {
        Choose(language);
        auto expectWide = [&](QWidget& dialog) {
            const QString title = dialog.windowTitle();
            const std::string where = "language " + std::to_string(language) + ", "
                + dialog.objectName().toStdString() + ": " + title.toStdString();
            const int needed = QFontMetrics(QApplication::font()).horizontalAdvance(title) + 150;
            EXPECT_GE(dialog.width(), std::min(needed, dialog.screen()->availableGeometry().width()))
                << where;
            ExpectFitsASmallScreen(dialog, where);
        };
        for (QWidget* window : TopWindows()) {
            if (window == &main || window == preview)
                continue;
            window->show();
            QApplication::processEvents();
            expectWide(*window);
            window->hide();
        }
        for (QAction* action : { main.ToolsAddChangeSensors, main.ToolsAddChangeModules })
            CheckModal([&] { action->trigger(); }, expectWide);
        // About's controls have fixed places: its OK button stays in the middle as it widens.
        TfrmAbout& about = *Windows->About;
        about.show();
        QApplication::processEvents();
        expectWide(about);
        EXPECT_NEAR(about.btnOK->geometry().center().x(), about.width() / 2, 1) << "language " << language;
        about.hide();
    }
}
