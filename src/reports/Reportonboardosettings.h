#pragma once
// The on-board output report: the six circuits on the odd lines of 12, each
// followed by an empty line.
#include "ReportLayer.h"

class TfrmReportOnboardOutputs : public report::TReport {
public:
    static constexpr int Rows = 12;
    TfrmReportOnboardOutputs();
    // The circuit line `recNo` shows; 0 for an empty line.
    static int CircuitOfLine(int recNo) { return recNo % 2 == 1 ? (recNo + 1) / 2 : 0; }
};
