// The main of the widget tests.
#include "QtTestMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    return RunQtTests<QApplication>(argc, argv);
}
