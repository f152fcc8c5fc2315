#pragma once
// The modal window in which the user edits the 64 CBE rules: one tab per
// rule; for the rule shown its type, filter, six flags, three input devices
// and the conditions of its 16 zones. What may be edited follows the rule
// type. Every change is written into the configuration at once; loading a
// rule into the controls never writes.
#include "ConfigPointer.h"

#include <QDialog>

#include <array>
#include <functional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;
class TCBERuleDataSet;
class TCBERuleZoneDataSet;
class TPX10ConfigData;
class TRecordGrid;
class TSpinControl;

class TfrmCBERuleEdit : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCBERuleEdit(QWidget* parent = nullptr);

    // The configuration edited (not owned); set again whenever it is
    // replaced, so no control ever reaches a deleted one.
    void SetConfig(TPX10ConfigData* config);
    // -1 shows the rule shown last; 1..64 that rule; anything else shows
    // nothing. Returns the rule shown last.
    int Execute(int RuleNo);
    int CurrentRule() const { return FRule; }
    // Writes a zone condition still being chosen.
    void RefreshRuleZones();

    // From the main window: whether VdS compatibility is on (Evacuate hidden).
    std::function<bool()> IsVdSCompatibility;

    QLabel* lblRuleNumber;
    QWidget* tbcCBERules;
    std::vector<QToolButton*> RuleTabs;
    QGroupBox* gbxRuleDetails;
    TRecordGrid* dbgRuleZones;
    QPushButton* btnSetZonesAllOn;
    QPushButton* btnSetAllZonesOff;
    QComboBox* dtcRuleType;
    QComboBox* dtcFilterType;
    QCheckBox* cbxEvacuate;
    QCheckBox* cbxEnableSoakTimer;
    QCheckBox* cbxSilence;
    QCheckBox* cbxInterruptable;
    QCheckBox* cbxTwoZone;
    QCheckBox* cbxClassChange;
    std::array<QComboBox*, 3> dtcDeviceInputType {};
    std::array<TSpinControl*, 3> cseDeviceInputType {};
    std::array<QLabel*, 3> lblDeviceInputType {};
    QPushButton* btnPreviousRule;
    QPushButton* btnNextRule;
    QPushButton* btnClose;
    TCBERuleDataSet* RuleData;
    TCBERuleZoneDataSet* ZoneData;

public slots:
    // Esc and the close box keep what was chosen: the window ends with OK.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The zone grid as wide as its columns, and as high as `Rows` zones.
    void FitZoneGridWidth();
    int ZoneGridHeight(int Rows) const;
    // The value lists and the rule shown, in the language in force.
    void RetextCodeTexts();
    QWidget* BuildTabs();
    QWidget* BuildDetails();
    void SelectRule(int rule);
    void ShowRule();
    void FillFilterTypes();
    void UpdateRuleControls();
    void UpdateZonePickList();
    void RuleTypeChosen(int row);
    void FilterChosen(int row);
    void FlagClicked(QCheckBox* box);
    void KindChosen(int device, int row);
    void AddressChanged(int device);
    void SetAllZoneConditions(int condition);
    int PanelType() const;
    std::vector<QWidget*> RuleControls() const;
    std::vector<QCheckBox*> FlagBoxes() const;

    TConfigPointer<TPX10ConfigData> FConfig = nullptr;
    QButtonGroup* FTabGroup;
    int FRule = 1;
    bool FLoading = false;
    bool FSized = false;
};
