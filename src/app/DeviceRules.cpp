#include "DeviceRules.h"

#include "DeviceEditRules.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"

std::string DeviceNodeText(int address)
{
    return Translate("Address") + (address < 10 ? "  " : " ") + std::to_string(address);
}

namespace {
bool ValidAddress(int a)
{
    return a >= 1 && a <= TPX10ConfigDeviceConfiguration::AddressCount;
}
} // namespace

bool CanCutCopyDevice(
    bool sensorFrameVisible, bool moduleFrameVisible, const TPX10ConfigDeviceConfiguration& modules, int a)
{
    if (ValidAddress(a)) {
        int t = modules.GetTorqType(a);
        if ((t == kTorqTwoChannelModule || t == kTorqThreeChannelModule) && modules.GetChannel(a) >= 2)
            return false;
    }
    return sensorFrameVisible || moduleFrameVisible;
}

bool CanPasteDevice(bool sensorFrameVisible, bool moduleFrameVisible, bool haveSensorBuffer,
    bool haveModuleBuffer, int t, const TPX10ConfigDeviceConfiguration& modules, int a)
{
    if (!((sensorFrameVisible && haveSensorBuffer) || (moduleFrameVisible && haveModuleBuffer)))
        return false;
    if (!haveModuleBuffer)
        t = 0;
    if (!ValidAddress(a))
        return false;
    auto free = [&](int addr) { return modules.GetChannel(addr) == 0; };
    if (t == kTorqThreeChannelModule)
        return a <= 97 && free(a) && free(a + 1) && free(a + 2);
    if (t == kTorqTwoChannelModule)
        return a != 99 && free(a) && free(a + 1);
    return free(a);
}

DeviceClipboard::DeviceClipboard() = default;
DeviceClipboard::~DeviceClipboard() = default;

DeviceClipboard::Enables DeviceClipboard::EditEnables(
    const TPX10ConfigData* config, View view, int moduleAddress) const
{
    if (!config)
        return {};
    const bool sensors = view == View::Sensors, modules = view == View::Modules;
    return { CanCutCopyDevice(sensors, modules, *config->Modules, moduleAddress),
        CanPasteDevice(
            sensors, modules, HasSensor(), HasModule(), FModuleTorqType, *config->Modules, moduleAddress) };
}

void DeviceClipboard::Copy(const TPX10ConfigData& config, View view, int address)
{
    if (!ValidAddress(address))
        return;
    if (view == View::Sensors) {
        if (!FSensor)
            FSensor = std::make_unique<TPX10ConfigRecord>();
        config.Sensors->CopyDeviceTo(address, FSensor.get());
    } else if (view == View::Modules) {
        if (!FModule)
            FModule = std::make_unique<TPX10ConfigRecord>();
        config.Modules->CopyDeviceTo(address, FModule.get());
        FModuleTorqType = config.Modules->GetTorqType(address);
    }
}

void DeviceClipboard::Cut(TPX10ConfigData& config, View view, int address)
{
    Copy(config, view, address);
    if (view == View::Sensors && ValidAddress(address))
        config.Sensors->ResetDevice(address);
}

bool DeviceClipboard::Paste(TPX10ConfigData& config, View view, int address, int moduleAddress)
{
    // A shortcut may arrive before the menu's enable rule ran.
    if (!ValidAddress(address) || !EditEnables(&config, view, moduleAddress).Paste
        || !PasteKeepsProtocolRule(config, view, address))
        return false;
    if (view == View::Sensors)
        config.Sensors->CopyDeviceFrom(address, FSensor.get());
    else
        config.Modules->CopyDeviceFrom(address, FModule.get());
    return true;
}

bool DeviceClipboard::PasteKeepsProtocolRule(const TPX10ConfigData& config, View view, int address) const
{
    const bool sensors = view == View::Sensors;
    const TPX10ConfigRecord* buffer = sensors ? FSensor.get()
        : view == View::Modules               ? FModule.get()
                                              : nullptr;
    if (!buffer || !ValidAddress(address))
        return true;
    // Counted as the loop is after the paste: the device written over leaves
    // it, and a pasted multi-channel module brings its further channels, as
    // the module frame adds them.
    TPX10ConfigDeviceConfiguration after = sensors ? *config.Sensors : *config.Modules;
    after.CopyDeviceFrom(address, buffer);
    if (!sensors)
        UpdateMultiChannelModule(after, address);
    const TPX10ConfigDeviceConfiguration& other = sensors ? *config.Modules : *config.Sensors;
    return ProtocolChangeAllowed(config.Sensors->CountTorqDevices() + config.Modules->CountTorqDevices(),
        config.Sensors->CountBrimDevices() + config.Modules->CountBrimDevices(),
        other.CountTorqDevices() + after.CountTorqDevices(),
        other.CountBrimDevices() + after.CountBrimDevices());
}

void DeviceClipboard::Clear()
{
    FSensor.reset();
    FModule.reset();
    FModuleTorqType = 0;
}
