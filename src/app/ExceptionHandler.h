#pragma once
// The application's exception handler: every exception that reaches the
// event loop is shown in an error box instead of ending the program.
#include "ExceptionBox.h"

#include <QApplication>

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
