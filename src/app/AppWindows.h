#pragma once
// The windows the main window opens, all made here and each one way: when
// first needed, once, as a child of the main window, in the language in
// force, as wide as its title needs (but for the print preview, wide
// anyway), with what it works with handed in. A window that another builds
// on is made first: panel detection before the configuration transfer, the
// transfer before the text download, the rule editor before the range entry
// that opens it, the print selection before the printer setup.
#include "ReportJob.h"

#include <functional>
#include <memory>

class QWidget;
class TPX10ConfigData;
class TfrmAddDevices;
class TfrmCBERangeEntry;
class TfrmCBERuleEdit;
class TfrmConfigTransfer;
class TfrmInitiatePanelComms;
class TfrmPrintPreview;
class TfrmPrintSelection;
class TfrmPrintSetup;
class TfrmSerialSetup;
class TfrmTextDownload;
class TfrmZoneText;

class TAppWindows {
public:
    struct Collaborators {
        // The configuration shown; null while there is none.
        std::function<TPX10ConfigData*()> Configuration;
        std::function<bool()> IsVdSCompatibility;
        // What the reports are built from when printed.
        report::TReportSource Reports;
    };

    TAppWindows(QWidget* parent, Collaborators with);
    ~TAppWindows();
    TAppWindows(const TAppWindows&) = delete;
    TAppWindows& operator=(const TAppWindows&) = delete;

    TfrmCBERuleEdit& CBERuleEdit();
    TfrmZoneText& ZoneText();
    TfrmSerialSetup& SerialSetup();
    TfrmInitiatePanelComms& PanelDetection();
    TfrmConfigTransfer& ConfigTransfer();
    TfrmCBERangeEntry& CBERangeEntry();
    TfrmTextDownload& TextDownload();
    TfrmAddDevices& AddDevices();
    TfrmPrintSelection& PrintSelection();
    TfrmPrintSetup& PrintSetup();
    TfrmPrintPreview& PrintPreview();

    // Every window not made yet, in the order above.
    void MakeAll();
    // The editors already made work on `config` from now on (null: none).
    void BindConfiguration(TPX10ConfigData* config);

private:
    // What the print windows lay their reports out with, made with the first of them.
    const report::TReportForms& Forms();

    QWidget* FParent;
    Collaborators FWith;
    // Declared in the order they build on each other, so that each goes
    // before what it uses.
    std::unique_ptr<report::TReportForms> FForms;
    std::unique_ptr<TfrmCBERuleEdit> FCBERuleEdit;
    std::unique_ptr<TfrmZoneText> FZoneText;
    std::unique_ptr<TfrmSerialSetup> FSerialSetup;
    std::unique_ptr<TfrmInitiatePanelComms> FPanelDetection;
    std::unique_ptr<TfrmConfigTransfer> FConfigTransfer;
    std::unique_ptr<TfrmCBERangeEntry> FCBERangeEntry;
    std::unique_ptr<TfrmTextDownload> FTextDownload;
    std::unique_ptr<TfrmAddDevices> FAddDevices;
    std::unique_ptr<TfrmPrintSelection> FPrintSelection;
    std::unique_ptr<TfrmPrintSetup> FPrintSetup;
    std::unique_ptr<TfrmPrintPreview> FPrintPreview;
};
