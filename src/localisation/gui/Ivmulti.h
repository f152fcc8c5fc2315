#pragma once
// The translator of a window: a QObject owned by its window that walks the
// window's objects and their translatable properties and replaces each text
// by its translation, always from the English (native) text it recorded,
// again at every language change of its dictionary.
#include "Ivdictio.h"
#include "Ivtarget.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

enum TIvTranslatorOption {
    ivtoAutoTranslate,
    ivtoCheckFont,
    ivtoScaleMultiByte,
    ivtoMirrorBiDirectional,
    ivtoChangeFontCharset,
    ivtoUpdateLocaleProperty,
    ivtoAutoOpen,
    ivtoTranslateSystemMenu,
    ivtoTranslateOCX,
    ivtoForceCharsetChange,
};
using TIvTranslatorOptions = uint16_t; // bit n = option n
constexpr TIvTranslatorOptions IvDefaultTranslatorOptions = 0x1CF;

enum TIvRestriction {
    ivrBuildInTranslation, // no property walk of this object
    ivrCustomTranslation, // no modules and no memo text
    ivrFlip, // not moved, and its locale kept
    ivrReadingOrder,
    ivrThisComponentOnly, // the restrictions do not pass on to its children
    ivrCharset,
};
using TIvRestrictions = uint8_t; // bit n = restriction n

enum TIvReadingOrder { ivroLeftToRight, ivroRightToLeft };
enum TIvCharsetChange { ivccDisabled, ivccNormal, ivccAll };

// One control met by the mirroring.
struct TIvBidirectionalState {
    QPointer<QWidget> Control;
    bool Flipped = false;
    int UnflippedLeft = 0;
    bool RightToLeft = false;
};

// One native value that the translator replaced.
struct TIvTranslatorTableItem {
    const QObject* Object = nullptr; // identity only; rows go with their object
    std::string ComponentName;
    std::string PropertyName;
    std::string NativeValue;
    std::string NativeMatch; // menus: without the first "&"
    std::string TranslatedMatch;
};

// Rows in the order added, found through a hash on the object; the first
// row that fits wins.
class TIvTranslatorTable {
public:
    int GetCount() const { return static_cast<int>(FRows.size()); }
    const TIvTranslatorTableItem& GetItem(int index) const { return *FRows.at(index); }
    TIvTranslatorTableItem& Add(TIvTranslatorTableItem item);
    void Clear();
    TIvTranslatorTableItem* Find(
        const QObject* object, const std::string& property, const std::string& translated);
    const TIvTranslatorTableItem* FindNative(const QObject* object, const std::string& property) const;
    void Remove(const QObject* object);
    bool Has(const QObject* object) const { return FIndex.count(object) > 0; }

private:
    std::vector<std::unique_ptr<TIvTranslatorTableItem>> FRows;
    std::unordered_map<const QObject*, std::vector<TIvTranslatorTableItem*>> FIndex;
};

class TIvTranslator : public QObject, public TIvCustomTranslator {
    Q_OBJECT
public:
    using TIvTranslateNotifyEvent = std::function<void(TIvTranslator*, QObject*)>;
    using TIvRestrictComponentEvent = std::function<void(TIvTranslator*, QObject*, TIvRestrictions&)>;
    using TIvRestrictObjectEvent = std::function<void(TIvTranslator*, QObject*, bool& translate)>;
    using TIvRestrictPropertyEvent
        = std::function<void(TIvTranslator*, QObject*, const std::string& property, bool& translate)>;

    // Owned by `owner`, the window it translates unless another host is set.
    explicit TIvTranslator(QObject* owner);
    ~TIvTranslator() override;

    const TIvTargetProperties& GetTargets() const { return FTargets; }
    void SetTargets(const TIvTargetProperties& targets) { FTargets.Assign(targets); }
    TIvTargetProperties& Targets() { return FTargets; }
    TIvTranslatorOptions Options = IvDefaultTranslatorOptions;
    bool HasOption(TIvTranslatorOption o) const { return (Options >> o) & 1; }
    bool GetAutoOpen() const { return HasOption(ivtoAutoOpen); }
    void SetAutoOpen(bool on);
    TIvReadingOrder NativeLayout = ivroLeftToRight;
    TIvCharsetChange CharsetChange = ivccNormal;
    int MultiByteScale = 100; // percent; 0 or less counts as 100

