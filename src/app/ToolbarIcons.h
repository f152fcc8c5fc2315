#pragma once
// The toolbar's pictures, drawn in code: cheap to make at start-up and the
// same on every desktop.
#include <QIcon>

enum class ToolbarIcon { New, Open, Save, Print, Preview, Cut, Copy, Paste, Send, Receive, Help };

QIcon MakeToolbarIcon(ToolbarIcon which);
