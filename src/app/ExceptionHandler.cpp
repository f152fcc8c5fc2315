#include "ExceptionHandler.h"

#include "Exception.h"

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowExceptionBox(e);
    } catch (...) {
        ShowExceptionBox(Exception("Unknown error"));
    }
    return false;
}
