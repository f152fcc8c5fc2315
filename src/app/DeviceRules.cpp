#include "DeviceRules.h"

#include "Ivdictio.h"
#include "PX10ConfigDeviceConfiguration.h"

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
