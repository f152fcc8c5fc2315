#pragma once
// Where the widgets of this layer send a failure caught at a boundary that Qt
// calls (a model's data() or setData(), a paint, a delegate): never back into
// Qt, and never in a modal box while Qt is inside that call.
#include <exception>
#include <functional>

using TWidgetErrorSink = std::function<void(const std::exception&)>;

// Installs `sink` (an empty one restores the application's error box) and
// returns the one it replaces.
TWidgetErrorSink SetWidgetErrorSink(TWidgetErrorSink sink);

// Hands `error` to the sink once control is back in the event loop (at once
// when there is no application object).
void ReportWidgetError(std::exception_ptr error);
