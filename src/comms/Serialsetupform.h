#pragma once
// The serial port choice: COM1 to COM8, each shown with the device it stands
// for on this machine.
#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

class TfrmSerialSetup : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSerialSetup(QWidget* parent = nullptr);

    // Starts on PortIndex (COM1 when it is outside 0 to 7); returns the chosen
    // index after OK, else PortIndex unchanged.
    int Execute(int PortIndex);

    // The texts of the port list, refreshed at each Execute.
    void FillPorts();

    QComboBox* cboCommsPortSelect;
    QLabel* lblSerialPort;
    QPushButton* btnOK;
    QPushButton* btnCancel;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

extern TfrmSerialSetup* frmSerialSetup;
