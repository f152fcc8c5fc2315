#include "Panelpackets.h"

#include "PX10ConfigData.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace comms {

namespace {

constexpr int TextField = 20;

void PutText(uint8_t* out, const std::string& text)
{
    const std::size_t n = std::min<std::size_t>(text.size(), TextField);
    std::memcpy(out, text.data(), n);
    std::memset(out + n, ' ', TextField - n);
}

// The field up to its first zero byte, without blanks and control characters
// at either end.
std::string GetText(const uint8_t* in)
{
    std::size_t end = 0;
    while (end < TextField && in[end] != 0)
        ++end;
    std::size_t begin = 0;
    while (begin < end && in[begin] <= ' ')
        ++begin;
    while (end > begin && in[end - 1] <= ' ')
        --end;
    return std::string(reinterpret_cast<const char*>(in + begin), end - begin);
}

void PutWord(uint8_t* out, int value)
{
    out[0] = static_cast<uint8_t>((value >> 8) & 0xFF);
    out[1] = static_cast<uint8_t>(value & 0xFF);
}

int GetWord(const uint8_t* in)
{
    return (in[0] << 8) | in[1];
}

uint8_t Byte(int value)
{
    return static_cast<uint8_t>(value & 0xFF);
}

uint8_t Flag(bool value)
{
    return value ? 1 : 0;
}

// Configuration type 1 to 20 -> panel number, by device kind.
constexpr int ModulePanelTypes[]
    = { 1, 2, 3, 4, 5, 6, 7, 11, 12, 13, 14, 15, 16, 17, 20, 21, 22, 23, 24, 27 };
constexpr int SensorPanelTypes[] = { 1, 2, 3, 11, 12, 13, 21, 22, 28, 29, 31 };

template <std::size_t N> int ToPanel(const int (&table)[N], int type)
{
    return type >= 1 && type <= static_cast<int>(N) ? table[type - 1] : 0;
}

template <std::size_t N> int FromPanel(const int (&table)[N], int panel)
{
    for (std::size_t i = 0; i < N; ++i)
        if (table[i] == panel)
            return static_cast<int>(i) + 1;
    return 0;
}

bool TorqWithShiftedChannel(int torqType)
{
    return torqType == 133 || torqType == 134;
}

} // namespace

int PanelFirmwareNumber(const std::string& Identification)
{
    if (Identification.size() <= 12)
        return 0;
    long long value = 0;
    for (std::size_t i = 12; i < Identification.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(Identification[i]);
        if (!std::isdigit(c))
            continue;
        value = value * 10 + (c - '0');
        if (value > 99999999)
            return 0; // no real identification holds this many digits
    }
    return static_cast<int>(value);
}

int PanelFirmwareVersion(const std::string& Identification)
{
    unsigned major = 0;
    unsigned minor = 0;
    if (std::sscanf(Identification.c_str(), "SW412-%*u-%*u %u.%u", &major, &minor) == 2
        || std::sscanf(Identification.c_str(), "412-%*u-%*u %u.%u", &major, &minor) == 2) {
        if (major < 10000 && minor < 10000)
            return static_cast<int>(major * 100 + minor);
    }
    return 99999;
}

std::size_t GeneralSetupDataLength(int FirmwareVersion)
{
    if (FirmwareVersion <= 512)
        return 92;
    switch (FirmwareVersion) {
    case 513:
    case 514:
        return 93;
    case 600:
        return 95;
    case 601:
        return 96;
    case 701:
        return 99;
    case 702:
        return 101;
    default:
        return GeneralSetupBlockSize;
    }
}

