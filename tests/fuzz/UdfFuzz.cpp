// Loads arbitrary bytes as a .UDF file, then reads every rule list text, which
// works on values straight from the file.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "Exception.h"
#include "PX10ConfigData.h"

namespace {
const std::string& ScratchPath()
{
    static const std::string path = [] {
        char pattern[] = "/tmp/px10fuzzXXXXXX";
        int fd = mkstemp(pattern);
        if (fd < 0)
            std::abort();
        close(fd);
        return std::string(pattern);
    }();
    return path;
}

struct RemoveScratch {
    ~RemoveScratch() { unlink(ScratchPath().c_str()); }
} removeScratch;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = ScratchPath();
    {
        FILE* out = std::fopen(path.c_str(), "wb");
        if (out == nullptr)
            std::abort();
        if (size > 0 && std::fwrite(data, 1, size, out) != size)
            std::abort();
        std::fclose(out);
    }
    bool vds = size > 0 && (data[0] & 1);
    TPX10ConfigData config(vds, vds, true, false);
    try {
        config.LoadFromFile(path);
    } catch (const Exception&) {
        // A refused or truncated file leaves the configuration partly read;
        // it must still be safe to use.
    }
    for (int a = 1; a <= 99; ++a) {
        config.Sensors->GetCBERuleListText(a);
        config.Modules->GetCBERuleListText(a);
        config.Sensors->GetDescription(a);
        config.Sensors->SetCBERuleListText(a, config.Sensors->GetDescription(a));
    }
    for (int n = 1; n <= 6; ++n) {
        std::string text = config.OnboardOutputCircuits->GetCircuitRuleListText(n);
        config.OnboardOutputCircuits->SetCircuitRuleListText(n, text);
        config.OnboardOutputCircuits->SetCircuitRuleListText(n, config.ZoneTexts->GetZoneText(n));
    }
    config.GeneralPanelSetup->GetServiceDueDate();
    config.GeneralPanelSetup->GetHightestTimeText(':');
    config.GeneralPanelSetup->GetSiteName();
    config.FileHeader->GetTitle();
    return 0;
}
