#pragma once
// The text download window without widgets: which download runs, the lines
// it shows, Save As to a CSV file and the device logger. The window shows
// State() and forwards its menu, buttons and timer here.
#include "Downloadlines.h"
#include "Ivdictio.h"

#include <QTimer>

#include <functional>
#include <string>

class QDateTime;
class TQuorvelProtocol;

namespace comms {

class TTextDownload {
public:
    // `ShowModal` runs the window until it closes. `Now` gives the date and
    // time text that stamps a logged line.
    TTextDownload(TextDownloadSource& Source, std::function<void()> ShowModal,
        std::function<std::string()> Now = SystemDateTime);

    void ShowPanelEventLog(TQuorvelProtocol* Protocol);
    void ShowDeviceData(TQuorvelProtocol* Protocol);
    void ShowDeviceLogger(TQuorvelProtocol* Protocol);

    // Asks for a file and writes the lines to it in Windows-1252, one per line
    // ending in CRLF.
    // The file is replaced only once fully written; a failure keeps the old
    // file and raises an Exception. False when the user cancelled.
    bool SaveAs();
    // Writes the lines to `path` crash-safely; raises an Exception on failure.
    void SaveToFile(const std::string& path) const;

    // Logger controls.
    void SetIntervalPosition(int seconds); // the track bar, 5 to 60
    int IntervalPosition() const { return FInterval; }
    void SetDeviceNo(int number) { FDeviceNo = number; }
    int DeviceNo() const { return FDeviceNo; }
    void SetModule(bool module) { FModule = module; }
    bool Module() const { return FModule; }
    void StartStopClicked();
    // One logger run; the window's timer calls it.
    void TimerTick();
    // The window may close only while the logger is stopped.
    bool CanClose() const { return !FTimer.isActive() && !FInTick; }
    bool Logging() const { return FTimer.isActive() || FInTick; }
    QTimer& Timer() { return FTimer; }

    const TextLines& Lines() const { return FLines; }
    TextLines& Lines() { return FLines; }
    // Texts in the language in force: the state keeps them in English.
    std::string Caption() const { return Translate(FCaption); }
    std::string SaveTitle() const { return Translate(FSaveTitle); }
    std::string SaveFilter() const;
    bool LoggerVisible() const { return FLoggerVisible; }
    std::string IntervalText() const { return std::to_string(FInterval); }
    std::string StartStopCaption() const { return Translate(FStartStop); }
    // Called whenever what the window shows changed.
    std::function<void()> OnChanged;

    // The date and time now as DateTimeText writes them.
    static std::string SystemDateTime();
    // The short date, a blank and the long time, in the formats of the
    // language in force.
    static std::string DateTimeText(const QDateTime& when);

private:
    void Changed()
    {
        if (OnChanged)
            OnChanged();
    }
    void StopLogging();
    // Runs `download` into the cleared lines, then shows them under `caption`.
    void ShowDownload(const std::function<void()>& download, const char* caption, const char* saveTitle);

    TextDownloadSource& FSource;
    std::function<void()> FShowModal;
    std::function<std::string()> FNow;
    TQuorvelProtocol* FProtocol = nullptr;
    TextLines FLines;
    const char* FCaption = "";
    const char* FSaveTitle = "";
    bool FLoggerVisible = false;
    int FInterval = 5;
    int FDeviceNo = 1;
    bool FModule = false;
    const char* FStartStop = IvNative("Start");
    QTimer FTimer;
    bool FInTick = false;
};

} // namespace comms