    TIvTranslateNotifyEvent OnTranslate;
    TIvTranslateNotifyEvent OnScale;
    TIvRestrictComponentEvent OnRestrictComponent;
    TIvRestrictObjectEvent OnRestrictObject;
    TIvRestrictPropertyEvent OnRestrictProperty;

    QObject* GetHost() const;
    // After the window has built its widgets: translates when AutoOpen is set and a dictionary exists.
    void Loaded();
    void Translate() override;
    void TranslateHost() override;
    void LanguageChanged(bool languageChanged, bool localeChanged) override;
    void Unbind() override;
    void UnbindAndSetNative() override;
    uintptr_t GetSystemMenuWinHandle() override { return 0; } // the window manager owns it
    void TranslateForm(QObject* host);
    void Open(QObject* host) { TranslateForm(host); }
    // Puts this window back into English and unbinds; the dictionary keeps its language.
    void Close();
    // Walks objects built after the last pass (a page made late).
    void TranslatePart(QObject* root);

    std::string DoTranslateString(QObject* object, const std::string& property, const std::string& value);
    std::string DoTranslateContextString(
        QObject* object, const std::string& component, const std::string& property, const std::string& value);
    void DoTranslateStrings(
        QObject* object, const std::string& component, const std::string& property, QStringList& lines);
    // Raise Exception "Property has not been translated" when no row fits.
    std::string GetNativePropertyValue(const QObject* object, const std::string& property) const;
    std::string GetNativePropertyValueEx(
        const QObject* object, const std::string& property, const std::string& translated) const;
    const TIvTranslatorTable& GetTable() const { return FTable; }

    TIvBidirectionalState* GetBidirectionalState(QWidget* control, bool create);
    void UpdateControl(QWidget* control);
    void UpdateControls();
    bool IsMirrored() const { return FState & (1u << ivtsMirrored); }
    bool IsScaled() const { return FState & (1u << ivtsScaled); }

    virtual void CheckHostFont();
    virtual void FlipControl(QWidget* control, TIvBidirectionalState* state);
    virtual void UnFlipControl(QWidget* control, TIvBidirectionalState* state);
    virtual void TranslateComponent(QObject* component);
    virtual void ChangeComponentReadingOrder(QObject* component);

protected:
    virtual void TranslateObject(QObject* object, TIvRestrictions restrictions);
    virtual void TranslateSubComponent(QObject* component, TIvRestrictions restrictions);

private:
    std::string Lookup(const std::string& native, const std::string& component, bool menuAmpRemoved);
    void Watch(QObject* object);
    void ScaleHost(QWidget* host, int multiply, int divide);
    // Leaves the dictionary and walks the host once more, so every recorded text gets its English back.
    void RestoreNative();
    bool LanguageIsRightToLeft() const;

    QObject* FHost = nullptr;
    TIvTargetProperties FTargets;
    TIvTranslatorTable FTable;
    QSet<const QObject*> FVisited;
    QSet<const QObject*> FWatched;
    std::vector<TIvBidirectionalState> FStates;
    bool FLanguageRightToLeft = false;
    QString FNativeFontName;
    int FNativeFontSize = 0;
    int FAppliedScale = 100;
};

// The translator that `window` carries itself, or null.
TIvTranslator* IvFindTranslator(const QObject* window);
// After widgets were built late: the nearest bound translator above `built`
// translates them into the language in force. False when none is found.
bool IvRetranslate(QObject* built);
// Data (downloaded lines, configuration texts) is never translated: such a
// control and everything in it are kept out of every walk.
void IvSetDataControl(QObject* control, bool data = true);
bool IvIsDataControl(const QObject* control);
// A text that code builds through Translate (a caption with a file name, a
// state): the property is kept out of every translator's walk, and the window
// rebuilds it after each language change. `property` is in the translator's
// vocabulary ("Caption", "Hint", "Items").
void IvSetCodeText(QObject* object, const char* property = "Caption");
bool IvIsCodeText(const QObject* object, const std::string& property);
// The item data role that marks a tree item's text as built by code.
constexpr int IvCodeTextRole = Qt::UserRole + 0x4956;
// Centres `control` on `reference` (or on the screen), never above or left of 0.
void IvCenterControl(const QWidget* reference, QWidget* control);
// Whether a layout places `widget` (Qt mirrors those itself).
bool IvIsInLayout(const QWidget* widget);
