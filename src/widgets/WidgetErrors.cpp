#include "WidgetErrors.h"

#include "Exception.h"
#include "ExceptionBox.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <utility>

namespace {

TWidgetErrorSink& Sink()
{
    static TWidgetErrorSink sink = ShowExceptionBox;
    return sink;
}

void Deliver(const std::exception_ptr& error)
{
    TWidgetErrorSink sink = Sink(); // a copy: the sink may replace itself
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        sink(e);
    } catch (...) {
        sink(Exception("Unknown exception"));
    }
}

} // namespace

TWidgetErrorSink SetWidgetErrorSink(TWidgetErrorSink sink)
{
    if (!sink)
        sink = ShowExceptionBox;
    return std::exchange(Sink(), std::move(sink));
}

void ReportWidgetError(std::exception_ptr error)
{
    if (!error)
        return;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        Deliver(error);
        return;
    }
    QMetaObject::invokeMethod(
        app,
        [error] {
            try {
                Deliver(error);
            } catch (...) {
                // a failing sink must not take the event loop with it
            }
        },
        Qt::QueuedConnection);
}
