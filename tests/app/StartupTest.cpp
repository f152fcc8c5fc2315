#include "About.h"
#include "Exception.h"
#include "ExceptionHandler.h"
#include "Ivmldwrt.h"
#include "JpegImage.h"
#include "LazyIconStyle.h"
#include "MainWindowFixture.h"
#include "RunEnvironment.h"
#include "SplashScreen.h"
#include "Settings.h"
#include "support/FakePrompts.h"

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStyleFactory>
#include <QStyleOption>
#include <gtest/gtest.h>

namespace {

struct FakeProbe : EnvironmentProbe {
    ProgramFolderKind Kind = ProgramFolderKind::Local;
    int Width = 1280, Height = 1024;
    ProgramFolderKind FolderKind(const std::string&) const override { return Kind; }
    int ScreenWidth() const override { return Width; }
    int ScreenHeight() const override { return Height; }
    std::uint64_t AvailableMemoryBytes() const override { return 512ull << 20; }
};

const std::string kNetwork
    = "The PX1x/2x Series Windows Support Tool cannot be run from a\r\nnetwork drive and must be "
      "installed on your hard drive.";
const std::string kResolution
    = "The PX1x/2x Series Windows Support Tool MUST be\r\nrun in a resolution of 800x600 or greater.";

} // namespace

TEST(RunEnvironmentCheck, NetworkFolderOnASmallEnoughScreen)
{
    FakeProbe p;
    p.Kind = ProgramFolderKind::Network;
    p.Width = 800;
    p.Height = 600;
    EXPECT_EQ(RunEnvironmentMessage(p, "/x", "Tool"), kNetwork);
    p.Width = 640;
    p.Height = 480;
    EXPECT_EQ(RunEnvironmentMessage(p, "/x", "Tool"), kResolution); // replaces the drive message
}

TEST(RunEnvironmentCheck, ExactMinimumScreenPassesAndOneLessFails)
{
    FakeProbe p;
    p.Width = 800;
    p.Height = 600;
    EXPECT_EQ(RunEnvironmentMessage(p, "/x", "Tool"), "");
    p.Height = 599;
    EXPECT_EQ(RunEnvironmentMessage(p, "/x", "Tool"), kResolution);
    p.Height = 600;
    p.Width = 799;
    EXPECT_EQ(RunEnvironmentMessage(p, "/x", "Tool"), kResolution);
    p.Width = 800;
    p.Kind = ProgramFolderKind::CdRom;
    EXPECT_NE(RunEnvironmentMessage(p, "/x", "Tool").find("the CDROM"), std::string::npos);
}

TEST(RunEnvironmentCheck, FileSystemKinds)
{
    EXPECT_EQ(SystemEnvironmentProbe::KindOfFileSystem(0x6969), ProgramFolderKind::Network);
    EXPECT_EQ(SystemEnvironmentProbe::KindOfFileSystem(long(0xFF534D42)), ProgramFolderKind::Network);
    EXPECT_EQ(SystemEnvironmentProbe::KindOfFileSystem(0x9660), ProgramFolderKind::CdRom);
    EXPECT_EQ(SystemEnvironmentProbe::KindOfFileSystem(0xEF53), ProgramFolderKind::Local); // ext4
    SystemEnvironmentProbe real;
    EXPECT_GT(real.AvailableMemoryBytes(), 0u);
}

TEST(RunEnvironmentCheck, FailedCheckShowsOneInformationBox)
{
    FakePrompts prompts;
    FakeProbe p;
    p.Width = 640;
    p.Height = 480;
    TfrmAbout about(nullptr, &p);
    prompts.Answer(platform::mrOk);
    EXPECT_FALSE(about.CheckRunEnvironment());
    ASSERT_EQ(prompts.Log.size(), 1u);
    EXPECT_EQ(prompts.Log[0].Type, platform::MsgDlgType::mtInformation);
    EXPECT_EQ(prompts.Log[0].Buttons, unsigned(platform::mbOK));
    p.Width = 1024;
    p.Height = 768;
    EXPECT_TRUE(about.CheckRunEnvironment());
    EXPECT_EQ(prompts.Log.size(), 1u);
}

