#pragma once
#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

// The frame openbox puts round a window: 1 pixel at the sides, a title bar of 20, 5 at the bottom.
inline const QMargins OpenboxFrame(1, 20, 1, 5);

// The program's own windows.
inline std::vector<QWidget*> TopWindows()
{
    std::vector<QWidget*> out;
    for (QWidget* top : QApplication::topLevelWidgets())
        if ((qobject_cast<QDialog*>(top) || qobject_cast<QMainWindow*>(top)) && !top->objectName().isEmpty())
            out.push_back(top);
    return out;
}

// Runs `check` on the modal dialog that `open` shows, then closes it.
inline void CheckModal(const std::function<void()>& open, const std::function<void(QDialog&)>& check)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        QApplication::processEvents();
        check(*dialog);
        dialog->reject();
    });
    open();
    EXPECT_TRUE(seen);
}
