#pragma once
// The splash screen shown while the long-lived windows are created.
#include <QWidget>

class QLabel;

class TfrmSplashScreen : public QWidget {
    Q_OBJECT
public:
    // `productName` is the translated product name for "Loading %s...".
    explicit TfrmSplashScreen(std::string productName, QWidget* Owner = nullptr);

    QLabel* SplashPicture = nullptr;
    QLabel* SplashText = nullptr;
    // The decoded JFIF picture (null when it could not be decoded).
    QImage PX10SplashPicture;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    std::string FProductName;
};

extern TfrmSplashScreen* frmSplashScreen;