TEST(AboutWindow, VersionKeysAndLabels)
{
    FakeProbe p;
    TfrmAbout about(nullptr, &p);
    EXPECT_EQ(about.GetProductName(), "PX1x/2x Series Windows Support Tool");
    EXPECT_EQ(about.GetProductVersion(), "3.03 c");
    EXPECT_EQ(about.GetVersionInfoString("CompanyName"), "");
    EXPECT_EQ(TfrmAbout::GetApplicationRegistryKey(), "Software\\Veltrane\\PX10 Windows Support Tool");
    EXPECT_EQ(about.VersionSection(), "V3.03 c");
    about.show();
    EXPECT_EQ(about.windowTitle(), "About PX1x/2x Series Windows Support Tool");
    EXPECT_EQ(about.lblInternalNameAndVersion->text(), "PX10Tool Version 3.03 c");
    EXPECT_EQ(about.lblMemory->text(), "524288 KB");
    EXPECT_EQ(about.lblProductName1->text(), "PX1x/2x Series Windows Support Tool");
    EXPECT_EQ(about.size(), QSize(440, 304));
}

// A stored language past an int is reported once, as stored; start-up goes on.
TEST_F(MainWindowFixture, AStoredLanguageOutOfRangeIsReportedOnce)
{
    TIvMLDContent mld;
    mld.Languages.resize(3);
    IvSaveMLD(mld, Path("PX10Tool.mld"));
    const QString home = QDir::currentPath();
    QDir::setCurrent(Dir.path());
    platform::ProgramSettings()->setValue("V3.03 c/UILanguage", "2147483648");
    Prompts.Answer(platform::mrOk);
    About = std::make_unique<TfrmAbout>(); // which applies the stored language
    Show();
    QDir::setCurrent(home);
    ASSERT_EQ(Prompts.Log.size(), 1u);
    EXPECT_EQ(Prompts.Log[0].Text, "Language index 2147483648 is out of range.");
}

TEST(AboutWindow, EscClosesLikeOk)
{
    FakeProbe p;
    TfrmAbout about(nullptr, &p);
    about.show();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&about, &esc);
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