void EncodeGeneralSetup(const TPX10ConfigData& Config, uint8_t* b)
{
    const auto& g = *Config.GeneralPanelSetup;
    std::memset(b, 0, GeneralSetupBlockSize);
    b[0] = SendMarker;
    b[1] = 0;
    b[2] = static_cast<uint8_t>(
        (g.GetDateFormat() & 3) | (g.GetBlinking() ? 4 : 0) | (g.GetPulseRatio() ? 8 : 0));
    PutWord(b + 3, g.GetExtendDelay());
    PutText(b + 5, g.GetSiteName());
    PutText(b + 25, g.GetServicePhoneNo());
    b[45] = Flag(g.GetControlKeys());
    b[46] = Byte(g.GetRS485QtyRepeaters());
    PutWord(b + 47, g.GetDayModeStartTime());
    PutWord(b + 49, g.GetDayModeEndTime());
    b[51] = Flag(g.GetWeekendNightMode());
    PutWord(b + 52, g.GetFirstRecord()->GetWord(55));
    b[54] = Byte(g.GetRS485Protocol());
    PutWord(b + 55, g.GetPrimaryDelay());
    b[57] = Flag(g.GetDigitalInput1());
    b[58] = Flag(g.GetTransmissionDevice());
    b[59] = Flag(g.GetFWPInput4Disable());
    b[60] = Byte(g.GetRS232Protocol());
    b[61] = Flag(g.GetEventPrinting());
    b[62] = Flag(g.GetPrintFormat());
    PutWord(b + 63, g.GetExtSystemDelay());
    b[65] = Byte(g.GetRS232Options());
    PutWord(b + 66, g.GetExtSystemSoakTime());
    b[68] = Byte(g.GetHoldSwitchOperation());
    b[69] = Byte(g.GetFWP2OutputActivation());
    b[70] = Flag(g.GetRS232ThirdPartyDatalinkMonitoring());
    PutWord(b + 71, g.GetRS232ThirdPartySuspendCommsLimit());
    b[73] = Byte(g.GetLED1HMode());
    b[74] = Byte(g.GetLED2CMode());
    b[75] = Byte(g.GetControlKey3Mode());
    b[76] = Flag(g.GetHeatDetectorsEndDelays());
    b[77] = Byte(g.GetDelaysActiveIndication());
    b[78] = Byte(g.GetUnmuteOption());
    b[79] = Byte(g.GetDayModeNewAlarmOption());
    b[80] = Flag(g.GetDayModeStartOption());
    b[81] = Flag(g.GetFireOutputActiveLEDOption());
    PutWord(b + 82, g.GetDayModeSensitivityStartTime());
    PutWord(b + 84, g.GetDayModeSensitivityEndTime());
    b[86] = Flag(g.GetWeekendSensitivityNightMode());
    b[87] = Byte(g.GetMainsDelay());
    b[88] = Flag(g.GetRS485ThirdPartyDatalinkMonitoring());
    PutWord(b + 89, g.GetRS485ThirdPartySuspendCommsLimit());
    b[91] = Byte(g.GetFiremansWorkPanelOption());
    b[92] = Byte(g.GetSuppressDoubleAddress());
    b[93] = Byte(Config.OnboardOutputCircuits->GetEOLMode());
    b[94] = Byte(g.GetRoutingAutoDisable());
    b[95] = Byte(g.GetAutoResoundMode());
    PutWord(b + 96, g.GetServiceDueWord());
    b[98] = Flag(g.GetMaxHeadLEDs());
    b[99] = Flag(g.GetLampTest());
    b[100] = Flag(g.GetTorqSwitch());
    b[101] = Flag(g.GetSensorsBlinkColour());
    b[102] = Flag(g.GetModulesBlinkColour());
}

