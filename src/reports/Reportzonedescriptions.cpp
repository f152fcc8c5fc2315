#include "Reportzonedescriptions.h"

#include "CodePage.h"
#include "PX10ConfigData.h"
#include "ReportTexts.h"

using namespace report;
using platform::Cp1252ToUtf8;

TfrmReportZoneText::TfrmReportZoneText()
    : TReport("frmReportZoneText", Rows)
{
    Title.Height = 15.0;
    AddStandardBands(*this, "Zone Text");
    AddHeading("Zone", 6.3, 34.1, TAlign::Center);
    AddHeading("Text", 44.5, 0, TAlign::Left);
    Detail.Height = 5.0;
    AddColumn("ZoneLabel", 6.3, 34.1, TAlign::Center,
        [](const TPrintRun& run, std::string& value, TFontSpec&) { value = TwoDigits(run.RecNo); });
    AddColumn("TextLabel", 44.5, 0, TAlign::Left, [](const TPrintRun& run, std::string& value, TFontSpec&) {
        value = Cp1252ToUtf8(run.Config.ZoneTexts->GetZoneText(run.RecNo));
    });
}
