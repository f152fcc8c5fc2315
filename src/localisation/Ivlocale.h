#pragma once
// What a language or locale change does to the process beyond the
// dictionary: the format settings record that formatting code reads, the
// euro presentation, date-format and shortcut texts, the application's error
// text, and the hooks through which the widget layer follows a change (the
// core itself knows no widgets).
#include "Ivdictio.h"

#include <cstdint>
#include <functional>
#include <string>

// --- Process-wide format settings, with Windows-style pictures. Texts are UTF-8.
struct TIvFormatSettings {
    uint32_t LocaleId = 0x0409;
    int PrimaryId = 9;
    int SubId = 1;
    bool FarEast = false; // the locale's code page is a double-byte one
    uint8_t CalendarType = 1; // Gregorian
    std::string CurrencyString = "$";
    uint8_t CurrencyFormat = 0; // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    uint8_t NegCurrFormat = 0; // 0 "($1)" .. 15 "(1 $)", the Windows numbering
    uint8_t CurrencyDecimals = 2;
    std::string ThousandSeparator = ",";
    std::string DecimalSeparator = ".";
    std::string DateSeparator = "/";
    std::string TimeSeparator = ":";
    std::string ShortDateFormat = "M/d/yyyy";
    std::string LongDateFormat = "dddd, MMMM d, yyyy";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::string ShortTimeFormat = "h:mm AMPM";
    std::string LongTimeFormat = "h:mm:ss AMPM";
    std::string ShortMonthNames[12];
    std::string LongMonthNames[12];
    std::string ShortDayNames[7]; // Sunday first
    std::string LongDayNames[7]; // Sunday first
    int FirstWeekOfYear = 0; // 0 the week of 1 January, 1 the first full week, 2 the first four-day week
};

// A copy of the record in force (safe from any thread).
TIvFormatSettings IvFormatSettings();
void IvSetFormatSettings(const TIvFormatSettings& settings);
// The record in force becomes what `make` gives, made when first read: a
// change of locale then gathers no conventions that nothing reads. `make`
// must not read the record itself.
void IvSetFormatSettingsLater(std::function<TIvFormatSettings()> make);

// The record for a locale; a locale taken from the system is completed from
// ICU (separators, currency formats, first week). With `year2000` a date
// picture holding "yy" but not "yyyy" gets its year doubled.
TIvFormatSettings IvMakeFormatSettings(const TIvLocale& locale, bool year2000);
// An ICU date or time pattern as a Windows-style picture.
std::string IvIcuPatternToPicture(const std::string& icuPattern);
// The year-2000 rule on one picture.
std::string IvYear2000Picture(const std::string& picture);

// --- The euro.
enum TIvEuroPhase { iveLocal, iveLocalAndEuro, iveEuroAndLocal, iveEuro };
struct TIvDate {
    int Year = 0;
    int Month = 1;
    int Day = 1;
};
TIvDate IvToday();
TIvEuroPhase IvGetEMUPhase(const TIvDate& date);
bool IvIsEMUMember(uint32_t lcid);
// The currency string of `locale` under the euro mode in force, on `date`.
std::string IvGetEMUCurrencyString(const TIvLocale& locale, TIvEuro mode, const TIvDate& date);

// --- Dates and times in the pictures of the format settings.
struct TIvDateTime {
    TIvDate Date;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};
// `when` by a picture of the record: d dd ddd dddd, M MM MMM MMMM, y yy yyyy,
// h hh (on a 12-hour clock when the picture holds AMPM) H HH, m mm, s ss, AMPM,
// '/' the date and ':' the time separator, text in quotes as it stands.
std::string IvFormatDateTime(
    const std::string& picture, const TIvDateTime& when, const TIvFormatSettings& settings);
// The short date, a blank and the long time, in the record in force.
std::string IvDateTimeToStr(const TIvDateTime& when);

// --- Texts.
// Far-east calendars take era pictures; others lose their era letters where the system asks.
std::string TranslateDateFormat(const std::string& format);
// A class-library shortcut (key code in the low byte, 0x2000 Shift, 0x4000
// Ctrl, 0x8000 Alt) as text, each caption through the default dictionary.
std::string TranslateShortCutToText(uint16_t shortcut);

// --- Hooks that the widget layer installs; without them a change touches no window.
class TIvApplicationHooks {
public:
    virtual ~TIvApplicationHooks() = default;
    // The application's reading direction.
    virtual void SetRightToLeft(bool rightToLeft) = 0;
    // The default locale and every top-level window's locale.
    virtual void SetLocale(uint32_t lcid) = 0;
    // The translator of the toolkit's own texts (through the default dictionary),
    // from the first run-time open to the next close.
    virtual void InstallResourceTranslator() = 0;
    virtual void RemoveResourceTranslator() = 0;
    // Told once after every change, when every translator has run.
    virtual void LanguageChangeDone() = 0;
};
// Not owned; null removes them. Returns the previous hooks.
TIvApplicationHooks* IvSetApplicationHooks(TIvApplicationHooks* hooks);
TIvApplicationHooks* IvApplicationHooks();
