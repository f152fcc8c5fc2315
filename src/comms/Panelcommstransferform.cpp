#include "Panelcommstransferform.h"

#include "Ivwindows.h"

#include "Initiatepanelcommsform.h"
#include "Commsformparts.h"
#include "Prompts.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

TfrmConfigTransfer::TfrmConfigTransfer(TfrmInitiatePanelComms& Detection, QWidget* parent)
    : QDialog(parent)
    , FLogic(*this, Detection.Logic())
{
    setObjectName(QStringLiteral("frmConfigTransfer"));
    setModal(true);
    aniFileCopy = comms::forms::NamedLabel(this, "aniFileCopy");
    aniFileCopy->setMinimumWidth(90);
    aniFileCopy->setAlignment(Qt::AlignCenter);
    imgComputer = comms::forms::NamedLabel(this, "imgComputer");
    imgComputer->setPixmap(comms::forms::Picture("computer.jpg"));
    const comms::forms::PanelPictures pictures = comms::forms::MakePanelPictures(this, "imgQTB");
    imgPX10 = pictures.PX10;
    imgTR70 = pictures.TR70;
    imgMarvex = pictures.Marvex;
    imgQTB = pictures.QTB;
    pbProgress = new QProgressBar(this);
    pbProgress->setObjectName(QStringLiteral("pbProgress"));
    pbProgress->setTextVisible(false);
    sbStatus = new QStatusBar(this);
    sbStatus->setObjectName(QStringLiteral("sbStatus"));
    sbStatus->setSizeGripEnabled(false);
    sbPanel0 = new QLabel(this);
    sbPanel0->setMinimumWidth(79);
    sbPanel1 = new QLabel(this);
    sbPanel1->setMinimumWidth(50);
    sbStatus->addWidget(sbPanel0);
    sbStatus->addWidget(sbPanel1, 1);
    btnAbort = new QPushButton(IvNative("&Abort"), this);
    btnAbort->setObjectName(QStringLiteral("btnAbort"));
    btnAbort->setAutoDefault(false);
    FAnimation = new QTimer(this);
    FAnimation->setInterval(150);
    connect(FAnimation, &QTimer::timeout, this, [this] { AnimationStep(); });

    FPictures = new QHBoxLayout;
    FPictures->addWidget(imgComputer);
    FPictures->addWidget(aniFileCopy, 1);
    FPictures->addWidget(imgPX10);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnAbort);
    auto* root = new QVBoxLayout(this);
    root->addLayout(FPictures);
    root->addWidget(pbProgress);
    root->addLayout(buttons);
    root->addWidget(sbStatus);
    resize(420, 250);
    // Caption, retries and stage come translated from the transfer's state.
    IvSetCodeText(this);
    IvSetCodeText(sbPanel0);
    IvSetCodeText(sbPanel1);
    IvSetCodeText(aniFileCopy);
    IvAddTranslator(this);
    connect(btnAbort, &QPushButton::clicked, this, [this] { Guarded([this] { FLogic.AbortClicked(); }); });
}

TfrmConfigTransfer::~TfrmConfigTransfer() = default;

int TfrmConfigTransfer::RunModal(const std::function<void()>& onShow)
{
    FOnShow = onShow;
    setResult(platform::mrNone);
    return exec();
}

void TfrmConfigTransfer::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    comms::forms::RunShowHandler(this, FOnShow);
}

void TfrmConfigTransfer::EndModal(int result)
{
    FAnimation->stop();
    done(result);
}

void TfrmConfigTransfer::AnimationStep()
{
    // Pages moving from the sender to the receiver.
    static const char* const frames[]
        = { "\u25A1        ", "  \u25A1      ", "    \u25A1    ", "      \u25A1  ", "        \u25A1" };
    FFrame = (FFrame + 1) % 5;
    const int shown = !FLogic.State().Sending ? 4 - FFrame : FFrame;
    aniFileCopy->setText(QString::fromUtf8(frames[shown]));
}

void TfrmConfigTransfer::Changed()
{
    const comms::TransferState& s = FLogic.State();
    setWindowTitle(QString::fromStdString(s.Caption));
    // Send: computer left, panel right; receive the other way round.
    QWidget* left = s.Sending ? imgComputer : imgPX10;
    QWidget* right = s.Sending ? imgPX10 : imgComputer;
    if (FPictures->itemAt(0)->widget() != left) {
        FPictures->removeWidget(left);
        FPictures->removeWidget(right);
        FPictures->insertWidget(0, left);
        FPictures->addWidget(right);
    }
    pbProgress->setMaximum(s.ProgressMax);
    pbProgress->setValue(s.Progress);
    sbPanel0->setText(QString::fromStdString(s.RetryText));
    sbPanel1->setText(QString::fromStdString(s.StageText));
    if (s.Animating && !FAnimation->isActive())
        FAnimation->start();
    else if (!s.Animating && FAnimation->isActive())
        FAnimation->stop();
    repaint();
}

void TfrmConfigTransfer::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Guarded([this] { FLogic.AbortClicked(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmConfigTransfer::reject()
{
    // Closing the window mid-transfer asks as Abort does; nothing is cut off silently.
    if (FLogic.Running()) {
        Guarded([this] { FLogic.AbortClicked(); });
        return;
    }
    FAnimation->stop();
    QDialog::reject();
}
