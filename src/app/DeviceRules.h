#pragma once
// The device tree's texts and the Edit menu's enable rules, without widgets.
#include <string>

class TPX10ConfigDeviceConfiguration;

// "Address" with two blanks before a one-digit address and one otherwise, so
// that the text order is the numeric order.
std::string DeviceNodeText(int address);

constexpr int kTorqTwoChannelModule = 133; // K720
constexpr int kTorqThreeChannelModule = 134; // K721

// Cut and Copy: off on the second and third channel of a multi-channel
// module at the module grid's address; otherwise on while a device frame shows.
bool CanCutCopyDevice(bool sensorFrameVisible, bool moduleFrameVisible,
    const TPX10ConfigDeviceConfiguration& modules, int moduleAddress);

// Paste: needs the buffer of the frame in view; a module in the buffer needs
// as many free (channel 0) addresses from the module grid's address on as it
// has channels. `moduleBufferTorqType` is 0 without a module buffer.
bool CanPasteDevice(bool sensorFrameVisible, bool moduleFrameVisible, bool haveSensorBuffer,
    bool haveModuleBuffer, int moduleBufferTorqType, const TPX10ConfigDeviceConfiguration& modules,
    int moduleAddress);