void DecodeGeneralSetup(TPX10ConfigData& Config, const uint8_t* b)
{
    auto& g = *Config.GeneralPanelSetup;
    g.SetDateFormat(b[2] & 3);
    g.SetBlinking((b[2] & 4) != 0);
    g.SetPulseRatio((b[2] & 8) != 0 ? 1 : 0);
    g.SetExtendDelay(GetWord(b + 3));
    g.SetSiteName(GetText(b + 5));
    g.SetServicePhoneNo(GetText(b + 25));
    g.SetControlKeys(b[45] != 0);
    g.SetRS485QtyRepeaters(b[46]);
    g.GetFirstRecord()->SetWord(50, GetWord(b + 47));
    g.GetFirstRecord()->SetWord(52, GetWord(b + 49));
    g.SetWeekendNightMode(b[51] != 0);
    g.GetFirstRecord()->SetWord(55, GetWord(b + 52));
    g.SetRS485Protocol(b[54]);
    g.SetPrimaryDelay(GetWord(b + 55));
    g.SetDigitalInput1(b[57] != 0);
    g.SetTransmissionDevice(b[58] != 0);
    g.SetFWPInput4Disable(b[59] != 0);
    g.SetRS232Protocol(b[60]);
    g.SetEventPrinting(b[61] != 0);
    g.SetPrintFormat(b[62] != 0);
    g.SetExtSystemDelay(GetWord(b + 63));
    g.SetRS232Options(b[65]);
    g.SetExtSystemSoakTime(GetWord(b + 66));
    g.SetHoldSwitchOperation(b[68]);
    g.SetFWP2OutputActivation(b[69]);
    g.SetRS232ThirdPartyDatalinkMonitoring(b[70] != 0);
    g.SetRS232ThirdPartySuspendCommsLimit(GetWord(b + 71));
    g.SetLED1HMode(b[73]);
    g.SetLED2CMode(b[74]);
    g.SetControlKey3Mode(b[75]);
    g.SetHeatDetectorsEndDelays(b[76] != 0);
    g.SetDelaysActiveIndication(b[77]);
    g.SetUnmuteOption(b[78]);
    g.SetDayModeNewAlarmOption(b[79]);
    g.SetDayModeStartOption(b[80] != 0);
    g.SetFireOutputActiveLEDOption(b[81] != 0);
    g.SetDayModeSensitivityStartTime(GetWord(b + 82));
    g.SetDayModeSensitivityEndTime(GetWord(b + 84));
    g.SetWeekendSensitivityNightMode(b[86] != 0);
    g.SetMainsDelay(b[87]);
    g.SetRS485ThirdPartyDatalinkMonitoring(b[88] != 0);
    g.SetRS485ThirdPartySuspendCommsLimit(GetWord(b + 89));
    g.SetFiremansWorkPanelOption(b[91]);
    g.SetSuppressDoubleAddress(b[92]);
    Config.OnboardOutputCircuits->SetEOLMode(b[93]);
    g.SetRoutingAutoDisable(b[94]);
    g.SetAutoResoundMode(b[95]);
    g.SetServiceDueWord(GetWord(b + 96));
    g.SetMaxHeadLEDs(b[98] != 0);
    g.SetLampTest(b[99] != 0);
    g.SetTorqSwitch(b[100] != 0);
    g.SetSensorsBlinkColour(b[101] != 0);
    g.SetModulesBlinkColour(b[102] != 0);
}

void EncodeZoneText(const TPX10ConfigData& Config, int Zone, uint8_t* b)
{
    b[0] = SendMarker;
    b[1] = Byte(Zone);
    PutText(b + 2, Config.ZoneTexts->GetZoneText(Zone));
}

bool DecodeZoneText(TPX10ConfigData& Config, const uint8_t* b)
{
    const int zone = b[1];
    if (zone < 1 || zone > TPX10ConfigZoneText::ZoneCount)
        return false;
    Config.ZoneTexts->SetZoneText(zone, GetText(b + 2));
    return true;
}

void EncodeGsmItem(const TPX10ConfigData& Config, int Item, uint8_t* b)
{
    const auto& g = *Config.GsmItems;
    b[0] = SendMarker;
    b[1] = Byte(Item);
    PutText(b + 2, g.GetNumber(Item));
    b[22] = Flag(g.GetAlarm(Item));
    b[23] = Flag(g.GetPrealarm(Item));
    b[24] = Flag(g.GetFault(Item));
    b[25] = Flag(g.GetControls(Item));
    b[26] = Flag(g.GetGeneralDisable(Item));
    b[27] = Flag(g.GetZoneDisable(Item));
    b[28] = Flag(g.GetDeviceDisable(Item));
    b[29] = Flag(g.GetSystemDisable(Item));
    b[30] = Byte(g.GetQtyAlarm(Item));
    b[31] = Byte(g.GetQtyPreAlarm(Item));
    b[32] = Byte(g.GetQtyFault(Item));
}

