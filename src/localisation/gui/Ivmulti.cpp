#include "Ivmulti.h"

#include "Ivconmod.h"
#include "Ivpropinfo.h"
#include "Nls.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>

#include <cctype>
#include <strings.h>

namespace {

const char* const DataControlProperty = "ivDataControl";
const char* const CodeTextProperty = "ivCodeTexts";

bool SameName(const std::string& a, const char* b)
{
    return strcasecmp(a.c_str(), b) == 0;
}

std::string Utf8(const QString& s)
{
    return s.toStdString();
}

QString FromUtf8(const std::string& s)
{
    return QString::fromStdString(s);
}

bool IsMenuObject(const QObject* o)
{
    return qobject_cast<const QAction*>(o) || qobject_cast<const QMenu*>(o);
}

std::string WithoutFirstAmpersand(const std::string& s, bool* removed = nullptr)
{
    size_t at = s.find('&');
    if (removed)
        *removed = at != std::string::npos;
    if (at == std::string::npos)
        return s;
    std::string out = s;
    out.erase(at, 1);
    return out;
}

bool LayoutHolds(const QLayout* layout, const QWidget* widget)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (!item)
            continue;
        if (item->widget() == widget)
            return true;
        if (item->layout() && LayoutHolds(item->layout(), widget))
            return true;
    }
    return false;
}

} // namespace

// ------------------------------------------------------------ table

TIvTranslatorTableItem& TIvTranslatorTable::Add(TIvTranslatorTableItem item)
{
    FRows.push_back(std::make_unique<TIvTranslatorTableItem>(std::move(item)));
    TIvTranslatorTableItem* row = FRows.back().get();
    FIndex[row->Object].push_back(row);
    return *row;
}

void TIvTranslatorTable::Clear()
{
    FIndex.clear();
    FRows.clear();
}

TIvTranslatorTableItem* TIvTranslatorTable::Find(
    const QObject* object, const std::string& property, const std::string& translated)
{
    auto it = FIndex.find(object);
    if (it == FIndex.end())
        return nullptr;
    for (TIvTranslatorTableItem* row : it->second)
        if (row->PropertyName == property && row->TranslatedMatch == translated)
            return row;
    return nullptr;
}

const TIvTranslatorTableItem* TIvTranslatorTable::FindNative(
    const QObject* object, const std::string& property) const
{
    auto it = FIndex.find(object);
    if (it == FIndex.end())
        return nullptr;
    for (const TIvTranslatorTableItem* row : it->second)
        if (strcasecmp(row->PropertyName.c_str(), property.c_str()) == 0)
            return row;
    return nullptr;
}

void TIvTranslatorTable::Remove(const QObject* object)
{
    if (FIndex.erase(object) == 0)
        return;
    std::erase_if(FRows, [object](const auto& row) { return row->Object == object; });
}

// ------------------------------------------------------------ free helpers

TIvTranslator* IvFindTranslator(const QObject* window)
{
    if (!window)
        return nullptr;
    for (QObject* child : window->children())
        if (auto* t = qobject_cast<TIvTranslator*>(child))
            return t;
    return nullptr;
}

bool IvRetranslate(QObject* built)
{
    for (QObject* o = built; o; o = o->parent()) {
        TIvTranslator* t = IvFindTranslator(o);
        if (t && t->IsBound()) {
            t->TranslatePart(built);
            return true;
        }
    }
    return false;
}

void IvSetDataControl(QObject* control, bool data)
{
    control->setProperty(DataControlProperty, data ? QVariant(true) : QVariant());
}

bool IvIsDataControl(const QObject* control)
{
    return control->property(DataControlProperty).toBool();
}

void IvSetCodeText(QObject* object, const char* property)
{
    QStringList list = object->property(CodeTextProperty).toStringList();
    const QString name = QString::fromLatin1(property);
    if (!list.contains(name, Qt::CaseInsensitive))
        list << name;
    object->setProperty(CodeTextProperty, list);
}

