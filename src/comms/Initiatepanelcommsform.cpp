#include "Initiatepanelcommsform.h"

#include "WindowFit.h"

#include "Ivwindows.h"

#include "AccessibleName.h"
#include "Commsformparts.h"
#include "Prompts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TfrmInitiatePanelComms::TfrmInitiatePanelComms(QWidget* parent)
    : QDialog(parent)
    , FLogic(*this)
{
    setObjectName(QStringLiteral("frmInitiatePanelComms"));
    setWindowTitle(IvNative("Configuration Transfer"));
    setModal(true);

    auto label = [this](const char* name, const QString& text = {}) {
        return comms::forms::NamedLabel(this, name, text);
    };
    const comms::forms::PanelPictures pictures = comms::forms::MakePanelPictures(this, "ImageQTB");
    imgPX10 = pictures.PX10;
    imgTR70 = pictures.TR70;
    imgMarvex = pictures.Marvex;
    ImageQTB = pictures.QTB;
    lblRetries = label("lblRetries");
    lblPanelNotDetected = label("lblPanelNotDetected");
    lblPanelNotDetected->setWordWrap(true);
    lblPX10NotFound = label("lblPX10NotFound");
    lblSearchingForPanel = label("lblSearchingForPanel");
    lblPasscode = label("lblPasscode", IvNative("Passcode"));
    lblEnterPasscode = label(
        "lblEnterPasscode", IvNative("Enter level 3 passcode to enable write access to the panel :-"));
    lblEnterPasscode->setWordWrap(true);
    lblPasscodeProtected = label("lblPasscodeProtected", IvNative("Panel Passcode Protected"));
    lblInvalidPasscode = label("lblInvalidPasscode", IvNative("Invalid Passcode !!!"));
    lblSoftwareID = label("lblSoftwareID");
    edtPasscode = new QLineEdit(this);
    edtPasscode->setObjectName(QStringLiteral("edtPasscode"));
    edtPasscode->setMaxLength(4);
    edtPasscode->setEchoMode(QLineEdit::Password);
    edtPasscode->installEventFilter(this);
    lblPasscode->setBuddy(edtPasscode);
    SetAccessibleNameParts(edtPasscode, { lblPasscode->text() });
    btnRetry = new QPushButton(IvNative("&Retry"), this);
    btnRetry->setObjectName(QStringLiteral("btnRetry"));
    btnAbort = new QPushButton(IvNative("&Abort"), this);
    btnAbort->setObjectName(QStringLiteral("btnAbort"));
    btnStartTransfer = new QPushButton(IvNative("&Start Transfer"), this);
    btnStartTransfer->setObjectName(QStringLiteral("btnStartTransfer"));
    for (QPushButton* b : { btnRetry, btnAbort, btnStartTransfer })
        b->setAutoDefault(false);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblSearchingForPanel);
    texts->addWidget(lblRetries);
    texts->addWidget(lblPX10NotFound);
    texts->addWidget(lblPanelNotDetected);
    texts->addWidget(lblSoftwareID);
    texts->addWidget(lblPasscodeProtected);
    texts->addWidget(lblInvalidPasscode);
    texts->addWidget(lblEnterPasscode);
    auto* entry = new QHBoxLayout;
    entry->addWidget(lblPasscode);
    entry->addWidget(edtPasscode);
    entry->addStretch();
    texts->addLayout(entry);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(imgPX10, 0, Qt::AlignTop);
    top->addWidget(imgTR70);
    top->addWidget(imgMarvex);
    top->addWidget(ImageQTB);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnRetry);
    buttons->addWidget(btnStartTransfer);
    buttons->addWidget(btnAbort);
    auto* root = new QVBoxLayout(this);
    root->addLayout(top);
    root->addLayout(buttons);
    resize(460, 220);

    connect(btnRetry, &QPushButton::clicked, this, [this] { Guarded([this] { FLogic.StartDetection(); }); });
    connect(btnStartTransfer, &QPushButton::clicked, this,
        [this] { Guarded([this] { FLogic.StartTransferClicked(); }); });
    connect(btnAbort, &QPushButton::clicked, this, [this] { FLogic.AbortClicked(); });
    connect(edtPasscode, &QLineEdit::textEdited, this, [this](const QString& text) {
        FLogic.SetPasscodeText(text.toStdString());
        // What reaches the edit without a key (a paste) keeps only its digits.
        const QString digits = QString::fromStdString(FLogic.State().Passcode);
        if (text != digits)
            edtPasscode->setText(digits);
    });
    // The state texts are the logic's, built in the language in force.
    for (QLabel* l :
        { lblRetries, lblSearchingForPanel, lblPX10NotFound, lblPanelNotDetected, lblSoftwareID })
        IvSetCodeText(l);
    IvAddTranslator(this);
}

