// The serial port setup dialog: what it starts on, what it returns.
#include "Serialsetupform.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <unistd.h>

namespace {

// Runs `action` once the dialog is up; returns what Execute gave back.
int ExecuteWith(TfrmSerialSetup& dlg, int start, std::function<void()> action, int* shownIndex = nullptr)
{
    QTimer::singleShot(0, [&] {
        if (shownIndex)
            *shownIndex = dlg.cboCommsPortSelect->currentIndex();
        action();
    });
    return dlg.Execute(start);
}

void Key(QWidget* w, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

} // namespace

TEST(SerialSetup, OkReturnsTheChoiceAnythingElseTheIndexPassedIn)
{
    TfrmSerialSetup dlg;
    int shown = -1;
    EXPECT_EQ(ExecuteWith(
                  dlg, 2,
                  [&] {
                      dlg.cboCommsPortSelect->setCurrentIndex(5);
                      dlg.btnOK->click();
                  },
                  &shown),
        5);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(ExecuteWith(dlg, 2,
                  [&] {
                      dlg.cboCommsPortSelect->setCurrentIndex(5);
                      dlg.btnCancel->click();
                  }),
        2);
    EXPECT_EQ(ExecuteWith(dlg, 4,
                  [&] {
                      dlg.cboCommsPortSelect->setCurrentIndex(7);
                      Key(dlg.cboCommsPortSelect, Qt::Key_Escape);
                  }),
        4);
    EXPECT_EQ(ExecuteWith(dlg, 4,
                  [&] {
                      dlg.cboCommsPortSelect->setCurrentIndex(0);
                      dlg.close();
                  }),
        4);
}

TEST(SerialSetup, EnterAnywhereAccepts)
{
    TfrmSerialSetup dlg;
    EXPECT_EQ(ExecuteWith(dlg, 0,
                  [&] {
                      dlg.cboCommsPortSelect->setCurrentIndex(3);
                      Key(dlg.cboCommsPortSelect, Qt::Key_Return);
                  }),
        3);
    // Even with the Cancel button focused, as the window sees keys first.
    EXPECT_EQ(ExecuteWith(dlg, 0,
                  [&] {
                      dlg.cboCommsPortSelect->setCurrentIndex(6);
                      Key(dlg.btnCancel, Qt::Key_Enter);
                  }),
        6);
}

TEST(SerialSetup, IndexOutsideTheListStartsOnCom1)
{
    TfrmSerialSetup dlg;
    int shown = -1;
    EXPECT_EQ(ExecuteWith(
                  dlg, 9, [&] { dlg.btnOK->click(); }, &shown),
        0);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(ExecuteWith(
                  dlg, -1, [&] { dlg.btnCancel->click(); }, &shown),
        -1);
    EXPECT_EQ(shown, 0);
}

TEST(SerialSetup, EachPortShowsItsDevice)
{
    ::setenv("PX10_COM3", "/dev/pts/42", 1);
    // A long path, in the lists and the status line: the window stays on the screen.
    ::setenv("PX10_COM1", ("/dev/serial/by-id/" + std::string(250, 'x')).c_str(), 1);
    TfrmSerialSetup dlg;
    ExecuteWith(dlg, 0, [&] { dlg.btnCancel->click(); });
    ::unsetenv("PX10_COM3");
    ::unsetenv("PX10_COM1");
    EXPECT_LE(dlg.frameGeometry().width(), dlg.screen()->availableGeometry().width());
    ASSERT_EQ(dlg.cboCommsPortSelect->count(), 8);
    EXPECT_EQ(dlg.cboCommsPortSelect->itemText(2), "COM3  (/dev/pts/42, from PX10_COM3, not present)");
    EXPECT_TRUE(dlg.cboCommsPortSelect->itemText(7).startsWith("COM8  ("));
    // The lists are named by their labels.
    EXPECT_EQ(dlg.cboCommsPortSelect->accessibleName(), "Serial Port");
    EXPECT_EQ(dlg.cboDevice->accessibleName(), "Serial Device");
}

TEST(SerialSetup, DeviceChosenFromThePresentOnesIsStoredOnlyAfterOk)
{
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QTemporaryDir dev;
    for (const char* name : { "ttyS1", "ttyUSB0" }) // present: terminals
        ASSERT_EQ(::symlink("/dev/tty", dev.filePath(name).toLocal8Bit().constData()), 0);
    const QString adapter = dev.filePath("ttyUSB0");
    const auto stored = [] {
        return QSettings(QStringLiteral("Veltrane"), QStringLiteral("PX10 Windows Support Tool"))
            .value(QStringLiteral("Setup/COM2 Device"))
            .toString();
    };
    TfrmSerialSetup dlg(
        nullptr, comms::SerialPorts(dev.path().toStdString(), dev.filePath("sys").toStdString()));
    // The user picks the adapter for COM2, looks at COM5, and cancels.
    const auto pickAdapter = [&] {
        EXPECT_EQ(dlg.cboDevice->currentData().toString(), dev.filePath("ttyS1"));
        EXPECT_EQ(dlg.lblDeviceStatus->text(), "The device is present.");
        const int index = dlg.cboDevice->findData(adapter);
        ASSERT_GE(index, 0);
        dlg.cboDevice->setCurrentIndex(index);
        emit dlg.cboDevice->activated(index);
        EXPECT_EQ(dlg.cboCommsPortSelect->itemText(1), "COM2  (" + adapter + ")");
        dlg.cboCommsPortSelect->setCurrentIndex(4);
        EXPECT_EQ(dlg.cboDevice->currentData().toString(), dev.filePath("ttyS4"));
        EXPECT_EQ(dlg.lblDeviceStatus->text(), "The device is not present.");
        dlg.cboCommsPortSelect->setCurrentIndex(1);
        EXPECT_EQ(dlg.cboDevice->currentData().toString(), adapter);
    };
    EXPECT_EQ(ExecuteWith(dlg, 1,
                  [&] {
                      pickAdapter();
                      Key(dlg.cboDevice, Qt::Key_Escape);
                  }),
        1);
    EXPECT_EQ(stored(), "");
    EXPECT_EQ(dlg.cboCommsPortSelect->itemText(1), "COM2  (" + dev.filePath("ttyS1") + ")");

    EXPECT_EQ(ExecuteWith(dlg, 1,
                  [&] {
                      pickAdapter();
                      Key(dlg.cboDevice, Qt::Key_Return);
                  }),
        1);
    EXPECT_EQ(stored(), adapter);
    EXPECT_EQ(CommPortDevice(spCOM2), adapter.toStdString());
}