bool IvIsCodeText(const QObject* object, const std::string& property)
{
    const QVariant v = object->property(CodeTextProperty);
    return v.isValid() && v.toStringList().contains(FromUtf8(property), Qt::CaseInsensitive);
}

void IvCenterControl(const QWidget* reference, QWidget* control)
{
    int left, top;
    if (reference) {
        left = reference->x() + (reference->width() - control->width()) / 2;
        top = reference->y() + (reference->height() - control->height()) / 2;
    } else {
        QScreen* screen = control->screen() ? control->screen() : QGuiApplication::primaryScreen();
        QSize size = screen ? screen->geometry().size() : QSize(0, 0);
        left = (size.width() - control->width()) / 2;
        top = (size.height() - control->height()) / 2;
    }
    control->move(std::max(left, 0), std::max(top, 0));
}

bool IvIsInLayout(const QWidget* widget)
{
    const QWidget* parent = widget->parentWidget();
    if (!parent || widget->isWindow())
        return false;
    return parent->layout() && LayoutHolds(parent->layout(), widget);
}

// ------------------------------------------------------------ translator

TIvTranslator::TIvTranslator(QObject* owner)
    : QObject(owner)
{
    setObjectName(QStringLiteral("IvTranslator1"));
}

TIvTranslator::~TIvTranslator()
{
    Unbind();
}

void TIvTranslator::SetAutoOpen(bool on)
{
    if (on)
        Options |= 1u << ivtoAutoOpen;
    else
        Options &= ~(1u << ivtoAutoOpen);
}

QObject* TIvTranslator::GetHost() const
{
    return FHost ? FHost : parent();
}

void TIvTranslator::Loaded()
{
    if (HasOption(ivtoAutoOpen) && (GetDictionary() || Dictionaries().GetCount() > 0))
        Translate();
}

void TIvTranslator::TranslateForm(QObject* host)
{
    FHost = host;
    Translate();
}

bool TIvTranslator::LanguageIsRightToLeft() const
{
    TIvDictionary* d = GetDictionary();
    return d ? d->GetCurrentLanguage()->GetCharsetType() == ivcsBiDirectional
             : NativeLayout == ivroRightToLeft;
}

void TIvTranslator::Translate()
{
    if (IsBound()) {
        TranslateHost();
        FState |= 1u << ivtsBound;
        return;
    }
    if (!GetDictionary()) {
        if (Dictionaries().GetCount() == 0) {
            QObject* host = GetHost();
            throw EIvMulti(platform::Format(
                "No dictionary has been assigned to the translator component (%s on \"%s\" form)",
                Utf8(objectName()), host ? Utf8(host->objectName()) : std::string()));
        }
        TIvDictionary* d = nullptr;
        if (!GetDictionaryName().empty())
            d = Dictionaries().FindDictionary(GetDictionaryName());
        SetDictionary(d ? d : Dictionaries().GetItems(0));
    }
    TIvDictionary* d = GetDictionary();
    if (d->IsDesignTime() || !d->CanBeOpened() || FTargets.IsDefault())
        return;
    if (!d->IsOpen())
        d->Open();
    if (!FHost)
        FHost = parent();
    auto* window = qobject_cast<QWidget*>(FHost);
    if (window && window->isWindow()) {
        FNativeFontName = window->font().family();
        FNativeFontSize = window->font().pointSize();
    } else {
        FNativeFontName.clear();
        FNativeFontSize = 0;
    }
    TranslateHost();
    LanguageChanged(true, true); // not bound yet: only the events
    TIvCustomTranslator::Translate();
}

