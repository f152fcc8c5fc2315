#include "About.h"

#include "AppSettings.h"
#include "CodePage.h"
#include "ExceptionHandler.h"
#include "Ivbindic.h"
#include "Ivdictio.h"
#include "Ivqthooks.h"
#include "Ivwindows.h"
#include "PX10VersionInfo.h"
#include "Prompts.h"
#include "RunEnvironment.h"
#include "WindowFit.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

TfrmAbout* frmAbout = nullptr;

QPixmap ApplicationIcon()
{
    QPixmap pix(96, 96);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(178, 24, 32));
    p.setPen(QPen(QColor(90, 10, 16), 3));
    p.drawRoundedRect(QRectF(6, 6, 84, 84), 14, 14);
    p.setPen(Qt::white);
    QFont f("DejaVu Sans", 26, QFont::Bold);
    p.setFont(f);
    p.drawText(QRect(6, 6, 84, 84), Qt::AlignCenter, "PX");
    return pix;
}

TfrmAbout::TfrmAbout(QWidget* Owner, const EnvironmentProbe* probe)
    : QDialog(Owner)
    , FProbe(probe)
{
    setObjectName("frmAbout");
    if (!FProbe) {
        FOwnProbe = std::make_unique<SystemEnvironmentProbe>();
        FProbe = FOwnProbe.get();
    }
    setWindowFlags(
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(440, 304);

    auto* iconFrame = new QFrame(this);
    iconFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    iconFrame->setGeometry(16, 16, 104, 104);
    imgApplicationIcon = new QLabel(iconFrame);
    imgApplicationIcon->setObjectName("imgApplicationIcon");
    imgApplicationIcon->setGeometry(4, 4, 96, 96);
    imgApplicationIcon->setScaledContents(true);

    // Seven overlapping copies of the title, offset by one pixel in the
    // highlight and shadow colours, give it an embossed look.
    QFont titleFont("Arial");
    titleFont.setPixelSize(29);
    titleFont.setBold(true);
    const QPoint offsets[7] = { { 0, 0 }, { -1, -1 }, { -1, 0 }, { 0, -1 }, { 1, 1 }, { 1, 0 }, { 0, 1 } };
    for (int i = 6; i >= 0; --i) {
        auto* l = new QLabel(this);
        l->setObjectName(QString("lblProductName%1").arg(i + 1));
        l->setFont(titleFont);
        l->setWordWrap(true);
        l->setGeometry(128 + offsets[i].x(), 14 + offsets[i].y(), 305, 105);
        QPalette pal = l->palette();
        QColor c = i == 0 ? palette().color(QPalette::ButtonText)
            : i <= 3      ? palette().color(QPalette::Light)
                          : palette().color(QPalette::Dark);
        pal.setColor(QPalette::WindowText, c);
        l->setPalette(pal);
        lblProductNames[i] = l;
    }
    lblProductName1 = lblProductNames[0];

    lblInternalNameAndVersion = new QLabel(this);
    lblInternalNameAndVersion->setObjectName("lblInternalNameAndVersion");
    QFont bold = font();
    bold.setBold(true);
    lblInternalNameAndVersion->setFont(bold);
    lblInternalNameAndVersion->setGeometry(16, 140, 408, 20);

    // The caption takes the width its language needs; the figure follows it.
    auto* memory = new QWidget(this);
    memory->setGeometry(16, 172, 408, 20);
    auto* memoryRow = new QHBoxLayout(memory);
    memoryRow->setContentsMargins(0, 0, 0, 0);
    memoryRow->setSpacing(4);
    auto* lblAvailableMemoryText = new QLabel(IvNative("Available Memory:"), memory);
    lblAvailableMemoryText->setObjectName("lblAvailableMemoryText");
    lblAvailableMemoryText->setMinimumWidth(130);
    lblMemory = new QLabel(memory);
    lblMemory->setObjectName("lblMemory");
    memoryRow->addWidget(lblAvailableMemoryText);
    memoryRow->addWidget(lblMemory, 1);

    lblWebsite = new QLabel(this);
    lblWebsite->setObjectName("lblWebsite");
    lblWebsite->setGeometry(16, 204, 300, 20);
    lblWebsite->setCursor(Qt::PointingHandCursor);
    QFont link = font();
    link.setUnderline(true);
    lblWebsite->setFont(link);
    QPalette lp = lblWebsite->palette();
    lp.setColor(QPalette::WindowText, Qt::blue);
    lblWebsite->setPalette(lp);
    lblWebsite->installEventFilter(this);

    btnOK = new QPushButton(IvNative("OK"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setGeometry(182, 256, 75, 27);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    // A failure here is shown and the window is still created.
    try {
        FormCreate();
    } catch (const std::exception& e) {
        ShowExceptionBox(e);
    }
    setWindowTitle(IvNative("About"));
    IvSetCodeText(this);
    for (QLabel* l : lblProductNames)
        IvSetCodeText(l);
    IvSetCodeText(lblInternalNameAndVersion);
    IvSetCodeText(lblMemory);
    IvSetCodeText(lblWebsite);
    IvAddTranslator(this, [this] { RetextCodeTexts(); });
    // Its title, with the product's name, needs more than its width in some
    // languages.
    KeepWideAsTitle(this);
    KeepOnScreenWhenShownOrGrown(this);
}

// The window widens for a long title in some languages: OK stays centred.
void TfrmAbout::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (btnOK)
        btnOK->move((width() - btnOK->width()) / 2, btnOK->y());
}

TfrmAbout::~TfrmAbout()
{
    // The translators of the other windows go with them; the dictionary last.
    LanguageDictionary = nullptr;
}

void TfrmAbout::OpenLanguageDictionary()
{
    IvInstallQtHooks();
    auto d = std::make_unique<TIvBinaryDictionary>();
    d->SetDictionaryName("Dictionary1");
    d->SetCheckLevel(ivclNone);
    d->SetFileName("PX10Tool.mld");
    // No file: the program is English, without a word about it.
    if (!d->CanBeOpened())
        return;
    // A damaged file is shown once; the dictionary goes, so nothing asks it again.
    d->Open();
    FLanguageDictionary = std::move(d);
    LanguageDictionary = FLanguageDictionary.get();
}

void TfrmAbout::FormCreate()
{
    OpenLanguageDictionary();
    if (!LanguageDictionary)
        return;
    // The stored language is applied here only, before any other window is
    // made: an index the dictionary lacks is reported once, and the
    // dictionary keeps its language.
    if (const std::optional<long long> stored = ReadSettings(VersionSection(), false).UILanguage)
        LanguageDictionary->SetLanguage(*stored);
}

std::string TfrmAbout::GetVersionInfoString(const std::string& key) const
{
    if (key == "ProductName")
        return PX10_VERSION_PRODUCT_NAME;
    if (key == "ProductVersion")
        return PX10_VERSION_PRODUCT_VERSION;
    if (key == "InternalName")
        return PX10_VERSION_INTERNAL_NAME;
    return "";
}

bool TfrmAbout::CheckRunEnvironment()
{
    QString exe = QCoreApplication::applicationFilePath();
    std::string folder = exe.isEmpty() ? std::string(".") : QFileInfo(exe).absolutePath().toStdString();
    std::string message = RunEnvironmentMessage(*FProbe, folder, Translate(GetProductName()));
    if (message.empty())
        return true;
    platform::CurrentPrompts().MessageDlg(message, platform::MsgDlgType::mtInformation, platform::mbOK);
    return false;
}

void TfrmAbout::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TfrmAbout::FormShow()
{
    DrawApplicationIcon();
    RetextCodeTexts();
    lblMemory->setText(QString::number(FProbe->AvailableMemoryBytes() >> 10) + " KB");
}

void TfrmAbout::RetextCodeTexts()
{
    const std::string product = Translate(GetProductName());
    setWindowTitle(platform::Utf8ToQString(Translate("About") + " " + product));
    for (QLabel* l : lblProductNames)
        l->setText(platform::Utf8ToQString(product));
    lblInternalNameAndVersion->setText(
        platform::Utf8ToQString(GetInternalName() + " " + Translate("Version") + " " + GetProductVersion()));
    lblWebsite->setText(platform::Utf8ToQString(Translate(WebAddress())));
}

void TfrmAbout::DrawApplicationIcon()
{
    // The icon's transparent surround takes the dialog's colour.
    QPixmap pix(96, 96);
    pix.fill(palette().color(QPalette::Button));
    QPainter p(&pix);
    p.drawPixmap(0, 0, ApplicationIcon());
    p.end();
    imgApplicationIcon->setPixmap(pix);
}

bool TfrmAbout::IsWebAddress(const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == "http" || scheme == "https") && !url.host().isEmpty();
}

void TfrmAbout::lblWebsiteClick()
{
    // The address is a dictionary row: anything but a web address (a local
    // file, a program) is not opened.
    const QString address = lblWebsite->text();
    if (!IsWebAddress(address))
        return;
    QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode));
    QPalette lp = lblWebsite->palette();
    lp.setColor(QPalette::WindowText, QColor(255, 0, 255)); // visited
    lblWebsite->setPalette(lp);
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblWebsite && event->type() == QEvent::MouseButtonRelease) {
        lblWebsiteClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAbout::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        done(QDialog::Accepted); // Esc closes the box like OK
        return;
    }
    QDialog::keyPressEvent(event);
}
