#pragma once
// The printer setup: the printer and copies of the print selection's job.
#include <QDialog>

class QComboBox;
class QPushButton;
class TSpinControl;
class TfrmPrintSelection;

class TfrmPrintSetup : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPrintSetup(TfrmPrintSelection& selection, QWidget* parent = nullptr);

    QComboBox* cboPrinterSelect;
    TSpinControl* cseCopies;
    QPushButton *btnOK, *btnCancel;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void FormShow();
    void FormCloseOK();

    TfrmPrintSelection& FSelection;
};
