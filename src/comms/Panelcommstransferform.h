#pragma once
// The configuration transfer window: a thin view over TConfigTransfer.
#include "Configtransfer.h"

#include <QDialog>

class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTimer;
class TfrmInitiatePanelComms;

class TfrmConfigTransfer : public QDialog, public comms::ModalHost {
    Q_OBJECT
public:
    // Detection runs in `Detection`, which outlives the window.
    explicit TfrmConfigTransfer(TfrmInitiatePanelComms& Detection, QWidget* parent = nullptr);
    ~TfrmConfigTransfer() override;

    bool SendConfiguration(TQuorvelProtocol* Protocol, TPX10ConfigData* Config)
    {
        return FLogic.SendConfiguration(Protocol, Config);
    }
    // Config is filled only when the whole configuration arrived.
    bool ReceiveConfiguration(TQuorvelProtocol* Protocol, TPX10ConfigData* Config)
    {
        return FLogic.ReceiveConfiguration(Protocol, Config);
    }
    // The downloads the text download window shows.
    comms::TConfigTransfer& Logic() { return FLogic; }

    // ModalHost
    int RunModal(const std::function<void()>& onShow) override;
    void EndModal(int result) override;
    void Changed() override;

    QLabel* aniFileCopy = nullptr;
    QLabel* imgComputer = nullptr;
    QLabel* imgPX10 = nullptr;
    QLabel* imgTR70 = nullptr;
    QLabel* imgMarvex = nullptr;
    QLabel* imgQTB = nullptr;
    QProgressBar* pbProgress = nullptr;
    QStatusBar* sbStatus = nullptr;
    QLabel* sbPanel0 = nullptr;
    QLabel* sbPanel1 = nullptr;
    QPushButton* btnAbort = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void AnimationStep();

    comms::TConfigTransfer FLogic;
    std::function<void()> FOnShow;
    QHBoxLayout* FPictures = nullptr;
    QTimer* FAnimation = nullptr;
    int FFrame = 0;
};
