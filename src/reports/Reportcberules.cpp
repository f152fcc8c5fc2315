#include "Reportcberules.h"

#include "Cberulelogic.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"
#include "ReportTexts.h"

#include <algorithm>
#include <initializer_list>

using namespace report;
using Rules = TPX10ConfigCBERuleConfiguration;

namespace {

constexpr double ZoneLetterPointSize = 9;

bool In(int t, std::initializer_list<int> types)
{
    return std::find(types.begin(), types.end(), t) != types.end();
}

// A flag column: "Y" or "N" for the rule types that use the flag, else blank.
TPrintHandler FlagColumn(std::initializer_list<int> types, bool (Rules::*get)(int) const)
{
    std::vector<int> used(types);
    return [used, get](const TPrintRun& run, std::string& value, TFontSpec&) {
        const Rules& r = *run.Config.CBERules;
        const int t = r.GetRuleType(run.RecNo);
        value = std::find(used.begin(), used.end(), t) != used.end() ? YesNo((r.*get)(run.RecNo), "Y", "N")
                                                                     : std::string();
    };
}

std::string ZoneLetters(const Rules& r, int rule)
{
    static const char* const letters[]
        = { IvNative("Y"), IvNative("D"), IvNative("C"), IvNative("P"), IvNative("N") };
    std::string out;
    for (int slot = 1; slot <= cberules::ZoneSlots; ++slot) {
        const int c = r.GetZoneCondition(rule, slot);
        if (c >= 0 && c <= 4)
            out += Translate(letters[c]);
    }
    return out;
}

} // namespace

TfrmReportCBERules::TfrmReportCBERules()
    : TReport("frmReportCBERules", Rows)
{
    using namespace cberules;
    Title.Height = 15.0;
    AddStandardBands(*this, "CBE Rules");
    AddHeading("Rule", 0.0, 13.0, TAlign::Center);
    AddHeading("Type", 12.7, 0, TAlign::Left);
    AddHeading("Filter", 48.7, 0, TAlign::Left);
    AddHeading("Ev.", 65.6, 6.6, TAlign::Center);
    // No evacuate flag with VdS compatibility: the heading prints empty.
    Title.Labels.back().OnPrint = [](const TPrintRun& run, std::string& value, TFontSpec&) {
        if (run.Context.VdSCompatibility)
            value.clear();
    };
    AddHeading("Sil.", 72.0, 6.6, TAlign::Center);
    AddHeading("Int.", 78.3, 6.6, TAlign::Center);
    AddHeading("Tz.", 84.7, 6.6, TAlign::Center);
    AddHeading("Cl.", 91.0, 6.6, TAlign::Center);
    AddHeading("Soak", 97.4, 8.7, TAlign::Center);
    AddHeading("D1", 116.4, 10.6, TAlign::Center);
    AddHeading("D2", 127.0, 10.6, TAlign::Center);
    AddHeading("D3", 137.6, 10.6, TAlign::Center);
    AddHeading("Zone [1-16]/[17-32]", 150.3, 38.4, TAlign::Left);

    Detail.Height = 5.0;
    AddColumn("RuleLabel", 0.0, 13.0, TAlign::Center,
        [](const TPrintRun& run, std::string& value, TFontSpec&) { value = TwoDigits(run.RecNo); });
    AddColumn("TypeLabel", 12.7, 0, TAlign::Left, [](const TPrintRun& run, std::string& value, TFontSpec&) {
        value = RuleTypeText(*run.Config.CBERules, run.RecNo);
    });
    AddColumn("FilterLabel", 48.7, 0, TAlign::Left, [](const TPrintRun& run, std::string& value, TFontSpec&) {
        const Rules& r = *run.Config.CBERules;
        value = FilterTypeText(r, run.RecNo);
        // Only the short code ("ANY") fits, but an extinguishing filter has none.
        if (r.GetRuleType(run.RecNo) != ExtinguishingSystem)
            value = FirstCharacters(value, 3);
    });
    auto evacuate = FlagColumn({ Fire, DeviceInput, GeneralPreAlarm, Thermal }, &Rules::GetEvacuate);
    AddColumn("EvacLabel", 65.6, 6.6, TAlign::Center,
        [evacuate](const TPrintRun& run, std::string& value, TFontSpec& font) {
            if (run.Context.VdSCompatibility)
                value.clear();
            else
                evacuate(run, value, font);
        });
    AddColumn("SilLabel", 72.0, 6.6, TAlign::Center,
        FlagColumn({ Fire, DeviceInput, GeneralPreAlarm, Thermal }, &Rules::GetSilence));
    AddColumn("IntLabel", 78.3, 6.6, TAlign::Center, FlagColumn({ Fire, Thermal }, &Rules::GetInterruptable));
    AddColumn("TzLabel", 84.7, 6.6, TAlign::Center,
        FlagColumn({ Fire, GeneralPreAlarm, PlantWarning, Thermal }, &Rules::GetTwoZone));
    AddColumn("ClLabel", 91.0, 6.6, TAlign::Center,
        FlagColumn({ Fire, DeviceInput, Thermal }, &Rules::GetClassChange));
    AddColumn("SoakLabel", 97.4, 8.7, TAlign::Center,
        FlagColumn({ ExtinguishingSystem }, &Rules::GetEnableSoakTimer));
    for (int k = 1; k <= InputDevices; ++k)
        AddColumn("DeviceLabel" + std::to_string(k), 116.4 + 10.6 * (k - 1), 10.6, TAlign::Center,
            [k](const TPrintRun& run, std::string& value, TFontSpec&) {
                const Rules& r = *run.Config.CBERules;
                value.clear();
                if (r.GetRuleType(run.RecNo) != DeviceInput)
                    return;
                const int kind = r.GetDeviceKind(run.RecNo, k);
                if (kind == Sensor || kind == Module)
                    value
                        = Translate(kind == Sensor ? "S" : "M") + TwoDigits(r.GetDeviceAddress(run.RecNo, k));
            });
    AddColumn("ConditionLabel", 150.3, 38.4, TAlign::Left,
        [](const TPrintRun& run, std::string& value, TFontSpec&) {
            const Rules& r = *run.Config.CBERules;
            value = In(r.GetRuleType(run.RecNo), { Fire, PlantWarning, ExtinguishingSystem, Thermal })
                ? ZoneLetters(r, run.RecNo)
                : std::string();
        });
    // The sixteen letters stay one run on the rule's line, at one size on
    // every line: one at which sixteen of the widest letter of every
    // language fit the column (Arial 10 needs a little more than it has).
    Detail.Labels.back().Font.PointSize = ZoneLetterPointSize;
}
