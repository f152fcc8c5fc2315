#pragma once
// How a window of the program gets its translator. Every window calls
// IvAddTranslator once its widgets exist; a window that builds texts in code
// passes the function that rebuilds them, which runs after each language
// change, once the translators have translated the static texts.
#include "Ivmulti.h"

#include <functional>

// Caption, Hint, Items, Tabs, Lines, Filter and Title of every class, and the
// heading cells of tables: what the program's windows translate.
TIvTargetProperties IvWindowTargets();

// The translator of `window` (made, owned by the window, and run now in the
// language in force when a dictionary exists). Calling it again returns the
// same translator and adds `rebuild` to the rebuilders.
TIvTranslator* IvAddTranslator(QWidget* window, std::function<void()> rebuild = {});
