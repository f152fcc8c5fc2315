#include "PX10ConfigGeneralPanelSetup.h"

#include <cstdio>

#include "Exception.h"

namespace {
constexpr int TextMaxLength = 20;

bool GetFlag(const TPX10ConfigRecord& r, int offset)
{
    return r.GetByte(offset) != 0;
}
void SetFlag(TPX10ConfigRecord& r, int offset, bool value)
{
    r.SetByte(offset, value ? 1 : 0);
}
void SetByteValue(TPX10ConfigRecord& r, int offset, int value)
{
    r.SetByte(offset, LowByte(value));
}

int TwoDigits(const std::string& text, std::size_t first)
{
    int value = 0;
    for (std::size_t i = first; i < first + 2; ++i) {
        char c = text[i];
        if (c < '0' || c > '9')
            throw EConvertError("'" + text.substr(first, 2) + "' is not a valid integer value");
        value = value * 10 + (c - '0');
    }
    return value;
}

constexpr unsigned int SensitivityStartMask = 0x7FF;
constexpr int SensitivityEndShift = 11;
constexpr int WeekendShift = 22;
constexpr int MainsDelayShift = 24;
} // namespace

std::string MinutesToTimeText(int Minutes, char Separator)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02i%c%02i", Minutes / 60, Separator, Minutes % 60);
    return buffer;
}

int TimeTextToMinutes(const std::string& Text)
{
    if (Text.size() < 5)
        throw EConvertError("'" + Text + "' is not a valid time");
    std::string text = Text;
    for (char& c : text)
        if (c == ' ')
            c = '0';
    int hours = TwoDigits(text, 0);
    int minutes = TwoDigits(text, 3);
    if (hours > 23)
        hours = 23;
    if (minutes > 59)
        minutes = 59;
    return hours * 60 + minutes;
}

TPX10ConfigGeneralPanelSetup::TPX10ConfigGeneralPanelSetup(
    bool VdSDefaults, bool LED2CModeDefault, bool TorqSwitchDefault, bool ControlKey3ModeDefault)
    : First(Defaults().First)
    , Second(Defaults().Second)
{
    // Each flag has a byte of its own.
    SetDigitalInput1(VdSDefaults);
    SetLED2CMode(LED2CModeDefault ? 1 : 0);
    SetControlKey3Mode(ControlKey3ModeDefault ? 1 : 0);
    SetTorqSwitch(TorqSwitchDefault);
    Second.ClearModified();
}

// The defaults that no flag changes, set one by one through the setters once;
// every part built copies them.
const TPX10ConfigGeneralPanelSetup& TPX10ConfigGeneralPanelSetup::Defaults()
{
    static const TPX10ConfigGeneralPanelSetup defaults = [] {
        TPX10ConfigGeneralPanelSetup blank { Blank {} };
        blank.First.SetRecordId(1);
        blank.Second.SetRecordId(1);
        blank.SetExtendDelay(3);
        blank.SetPrimaryDelay(30);
        blank.SetBlinking(true);
        blank.SetSensorsBlinkColour(false);
        blank.SetModulesBlinkColour(false);
        blank.SetControlKeys(true);
        blank.SetWeekendNightMode(true);
        blank.SetHightestEnable(false);
        blank.SetRS485Protocol(1);
        blank.SetTransmissionDevice(false);
        blank.SetFWPInput4Disable(false);
        blank.SetExtSystemDelay(60);
        blank.SetRS232ThirdPartyDatalinkMonitoring(true);
        blank.SetRS485ThirdPartyDatalinkMonitoring(true);
        blank.ClearModified();
        return blank;
    }();
    return defaults;
}

// clang-format off
#define PX10_TEXT(Rec, Name, Offset) \
    std::string TPX10ConfigGeneralPanelSetup::Get##Name() const { return Rec.GetText(Offset); } \
    void TPX10ConfigGeneralPanelSetup::Set##Name(const std::string& Text) { Rec.SetText(Offset, TextMaxLength, Text); }
