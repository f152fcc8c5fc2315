#include "Textdownloadform.h"

#include "Ivwindows.h"

#include "AccessibleName.h"
#include "ExceptionBox.h"
#include "Ivdictio.h"
#include "Spincontrol.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>

TfrmTextDownload::TfrmTextDownload(comms::TextDownloadSource& Source, QWidget* parent)
    : QDialog(parent)
    , FLogic(Source, [this] { exec(); })
{
    setObjectName("frmTextDownload");
    resize(720, 480);
    setSizeGripEnabled(true);

    auto* menu = new QMenuBar(this);
    QMenu* file = menu->addMenu(IvNative("&File"));
    file->setObjectName("File1");
    SaveAs1 = file->addAction(IvNative("Save &As..."));
    SaveAs1->setObjectName("SaveAs1");
    Exit1 = file->addAction(IvNative("E&xit"));
    Exit1->setObjectName("Exit1");
    connect(SaveAs1, &QAction::triggered, this, [this] { SaveAs1Click(); });
    connect(Exit1, &QAction::triggered, this, &QDialog::close);

    mmoDownloadedText = new QPlainTextEdit(this);
    mmoDownloadedText->setObjectName("mmoDownloadedText");
    mmoDownloadedText->setReadOnly(true);
    mmoDownloadedText->setUndoRedoEnabled(false); // the logger's lines would pile up as undo steps
    mmoDownloadedText->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmoDownloadedText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    gbxDeviceLogger = new QGroupBox(IvNative("Device Logging Control"), this);
    gbxDeviceLogger->setObjectName("gbxDeviceLogger");
    lblIntervalText = new QLabel(IvNative("Logging Interval"), gbxDeviceLogger);
    lblIntervalText->setObjectName("lblIntervalText");
    lblLoggingInterval = new QLabel(gbxDeviceLogger);
    lblLoggingInterval->setObjectName("lblLoggingInterval");
    lblLoggingInterval->setMinimumWidth(24);
    trbLoggingInterval = new QSlider(Qt::Horizontal, gbxDeviceLogger);
    trbLoggingInterval->setObjectName("trbLoggingInterval");
    trbLoggingInterval->setRange(5, 60);
    trbLoggingInterval->setTickInterval(5);
    trbLoggingInterval->setTickPosition(QSlider::TicksBelow);
    trbLoggingInterval->setValue(5);
    spnDeviceNo = new TSpinControl(gbxDeviceLogger, TControlParts::UpDownOnly());
    spnDeviceNo->setObjectName("spnDeviceNo");
    spnDeviceNo->SetMin(1);
    spnDeviceNo->SetMax(99);
    spnDeviceNo->SetValue(1);
    rbnSensor = new QRadioButton(IvNative("Sensor"), gbxDeviceLogger);
    rbnSensor->setObjectName("rbnSensor");
    rbnSensor->setChecked(true);
    rbnModule = new QRadioButton(IvNative("Module"), gbxDeviceLogger);
    rbnModule->setObjectName("rbnModule");
    btnStartStop = new QPushButton(gbxDeviceLogger);
    btnStartStop->setObjectName("btnStartStop");
    btnStartStop->setAutoDefault(false);

    // Controls without text of their own are named by the text beside them.
    lblIntervalText->setBuddy(trbLoggingInterval);
    SetAccessibleNameParts(trbLoggingInterval, { lblIntervalText->text() });
    auto nameDeviceNo = [this, sensor = rbnSensor->text(), module = rbnModule->text()] {
        SetAccessibleNameParts(spnDeviceNo, { rbnModule->isChecked() ? module : sensor });
    };
    nameDeviceNo();
    connect(rbnModule, &QRadioButton::toggled, this, nameDeviceNo);

    auto* grid = new QGridLayout(gbxDeviceLogger);
    grid->addWidget(lblIntervalText, 0, 0);
    grid->addWidget(trbLoggingInterval, 0, 1);
    grid->addWidget(lblLoggingInterval, 0, 2);
    grid->addWidget(spnDeviceNo, 1, 0);
    grid->addWidget(rbnSensor, 1, 1);
    grid->addWidget(rbnModule, 1, 2);
    grid->addWidget(btnStartStop, 1, 3);
    grid->setColumnStretch(1, 1);
    gbxDeviceLogger->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addWidget(mmoDownloadedText, 1);
    layout->addWidget(gbxDeviceLogger);

    connect(
        trbLoggingInterval, &QSlider::valueChanged, this, [this](int v) { FLogic.SetIntervalPosition(v); });
    spnDeviceNo->OnChange = [this](TSpinControl* s) { FLogic.SetDeviceNo(s->GetValue()); };
    connect(rbnModule, &QRadioButton::toggled, this, [this](bool on) { FLogic.SetModule(on); });
    connect(btnStartStop, &QPushButton::clicked, this, [this] {
        spnDeviceNo->CommitPending();
        Guarded([this] { FLogic.StartStopClicked(); });
    });
    FLogic.OnChanged = [this] { Refresh(); };
    // Downloaded lines are data; caption, interval and button follow the state.
    IvSetDataControl(mmoDownloadedText);
    IvSetCodeText(this);
    IvSetCodeText(lblLoggingInterval);
    IvSetCodeText(btnStartStop);
    Refresh();
    IvAddTranslator(this, [this] { Refresh(); });
}

