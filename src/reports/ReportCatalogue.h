#pragma once
// The program's six reports, listed once: the print job, the print selection
// and the preview read this catalogue and list no report of their own.
#include "ReportLayer.h"

#include <array>
#include <memory>
#include <vector>

namespace report {

// The reports in the fixed order of a print job, which is also the order of
// the preview's page pictures (not the order of the print selection's boxes).
enum class TReportKind { Panel, Zones, OnboardOutputs, CBERules, Sensors, Modules };
constexpr int ReportKindCount = int(TReportKind::Modules) + 1;

struct TReportEntry {
    TReportKind Kind;
    std::unique_ptr<TReport> (*Make)();
    // The print selection's check box: its name, its caption and its place,
    // 0 to 2 down the left column and 3 to 5 down the right one.
    const char* Box;
    const char* BoxCaption;
    int BoxPlace;
    // The preview's page picture and the caption beneath it.
    const char* Picture;
    const char* PictureCaption;
};

// In job order: entry k is the report of kind k.
extern const std::array<TReportEntry, ReportKindCount> ReportCatalogue;

// One of each report, made once and kept for the program's run.
class TReportForms {
public:
    TReportForms();
    ~TReportForms();
    TReportForms(const TReportForms&) = delete;
    TReportForms& operator=(const TReportForms&) = delete;

    const TReport& Of(TReportKind kind) const { return *FReports[std::size_t(kind)]; }
    // The chosen reports (indexed by kind) in the job order.
    std::vector<const TReport*> Chosen(const std::array<bool, ReportKindCount>& chosen) const;

private:
    std::array<std::unique_ptr<TReport>, ReportKindCount> FReports;
};

} // namespace report
