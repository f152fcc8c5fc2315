#include "ReportCatalogue.h"

#include "Ivdictio.h"
#include "Reportcberules.h"
#include "Reportmodule.h"
#include "Reportonboardosettings.h"
#include "Reportpanel.h"
#include "Reportsensor.h"
#include "Reportzonedescriptions.h"

namespace report {

namespace {

template <class TForm> std::unique_ptr<TReport> Make()
{
    return std::make_unique<TForm>();
}

// Every kind at its own index, every box at a place of its own. (Whether a
// factory is given is left to the tests that make every report: with the
// sanitizers on, the compiler will not compare a function's address in a
// constant.)
constexpr bool Catalogued(const std::array<TReportEntry, ReportKindCount>& reports)
{
    int places = 0;
    for (int k = 0; k < ReportKindCount; ++k) {
        const TReportEntry& r = reports[std::size_t(k)];
        if (int(r.Kind) != k || !r.Box || !r.BoxCaption || !r.Picture || !r.PictureCaption
            || r.BoxPlace < 0 || r.BoxPlace >= ReportKindCount)
            return false;
        places |= 1 << r.BoxPlace;
    }
    return places == (1 << ReportKindCount) - 1;
}

} // namespace

// clang-format off
constexpr std::array<TReportEntry, ReportKindCount> ReportCatalogue { {
    { TReportKind::Panel, Make<TfrmReportPanel>,
      "cbxPanelOptions", IvNative("Panel Setup Options"), 0,
      "shpPagePanelSetup", IvNative("Panel Setup Options") },
    { TReportKind::Zones, Make<TfrmReportZoneText>,
      "cbxZones", IvNative("Zone Descriptions"), 1,
      "shpPageZoneDescriptions", IvNative("Zone Descriptions") },
    { TReportKind::OnboardOutputs, Make<TfrmReportOnboardOutputs>,
      "cbxOnboardOutputs", IvNative("Onboard Output Settings"), 4,
      "shpPageOnboardOutputs", IvNative("Onboard Output Settings") },
    { TReportKind::CBERules, Make<TfrmReportCBERules>,
      "cbxCBERules", IvNative("CBE Rules"), 5,
      "shpPageCBERules", IvNative("CBE Rules") },
    { TReportKind::Sensors, Make<TfrmReportSensors>,
      "cbxLoopSensors", IvNative("Loop Sensors"), 2,
      "shpPageSensors", IvNative("Sensors") },
    { TReportKind::Modules, Make<TfrmReportModules>,
      "cbxLoopModules", IvNative("Loop Modules"), 3,
      "shpPageModules", IvNative("Modules") },
} };
// clang-format on
static_assert(Catalogued(ReportCatalogue));

TReportForms::TReportForms()
{
    for (const TReportEntry& r : ReportCatalogue)
        FReports[std::size_t(r.Kind)] = r.Make();
}

TReportForms::~TReportForms() = default;

std::vector<const TReport*> TReportForms::Chosen(const std::array<bool, ReportKindCount>& chosen) const
{
    std::vector<const TReport*> out;
    for (const TReportEntry& r : ReportCatalogue)
        if (chosen[std::size_t(r.Kind)])
            out.push_back(&Of(r.Kind));
    return out;
}

} // namespace report
