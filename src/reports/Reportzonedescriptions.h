#pragma once
// The zone text report: one line per zone, 32 lines.
#include "ReportLayer.h"

class TfrmReportZoneText : public report::TReport {
public:
    static constexpr int Rows = 32;
    TfrmReportZoneText();
};