void TIvTranslator::TranslateHost()
{
    FVisited.clear();
    TIvDictionary* d = GetDictionary();
    FLanguageRightToLeft = LanguageIsRightToLeft();
    if (OnBeforeTranslate)
        OnBeforeTranslate(this);
    QObject* host = GetHost();
    auto* hostWidget = qobject_cast<QWidget*>(host);
    if (d && HasOption(ivtoCheckFont) && hostWidget && hostWidget->isWindow())
        CheckHostFont();
    if (host)
        TranslateSubComponent(host, 0);

    // Multi-byte languages get a larger host; the factor applied is the one undone.
    int factor = MultiByteScale > 0 ? MultiByteScale : 100;
    if (hostWidget && HasOption(ivtoScaleMultiByte)) {
        bool multiByte = d && d->GetCurrentLanguage()->GetCharsetType() == ivcsMultiByte;
        if (!multiByte && IsScaled()) {
            ScaleHost(hostWidget, 100, FAppliedScale);
            FState &= ~(1u << ivtsScaled);
            if (OnScale)
                OnScale(this, host);
        } else if (multiByte && !IsScaled() && factor != 100) {
            ScaleHost(hostWidget, factor, 100);
            FAppliedScale = factor;
            FState |= 1u << ivtsScaled;
            if (OnScale)
                OnScale(this, host);
        }
    }
    if (HasOption(ivtoMirrorBiDirectional)) {
        if (FLanguageRightToLeft != (NativeLayout == ivroRightToLeft))
            FState |= 1u << ivtsMirrored;
        else
            FState &= ~(1u << ivtsMirrored);
    }
    if (OnAfterTranslate)
        OnAfterTranslate(this);
}

void TIvTranslator::TranslatePart(QObject* root)
{
    FVisited.clear();
    FLanguageRightToLeft = LanguageIsRightToLeft();
    TranslateSubComponent(root, 0);
}

void TIvTranslator::LanguageChanged(bool languageChanged, bool localeChanged)
{
    if (IsBound() && HasOption(ivtoAutoTranslate))
        Translate();
    if (languageChanged && OnLanguageChange)
        OnLanguageChange(this);
    if (localeChanged && OnLocaleChange)
        OnLocaleChange(this);
}

void TIvTranslator::Unbind()
{
    TIvCustomTranslator::Unbind();
    FTable.Clear();
    FHost = nullptr;
}

void TIvTranslator::RestoreNative()
{
    QObject* host = FHost;
    bool scaled = IsScaled();
    TIvCustomTranslator::Unbind(); // without a dictionary every lookup gives the native text
    FHost = host;
    if (scaled)
        FState |= 1u << ivtsScaled;
    TranslateHost();
}

void TIvTranslator::UnbindAndSetNative()
{
    if (IsBound())
        RestoreNative();
    Unbind();
}

void TIvTranslator::Close()
{
    // Only this window goes back to English: the shared dictionary keeps its language.
    if (GetDictionary())
        RestoreNative();
    Unbind();
}

void TIvTranslator::ScaleHost(QWidget* host, int multiply, int divide)
{
    QFont font = host->font();
    if (font.pointSize() > 0) {
        font.setPointSize(std::max(1, font.pointSize() * multiply / divide));
        host->setFont(font);
    }
    // Layouts size what they hold; only freely placed widgets are moved and sized here.
    for (QWidget* w : host->findChildren<QWidget*>()) {
        if (w->isWindow() || IvIsInLayout(w))
            continue;
        QRect g = w->geometry();
        w->setGeometry(g.x() * multiply / divide, g.y() * multiply / divide, g.width() * multiply / divide,
            g.height() * multiply / divide);
    }
    host->resize(host->width() * multiply / divide, host->height() * multiply / divide);
}

void TIvTranslator::CheckHostFont()
{
    auto* host = qobject_cast<QWidget*>(GetHost());
    TIvDictionary* d = GetDictionary();
    if (!host || !host->isWindow() || !d)
        return;
    const TIvLanguage* language = d->GetCurrentLanguage();
    QString name = language->FontName.empty() ? FNativeFontName : FromUtf8(language->FontName);
    int size = language->FontSize ? language->FontSize : FNativeFontSize;
    QFont font = host->font();
    bool changed = false;
    if (!name.isEmpty() && font.family() != name) {
        font.setFamily(name);
        changed = true;
    }
    if (size > 0 && font.pointSize() != size) {
        font.setPointSize(size);
        changed = true;
    }
    if (changed)
        host->setFont(font);
}

