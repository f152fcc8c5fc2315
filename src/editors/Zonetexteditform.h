#pragma once
// The modal window in which the user edits the 32 zone texts, two zone/text
// pairs a row. Every edited text is written into the configuration at once.
#include <QDialog>

class QPushButton;
class TPX10ConfigData;
class TRecordGrid;
class TZoneDataSet;

class TfrmZoneText : public QDialog {
    Q_OBJECT
public:
    explicit TfrmZoneText(QWidget* parent = nullptr);

    // The configuration edited (not owned); set again whenever it is
    // replaced, so no row ever reaches a deleted one.
    void SetConfig(TPX10ConfigData* config);
    int ShowModal();
    // Writes a text still being typed.
    void PostZoneEdits();
    void btnClearAllZoneTextClick();

    TRecordGrid* dbgZoneText;
    QPushButton* btnClearAllZoneText;
    QPushButton* btnClose;
    TZoneDataSet* DataSet;

public slots:
    // Esc and the close box keep what was typed: the window ends with OK.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
};