#define PX10_FLAG(Rec, Name, Offset) \
    bool TPX10ConfigGeneralPanelSetup::Get##Name() const { return GetFlag(Rec, Offset); } \
    void TPX10ConfigGeneralPanelSetup::Set##Name(bool Value) { SetFlag(Rec, Offset, Value); }
#define PX10_BYTE(Rec, Name, Offset) \
    int TPX10ConfigGeneralPanelSetup::Get##Name() const { return Rec.GetByte(Offset); } \
    void TPX10ConfigGeneralPanelSetup::Set##Name(int Value) { SetByteValue(Rec, Offset, Value); }
#define PX10_WORD(Rec, Name, Offset) \
    int TPX10ConfigGeneralPanelSetup::Get##Name() const { return Rec.GetWord(Offset); } \
    void TPX10ConfigGeneralPanelSetup::Set##Name(int Value) { Rec.SetWord(Offset, Value); }

PX10_TEXT(First, SiteName, 1)
PX10_TEXT(First, ServicePhoneNo, 22)
PX10_BYTE(First, DateFormat, 43)
PX10_WORD(First, ExtendDelay, 44)
PX10_FLAG(First, Blinking, 46)
PX10_FLAG(First, ControlKeys, 48)
PX10_BYTE(First, RS485QtyRepeaters, 49)
PX10_WORD(First, DayModeStartTime, 50)
PX10_WORD(First, DayModeEndTime, 52)
PX10_FLAG(First, WeekendNightMode, 54)
PX10_WORD(First, HightestWord, 55)
PX10_BYTE(First, RS485Protocol, 57)
PX10_WORD(First, PrimaryDelay, 58)

PX10_FLAG(Second, RS485ThirdPartyDatalinkMonitoring, 1)
PX10_WORD(Second, RS485ThirdPartySuspendCommsLimit, 2)
PX10_FLAG(Second, TransmissionDevice, 14)
PX10_FLAG(Second, FWPInput4Disable, 15)
PX10_BYTE(Second, RS232Protocol, 16)
PX10_FLAG(Second, EventPrinting, 17)
PX10_FLAG(Second, PrintFormat, 18)
PX10_BYTE(Second, RS232Options, 21)
PX10_WORD(Second, ExtSystemSoakTime, 22)
PX10_BYTE(Second, HoldSwitchOperation, 24)
PX10_BYTE(Second, FWP2OutputActivation, 25)
PX10_FLAG(Second, RS232ThirdPartyDatalinkMonitoring, 26)
PX10_WORD(Second, RS232ThirdPartySuspendCommsLimit, 27)
PX10_BYTE(Second, LED1HMode, 29)
PX10_BYTE(Second, LED2CMode, 30)
PX10_BYTE(Second, ControlKey3Mode, 31)
PX10_FLAG(Second, HeatDetectorsEndDelays, 32)
PX10_BYTE(Second, DelaysActiveIndication, 33)
PX10_BYTE(Second, UnmuteOption, 34)
PX10_BYTE(Second, DayModeNewAlarmOption, 35)
PX10_FLAG(Second, DayModeStartOption, 36)
PX10_FLAG(Second, FireOutputActiveLEDOption, 37)
PX10_BYTE(Second, FiremansWorkPanelOption, 38)
PX10_BYTE(Second, RoutingAutoDisable, 39)
PX10_BYTE(Second, AutoResoundMode, 40)
PX10_BYTE(Second, SuppressDoubleAddress, 41)
PX10_WORD(Second, ServiceDueWord, 42)
PX10_FLAG(Second, MaxHeadLEDs, 44)
PX10_FLAG(Second, LampTest, 45)
PX10_FLAG(Second, TorqSwitch, 46)
PX10_FLAG(Second, SensorsBlinkColour, 47)
PX10_FLAG(Second, ModulesBlinkColour, 48)

#undef PX10_TEXT
#undef PX10_FLAG
#undef PX10_BYTE
#undef PX10_WORD
// clang-format on