void TIvTranslator::TranslateSubComponent(QObject* component, TIvRestrictions restrictions)
{
    if (IvIsDataControl(component))
        return;
    if (OnRestrictComponent)
        OnRestrictComponent(this, component, restrictions);
    TIvRestrictions inherited = (restrictions & (1u << ivrThisComponentOnly)) ? 0 : restrictions;
    // A handler may delete objects while the walk goes on.
    QList<QPointer<QObject>> children;
    for (QObject* child : component->children())
        children.append(child);
    for (const QPointer<QObject>& child : children) {
        if (!child || qobject_cast<TIvTranslator*>(child.data()))
            continue;
        auto* widget = qobject_cast<QWidget*>(child.data());
        // Other windows and frames with a translator of their own are theirs
        // (else the one that walks second would take the other's translation
        // for English); pop-up menus are walked.
        if (widget && !qobject_cast<QMenu*>(widget) && IvFindTranslator(widget))
            continue;
        TranslateSubComponent(child, inherited);
    }
    QPointer<QObject> alive(component);
    if (!(restrictions & (1u << ivrBuildInTranslation)))
        TranslateObject(component, restrictions);
    if (alive && !(restrictions & (1u << ivrCustomTranslation)))
        TranslateComponent(component);
    if (alive && HasOption(ivtoMirrorBiDirectional)) {
        if (auto* control = qobject_cast<QWidget*>(component)) {
            TIvBidirectionalState* state = GetBidirectionalState(control, true);
            bool changeOrder = state->RightToLeft != FLanguageRightToLeft;
            if (!(restrictions & (1u << ivrFlip))) {
                if (control == GetHost())
                    state->RightToLeft = FLanguageRightToLeft;
                else if (FLanguageRightToLeft == (NativeLayout == ivroRightToLeft))
                    UnFlipControl(control, state);
                else
                    FlipControl(control, state);
            }
            if (!(restrictions & (1u << ivrReadingOrder)) && changeOrder)
                ChangeComponentReadingOrder(control);
        } else {
            ChangeComponentReadingOrder(component);
        }
    }
    if (alive && OnTranslate)
        OnTranslate(this, component);
    if (auto* control = qobject_cast<QWidget*>(alive.data()))
        control->update();
}

void TIvTranslator::TranslateObject(QObject* object, TIvRestrictions restrictions)
{
    if (qobject_cast<TIvTranslator*>(object) || FVisited.contains(object))
        return;
    FVisited.insert(object);
    if (OnRestrictObject) {
        bool translate = true;
        OnRestrictObject(this, object, translate);
        if (!translate)
            return;
    }
    const std::string className = object->metaObject()->className();
    const std::string component = object != FHost ? Utf8(object->objectName()) : std::string();

    if (HasOption(ivtoUpdateLocaleProperty) && !(restrictions & (1u << ivrFlip)))
        if (auto* w = qobject_cast<QWidget*>(object); w && GetDictionary()) {
            std::string name = platform::CurrentNls().LocaleName(GetDictionary()->GetActiveLocaleId());
            if (!name.empty())
                w->setLocale(QLocale(FromUtf8(name)));
        }

    TIvPropInfoList props(object);
    for (int i = 0; i < props.GetCount(); ++i) {
        const TIvPropInfo& prop = props.Get(i);
        if (SameName(prop.Name, "name") || !FTargets.IsPropertyInTargets(className, prop.Name)
            || IvIsCodeText(object, prop.Name))
            continue;
        if (OnRestrictProperty) {
            bool translate = true;
            OnRestrictProperty(this, object, prop.Name, translate);
            if (!translate)
                continue;
        }
        if (prop.Kind == ivpkString) {
            QString value = prop.GetString(object);
            if (value.isEmpty())
                continue;
            std::string native = Utf8(value);
            std::string translated = DoTranslateContextString(object, component, prop.Name, native);
            if (translated != native)
                prop.SetString(object, FromUtf8(translated));
            continue;
        }
        // A list keeps its selection and its checks; a hidden combo box keeps its entries.
        // "Visible" is the combo box's own flag: nothing shows before its window does.
        auto* combo = qobject_cast<QComboBox*>(object);
        if (combo && combo->testAttribute(Qt::WA_WState_ExplicitShowHide)
            && combo->testAttribute(Qt::WA_WState_Hidden))
            continue;
        int comboIndex = combo ? combo->currentIndex() : -1;
        auto* list = qobject_cast<QListWidget*>(object);
        int listRow = list ? list->currentRow() : -1;
        std::vector<std::pair<bool, Qt::CheckState>> marks;
        if (list)
            for (int r = 0; r < list->count(); ++r)
                marks.emplace_back(list->item(r)->isSelected(), list->item(r)->checkState());
        QStringList lines = prop.GetStrings(object);
        QStringList before = lines;
        DoTranslateStrings(object, component, prop.Name, lines);
        if (lines != before)
            prop.SetStrings(object, lines);
        if (list) {
            for (int r = 0; r < list->count() && r < static_cast<int>(marks.size()); ++r) {
                list->item(r)->setSelected(marks[r].first);
                if (list->item(r)->flags() & Qt::ItemIsUserCheckable)
                    list->item(r)->setCheckState(marks[r].second);
            }
            if (listRow != -1)
                list->setCurrentRow(listRow, QItemSelectionModel::NoUpdate);
        }
        if (combo && comboIndex != -1)
            combo->setCurrentIndex(comboIndex);
    }
}