bool DecodeGsmItem(TPX10ConfigData& Config, const uint8_t* b)
{
    const int item = b[1];
    if (item < 1 || item > TPX10ConfigGsmItems::ItemCount)
        return false;
    auto& g = *Config.GsmItems;
    g.SetNumber(item, GetText(b + 2));
    g.SetAlarm(item, b[22] != 0);
    g.SetPrealarm(item, b[23] != 0);
    g.SetFault(item, b[24] != 0);
    g.SetControls(item, b[25] != 0);
    g.SetGeneralDisable(item, b[26] != 0);
    g.SetZoneDisable(item, b[27] != 0);
    g.SetDeviceDisable(item, b[28] != 0);
    g.SetSystemDisable(item, b[29] != 0);
    g.SetQtyAlarm(item, b[30]);
    g.SetQtyPreAlarm(item, b[31]);
    g.SetQtyFault(item, b[32]);
    return true;
}

void EncodeOnboardOutputs(const TPX10ConfigData& Config, int FirmwareNumber, uint8_t* b)
{
    const auto& o = *Config.OnboardOutputCircuits;
    std::memset(b, 0, OnboardOutputBlockSize);
    b[0] = SendMarker;
    for (int n = 1; n <= TPX10ConfigOnboardOutputCircuits::CircuitCount; ++n) {
        b[2 * n - 1] = Byte(o.GetCircuitType(n));
        uint8_t* mask = b + 13 + 3 * (n - 1);
        const int base = o.GetCircuitBaseRule(n);
        if (FirmwareNumber >= 504) {
            b[2 * n] = Byte(base);
            o.GetCircuitRuleMask(n, mask);
        } else {
            int rule = base;
            for (int r = base; r <= base + 23; ++r)
                if (o.IsCircuitInCBERule(n, r)) {
                    rule = r;
                    break;
                }
            b[2 * n] = Byte(rule);
        }
    }
}

void DecodeOnboardOutputs(TPX10ConfigData& Config, int FirmwareNumber, const uint8_t* b)
{
    auto& o = *Config.OnboardOutputCircuits;
    for (int n = 1; n <= TPX10ConfigOnboardOutputCircuits::CircuitCount; ++n) {
        o.SetCircuitType(n, b[2 * n - 1]);
        const uint8_t* mask = b + 13 + 3 * (n - 1);
        if (FirmwareNumber >= 504) {
            o.SetCircuitBaseRule(n, b[2 * n]);
            o.SetCircuitRuleMask(n, mask);
        } else {
            // The panel holds exactly one rule: drop whatever the window held.
            const unsigned char none[3] = { 0, 0, 0 };
            o.SetCircuitRuleMask(n, none);
            const int rule = b[2 * n];
            o.SetCircuitBaseRule(n, std::max(rule - 23, 1));
            o.SetCircuitInCBERule(n, rule, true);
        }
    }
}

void EncodeCBERule(const TPX10ConfigData& Config, int Rule, uint8_t* b)
{
    const auto& c = *Config.CBERules;
    b[0] = SendMarker;
    b[1] = Byte(Rule);
    b[2] = Byte(c.GetRuleType(Rule));
    b[3] = static_cast<uint8_t>((c.GetEvacuate(Rule) ? 1 : 0) | (c.GetSilence(Rule) ? 2 : 0)
        | (c.GetInterruptable(Rule) ? 4 : 0) | (c.GetClassChange(Rule) ? 8 : 0)
        | (c.GetTwoZone(Rule) ? 16 : 0) | (c.GetEnableSoakTimer(Rule) ? 32 : 0));
    for (int k = 0; k < 8; ++k)
        b[4 + k] = static_cast<uint8_t>((c.GetZoneCondition(Rule, 2 * k + 1) & 0x0F)
            | ((c.GetZoneCondition(Rule, 2 * k + 2) & 0x0F) << 4));
    for (int j = 0; j < 3; ++j) {
        const int address = c.GetDeviceAddress(Rule, j + 1);
        switch (c.GetDeviceKind(Rule, j + 1)) {
        case 1:
            b[12 + j] = Byte(address);
            break;
        case 2:
            b[12 + j] = Byte(address + 100);
            break;
        default:
            b[12 + j] = 0;
            break;
        }
    }
    b[15] = Byte(c.GetFilterType(Rule));
}

