#include "SplashScreen.h"

#include "Ivwindows.h"

#include "Ivdictio.h"
#include "JpegImage.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <system_error>

TfrmSplashScreen* frmSplashScreen = nullptr;

static void InitSplashResources()
{
    Q_INIT_RESOURCE(resources);
} // kept by the static library

static TSplashPicture DecodeSplashPicture(const QByteArray& jfif)
{
    TSplashPicture picture;
    if (!jfif.isEmpty())
        picture.Image = platform::DecodeJpeg(jfif, 2, &picture.FullSize);
    return picture;
}

static QByteArray SplashPictureBytes()
{
    InitSplashResources();
    QFile file(":/px10/splash.jpg");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::future<TSplashPicture> DecodeSplashPictureAsync()
{
    // The bytes are read here; only the decoding, which touches nothing
    // shared, runs on the other thread.
    QByteArray jfif = SplashPictureBytes();
    try {
        return std::async(std::launch::async, DecodeSplashPicture, jfif);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, DecodeSplashPicture, jfif); // no thread to be had
    }
}

TfrmSplashScreen::TfrmSplashScreen(
    std::string productName, QWidget* Owner, std::future<TSplashPicture> picture)
    : QWidget(Owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , FProductName(std::move(productName))
{
    setObjectName("frmSplashScreen");
    SplashPicture = new QLabel(this);
    SplashPicture->setObjectName("SplashPicture");
    SplashPicture->setScaledContents(true);
    SplashPicture->move(0, 0);
    SplashText = new QLabel(IvNative("Loading %s..."), this);
    IvSetCodeText(SplashText); // formatted with the product name
    SplashText->setObjectName("SplashText");
    QFont f = SplashText->font();
    f.setPixelSize(13);
    SplashText->setFont(f);
    QPalette pal = SplashText->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    SplashText->setPalette(pal);
    SplashText->setAttribute(Qt::WA_TranslucentBackground);

    TSplashPicture decoded = picture.valid() ? picture.get() : DecodeSplashPicture(SplashPictureBytes());
    PX10SplashPicture = std::move(decoded.Image);
    PictureSize = decoded.FullSize;
    FormShow();
    IvAddTranslator(this);
}

void TfrmSplashScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
}

void TfrmSplashScreen::FormShow()
{
    // A translation may name the product up to twice; one that does not fit gives way to the English text.
    SplashText->setText(QString::fromStdString(MlFormat("Loading %s...", FProductName, FProductName)));
    SplashText->adjustSize();
    if (!PX10SplashPicture.isNull())
        SplashPicture->setPixmap(QPixmap::fromImage(PX10SplashPicture));
    int w = PX10SplashPicture.isNull() ? 400 : PictureSize.width() / 2;
    int h = PX10SplashPicture.isNull() ? 300 : PictureSize.height() / 2;
    SplashPicture->resize(w, h);
    SplashText->move(SplashPicture->x() + 8, SplashPicture->height() - 8 - SplashText->height());
    setFixedSize(w, h); // sized to its contents
}