void TIvTranslator::TranslateComponent(QObject* component)
{
    if (IvModules().TranslateComponent(this, component))
        return;
    const std::string className = component->metaObject()->className();
    if (!FTargets.IsPropertyInTargets(className, "Text"))
        return;
    // A memo's text is one string, without its final line breaks.
    auto* plain = qobject_cast<QPlainTextEdit*>(component);
    auto* rich = qobject_cast<QTextEdit*>(component);
    if (!plain && !rich)
        return;
    std::string text = Utf8(plain ? plain->toPlainText() : rich->toPlainText());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    std::string translated = DoTranslateContextString(component, Utf8(component->objectName()), "Text", text);
    if (translated == text)
        return;
    if (plain)
        plain->setPlainText(FromUtf8(translated));
    else
        rich->setPlainText(FromUtf8(translated));
}

void TIvTranslator::ChangeComponentReadingOrder(QObject* component)
{
    IvModules().ChangeComponentReadingOrder(this, component);
}

void TIvTranslator::FlipControl(QWidget* control, TIvBidirectionalState* state)
{
    // Qt mirrors what layouts place; only freely placed widgets move here.
    if (IvIsInLayout(control) || control->isWindow())
        return;
    if (IvModules().FlipControl(this, control, state))
        return;
    if (state->Flipped || !control->parentWidget())
        return;
    state->Flipped = true;
    state->RightToLeft = true;
    control->move(control->parentWidget()->width() - control->width() - control->x(), control->y());
}

void TIvTranslator::UnFlipControl(QWidget* control, TIvBidirectionalState* state)
{
    if (IvModules().UnFlipControl(this, control, state))
        return;
    if (!state->Flipped)
        return;
    state->Flipped = false;
    state->RightToLeft = false;
    control->move(state->UnflippedLeft, control->y());
}

TIvBidirectionalState* TIvTranslator::GetBidirectionalState(QWidget* control, bool create)
{
    std::erase_if(FStates, [](const TIvBidirectionalState& s) { return !s.Control; });
    for (auto& state : FStates)
        if (state.Control == control)
            return &state;
    if (!create)
        return nullptr;
    FStates.push_back({ control, false, control->x(), false });
    return &FStates.back();
}

void TIvTranslator::UpdateControl(QWidget* control)
{
    if (!IsMirrored() || !control->parentWidget() || control == GetHost())
        return;
    TIvBidirectionalState* state = GetBidirectionalState(control, false);
    if (state && state->Flipped)
        control->move(
            control->parentWidget()->width() - control->width() - state->UnflippedLeft, control->y());
}

