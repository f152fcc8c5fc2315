#pragma once
// Controls without visible text of their own (grids, boxes, edits) are named
// for screen readers and automated checks by what a user reads beside them.
// A name is kept as its English parts and built again in the language in
// force after every language change, so it never keeps an earlier language.
#include <QString>
#include <QStringList>

class QWidget;

// Names `Control` by `EnglishParts` (label texts, accelerators allowed), each
// translated, its accelerator dropped, joined by blanks: at once and after
// each language change. Naming a control again replaces its parts.
void SetAccessibleNameParts(QWidget* Control, const QStringList& EnglishParts);
