// Loads arbitrary bytes as a .UDF file, through the file readers on a memory
// stream, then reads every rule list text, which works on values straight from
// the file.
#include <cstdint>
#include <string>

#include "Exception.h"
#include "PX10ConfigData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    bool vds = size > 0 && (data[0] & 1);
    TPX10ConfigData config(vds, vds, true, false);
    try {
        config.LoadFromMemory(data, size);
    } catch (const Exception&) {
        // A refused or truncated file leaves the configuration partly read;
        // it must still be safe to use.
    }
    // Every record was read; the rule lists are built for a run of addresses
    // that the input's last byte chooses, since building all 198 of them for
    // every input would cost ten times the load and find nothing new.
    const int first = size > 0 ? data[size - 1] % 99 : 0;
    for (int k = 0; k < 10; ++k) {
        const int a = (first + k) % 99 + 1;
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
