#pragma once
// The CBE rule report: one line per rule, 64 lines; a flag prints "Y" or "N"
// only for the rule types that use it.
#include "ReportLayer.h"

class TfrmReportCBERules : public report::TReport {
public:
    static constexpr int Rows = 64;
    TfrmReportCBERules();
};
