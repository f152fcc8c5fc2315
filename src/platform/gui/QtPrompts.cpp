#include "QtPrompts.h"

#include "CodePage.h"
#include "WrappedText.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace platform {

namespace {

// Fixed texts keep their "\r\n"; a message box wants plain line feeds.
QString DisplayText(const std::string& s)
{
    return Utf8ToQString(s).replace("\r\n", "\n");
}

// The box's own label cannot break a word wider than the screen (a long
// device path), so a text that can stands in its place.
void WrapAnywhere(QMessageBox& box)
{
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    const int index = label && grid ? grid->indexOf(label) : -1;
    if (index < 0)
        return;
    int row = 0, column = 0, rows = 0, columns = 0;
    grid->getItemPosition(index, &row, &column, &rows, &columns);
    auto* text = new WrappedText(&box);
    text->setObjectName(QStringLiteral("MessageText"));
    text->setText(label->text());
    label->hide();
    grid->addWidget(text, row, column, rows, columns);
}

QString QtFilter(const std::string& filter)
{
    QStringList list;
    for (const auto& [text, patterns] : SplitFilter(filter)) {
        QString p = QString::fromUtf8(patterns.c_str()).replace(';', ' ');
        QString t = QString::fromUtf8(text.c_str());
        list << (t.contains('(') ? t : t + " (" + p + ")");
    }
    return list.join(";;");
}

QString SelectedFilter(const FileDialogOptions& o)
{
    const QStringList list = QtFilter(o.Filter).split(";;");
    int i = o.FilterIndex - 1;
    return (i >= 0 && i < list.size()) ? list[i] : QString();
}

QString StartPath(const FileDialogOptions& o)
{
    if (!o.FileName.empty())
        return QString::fromUtf8(o.FileName.c_str());
    return QString::fromUtf8(o.InitialDir.c_str());
}

} // namespace

int QtPrompts::MessageDlg(const std::string& text, MsgDlgType type, MsgDlgButtons buttons)
{
    QMessageBox box(QApplication::activeWindow());
    box.setText(DisplayText(text));
    switch (type) {
    case MsgDlgType::mtWarning: box.setIcon(QMessageBox::Warning); box.setWindowTitle(QObject::tr("Warning")); break;
    case MsgDlgType::mtError: box.setIcon(QMessageBox::Critical); box.setWindowTitle(QObject::tr("Error")); break;
    case MsgDlgType::mtInformation: box.setIcon(QMessageBox::Information); box.setWindowTitle(QObject::tr("Information")); break;
    case MsgDlgType::mtConfirmation: box.setIcon(QMessageBox::Question); box.setWindowTitle(QObject::tr("Confirm")); break;
    case MsgDlgType::mtCustom: box.setWindowTitle(DisplayText(Caption)); break;
    }
    struct Map { unsigned bit; QMessageBox::StandardButton button; int result; };
    static const Map map[] = {
        {mbYes, QMessageBox::Yes, mrYes},           {mbNo, QMessageBox::No, mrNo},
        {mbOK, QMessageBox::Ok, mrOk},              {mbCancel, QMessageBox::Cancel, mrCancel},
        {mbAbort, QMessageBox::Abort, mrAbort},     {mbRetry, QMessageBox::Retry, mrRetry},
        {mbIgnore, QMessageBox::Ignore, mrIgnore},  {mbAll, QMessageBox::YesToAll, mrAll},
        {mbNoToAll, QMessageBox::NoToAll, mrNoToAll}, {mbYesToAll, QMessageBox::YesToAll, mrYesToAll},
        {mbHelp, QMessageBox::Help, mrNone},
    };
    QMessageBox::StandardButtons set;
    for (const Map& m : map)
        if (buttons & m.bit)
            set |= m.button;
    if (!set)
        set = QMessageBox::Ok;
    box.setStandardButtons(set);
    WrapAnywhere(box);
    const int pressed = box.exec();
    for (const Map& m : map)
        if ((buttons & m.bit) && pressed == m.button)
            return m.result;
    // Closed with Esc or the title bar: the box's cancel answer.
    if (buttons & mbCancel) return mrCancel;
    if (buttons & mbNo) return mrNo;
    if (buttons & mbOK) return mrOk;
    return mrCancel;
}

void QtPrompts::ShowMessage(const std::string& text)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(DisplayText(Caption));
    box.setText(DisplayText(text));
    box.setStandardButtons(QMessageBox::Ok);
    WrapAnywhere(box);
    box.exec();
}

std::string QtPrompts::OpenFileName(const FileDialogOptions& o)
{
    QString selected = SelectedFilter(o);
    QString name = QFileDialog::getOpenFileName(QApplication::activeWindow(), DisplayText(o.Title), StartPath(o),
                                                QtFilter(o.Filter), &selected);
    return name.toStdString();
}

std::string QtPrompts::SaveFileName(const FileDialogOptions& o)
{
    QString selected = SelectedFilter(o);
    QFileDialog dialog(QApplication::activeWindow(), DisplayText(o.Title), StartPath(o), QtFilter(o.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!selected.isEmpty())
        dialog.selectNameFilter(selected);
    if (!o.DefaultExt.empty())
        dialog.setDefaultSuffix(QString::fromUtf8(o.DefaultExt.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first().toStdString();
}

} // namespace platform