bool DecodeCBERule(TPX10ConfigData& Config, const uint8_t* b)
{
    const int rule = b[1];
    if (rule < 1 || rule > TPX10ConfigCBERuleConfiguration::RuleCount)
        return false;
    auto& c = *Config.CBERules;
    c.SetRuleType(rule, b[2]);
    c.SetEvacuate(rule, (b[3] & 1) != 0);
    c.SetSilence(rule, (b[3] & 2) != 0);
    c.SetInterruptable(rule, (b[3] & 4) != 0);
    c.SetClassChange(rule, (b[3] & 8) != 0);
    c.SetTwoZone(rule, (b[3] & 16) != 0);
    c.SetEnableSoakTimer(rule, (b[3] & 32) != 0);
    for (int k = 0; k < 8; ++k) {
        c.SetZoneCondition(rule, 2 * k + 1, b[4 + k] & 0x0F);
        c.SetZoneCondition(rule, 2 * k + 2, b[4 + k] >> 4);
    }
    for (int j = 0; j < 3; ++j) {
        const int value = b[12 + j];
        int kind = 0;
        int address = 0;
        if (value >= 101 && value <= 199) {
            kind = 2;
            address = value - 100;
        } else if (value >= 1 && value <= 99) {
            kind = 1;
            address = value;
        }
        c.SetDeviceKind(rule, j + 1, kind);
        c.SetDeviceAddress(rule, j + 1, address);
    }
    c.SetFilterType(rule, b[15]);
    return true;
}

void EncodePoint(const TPX10ConfigData& Config, int Point, uint8_t* b)
{
    std::memset(b, 0, PointBlockSize);
    const bool sensor = Point >= 1 && Point <= 99;
    const bool module = Point >= 101 && Point <= 199;
    b[0] = SendMarker;
    b[1] = 0x01;
    b[2] = Byte(Point);
    if (!sensor && !module)
        return;
    const auto& d = sensor ? *Config.Sensors : *Config.Modules;
    const int a = Point % 100;
    PutText(b + 3, d.GetDescription(a));
    b[23] = Byte(d.GetZone(a));
    b[24] = Byte(sensor ? SensorTypeToPanel(d.GetType(a)) : ModuleTypeToPanel(d.GetType(a)));
    int rule = d.GetSingleCBERule(a);
    for (int r = 1; r <= 64; ++r)
        if (d.IsInCBERule(a, r)) {
            rule = r;
            break;
        }
    b[25] = Byte(rule);
    b[26] = Byte(d.GetFireSensitivity(a));
    b[27] = Byte(d.GetDayModeSensitivity(a));
    b[28] = Byte(d.GetPrealarmSensitivity(a));
    b[29] = Byte(d.GetDayModePrealarmSensitivity(a));
    b[30] = Byte(d.GetGroup(a));
    b[31] = Byte(d.GetAction(a));
    b[32] = Byte(d.GetBaseCBERule(a));
    d.GetRuleMask(a, b + 33);
    b[41] = Flag(d.GetLoopPoweredOutput(a));
    b[42] = Byte(d.GetTorqType(a));
    b[43] = Byte(d.GetApplicationNumber(a));
    b[44] = Byte(d.GetRemoteOutput(a));
    b[45] = Byte(d.GetChannel(a) - (TorqWithShiftedChannel(b[42]) ? 1 : 0));
}

