#pragma once
// The frame in which the user sets up the six on-board output circuits: each
// circuit's output type, the end-of-line device of B01 to B04 and the CBE
// rules that drive it. Every change is written into the configuration at
// once; LoadFromConfig fills the controls and never writes.
#include "ConfigPointer.h"

#include <QWidget>

#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TPX10ConfigData;

class TfrmOnboardOutputSetup : public QWidget {
    Q_OBJECT
public:
    explicit TfrmOnboardOutputSetup(QWidget* parent = nullptr);

    // The configuration shown (not owned); set again whenever it is replaced.
    void SetConfig(TPX10ConfigData* config) { FConfig = config; }
    void LoadFromConfig();
    // Commits a rule list edit the user is still typing in.
    void CommitPendingEdits();

    // Opens the CBE range entry for a circuit (device 1001 to 1006); set by
    // the main window. The frame reloads itself after it returns.
    std::function<void(int deviceId)> OpenRangeEntry;

    std::array<QComboBox*, 6> cboB {};
    std::array<QComboBox*, 4> cboBEOL {};
    std::array<QLineEdit*, 6> edtCbeRules {};
    std::array<QPushButton*, 6> btnCBERuleEdit {};
    std::array<QLabel*, 6> lblCircuit {};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The type and EOL lists in the language in force.
    void RetextLists();
    void TypeChosen(int circuit, int row);
    void EOLChosen(int circuit, int row);
    void CommitRuleList(int circuit);
    void RuleButtonClicked(int circuit);
    TConfigPointer<TPX10ConfigData> FConfig = nullptr;
};
