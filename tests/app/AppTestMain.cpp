// The application tests run under the program's own application object, so
// that its exception guard is the one in force.
#include "ExceptionHandler.h"
#include "support/QtTestMain.h"

int main(int argc, char** argv)
{
    return RunQtTests<TApplication>(argc, argv);
}
