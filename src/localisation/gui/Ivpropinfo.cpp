#include "Ivpropinfo.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <strings.h>

namespace {

template <class T> T* As(QObject* o)
{
    return qobject_cast<T*>(o);
}

TIvPropInfo StringProp(
    const char* name, std::function<QString(QObject*)> get, std::function<void(QObject*, const QString&)> set)
{
    TIvPropInfo info;
    info.Name = name;
    info.Kind = ivpkString;
    info.GetString = std::move(get);
    info.SetString = std::move(set);
    return info;
}

TIvPropInfo StringsProp(const char* name, std::function<QStringList(QObject*)> get,
    std::function<void(QObject*, const QStringList&)> set)
{
    TIvPropInfo info;
    info.Name = name;
    info.Kind = ivpkStrings;
    info.GetStrings = std::move(get);
    info.SetStrings = std::move(set);
    return info;
}

// What Qt shows as an action's tool tip when none was set.
QString StrippedActionText(const QAction* a)
{
    QString s = a->text();
    s.remove(QStringLiteral("..."));
    for (int i = 0; i < s.size(); ++i)
        if (s.at(i) == u'&')
            s.remove(i, 1);
    return s.trimmed();
}

std::vector<TIvPropAdapter> BuiltInAdapters()
{
    std::vector<TIvPropAdapter> a;
    // Caption: the visible text of a control, window or menu.
    a.push_back({ [](QObject* o) {
                     auto* b = As<QAbstractButton>(o);
                     auto* t = As<QToolButton>(o);
                     return b && !(t && t->defaultAction()); // an action's button shows the action's text
                 },
        StringProp(
            "Caption", [](QObject* o) { return As<QAbstractButton>(o)->text(); },
            [](QObject* o, const QString& v) { As<QAbstractButton>(o)->setText(v); }),
        { "text" } });
    a.push_back({ [](QObject* o) { return As<QLabel>(o) != nullptr; },
        StringProp(
            "Caption", [](QObject* o) { return As<QLabel>(o)->text(); },
            [](QObject* o, const QString& v) { As<QLabel>(o)->setText(v); }),
        { "text" } });
    a.push_back({ [](QObject* o) { return As<QGroupBox>(o) != nullptr; },
        StringProp(
            "Caption", [](QObject* o) { return As<QGroupBox>(o)->title(); },
            [](QObject* o, const QString& v) { As<QGroupBox>(o)->setTitle(v); }),
        { "title" } });
    // A menu's action carries its title: the menu is translated, not the action.
    a.push_back({ [](QObject* o) {
                     auto* act = As<QAction>(o);
                     return act && !act->menu();
                 },
        StringProp(
            "Caption", [](QObject* o) { return As<QAction>(o)->text(); },
            [](QObject* o, const QString& v) { As<QAction>(o)->setText(v); }),
        { "text", "iconText" } });
    a.push_back({ [](QObject* o) { return As<QMenu>(o) != nullptr; },
        StringProp(
            "Caption", [](QObject* o) { return As<QMenu>(o)->title(); },
            [](QObject* o, const QString& v) { As<QMenu>(o)->setTitle(v); }),
        { "title" } });
    a.push_back({ [](QObject* o) {
                     auto* w = As<QWidget>(o);
                     return w && w->isWindow() && !As<QMenu>(o) && !As<QFileDialog>(o);
                 },
        StringProp(
            "Caption", [](QObject* o) { return As<QWidget>(o)->windowTitle(); },
            [](QObject* o, const QString& v) { As<QWidget>(o)->setWindowTitle(v); }),
        { "windowTitle" } });
    a.push_back({ [](QObject* o) { return IvTabWidgetOfPage(o) != nullptr; },
        StringProp(
            "Caption",
            [](QObject* o) {
                QTabWidget* tabs = IvTabWidgetOfPage(o);
                return tabs->tabText(tabs->indexOf(As<QWidget>(o)));
            },
            [](QObject* o, const QString& v) {
                QTabWidget* tabs = IvTabWidgetOfPage(o);
                tabs->setTabText(tabs->indexOf(As<QWidget>(o)), v);
            }),
        {} });
    // Hint: the tool tip and the status tip together (an action's button shows the action's).
    a.push_back({ [](QObject* o) {
                     auto* t = As<QToolButton>(o);
                     return As<QWidget>(o) && !(t && t->defaultAction());
                 },
        StringProp(
            "Hint",
            [](QObject* o) {
                auto* w = As<QWidget>(o);
                return w->toolTip().isEmpty() ? w->statusTip() : w->toolTip();
            },
            [](QObject* o, const QString& v) {
                auto* w = As<QWidget>(o);
                w->setToolTip(v);
                w->setStatusTip(v);
            }),
        { "toolTip", "statusTip" } });
    a.push_back({ [](QObject* o) { return As<QAction>(o) != nullptr; },
        StringProp(
            "Hint",
            [](QObject* o) {
                auto* act = As<QAction>(o);
                if (!act->statusTip().isEmpty())
                    return act->statusTip();
                QString tip = act->toolTip();
                return tip == StrippedActionText(act) ? QString() : tip;
            },
            [](QObject* o, const QString& v) {
                auto* act = As<QAction>(o);
                act->setToolTip(v);
                act->setStatusTip(v);
            }),
        { "toolTip", "statusTip" } });
    // Items: the fixed entries of combo and list boxes.
    a.push_back({ [](QObject* o) { return As<QComboBox>(o) != nullptr; },
        StringsProp(
            "Items",
            [](QObject* o) {
                auto* c = As<QComboBox>(o);
                QStringList items;
                for (int i = 0; i < c->count(); ++i)
                    items << c->itemText(i);
                return items;
            },
            [](QObject* o, const QStringList& v) {
                auto* c = As<QComboBox>(o);
                for (int i = 0; i < c->count() && i < v.size(); ++i)
                    c->setItemText(i, v[i]);
            }),
        {} });
    a.push_back({ [](QObject* o) { return As<QListWidget>(o) != nullptr; },
        StringsProp(
            "Items",
            [](QObject* o) {
                auto* l = As<QListWidget>(o);
                QStringList items;
                for (int i = 0; i < l->count(); ++i)
                    items << l->item(i)->text();
                return items;
            },
            [](QObject* o, const QStringList& v) {
                // No row may move while the rows are replaced by index.
                auto* l = As<QListWidget>(o);
                bool sorted = l->isSortingEnabled();
                l->setSortingEnabled(false);
                for (int i = 0; i < l->count() && i < v.size(); ++i)
                    l->item(i)->setText(v[i]);
                l->setSortingEnabled(sorted);
            }),
        {} });
    // Tabs: the captions of a tab bar of its own (a tab widget's pages carry theirs as Caption).
    a.push_back({ [](QObject* o) { return As<QTabBar>(o) && !As<QTabWidget>(o->parent()); },
        StringsProp(
            "Tabs",
            [](QObject* o) {
                auto* b = As<QTabBar>(o);
                QStringList tabs;
                for (int i = 0; i < b->count(); ++i)
                    tabs << b->tabText(i);
                return tabs;
            },
            [](QObject* o, const QStringList& v) {
                auto* b = As<QTabBar>(o);
                for (int i = 0; i < b->count() && i < v.size(); ++i)
                    b->setTabText(i, v[i]);
            }),
        {} });
    // Lines: a memo line by line.
    a.push_back({ [](QObject* o) { return As<QPlainTextEdit>(o) != nullptr; },
        StringsProp(
            "Lines", [](QObject* o) { return As<QPlainTextEdit>(o)->toPlainText().split(u'\n'); },
            [](QObject* o, const QStringList& v) { As<QPlainTextEdit>(o)->setPlainText(v.join(u'\n')); }),
        { "plainText" } });
    // Text: a one-line edit (a memo's text is translated whole by the translator).
    a.push_back({ [](QObject* o) { return As<QLineEdit>(o) != nullptr; },
        StringProp(
            "Text", [](QObject* o) { return As<QLineEdit>(o)->text(); },
            [](QObject* o, const QString& v) { As<QLineEdit>(o)->setText(v); }),
        { "text" } });
    // Filter and Title: a file dialog's filters and caption.
    a.push_back({ [](QObject* o) { return As<QFileDialog>(o) != nullptr; },
        StringsProp(
            "Filter", [](QObject* o) { return As<QFileDialog>(o)->nameFilters(); },
            [](QObject* o, const QStringList& v) { As<QFileDialog>(o)->setNameFilters(v); }),
        { "nameFilters" } });
    a.push_back({ [](QObject* o) { return As<QFileDialog>(o) != nullptr; },
        StringProp(
            "Title", [](QObject* o) { return As<QFileDialog>(o)->windowTitle(); },
            [](QObject* o, const QString& v) { As<QFileDialog>(o)->setWindowTitle(v); }),
        { "windowTitle" } });
    return a;
}

std::vector<TIvPropAdapter>& Adapters()
{
    static std::vector<TIvPropAdapter> adapters = BuiltInAdapters();
    return adapters;
}

// The Q_PROPERTYs of texts of a class, read and written by name; made once per class.
const std::vector<TIvPropInfo>& FallbackProps(const QMetaObject* meta)
{
    static QHash<const QMetaObject*, std::vector<TIvPropInfo>> cache;
    auto it = cache.find(meta);
    if (it != cache.end())
        return *it;
    std::vector<TIvPropInfo> props;
    for (int i = 0; i < meta->propertyCount(); ++i) {
        QMetaProperty p = meta->property(i);
        int type = p.metaType().id();
        if (!p.isReadable() || !p.isWritable() || qstrcmp(p.name(), "objectName") == 0)
            continue;
        if (type == QMetaType::QString)
            props.push_back(StringProp(
                p.name(), [p](QObject* o) { return p.read(o).toString(); },
                [p](QObject* o, const QString& v) { p.write(o, v); }));
        else if (type == QMetaType::QStringList)
            props.push_back(StringsProp(
                p.name(), [p](QObject* o) { return p.read(o).toStringList(); },
                [p](QObject* o, const QStringList& v) { p.write(o, v); }));
    }
    return *cache.insert(meta, std::move(props));
}

} // namespace

