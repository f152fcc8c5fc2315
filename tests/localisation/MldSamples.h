#pragma once
// A small dictionary in every MLD form: English (native), German, German
// (Austria) falling back to German, and Russian in code page 1251.
#include "Ivbindic.h"
#include "Ivmldwrt.h"
#include "Ivstream.h"

#include <functional>
#include <string>

// UTF-8 texts of the samples.
#define OE "\xC3\x96"
#define AE "\xC3\xA4"
inline const std::string Oeffnen = OE "ffnen";
inline const std::string RussianOpen = "\xD0\x9E\xD1\x82\xD0\xBA\xD1\x80\xD1\x8B\xD1\x82\xD1\x8C";
inline const std::string RussianExit = "\xD0\x92\xD1\x8B\xD1\x85\xD0\xBE\xD0\xB4";
inline const std::string RussianName = "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9";
inline const std::string Euro = "\xE2\x82\xAC";

inline TIvLanguage SampleLanguage(int primary, int sub, int codePage, const std::string& english,
    const std::string& native, const std::string& subs = "")
{
    TIvLanguage l;
    l.PrimaryId = primary;
    l.DefaultSub = sub;
    l.SetAllSubs(subs);
    l.SetCodePage(codePage);
    l.EnglishName = english;
    l.NativeName = native;
    l.FontName = "Tahoma";
    l.FontSize = 8;
    return l;
}

inline TIvLocale SampleLocale()
{
    TIvLocale l;
    l.PrimaryId = 7;
    l.SubId = 3;
    l.IsoLanguage = "de";
    l.IsoCountry = "AT";
    l.CodePage = 1252;
    l.Charset = 0;
    l.Custom = true;
    l.EnglishLanguageName = "German";
    l.EnglishCountryName = "Austria";
    l.NativeLanguageName = "Deutsch";
    l.NativeCountryName = OE "sterreich";
    l.LocalizedLanguageName = "German";
    l.LocalizedCountryName = "Austria";
    l.MeasurementSystem = ivmsMetric;
    l.CurrencySymbol = Euro;
    l.CurrencyFormat = 2;
    l.NegativeCurrencyFormat = 9;
    l.CurrencyDecimals = 2;
    l.ThousandSeparator = '.';
    l.DecimalSeparator = ',';
    l.DateSeparator = '.';
    l.ShortDateFormat = "dd.MM.yyyy";
    l.LongDateFormat = "dddd, d. MMMM yyyy";
    l.TimeSeparator = ':';
    l.TimeAMString = "";
    l.TimePMString = "";
    l.HourLeadingZero = true;
    l.TimeFormat = ivtf24;
    l.TimeMarkPosition = ivtmSuffix;
    l.CalendarType = 1;
    l.FirstDayOfWeek = 0;
    l.FirstWeekOfYear = 2;
    const char* months[] = { "J" AE "nner", "Februar", "M" AE "rz", "April", "Mai", "Juni", "Juli", "August",
        "September", "Oktober", "November", "Dezember" };
    for (int i = 0; i < 12; ++i) {
        l.LongMonthNames[i] = months[i];
        l.ShortMonthNames[i] = std::string(months[i]).substr(0, 3);
    }
    const char* days[] = { "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag" };
    for (int i = 0; i < 7; ++i) {
        l.LongDayNames[i] = days[i];
        l.ShortDayNames[i] = std::string(days[i]).substr(0, 2);
    }
    return l;
}

inline TIvMLDContent SampleContent(
    int version, TIvByteOrder order, bool unicode, TIvContextCode contextCode = ivccFlat)
{
    TIvMLDContent c;
    c.Version = version;
    c.ByteOrder = order;
    c.Unicode = unicode;
    c.ContextCode = contextCode;
    c.Languages = {
        SampleLanguage(9, 1, 1252, "English", "English"),
        SampleLanguage(7, 1, 1252, "German", "Deutsch"),
        SampleLanguage(7, 3, 1252, "German (Austria)", "Deutsch (" OE "sterreich)", "3"),
        SampleLanguage(25, 1, 1251, "Russian", RussianName),
    };
    if (version >= 2) {
        c.Languages[1].IsoLanguage = "de";
        c.Languages[1].IsoCountry = "DE";
        c.Languages[2].IsoLanguage = "de";
        c.Languages[2].IsoCountry = "AT";
        c.Languages[2].SetISOAllCountries("AT,LI");
    }
    c.Rows = {
        { "Open", "frmMain", "mnuOpen", { Oeffnen, "", RussianOpen } },
        { "Save", "frmMain", "mnuSave", { "Speichern", "Sichern", "" } },
        { "Save As", "frmMain", "mnuSaveAs", { "Speichern unter", "", "" } },
        { "Close", "frmMain", "mnuClose", { "", "", "" } },
        { "Exit", "frmMain", "mnuExit", { "", "Beenden", RussianExit } },
    };
    if (contextCode != ivccFlat) // the same native text in another context
        c.Rows.push_back({ "Open", "frmAbout", "btnOpen", { "Aufmachen", "", "" } });
    c.Locales = { SampleLocale() };
    c.Info.Description = "PX10Tool dictionary";
    c.Info.Owner = "Veltrane";
    c.Info.Users = { "first", "second" };
    c.Info.Date = { 2, 3, 2024, 10, 20, 30 };
    return c;
}

// A dictionary over MLD bytes handed in as the program's resource.
class ResourceDictionary {
public:
    explicit ResourceDictionary(const std::string& bytes)
    {
        IvRegisterResource(TIvBinaryDictionary::ResourceType, TIvBinaryDictionary::ResourceName, bytes);
        D.SetStorage(ivsResource);
        D.SetFileName("PX10Tool.mld");
        D.SetCheckLevel(ivclNone);
    }
    ~ResourceDictionary()
    {
        IvUnregisterResource(TIvBinaryDictionary::ResourceType, TIvBinaryDictionary::ResourceName);
    }
    TIvBinaryDictionary& Open(int language)
    {
        D.SetLanguage(language);
        D.Open();
        return D;
    }
    TIvBinaryDictionary D;
};

// The message of the exception that `f` raises, or "(no exception)".
inline std::string RaisedMessage(const std::function<void()>& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no exception)";
}
