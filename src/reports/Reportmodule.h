#pragma once
// The module report: one line per loop address, 99 lines, with the texts the
// module grid shows.
#include "ReportLayer.h"

class TfrmReportModules : public report::TReport {
public:
    static constexpr int Rows = 99;
    TfrmReportModules();
};
