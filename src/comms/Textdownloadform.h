#pragma once
// The text download window: the lines fetched from the panel, Save As to a
// CSV file, and the device logger's controls. The logic is TTextDownload.
#include "Textdownload.h"

#include <QDialog>

class QAction;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class TSpinControl;

class TfrmTextDownload : public QDialog {
    Q_OBJECT
public:
    TfrmTextDownload(comms::TextDownloadSource& Source, QWidget* parent = nullptr);
    ~TfrmTextDownload() override;

    void ShowPanelEventLog(TQuorvelProtocol* Protocol) { FLogic.ShowPanelEventLog(Protocol); }
    void ShowDeviceData(TQuorvelProtocol* Protocol) { FLogic.ShowDeviceData(Protocol); }
    void ShowDeviceLogger(TQuorvelProtocol* Protocol) { FLogic.ShowDeviceLogger(Protocol); }

    comms::TTextDownload& Logic() { return FLogic; }
    void SaveAs1Click();
    // Shows what the logic holds.
    void Refresh();

    QPlainTextEdit* mmoDownloadedText;
    QGroupBox* gbxDeviceLogger;
    QLabel *lblIntervalText, *lblLoggingInterval;
    QSlider* trbLoggingInterval;
    TSpinControl* spnDeviceNo;
    QRadioButton *rbnSensor, *rbnModule;
    QPushButton* btnStartStop;
    QAction *SaveAs1, *Exit1;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

public slots:
    void reject() override;

private:
    void ShowLines();

    comms::TTextDownload FLogic;
    comms::TextLines FShownLines; // what mmoDownloadedText holds
};