QTabWidget* IvTabWidgetOfPage(const QObject* object)
{
    auto* page = qobject_cast<const QWidget*>(object);
    auto* stack = page ? qobject_cast<QStackedWidget*>(page->parent()) : nullptr;
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parent()) : nullptr;
    return tabs && tabs->indexOf(const_cast<QWidget*>(page)) >= 0 ? tabs : nullptr;
}

void IvRegisterPropAdapter(TIvPropAdapter adapter)
{
    Adapters().push_back(std::move(adapter));
}

TIvPropInfoList::TIvPropInfoList(QObject* object, TIvPropKinds kinds)
{
    std::vector<const std::string*> covered;
    for (const auto& adapter : Adapters()) {
        if (!(adapter.Info.Kind & kinds) || !adapter.Applies(object))
            continue;
        // The first adapter of a name wins (a tab page that is also a window, say).
        bool named = false;
        for (const auto& item : FItems)
            named = named || item.Name == adapter.Info.Name;
        if (named)
            continue;
        FItems.push_back(adapter.Info);
        for (const auto& name : adapter.Covers)
            covered.push_back(&name);
    }
    for (const auto& prop : FallbackProps(object->metaObject())) {
        if (!(prop.Kind & kinds))
            continue;
        bool isCovered = false;
        for (const std::string* name : covered)
            isCovered = isCovered || strcasecmp(name->c_str(), prop.Name.c_str()) == 0;
        if (!isCovered)
            FItems.push_back(prop);
    }
}
