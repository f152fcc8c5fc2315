#pragma once
// What the detection and transfer dialogs share: translated captions, named
// labels, the pictures of the panel link and the show handler run once the
// window is on screen. Their handlers run under the one event-loop guard.
#include "ExceptionBox.h"

#include <QString>

#include <functional>

class QLabel;
class QObject;
class QPixmap;
class QWidget;

namespace comms::forms {

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& text = {});

// A picture of the panel link from this library's resources (":/comms/<file>").
QPixmap Picture(const char* file);

// The panel pictures: the PX10's shown, the other panel types' hidden.
struct PanelPictures {
    QLabel* PX10 = nullptr;
    QLabel* TR70 = nullptr;
    QLabel* Marvex = nullptr;
    QLabel* QTB = nullptr;
};
PanelPictures MakePanelPictures(QWidget* parent, const char* qtbName);

// Runs and clears a pending show handler once the window is on screen, as the
// window's show handler runs.
void RunShowHandler(QObject* window, std::function<void()>& pending);

} // namespace comms::forms