void TIvTranslator::UpdateControls()
{
    if (!IsMirrored())
        return;
    for (auto& state : FStates) {
        QWidget* control = state.Control;
        if (!control || !control->parentWidget() || control == GetHost() || !state.Flipped)
            continue;
        int left = control->parentWidget()->width() - control->width() - state.UnflippedLeft;
        if (control->x() != left)
            control->move(left, control->y());
    }
}

// ------------------------------------------------------------ native values

void TIvTranslator::Watch(QObject* object)
{
    if (FWatched.contains(object))
        return;
    FWatched.insert(object);
    connect(object, &QObject::destroyed, this, [this](QObject* gone) {
        FTable.Remove(gone);
        FWatched.remove(gone);
        FVisited.remove(gone);
    });
}

std::string TIvTranslator::Lookup(
    const std::string& native, const std::string& component, bool menuAmpRemoved)
{
    TIvDictionary* d = GetDictionary();
    if (!d)
        return native;
    std::string translation;
    if (d->GetContextType() == 0) {
        bool found = d->TranslateString(native, translation);
        if (!found && menuAmpRemoved)
            found = d->TranslateString(WithoutFirstAmpersand(native), translation);
        return d->CheckTranslation(native, translation, found);
    }
    // Our own window classes are contexts, from the host's class up; Qt's never are.
    QObject* host = GetHost();
    for (const QMetaObject* meta = host ? host->metaObject() : nullptr; meta; meta = meta->superClass()) {
        const char* name = meta->className();
        if (name[0] == 'Q' && std::isupper(static_cast<unsigned char>(name[1])))
            break;
        bool found = d->TranslateContextString(native, name, component, translation);
        if (!found && menuAmpRemoved)
            found = d->TranslateContextString(WithoutFirstAmpersand(native), name, component, translation);
        if (found)
            return d->CheckTranslation(native, translation, true);
    }
    return d->Translate(native);
}

std::string TIvTranslator::DoTranslateString(
    QObject* object, const std::string& property, const std::string& value)
{
    return DoTranslateContextString(object, "", property, value);
}

std::string TIvTranslator::DoTranslateContextString(
    QObject* object, const std::string& component, const std::string& property, const std::string& value)
{
    if (value.empty())
        return {};
    bool menu = IsMenuObject(object);
    bool removed = false;
    std::string match = menu ? WithoutFirstAmpersand(value, &removed) : value;
    if (TIvTranslatorTableItem* row = FTable.Find(object, property, match)) {
        // The property shows a translation of ours: start again from its English text.
        bool rowRemoved = menu && row->NativeMatch != row->NativeValue;
        std::string translated = Lookup(row->NativeValue, row->ComponentName, rowRemoved);
        row->TranslatedMatch = menu ? WithoutFirstAmpersand(translated) : translated;
        return translated;
    }
    std::string translated = Lookup(value, component, menu && removed);
    FTable.Add(
        { object, component, property, value, match, menu ? WithoutFirstAmpersand(translated) : translated });
    Watch(object);
    return translated;
}

void TIvTranslator::DoTranslateStrings(
    QObject* object, const std::string& component, const std::string& property, QStringList& lines)
{
    for (QString& line : lines)
        line = FromUtf8(DoTranslateContextString(object, component, property, Utf8(line)));
}

std::string TIvTranslator::GetNativePropertyValue(const QObject* object, const std::string& property) const
{
    const TIvTranslatorTableItem* row = FTable.FindNative(object, property);
    if (!row)
        throw Exception("Property has not been translated");
    return row->NativeValue;
}

std::string TIvTranslator::GetNativePropertyValueEx(
    const QObject* object, const std::string& property, const std::string& translated) const
{
    for (int i = 0; i < FTable.GetCount(); ++i) {
        const TIvTranslatorTableItem& row = FTable.GetItem(i);
        if (row.Object == object && strcasecmp(row.PropertyName.c_str(), property.c_str()) == 0
            && strcasecmp(row.TranslatedMatch.c_str(), translated.c_str()) == 0)
            return row.NativeValue;
    }
    throw Exception("Property has not been translated");
}
