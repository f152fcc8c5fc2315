#include "Ivconmod.h"

#include "Ivmulti.h"
#include "Ivpropinfo.h"

#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTreeWidget>

#include <typeinfo>

namespace {

std::string Utf8(const QString& s)
{
    return s.toStdString();
}

bool Targeted(TIvTranslator* translator, QObject* component, const char* property)
{
    return translator->GetTargets().IsPropertyInTargets(component->metaObject()->className(), property);
}

// Translates one header or tree item text in place.
template <class Item>
void TranslateItemText(TIvTranslator* t, QObject* owner, Item* item, int column, const char* property)
{
    if (!item)
        return;
    QString text = item->text(column);
    if (text.isEmpty())
        return;
    std::string native = Utf8(text);
    std::string translated = t->DoTranslateContextString(owner, Utf8(owner->objectName()), property, native);
    if (translated != native)
        item->setText(column, QString::fromStdString(translated));
}

struct TableHeaderItem {
    QTableWidgetItem* Item;
    QString text(int) const { return Item->text(); }
    void setText(int, const QString& s) { Item->setText(s); }
};

} // namespace

void TIvModules::Add(std::unique_ptr<TIvModule> module)
{
    for (const auto& item : FItems)
        if (typeid(*item) == typeid(*module))
            return;
    FItems.push_back(std::move(module));
}

bool TIvModules::TranslateComponent(TIvTranslator* translator, QObject* component)
{
    for (const auto& m : FItems)
        if (m->TranslateComponent(translator, component))
            return true;
    return false;
}

bool TIvModules::FlipControl(TIvTranslator* translator, QWidget* control, TIvBidirectionalState* state)
{
    for (const auto& m : FItems)
        if (m->FlipControl(translator, control, state))
            return true;
    return false;
}

bool TIvModules::UnFlipControl(TIvTranslator* translator, QWidget* control, TIvBidirectionalState* state)
{
    for (const auto& m : FItems)
        if (m->UnFlipControl(translator, control, state))
            return true;
    return false;
}

bool TIvModules::ChangeComponentReadingOrder(TIvTranslator* translator, QObject* component)
{
    for (const auto& m : FItems)
        if (m->ChangeComponentReadingOrder(translator, component))
            return true;
    return false;
}

TIvModules& IvModules()
{
    static TIvModules modules = [] {
        TIvModules list;
        list.Add(std::make_unique<TIvControlModule>());
        return list;
    }();
    return modules;
}

bool TIvControlModule::TranslateComponent(TIvTranslator* translator, QObject* component)
{
    if (auto* table = qobject_cast<QTableWidget*>(component)) {
        // Only the headings: first the row headings, then the column headings; never a data cell.
        if (!Targeted(translator, component, "Cells"))
            return true;
        for (int r = 0; r < table->rowCount(); ++r)
            if (QTableWidgetItem* item = table->verticalHeaderItem(r)) {
                TableHeaderItem h { item };
                TranslateItemText(translator, component, &h, 0, "Cells");
            }
        for (int c = 0; c < table->columnCount(); ++c)
            if (QTableWidgetItem* item = table->horizontalHeaderItem(c)) {
                TableHeaderItem h { item };
                TranslateItemText(translator, component, &h, 0, "Cells");
            }
        return true;
    }
    if (auto* tree = qobject_cast<QTreeWidget*>(component)) {
        if (!Targeted(translator, component, "Items"))
            return true;
        // No item may move while the texts change.
        bool sorted = tree->isSortingEnabled();
        tree->setSortingEnabled(false);
        QTreeWidgetItem* header = tree->headerItem();
        for (int c = 0; header && c < header->columnCount(); ++c)
            TranslateItemText(translator, component, header, c, "Items");
        // Items whose text code builds (device nodes) are rebuilt by their window.
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            for (int c = 0; c < (*it)->columnCount() && !(*it)->data(0, IvCodeTextRole).toBool(); ++c)
                TranslateItemText(translator, component, *it, c, "Items");
        tree->setSortingEnabled(sorted);
        return true;
    }
    return false;
}

bool TIvControlModule::FlipControl(TIvTranslator* translator, QWidget* control, TIvBidirectionalState* state)
{
    // A page always fills its tab widget.
    if (IvTabWidgetOfPage(control))
        return true;
    // A control on a page is flipped once, within the page's own width.
    QWidget* page = control->parentWidget();
    if (!page || !IvTabWidgetOfPage(page))
        return false;
    if (!state->Flipped) {
        state->Flipped = true;
        state->RightToLeft = true;
        control->move(page->width() - control->width() - control->x(), control->y());
    }
    return true;
}

bool TIvControlModule::ChangeComponentReadingOrder(TIvTranslator* translator, QObject* component)
{
    auto* bar = qobject_cast<QStatusBar*>(component);
    if (!bar)
        return false;
    // A status bar in a layout is mirrored by Qt; a free one swaps its panels' sides.
    if (IvIsInLayout(bar))
        return true;
    for (QLabel* panel : bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        Qt::Alignment a = panel->alignment();
        Qt::Alignment h = a & Qt::AlignHorizontal_Mask;
        if (h & Qt::AlignLeft)
            h = Qt::AlignRight;
        else if (h & Qt::AlignRight)
            h = Qt::AlignLeft;
        panel->setAlignment((a & ~Qt::AlignHorizontal_Mask) | h);
    }
    return true;
}
