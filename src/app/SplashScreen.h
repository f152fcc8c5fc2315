#pragma once
// The splash screen shown while the long-lived windows are created.
#include <QWidget>

#include <future>

class QLabel;

// The splash picture decoded at the half size it is shown at (null when it
// could not be decoded), and its own size.
struct TSplashPicture {
    QImage Image;
    QSize FullSize;
};
// Starts decoding the splash picture on a thread of its own, so that the
// decoding overlaps the start-up steps before the splash shows.
std::future<TSplashPicture> DecodeSplashPictureAsync();

class TfrmSplashScreen : public QWidget {
    Q_OBJECT
public:
    // `productName` is the translated product name for "Loading %s...";
    // `picture`, when valid, is the decoding started earlier, else the
    // picture is decoded now.
    explicit TfrmSplashScreen(
        std::string productName, QWidget* Owner = nullptr, std::future<TSplashPicture> picture = {});

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
