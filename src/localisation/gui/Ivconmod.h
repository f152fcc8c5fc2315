#pragma once
// Translation modules: plug-ins that a translator asks first about every
// object it walks, and about mirroring and reading order. The control module
// is registered by itself and handles what the property walk cannot reach:
// table header items, and tree items by index with sorting suspended.
#include <QObject>

#include <memory>
#include <vector>

class QWidget;
class TIvTranslator;
struct TIvBidirectionalState;

class TIvModule {
public:
    virtual ~TIvModule() = default;
    // Each answers whether the module handled the object.
    virtual bool TranslateComponent(TIvTranslator* translator, QObject* component) { return false; }
    virtual bool FlipControl(TIvTranslator* translator, QWidget* control, TIvBidirectionalState* state)
    {
        return false;
    }
    virtual bool UnFlipControl(TIvTranslator* translator, QWidget* control, TIvBidirectionalState* state)
    {
        return false;
    }
    virtual bool ChangeComponentReadingOrder(TIvTranslator* translator, QObject* component) { return false; }
};

class TIvModules {
public:
    // Ignored when a module of exactly the same class is registered.
    void Add(std::unique_ptr<TIvModule> module);
    int GetCount() const { return static_cast<int>(FItems.size()); }
    TIvModule* GetItems(int index) const { return FItems.at(index).get(); }

    // The registered modules in order, until one answers true.
    bool TranslateComponent(TIvTranslator* translator, QObject* component);
    bool FlipControl(TIvTranslator* translator, QWidget* control, TIvBidirectionalState* state);
    bool UnFlipControl(TIvTranslator* translator, QWidget* control, TIvBidirectionalState* state);
    bool ChangeComponentReadingOrder(TIvTranslator* translator, QObject* component);

private:
    std::vector<std::unique_ptr<TIvModule>> FItems;
};

// The process-wide list, with the control module registered first.
TIvModules& IvModules();

class TIvControlModule : public TIvModule {
public:
    bool TranslateComponent(TIvTranslator* translator, QObject* component) override;
    bool FlipControl(TIvTranslator* translator, QWidget* control, TIvBidirectionalState* state) override;
    bool ChangeComponentReadingOrder(TIvTranslator* translator, QObject* component) override;
};
