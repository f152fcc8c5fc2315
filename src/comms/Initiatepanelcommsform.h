#pragma once
// The panel detection dialog: a thin view over TInitiatePanelComms.
#include "Initiatepanelcomms.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

class TfrmInitiatePanelComms : public QDialog, public comms::ModalHost {
    Q_OBJECT
public:
    explicit TfrmInitiatePanelComms(QWidget* parent = nullptr);
    ~TfrmInitiatePanelComms() override;

    int Execute(TQuorvelProtocol* Protocol, bool Send, int ConfiguredPanelType);
    void StartDetection() { FLogic.StartDetection(); }
    void SendPasscode() { FLogic.SendPasscode(); }
    int GetPanelFirmwareNumber() const { return FLogic.GetPanelFirmwareNumber(); }
    // The identification the transfer reads after Execute (Windows-1252 bytes).
    const std::string& SoftwareID() const { return FLogic.GetSoftwareID(); }
    comms::TInitiatePanelComms& Logic() { return FLogic; }

    // ModalHost
    int RunModal(const std::function<void()>& onShow) override;
    void EndModal(int result) override;
    void Changed() override;

    QLabel* imgPX10 = nullptr;
    QLabel* imgTR70 = nullptr;
    QLabel* imgMarvex = nullptr;
    QLabel* ImageQTB = nullptr;
    QLabel* lblRetries = nullptr;
    QLabel* lblPanelNotDetected = nullptr;
    QLabel* lblPX10NotFound = nullptr;
    QLabel* lblSearchingForPanel = nullptr;
    QLabel* lblPasscode = nullptr;
    QLabel* lblEnterPasscode = nullptr;
    QLabel* lblPasscodeProtected = nullptr;
    QLabel* lblInvalidPasscode = nullptr;
    QLabel* lblSoftwareID = nullptr;
    QPushButton* btnRetry = nullptr;
    QPushButton* btnAbort = nullptr;
    QPushButton* btnStartTransfer = nullptr;
    QLineEdit* edtPasscode = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    comms::TInitiatePanelComms FLogic;
    std::function<void()> FOnShow;
};
