#include "Textdownload.h"

#include "CodePage.h"
#include "Exception.h"
#include "ExceptionBox.h"
#include "File.h"
#include "Ivdictio.h"
#include "Ivlocale.h"
#include "Prompts.h"

#include <QDateTime>

namespace comms {

TTextDownload::TTextDownload(
    TextDownloadSource& Source, std::function<void()> ShowModal, std::function<std::string()> Now)
    : FSource(Source)
    , FShowModal(std::move(ShowModal))
    , FNow(std::move(Now))
{
    FTimer.setSingleShot(false);
    FTimer.setInterval(5000);
    FTimer.setObjectName(QStringLiteral("Timer1"));
    QObject::connect(&FTimer, &QTimer::timeout, [this] { TimerTick(); });
}

std::string TTextDownload::SystemDateTime()
{
    return DateTimeText(QDateTime::currentDateTime());
}

std::string TTextDownload::DateTimeText(const QDateTime& when)
{
    const QDate date = when.date();
    const QTime time = when.time();
    return IvDateTimeToStr(
        { { date.year(), date.month(), date.day() }, time.hour(), time.minute(), time.second() });
}

std::string TTextDownload::SaveFilter() const
{
    return Translate("CSV files (*.csv)|*.csv");
}

void TTextDownload::ShowPanelEventLog(TQuorvelProtocol* Protocol)
{
    ShowDownload([&] { FSource.DownloadEventLog(Protocol, &FLines); }, IvNative("Panel Event Log"),
        IvNative("Save Event Log Data"));
}

void TTextDownload::ShowDeviceData(TQuorvelProtocol* Protocol)
{
    ShowDownload([&] { FSource.DownloadDeviceData(Protocol, &FLines, -1); }, IvNative("Device Data"),
        IvNative("Save Device Data"));
}

void TTextDownload::ShowDownload(
    const std::function<void()>& download, const char* caption, const char* saveTitle)
{
    FLines.clear();
    FLoggerVisible = false;
    Changed();
    // The window opens whatever the download's outcome, with the lines it got:
    // a line that drops mid-download loses none of what arrived. A failure
    // before any line arrived (the port would not open) shows only its error.
    bool failed = false;
    try {
        download();
    } catch (const std::exception& e) {
        failed = true;
        ShowExceptionBox(e);
    }
    FCaption = caption;
    FSaveTitle = saveTitle;
    Changed();
    if (failed && FLines.empty())
        return;
    FShowModal();
}

void TTextDownload::ShowDeviceLogger(TQuorvelProtocol* Protocol)
{
    FLines.clear();
    FCaption = IvNative("Device Logger");
    FSaveTitle = IvNative("Save Device Data");
    FProtocol = Protocol;
    FLoggerVisible = true;
    Changed();
    FShowModal();
    FLoggerVisible = false;
    Changed();
}

bool TTextDownload::SaveAs()
{
    platform::FileDialogOptions options;
    options.Title = SaveTitle();
    options.Filter = SaveFilter();
    options.DefaultExt = "csv";
    const std::string path = platform::CurrentPrompts().SaveFileName(options);
    if (path.empty())
        return false;
    SaveToFile(path);
    return true;
}

void TTextDownload::SaveToFile(const std::string& path) const
{
    std::string text;
    // The panel's code page, as the tools that read these files expect.
    for (const std::string& line : FLines)
        text += platform::Utf8ToCp1252(line) + "\r\n";
    try {
        platform::AtomicFileWriter writer(path);
        writer.Write(text.data(), text.size());
        writer.Commit();
    } catch (const platform::FileError& e) {
        std::string message = MlFormat("Unable to save %s", path);
        if (!e.Text.empty())
            message += "\r\n" + e.Text;
        throw Exception(message);
    }
}

void TTextDownload::SetIntervalPosition(int seconds)
{
    FInterval = seconds < 5 ? 5 : seconds > 60 ? 60 : seconds;
    Changed();
}

void TTextDownload::StartStopClicked()
{
    if (FTimer.isActive()) {
        FTimer.stop();
        FStartStop = IvNative("Start");
    } else {
        FTimer.start(100);
        FStartStop = IvNative("Stop");
    }
    Changed();
}

void TTextDownload::StopLogging()
{
    FTimer.stop();
    FStartStop = IvNative("Start");
    Changed();
}

void TTextDownload::TimerTick()
{
    if (FInTick)
        return;
    // The download runs its own modal windows; no further tick may start
    // inside them.
    FTimer.stop();
    FInTick = true;
    const int interval = FInterval * 1000;
    const int address = FDeviceNo + (FModule ? 100 : 0);
    const std::size_t before = FLines.size();
    Exception failure("Device logging stopped.");
    bool ok = false;
    try {
        ok = FSource.DownloadDeviceData(FProtocol, &FLines, address);
    } catch (const Exception& e) {
        failure = e;
    } catch (const std::exception& e) {
        failure = Exception(e.what());
    }
    // Only a line this run added gets a time stamp.
    if (FLines.size() > before)
        FLines.back() = CsvText(FNow()) + "," + FLines.back();
    FInTick = false;
    if (!ok) {
        StopLogging();
        ShowExceptionBox(failure); // the one error box: translated once, with its full stop
        return;
    }
    FTimer.start(interval);
    Changed();
}

} // namespace comms
