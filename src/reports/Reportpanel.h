#pragma once
// The panel setup options report: 83 rows of a caption and a value, every
// value computed from the configuration with the texts the panel setup
// options frame shows for it.
#include "ReportLayer.h"

class TfrmReportPanel : public report::TReport {
public:
    static constexpr int Rows = 83;
    TfrmReportPanel();

    // Whether row `recNo` is a heading or a sub-heading: a caption over the
    // rows below it, which prints on the page of the first of them.
    static bool IsHeadingRow(int recNo);
    // The GSM item (1 to 5) whose rows row `recNo` belongs to; 0 outside them.
    static int GsmItemOfRow(int recNo);
    // The options text of GSM item `item`: the set conditions, Alarm, Fault
    // and Pre-alarm with their quantities.
    static std::string GsmOptionsText(const TPX10ConfigData& config, int item);
};
