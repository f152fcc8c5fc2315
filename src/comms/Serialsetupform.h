#pragma once
// The serial port choice: COM1 to COM8, each shown with the device it opens
// on this machine, and the device chosen for each. The logic is SerialPorts.
#include "Serialports.h"
#include "WrappedText.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

class TfrmSerialSetup : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSerialSetup(QWidget* parent = nullptr, comms::SerialPorts Ports = comms::SerialPorts());

    // Starts on PortIndex (COM1 when it is outside 0 to 7); returns the chosen
    // index after OK, else PortIndex unchanged. Device choices are stored
    // only after OK.
    int Execute(int PortIndex);

    // The texts of the port list, refreshed at each Execute.
    void FillPorts();

    QComboBox* cboCommsPortSelect;
    QLabel* lblSerialPort;
    QLabel* lblDevice;
    QComboBox* cboDevice;
    WrappedText* lblDeviceStatus;
    QPushButton* btnOK;
    QPushButton* btnCancel;

public slots:
    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TCommPort SelectedPort() const;
    // The device list and status of the selected port.
    void ShowDevice();

    comms::SerialPorts FPorts;
};
