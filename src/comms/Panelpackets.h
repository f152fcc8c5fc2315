#pragma once
// The data blocks of the configuration transfer: how each item of a
// configuration is laid out in a request to the panel (encode) and read back
// from the panel's reply (decode). Pure functions over the configuration, no
// port involved.
#include <cstddef>
#include <cstdint>
#include <string>

class TPX10ConfigData;

namespace comms {

// Byte 0 of every block: "U" in a send request, "d" in a receive reply.
constexpr uint8_t SendMarker = 0x55;
constexpr uint8_t ReceiveMarker = 0x64;

constexpr std::size_t GeneralSetupBlockSize = 103;
constexpr std::size_t ZoneTextBlockSize = 22;
constexpr std::size_t GsmItemBlockSize = 33;
constexpr std::size_t OnboardOutputBlockSize = 31;
constexpr std::size_t CBERuleBlockSize = 16;
constexpr std::size_t PointBlockSize = 46;

// Firmware number: the digits of the identification from its 13th character
// on (a version "5.07" gives 507); 0 when there are none.
int PanelFirmwareNumber(const std::string& Identification);
// Firmware version: major * 100 + minor read from "SW412-a-b M.m" or
// "412-a-b M.m"; 99999 when neither pattern yields both numbers.
int PanelFirmwareVersion(const std::string& Identification);

// Bytes of the general setup block sent to a panel of this firmware version.
std::size_t GeneralSetupDataLength(int FirmwareVersion);

void EncodeGeneralSetup(const TPX10ConfigData& Config, uint8_t* Block);
void DecodeGeneralSetup(TPX10ConfigData& Config, const uint8_t* Block);

// The zone, GSM item and rule number come from byte 1 of the block; a number
// out of range decodes nothing and returns false.
void EncodeZoneText(const TPX10ConfigData& Config, int Zone, uint8_t* Block);
bool DecodeZoneText(TPX10ConfigData& Config, const uint8_t* Block);

void EncodeGsmItem(const TPX10ConfigData& Config, int Item, uint8_t* Block);
bool DecodeGsmItem(TPX10ConfigData& Config, const uint8_t* Block);

// Below firmware number 504 each circuit carries one rule instead of a window.
void EncodeOnboardOutputs(const TPX10ConfigData& Config, int FirmwareNumber, uint8_t* Block);
void DecodeOnboardOutputs(TPX10ConfigData& Config, int FirmwareNumber, const uint8_t* Block);

void EncodeCBERule(const TPX10ConfigData& Config, int Rule, uint8_t* Block);
bool DecodeCBERule(TPX10ConfigData& Config, const uint8_t* Block);

// Points 1 to 99 are sensors, 101 to 199 modules; others decode nothing.
void EncodePoint(const TPX10ConfigData& Config, int Point, uint8_t* Block);
bool DecodePoint(TPX10ConfigData& Config, int Point, const uint8_t* Block);

// The items of a transfer, in the order it moves them.
enum class ConfigItem { GeneralSetup, ZoneText, GsmItem, OnboardOutputs, CBERule, Point };

std::size_t ConfigItemBlockSize(ConfigItem Item);
// The block of one item: Index is the zone, GSM item, rule or point (unused
// for the general and on-board blocks). Decoding returns false where the item
// it names does not exist.
void EncodeConfigItem(
    const TPX10ConfigData& Config, ConfigItem Item, int Index, int FirmwareNumber, uint8_t* Block);
bool DecodeConfigItem(
    TPX10ConfigData& Config, ConfigItem Item, int Index, int FirmwareNumber, const uint8_t* Block);

// Device type codes between the configuration and the panel; 0 for any code
// without a counterpart.
int SensorTypeToPanel(int Type);
int PanelToSensorType(int PanelType);
int ModuleTypeToPanel(int Type);
int PanelToModuleType(int PanelType);

} // namespace comms