bool DecodePoint(TPX10ConfigData& Config, int Point, const uint8_t* b)
{
    const bool sensor = Point >= 1 && Point <= 99;
    const bool module = Point >= 101 && Point <= 199;
    if (!sensor && !module)
        return false;
    auto& d = sensor ? *Config.Sensors : *Config.Modules;
    const int a = Point % 100;
    d.SetDescription(a, GetText(b + 3));
    d.SetZone(a, b[23]);
    d.SetType(a, sensor ? PanelToSensorType(b[24]) : PanelToModuleType(b[24]));
    d.SetSingleCBERule(a, b[25]);
    d.SetFireSensitivity(a, b[26]);
    d.SetDayModeSensitivity(a, b[27]);
    d.SetPrealarmSensitivity(a, b[28]);
    d.SetDayModePrealarmSensitivity(a, b[29]);
    d.SetGroup(a, b[30]);
    d.SetAction(a, b[31]);
    if (b[32] != 0) {
        d.SetBaseCBERule(a, b[32]);
        d.SetRuleMask(a, b + 33);
    } else {
        // A panel without rule masks holds one rule: the mask gets that one only.
        const unsigned char none[8] = {};
        d.SetRuleMask(a, none);
        d.SetBaseCBERule(a, std::min<int>(b[25], 41));
        d.SetInCBERule(a, b[25], true);
    }
    d.SetLoopPoweredOutput(a, b[41] != 0);
    d.SetTorqType(a, b[42]);
    d.SetApplicationNumber(a, b[43]);
    d.SetRemoteOutput(a, b[44]);
    d.SetChannel(a, b[45] + (TorqWithShiftedChannel(b[42]) ? 1 : 0));
    return true;
}

std::size_t ConfigItemBlockSize(ConfigItem Item)
{
    switch (Item) {
    case ConfigItem::GeneralSetup:
        return GeneralSetupBlockSize;
    case ConfigItem::ZoneText:
        return ZoneTextBlockSize;
    case ConfigItem::GsmItem:
        return GsmItemBlockSize;
    case ConfigItem::OnboardOutputs:
        return OnboardOutputBlockSize;
    case ConfigItem::CBERule:
        return CBERuleBlockSize;
    case ConfigItem::Point:
        break;
    }
    return PointBlockSize;
}

void EncodeConfigItem(
    const TPX10ConfigData& Config, ConfigItem Item, int Index, int FirmwareNumber, uint8_t* Block)
{
    switch (Item) {
    case ConfigItem::GeneralSetup:
        EncodeGeneralSetup(Config, Block);
        break;
    case ConfigItem::ZoneText:
        EncodeZoneText(Config, Index, Block);
        break;
    case ConfigItem::GsmItem:
        EncodeGsmItem(Config, Index, Block);
        break;
    case ConfigItem::OnboardOutputs:
        EncodeOnboardOutputs(Config, FirmwareNumber, Block);
        break;
    case ConfigItem::CBERule:
        EncodeCBERule(Config, Index, Block);
        break;
    case ConfigItem::Point:
        EncodePoint(Config, Index, Block);
        break;
    }
}

bool DecodeConfigItem(
    TPX10ConfigData& Config, ConfigItem Item, int Index, int FirmwareNumber, const uint8_t* Block)
{
    switch (Item) {
    case ConfigItem::GeneralSetup:
        DecodeGeneralSetup(Config, Block);
        return true;
    case ConfigItem::ZoneText:
        return DecodeZoneText(Config, Block);
    case ConfigItem::GsmItem:
        return DecodeGsmItem(Config, Block);
    case ConfigItem::OnboardOutputs:
        DecodeOnboardOutputs(Config, FirmwareNumber, Block);
        return true;
    case ConfigItem::CBERule:
        return DecodeCBERule(Config, Block);
    case ConfigItem::Point:
        break;
    }
    return DecodePoint(Config, Index, Block);
}

int SensorTypeToPanel(int Type)
{
    return ToPanel(SensorPanelTypes, Type);
}
int PanelToSensorType(int PanelType)
{
    return FromPanel(SensorPanelTypes, PanelType);
}
int ModuleTypeToPanel(int Type)
{
    return ToPanel(ModulePanelTypes, Type);
}
int PanelToModuleType(int PanelType)
{
    return FromPanel(ModulePanelTypes, PanelType);
}

} // namespace comms