bool TPX10ConfigGeneralPanelSetup::GetPulseRatio() const
{
    return GetFlag(First, 47);
}
void TPX10ConfigGeneralPanelSetup::SetPulseRatio(int Value)
{
    SetFlag(First, 47, Value != 0);
}

std::string TPX10ConfigGeneralPanelSetup::GetDayModeStartTimeText(char Separator) const
{
    return MinutesToTimeText(GetDayModeStartTime(), Separator);
}
void TPX10ConfigGeneralPanelSetup::SetDayModeStartTimeText(const std::string& Text)
{
    SetDayModeStartTime(TimeTextToMinutes(Text));
}
std::string TPX10ConfigGeneralPanelSetup::GetDayModeEndTimeText(char Separator) const
{
    return MinutesToTimeText(GetDayModeEndTime(), Separator);
}
void TPX10ConfigGeneralPanelSetup::SetDayModeEndTimeText(const std::string& Text)
{
    SetDayModeEndTime(TimeTextToMinutes(Text));
}

bool TPX10ConfigGeneralPanelSetup::GetHightestEnable() const
{
    return (GetHightestWord() & 0x8000) == 0;
}
void TPX10ConfigGeneralPanelSetup::SetHightestEnable(bool Enable)
{
    int word = GetHightestWord();
    SetHightestWord(Enable ? (word & 0x7FFF) : (word | 0x8000));
}
std::string TPX10ConfigGeneralPanelSetup::GetHightestTimeText(char Separator) const
{
    return MinutesToTimeText(GetHightestWord() & 0x7FFF, Separator);
}
void TPX10ConfigGeneralPanelSetup::SetHightestTimeText(const std::string& Text)
{
    int minutes = TimeTextToMinutes(Text);
    SetHightestWord((GetHightestWord() & 0x8000) | minutes);
}

bool TPX10ConfigGeneralPanelSetup::GetDigitalInput1() const
{
    return Second.GetByte(13) == 0;
}
void TPX10ConfigGeneralPanelSetup::SetDigitalInput1(bool Value)
{
    Second.SetByte(13, Value ? 0 : 1);
}

int TPX10ConfigGeneralPanelSetup::GetExtSystemDelay() const
{
    int value = Second.GetWord(19);
    if (value < 10)
        return 10;
    if (value > 180)
        return 180;
    return value;
}
void TPX10ConfigGeneralPanelSetup::SetExtSystemDelay(int Value)
{
    Second.SetWord(19, Value);
}

QDate TPX10ConfigGeneralPanelSetup::GetServiceDueDate() const
{
    int word = GetServiceDueWord();
    if (word == 0)
        return {};
    // QDate's constructor yields a null date for a day or month that does not exist.
    QDate date(2000 + (word >> 10), (word >> 6) & 15, (word >> 1) & 31);
    return date.isValid() ? date : QDate();
}

void TPX10ConfigGeneralPanelSetup::SetServiceDueDate(const QDate& Date)
{
    if (!Date.isValid()) {
        SetServiceDueWord(0);
        return;
    }
    SetServiceDueWord((Date.year() - 2000) * 1024 + Date.month() * 64 + Date.day() * 2);
}

unsigned int TPX10ConfigGeneralPanelSetup::GetPacked() const
{
    return static_cast<unsigned int>(Second.GetByte(56))
        | (static_cast<unsigned int>(Second.GetByte(57)) << 8)
        | (static_cast<unsigned int>(Second.GetByte(58)) << 16)
        | (static_cast<unsigned int>(Second.GetByte(59)) << 24);
}

void TPX10ConfigGeneralPanelSetup::SetPacked(unsigned int Value)
{
    for (int i = 0; i < 4; ++i)
        Second.SetByte(56 + i, static_cast<unsigned char>((Value >> (8 * i)) & 0xFF));
}

