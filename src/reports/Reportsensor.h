#pragma once
// The sensor report: one line per loop address, 99 lines, with the texts the
// sensor grid shows.
#include "ReportLayer.h"

class TfrmReportSensors : public report::TReport {
public:
    static constexpr int Rows = 99;
    TfrmReportSensors();
};
