#pragma once
// The translatable properties of an object, in the translator's vocabulary:
// Caption, Hint, Items, Tabs, Lines, Text, Filter and Title map onto Qt's
// accessors through a registry of adapters; any other readable and writable
// QString or QStringList Q_PROPERTY is listed under its own Qt name.
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

enum TIvPropKind { ivpkString = 1, ivpkStrings = 2 };
using TIvPropKinds = unsigned;

struct TIvPropInfo {
    std::string Name;
    TIvPropKind Kind = ivpkString;
    std::function<QString(QObject*)> GetString;
    std::function<void(QObject*, const QString&)> SetString;
    std::function<QStringList(QObject*)> GetStrings;
    std::function<void(QObject*, const QStringList&)> SetStrings;
};

// One adapter: a property of the objects that `Applies` accepts, standing for
// the Qt properties in `Covers` (which are then not listed again by name).
struct TIvPropAdapter {
    std::function<bool(QObject*)> Applies;
    TIvPropInfo Info;
    std::vector<std::string> Covers;
};

void IvRegisterPropAdapter(TIvPropAdapter adapter);

class TIvPropInfoList {
public:
    explicit TIvPropInfoList(QObject* object, TIvPropKinds kinds = ivpkString | ivpkStrings);
    int GetCount() const { return static_cast<int>(FItems.size()); }
    const TIvPropInfo& Get(int index) const { return FItems.at(index); }

private:
    std::vector<TIvPropInfo> FItems;
};

// The page of a tab widget that `object` is, or null.
class QTabWidget;
QTabWidget* IvTabWidgetOfPage(const QObject* object);