int TPX10ConfigGeneralPanelSetup::GetDayModeSensitivityStartTime() const
{
    return static_cast<int>(GetPacked() & SensitivityStartMask);
}
void TPX10ConfigGeneralPanelSetup::SetDayModeSensitivityStartTime(int Minutes)
{
    SetPacked(
        (GetPacked() & ~SensitivityStartMask) | (static_cast<unsigned int>(Minutes) & SensitivityStartMask));
}
int TPX10ConfigGeneralPanelSetup::GetDayModeSensitivityEndTime() const
{
    return static_cast<int>((GetPacked() >> SensitivityEndShift) & SensitivityStartMask);
}
void TPX10ConfigGeneralPanelSetup::SetDayModeSensitivityEndTime(int Minutes)
{
    unsigned int mask = SensitivityStartMask << SensitivityEndShift;
    SetPacked((GetPacked() & ~mask)
        | ((static_cast<unsigned int>(Minutes) & SensitivityStartMask) << SensitivityEndShift));
}
std::string TPX10ConfigGeneralPanelSetup::GetDayModeSensitivityStartTimeText(char Separator) const
{
    return MinutesToTimeText(GetDayModeSensitivityStartTime(), Separator);
}
void TPX10ConfigGeneralPanelSetup::SetDayModeSensitivityStartTimeText(const std::string& Text)
{
    SetDayModeSensitivityStartTime(TimeTextToMinutes(Text));
}
std::string TPX10ConfigGeneralPanelSetup::GetDayModeSensitivityEndTimeText(char Separator) const
{
    return MinutesToTimeText(GetDayModeSensitivityEndTime(), Separator);
}
void TPX10ConfigGeneralPanelSetup::SetDayModeSensitivityEndTimeText(const std::string& Text)
{
    SetDayModeSensitivityEndTime(TimeTextToMinutes(Text));
}
bool TPX10ConfigGeneralPanelSetup::GetWeekendSensitivityNightMode() const
{
    return ((GetPacked() >> WeekendShift) & 1) != 0;
}
void TPX10ConfigGeneralPanelSetup::SetWeekendSensitivityNightMode(bool Value)
{
    unsigned int bit = 1u << WeekendShift;
    SetPacked(Value ? (GetPacked() | bit) : (GetPacked() & ~bit));
}
int TPX10ConfigGeneralPanelSetup::GetMainsDelay() const
{
    return static_cast<int>(GetPacked() >> MainsDelayShift);
}
void TPX10ConfigGeneralPanelSetup::SetMainsDelay(int Value)
{
    SetPacked((GetPacked() & 0x00FFFFFFu) | ((static_cast<unsigned int>(Value) & 0xFF) << MainsDelayShift));
}

bool TPX10ConfigGeneralPanelSetup::IsModified() const
{
    return First.IsModified() || Second.IsModified();
}

void TPX10ConfigGeneralPanelSetup::ClearModified()
{
    First.ClearModified();
    Second.ClearModified();
}

void TPX10ConfigGeneralPanelSetup::ReadFromFile(platform::File& File, int Version)
{
    First.ReadFromFile(File);
    if (Version >= 107) {
        Second.ReadFromFile(File);
        return;
    }
    TPX10ConfigRecord shared;
    shared.ReadFromFile(File);
    for (int i = 13; i <= 37; ++i)
        Second.SetByte(i, shared.GetByte(i));
    for (int i = 56; i <= 59; ++i)
        Second.SetByte(i, shared.GetByte(i));
    // The same bytes are read again as the on-board outputs.
    try {
        File.SeekRelative(-TPX10ConfigRecord::DataSize);
    } catch (const platform::FileError& e) {
        TPX10ConfigRecord::RaiseFileError(e);
    }
}

void TPX10ConfigGeneralPanelSetup::WriteToFile(platform::File& File) const
{
    First.WriteToFile(File);
    Second.WriteToFile(File);
}

void TPX10ConfigGeneralPanelSetup::CopyTo(TPX10ConfigGeneralPanelSetup& Target) const
{
    First.CopyTo(&Target.First);
    Second.CopyTo(&Target.Second);
}
