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
    // The JFIF picture, decoded at the half size it is shown at (null when
    // it could not be decoded), and its own size.
    QImage PX10SplashPicture;
    QSize PictureSize;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    std::string FProductName;
};

extern TfrmSplashScreen* frmSplashScreen;