TfrmTextDownload::~TfrmTextDownload()
{
    FLogic.OnChanged = nullptr;
}

void TfrmTextDownload::Refresh()
{
    setWindowTitle(QString::fromStdString(FLogic.Caption()));
    mmoDownloadedText->setAccessibleName(windowTitle());
    gbxDeviceLogger->setVisible(FLogic.LoggerVisible());
    lblLoggingInterval->setText(QString::fromStdString(FLogic.IntervalText()));
    btnStartStop->setText(QString::fromStdString(FLogic.StartStopCaption()));
    ShowLines();
}

void TfrmTextDownload::ShowLines()
{
    // Most refreshes change no line (a tick's wait, the interval, Start/Stop, a
    // language change): the text, its selection and the place read stay.
    const comms::TextLines& lines = FLogic.Lines();
    if (lines == FShownLines)
        return;
    const bool appended = !FShownLines.empty() && lines.size() > FShownLines.size()
        && std::equal(FShownLines.begin(), FShownLines.end(), lines.begin());
    QStringList added;
    for (std::size_t i = appended ? FShownLines.size() : 0; i < lines.size(); ++i)
        added << QString::fromStdString(lines[i]);
    FShownLines = lines;
    if (!appended) {
        // A new download opens at its first line, where its header is.
        mmoDownloadedText->setPlainText(added.join('\n'));
        mmoDownloadedText->verticalScrollBar()->setValue(0);
        mmoDownloadedText->horizontalScrollBar()->setValue(0);
        return;
    }
    // The logger's new line goes below the others; the view follows it only
    // when the user was reading the end.
    QScrollBar* bar = mmoDownloadedText->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    QTextCursor end(mmoDownloadedText->document());
    end.movePosition(QTextCursor::End);
    end.insertText('\n' + added.join('\n'));
    if (atEnd)
        bar->setValue(bar->maximum());
}

void TfrmTextDownload::SaveAs1Click()
{
    Guarded([this] { FLogic.SaveAs(); });
}

void TfrmTextDownload::closeEvent(QCloseEvent* event)
{
    if (!FLogic.CanClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfrmTextDownload::keyPressEvent(QKeyEvent* event)
{
    // A download can take minutes: only Exit and the close box end the window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmTextDownload::reject()
{
    // The close box and Exit: the logger must be stopped first.
    if (FLogic.CanClose())
        QDialog::reject();
}
