#include "GuiDictionary.h"
#include "Ivconmod.h"
#include "Ivmulti.h"

#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

TIvTranslator* MakeTranslator(QWidget* window, std::initializer_list<const char*> targets)
{
    auto* t = new TIvTranslator(window);
    TIvTargetProperties list;
    for (const char* name : targets)
        list.Add("", name);
    t->SetTargets(list);
    return t;
}

} // namespace

TEST(ControlModule, TableHeadingsOnlyNeverDataCells)
{
    GuiDictionary g;
    QWidget window;
    auto* grid = new QTableWidget(2, 2, &window);
    grid->setHorizontalHeaderLabels({ "Zone", "Sensor" });
    grid->setVerticalHeaderLabels({ "Red", "Green" });
    grid->setItem(0, 0, new QTableWidgetItem("Open"));
    auto* t = MakeTranslator(&window, { "Cells" });
    t->Loaded();
    g.D.SetLanguage(German);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), g.Tr(German, "Zone"));
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), g.Tr(German, "Sensor"));
    EXPECT_EQ(grid->verticalHeaderItem(1)->text(), g.Tr(German, "Green"));
    EXPECT_EQ(grid->item(0, 0)->text(), "Open");
    g.D.SetLanguage(French);
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), g.Tr(French, "Sensor"));
    EXPECT_EQ(grid->verticalHeaderItem(0)->text(), g.Tr(French, "Red"));
}

TEST(ControlModule, SortedTreeKeepsItsItemsInPlaceAndUntargetedTreesStayAlone)
{
    GuiDictionary g;
    QWidget window;
    auto* tree = new QTreeWidget(&window);
    tree->setHeaderLabels({ "Zone" });
    auto* sensor = new QTreeWidgetItem(tree, { "Sensor" });
    new QTreeWidgetItem(sensor, { "Red" });
    new QTreeWidgetItem(tree, { "Green" });
    tree->setSortingEnabled(true);
    tree->sortItems(0, Qt::AscendingOrder); // Green, Sensor
    auto* t = MakeTranslator(&window, { "Items" });
    t->Loaded();
    g.D.SetLanguage(German); // Grün, Melder: the order holds
    EXPECT_EQ(tree->topLevelItem(0)->text(0), g.Tr(German, "Green"));
    EXPECT_EQ(tree->topLevelItem(1)->text(0), g.Tr(German, "Sensor"));
    EXPECT_EQ(tree->topLevelItem(1)->child(0)->text(0), g.Tr(German, "Red"));
    EXPECT_EQ(tree->headerItem()->text(0), g.Tr(German, "Zone"));
    g.D.SetLanguage(French); // Détecteur, Vert: sorted again afterwards
    EXPECT_TRUE(tree->isSortingEnabled());
    EXPECT_EQ(tree->topLevelItem(0)->text(0), g.Tr(French, "Sensor"));
    EXPECT_EQ(tree->topLevelItem(1)->text(0), g.Tr(French, "Green"));

    QWidget other;
    auto* plain = new QTreeWidget(&other);
    new QTreeWidgetItem(plain, { "Green" });
    MakeTranslator(&other, { "Caption" })->Loaded();
    g.D.SetLanguage(German);
    EXPECT_EQ(plain->topLevelItem(0)->text(0), "Green");
}

TEST(ControlModule, RegistrationAndReadingOrder)
{
    struct Extra : TIvModule {
        int Asked = 0;
        bool TranslateComponent(TIvTranslator*, QObject*) override { return ++Asked, false; }
    };
    TIvModules modules;
    modules.Add(std::make_unique<TIvControlModule>());
    modules.Add(std::make_unique<TIvControlModule>());
    auto extra = std::make_unique<Extra>();
    Extra* asked = extra.get();
    modules.Add(std::move(extra));
    EXPECT_EQ(modules.GetCount(), 2);
    QTreeWidget tree;
    QLabel label;
    TIvTranslator t(nullptr);
    EXPECT_TRUE(modules.TranslateComponent(&t, &tree)); // the control module answers for a tree
    EXPECT_EQ(asked->Asked, 0);
    EXPECT_FALSE(modules.TranslateComponent(&t, &label));
    EXPECT_EQ(asked->Asked, 1);

    // A free status bar swaps its panels' sides; a centred one stays.
    QStatusBar bar;
    auto* left = new QLabel("a", &bar);
    left->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* centre = new QLabel("b", &bar);
    centre->setAlignment(Qt::AlignCenter);
    EXPECT_TRUE(modules.ChangeComponentReadingOrder(&t, &bar));
    EXPECT_EQ(left->alignment(), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(centre->alignment(), Qt::AlignCenter);
    EXPECT_TRUE(modules.ChangeComponentReadingOrder(&t, &bar));
    EXPECT_EQ(left->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
}
