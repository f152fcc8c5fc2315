#pragma once
// The device tree's texts and the Edit menu's device rules, without widgets.
#include <memory>
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

class TPX10ConfigData;
class TPX10ConfigRecord;

// The Edit menu's device buffers: one sensor and one module record, made by
// the first copy of that kind. They outlive every configuration, so a device
// can be copied from one configuration into another.
class DeviceClipboard {
public:
    // The device frame in view, whose grid address the actions use.
    enum class View { Other, Sensors, Modules };
    struct Enables {
        bool CutCopy = false;
        bool Paste = false;
    };

    DeviceClipboard();
    ~DeviceClipboard();

    // Without a configuration nothing is enabled.
    Enables EditEnables(const TPX10ConfigData* config, View view, int moduleAddress) const;
    // Copies the device at `address` of the kind in view.
    void Copy(const TPX10ConfigData& config, View view, int address);
    // Copies; a sensor is then reset at once. A module is left for the module
    // frame to delete, which widens to the whole multi-channel device.
    void Cut(TPX10ConfigData& config, View view, int address);
    // Whether writing the buffer of the kind in view over `address` keeps the
    // protocol rule (ProtocolChangeAllowed, sensors and modules together): a
    // loop that already mixes TORQ and many BRIM devices may not get worse.
    bool PasteKeepsProtocolRule(const TPX10ConfigData& config, View view, int address) const;
    // Writes the buffer of the kind in view over `address` when the paste
    // rule holds at the module grid's address and the protocol rule after
    // it; returns whether it did.
    bool Paste(TPX10ConfigData& config, View view, int address, int moduleAddress);
    void Clear();

    bool HasSensor() const { return bool(FSensor); }
    bool HasModule() const { return bool(FModule); }

private:
    std::unique_ptr<TPX10ConfigRecord> FSensor;
    std::unique_ptr<TPX10ConfigRecord> FModule;
    int FModuleTorqType = 0;
};
