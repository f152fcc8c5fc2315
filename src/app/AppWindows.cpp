#include "AppWindows.h"

#include "AddDevicesForm.h"
#include "Cberangeentryform.h"
#include "Cberuleform.h"
#include "Initiatepanelcommsform.h"
#include "Panelcommstransferform.h"
#include "Printersetup.h"
#include "Printpreviewform.h"
#include "Printselectionform.h"
#include "Serialsetupform.h"
#include "Textdownloadform.h"
#include "WindowFit.h"
#include "Zonetexteditform.h"

namespace {

template <class T, class Make> T& Once(std::unique_ptr<T>& window, Make make)
{
    if (!window) {
        window = make();
        // A caption is longer in some languages than the controls are wide.
        KeepWideAsTitle(window.get());
        KeepOnScreenWhenShownOrGrown(window.get());
    }
    return *window;
}

} // namespace

TAppWindows::TAppWindows(QWidget* parent, Collaborators with)
    : FParent(parent)
    , FWith(std::move(with))
{
}

TAppWindows::~TAppWindows() = default;

TfrmCBERuleEdit& TAppWindows::CBERuleEdit()
{
    return Once(FCBERuleEdit, [this] {
        auto w = std::make_unique<TfrmCBERuleEdit>(FParent);
        w->IsVdSCompatibility = FWith.IsVdSCompatibility;
        if (TPX10ConfigData* config = FWith.Configuration())
            w->SetConfig(config);
        return w;
    });
}

TfrmZoneText& TAppWindows::ZoneText()
{
    return Once(FZoneText, [this] {
        auto w = std::make_unique<TfrmZoneText>(FParent);
        if (TPX10ConfigData* config = FWith.Configuration())
            w->SetConfig(config);
        return w;
    });
}

TfrmSerialSetup& TAppWindows::SerialSetup()
{
    return Once(FSerialSetup, [this] { return std::make_unique<TfrmSerialSetup>(FParent); });
}

TfrmInitiatePanelComms& TAppWindows::PanelDetection()
{
    return Once(FPanelDetection, [this] {
        auto w = std::make_unique<TfrmInitiatePanelComms>(FParent);
        w->Logic().ShownConfiguration = FWith.Configuration;
        return w;
    });
}

TfrmConfigTransfer& TAppWindows::ConfigTransfer()
{
    return Once(
        FConfigTransfer, [this] { return std::make_unique<TfrmConfigTransfer>(PanelDetection(), FParent); });
}

TfrmCBERangeEntry& TAppWindows::CBERangeEntry()
{
    return Once(FCBERangeEntry, [this] {
        auto w = std::make_unique<TfrmCBERangeEntry>(FParent);
        w->EditRule = [this](int rule) { return CBERuleEdit().Execute(rule); };
        return w;
    });
}

TfrmTextDownload& TAppWindows::TextDownload()
{
    return Once(FTextDownload,
        [this] { return std::make_unique<TfrmTextDownload>(ConfigTransfer().Logic(), FParent); });
}

TfrmAddDevices& TAppWindows::AddDevices()
{
    return Once(FAddDevices, [this] { return std::make_unique<TfrmAddDevices>(FParent); });
}

const report::TReportForms& TAppWindows::Forms()
{
    if (!FForms)
        FForms = std::make_unique<report::TReportForms>();
    return *FForms;
}

TfrmPrintSelection& TAppWindows::PrintSelection()
{
    return Once(FPrintSelection,
        [this] { return std::make_unique<TfrmPrintSelection>(Forms(), FWith.Reports, FParent); });
}

TfrmPrintSetup& TAppWindows::PrintSetup()
{
    return Once(FPrintSetup, [this] { return std::make_unique<TfrmPrintSetup>(PrintSelection(), FParent); });
}

TfrmPrintPreview& TAppWindows::PrintPreview()
{
    // Made wide anyway: its least width stays what its pages need.
    if (!FPrintPreview) {
        FPrintPreview = std::make_unique<TfrmPrintPreview>(Forms(), FWith.Reports, FParent);
        KeepOnScreenWhenShownOrGrown(FPrintPreview.get());
    }
    return *FPrintPreview;
}

void TAppWindows::MakeAll()
{
    CBERuleEdit();
    ZoneText();
    SerialSetup();
    PanelDetection();
    ConfigTransfer();
    CBERangeEntry();
    TextDownload();
    AddDevices();
    PrintSelection();
    PrintSetup();
    PrintPreview();
}

void TAppWindows::BindConfiguration(TPX10ConfigData* config)
{
    if (FZoneText)
        FZoneText->SetConfig(config);
    if (FCBERuleEdit)
        FCBERuleEdit->SetConfig(config);
}