TfrmInitiatePanelComms::~TfrmInitiatePanelComms() = default;

int TfrmInitiatePanelComms::Execute(TQuorvelProtocol* Protocol, bool Send, int ConfiguredPanelType)
{
    return FLogic.Execute(Protocol, Send, ConfiguredPanelType);
}

int TfrmInitiatePanelComms::RunModal(const std::function<void()>& onShow)
{
    FOnShow = onShow;
    setResult(platform::mrNone);
    Timer1->start();
    const int result = exec();
    Timer1->stop();
    FOnShow = nullptr;
    return result;
}

void TfrmInitiatePanelComms::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A wrapped text of a longer language takes more lines: grown where the
    // dialog's showing has placed it over its parent.
    GrowToContents(this);
    comms::forms::RunShowHandler(this, FOnShow);
}

void TfrmInitiatePanelComms::EndModal(int result)
{
    done(result);
}

void TfrmInitiatePanelComms::Changed()
{
    if (isVisible())
        QMetaObject::invokeMethod(
            this, [this] { GrowToContents(this); }, Qt::QueuedConnection);
    const comms::DetectionState& s = FLogic.State();
    imgPX10->setVisible(s.PictureVisible);
    lblPasscode->setVisible(s.PasscodeVisible);
    lblPasscodeProtected->setVisible(s.PasscodeProtectedVisible);
    lblEnterPasscode->setVisible(s.EnterPasscodeVisible);
    lblInvalidPasscode->setVisible(s.InvalidPasscodeVisible);
    edtPasscode->setVisible(s.PasscodeEditVisible);
    lblSoftwareID->setVisible(s.SoftwareIDVisible);
    btnRetry->setVisible(s.RetryVisible);
    btnStartTransfer->setVisible(s.StartTransferVisible);
    lblPanelNotDetected->setVisible(s.PanelNotDetectedVisible);
    lblPX10NotFound->setVisible(s.PX10NotFoundVisible);
    lblSearchingForPanel->setVisible(s.SearchingVisible);
    lblRetries->setText(QString::fromStdString(s.Retries));
    lblSearchingForPanel->setText(QString::fromStdString(s.SearchingForPanel));
    lblPX10NotFound->setText(QString::fromStdString(s.PX10NotFound));
    lblPanelNotDetected->setText(QString::fromStdString(s.PanelNotDetected));
    lblSoftwareID->setText(QString::fromStdString(s.SoftwareID));
    if (edtPasscode->text().toStdString() != s.Passcode)
        edtPasscode->setText(QString::fromStdString(s.Passcode));
    if (s.FocusPasscode)
        edtPasscode->setFocus();
    repaint();
}

bool TfrmInitiatePanelComms::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edtPasscode && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Guarded([this] { FLogic.AcceptPasscodeKey('\r'); });
            return true;
        }
        if (key->key() == Qt::Key_Escape)
            return false; // the dialog's own Escape
        // Keys without text (the caret keys) pass; a key is dropped when a
        // character it types is printable and not a digit.
        for (const char32_t c : key->text().toUcs4())
            if (!FLogic.AcceptPasscodeKey(c))
                return true;
        return false;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmInitiatePanelComms::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        FLogic.AbortClicked();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmInitiatePanelComms::reject()
{
    FLogic.FormClose();
    QDialog::reject();
}