// The link's address comes from a dictionary row: only a web address opens.
TEST(AboutWindow, TheLinkOpensOnlyWebAddresses)
{
    EXPECT_TRUE(TfrmAbout::IsWebAddress("https://px10tool.example.org"));
    EXPECT_TRUE(TfrmAbout::IsWebAddress("HTTP://EXAMPLE.ORG/a?b=1"));
    for (const char* other : { "file:///home/user/Desktop/run.desktop", "/usr/bin/xterm",
             "javascript:alert(1)", "ftp://example.org", "https:///etc/passwd", "px10tool.example.org" })
        EXPECT_FALSE(TfrmAbout::IsWebAddress(other)) << other;
    FakeProbe p;
    TfrmAbout about(nullptr, &p);
    about.show();
    const QColor unvisited = about.lblWebsite->palette().color(QPalette::WindowText);
    about.lblWebsite->setText("file:///etc/hostname");
    QMouseEvent click(
        QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(about.lblWebsite, &click);
    EXPECT_EQ(about.lblWebsite->palette().color(QPalette::WindowText), unvisited) << "not opened";
}

TEST(SplashPicture, DecodesOurJfifAndShowsAtHalfSize)
{
    TfrmSplashScreen splash("PX1x/2x Series Windows Support Tool");
    ASSERT_FALSE(splash.PX10SplashPicture.isNull());
    EXPECT_EQ(splash.PictureSize, QSize(800, 560));
    EXPECT_EQ(splash.PX10SplashPicture.size(), QSize(400, 280)); // decoded at the size shown
    EXPECT_EQ(splash.SplashPicture->size(), QSize(400, 280));
    EXPECT_EQ(splash.SplashText->text(), "Loading PX1x/2x Series Windows Support Tool...");
    EXPECT_EQ(splash.SplashText->x(), 8);
    EXPECT_EQ(splash.SplashText->y() + splash.SplashText->height(), 280 - 8);
}

// The picture decoded on its own thread ahead of the splash is the one the
// splash would decode itself, pixel for pixel, with the same layout.
TEST(SplashPicture, DecodedAheadOnItsOwnThreadItIsTheSamePicture)
{
    std::future<TSplashPicture> ahead = DecodeSplashPictureAsync();
    ASSERT_TRUE(ahead.valid());
    TfrmSplashScreen early("PX1x/2x Series Windows Support Tool", nullptr, std::move(ahead));
    TfrmSplashScreen itself("PX1x/2x Series Windows Support Tool");
    ASSERT_FALSE(early.PX10SplashPicture.isNull());
    EXPECT_EQ(early.PictureSize, itself.PictureSize);
    EXPECT_EQ(early.PX10SplashPicture, itself.PX10SplashPicture);
    EXPECT_EQ(early.size(), itself.size());
    EXPECT_EQ(early.SplashText->geometry(), itself.SplashText->geometry());
}

TEST(SplashPicture, DamagedPicturesGiveNoImage)
{
    EXPECT_TRUE(platform::DecodeJpeg(QByteArray()).isNull());
    QFile whole(":/px10/splash.jpg");
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QSize size;
    QImage full = platform::DecodeJpeg(whole.readAll(), 1, &size);
    EXPECT_EQ(full.size(), QSize(800, 560));
    EXPECT_EQ(size, QSize(800, 560));
    // the red mark at the top left survives decoding
    QColor mark = full.pixelColor(100, 100);
    EXPECT_GT(mark.red(), 150);
    EXPECT_LT(mark.blue(), 90);
    EXPECT_TRUE(platform::DecodeJpeg(QByteArray("not a picture at all")).isNull());
    whole.seek(0);
    QByteArray bytes = whole.readAll();
    // a cut picture decodes what it has or nothing, and never crashes
    QImage cut = platform::DecodeJpeg(bytes.left(bytes.size() / 3));
    EXPECT_TRUE(cut.isNull() || cut.size() == QSize(800, 560));
    // a header claiming a picture of 65535 x 65535 pixels is refused, not allocated
    QByteArray huge = bytes;
    const int frame = int(huge.indexOf(QByteArray("\xFF\xC0", 2)));
    ASSERT_GT(frame, 0);
    huge[frame + 5] = huge[frame + 6] = huge[frame + 7] = huge[frame + 8] = char(0xFF);
    EXPECT_TRUE(platform::DecodeJpeg(huge).isNull());
    // the half-size picture is the whole one at half the size
    QImage half = platform::DecodeJpeg(bytes, 2);
    ASSERT_EQ(half.size(), QSize(400, 280));
    const QColor a = half.pixelColor(50, 50), b = full.pixelColor(100, 100);
    EXPECT_NEAR(a.red(), b.red(), 24);
    EXPECT_NEAR(a.green(), b.green(), 24);
    EXPECT_NEAR(a.blue(), b.blue(), 24);
    QByteArray header = bytes.left(200);
    EXPECT_TRUE(platform::DecodeJpeg(header).isNull() || platform::DecodeJpeg(header).width() == 800);
}

TEST(ExceptionBox, NotifyGuardShowsTheBoxInsteadOfEndingTheProgram)
{
    FakePrompts prompts;
    prompts.Answer(platform::mrOk);
    struct Thrower : QObject {
        bool event(QEvent*) override { throw Exception("Communications port already open"); }
    } thrower;
    QEvent e(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &e); // through TApplication::notify
    ASSERT_EQ(prompts.Log.size(), 1u);
    EXPECT_EQ(prompts.Log[0].Text, "Communications port already open.");
    EXPECT_EQ(prompts.Log[0].Type, platform::MsgDlgType::mtError);
}

TEST(LazyIconStyle, ExtensionPicturesMatchTheStylesOwnWhenDrawn)
{
    LazyIconStyle lazy(QStringLiteral("fusion"));
    std::unique_ptr<QStyle> plain(QStyleFactory::create(QStringLiteral("fusion")));
    for (auto which :
        { QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton }) {
        QStyleOption rtl;
        rtl.direction = Qt::RightToLeft;
        for (const QStyleOption* option : std::initializer_list<const QStyleOption*> { nullptr, &rtl }) {
            const QIcon deferred = lazy.standardIcon(which, option);
            const QIcon real = plain->standardIcon(which, option);
            EXPECT_FALSE(deferred.isNull());
            EXPECT_EQ(deferred.actualSize(QSize(16, 16)), real.actualSize(QSize(16, 16)));
            EXPECT_EQ(deferred.pixmap(16).toImage(), real.pixmap(16).toImage());
            const QIcon copy = deferred; // copies draw the same
            EXPECT_EQ(copy.pixmap(16, QIcon::Disabled).toImage(), real.pixmap(16, QIcon::Disabled).toImage());
        }
    }
    // Other pictures come straight from the style.
    EXPECT_EQ(lazy.standardIcon(QStyle::SP_ArrowUp).pixmap(16).toImage(),
        plain->standardIcon(QStyle::SP_ArrowUp).pixmap(16).toImage());
}
