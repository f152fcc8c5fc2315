#pragma once
// The dialog in which the user chooses the CBE rules that drive one device
// (a loop sensor, a loop module or an on-board output circuit) through a
// window of 24 rules from a base rule. Every change is written at once.
#include <QDialog>

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class TCBERangeEntryLogic;
class TPX10ConfigData;
class TSpinControl;

class TfrmCBERangeEntry : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCBERangeEntry(QWidget* parent = nullptr);
    ~TfrmCBERangeEntry() override;

    // Shows the dialog modally for device `deviceId` (1..99 a sensor, 101..199
    // a module, 1001..1006 an on-board output circuit) of `config`. Returns
    // the modal result; an unknown device or no configuration shows nothing.
    int Execute(TPX10ConfigData* config, int deviceId);

    // Opens the CBE rule editor on a rule and returns the rule it showed
    // last; set by the main window. Edit Rule is off while it is not set.
    std::function<int(int rule)> EditRule;

    QLabel* lblTitle;
    QLineEdit* edtCBERange;
    QListWidget* clbCBERangeSelector;
    QLabel* lblBaseCBERule;
    TSpinControl* spnBaseCBERule;
    QCheckBox* cbxLoopPoweredOutput;
    QPushButton* btnEditRule;
    QPushButton* btnClose;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void Refill();
    void FitEntries();
    void ShowRuleListText();
    void EntryChecked(QListWidgetItem* item);
    void EditRuleExecute();
    void UpdateEditRuleEnabled();
    std::unique_ptr<TCBERangeEntryLogic> FLogic;
    bool FLoading = false;
};
