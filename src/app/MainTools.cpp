// The main window's communication tools, VdS option, language menu and
// user manual.
#include "Main.h"

#include "About.h"
#include "CodePage.h"
#include "ExceptionHandler.h"
#include "Ivdictio.h"
#include "Ivwindows.h"
#include "LanguageRules.h"
#include "PX10ConfigData.h"
#include "Panelcommstransferform.h"
#include "Panelsetupoptions.h"
#include "Quorvelprotocolcomponent.h"
#include "Serialsetupform.h"
#include "Textdownloadform.h"
#include "UserManual.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QUrl>

using platform::Utf8ToQString;

bool TfrmMain::IsVdSCompatibility() const
{
    return VdSCompatibility->isChecked();
}

bool TfrmMain::UpdateVdSMenuFromLanguage()
{
    const bool vds = IsVdSLanguage(FAbout->LanguageDictionary);
    VdSCompatibility->setChecked(vds);
    return vds;
}

void TfrmMain::VdSCompatibilityClick()
{
    // The action has toggled its check mark already; the frame shows the
    // options the mark decides.
    if (frmPanelSetupOptions1)
        frmPanelSetupOptions1->RefreshFromConfig();
}

void TfrmMain::HelpPX10UserManualExecute()
{
    const std::string path = FindUserManual(QCoreApplication::applicationDirPath().toStdString());
    OpenUserManual(
        path, OpenDocument ? OpenDocument : [](const std::string& p) {
            return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(p)));
        });
}

void TfrmMain::ToolsSerialPortSetupExecute()
{
    const int index = FWindows->SerialSetup().Execute(int(FProtocol->CommPort()));
    if (index >= 0 && index < 8)
        FProtocol->SetCommPort(TCommPort(index));
}

void TfrmMain::ToolsSendToPanelExecute()
{
    CommitPendingEdits();
    if (ConfigData)
        FWindows->ConfigTransfer().SendConfiguration(FProtocol.get(), ConfigData);
}

void TfrmMain::ToolsReceiveFromPanelExecute()
{
    if (!FLifecycle.QuerySaveChanges())
        return;
    const ConfigLifecycle::Flags f = FLifecycle.NewConfigFlags();
    auto config = std::make_unique<TPX10ConfigData>(
        f.VdSDefaults, f.LED2CModeDefault, f.TorqSwitchDefault, f.ControlKey3ModeDefault);
    // A failed or cancelled receive leaves the fresh configuration current.
    if (FWindows->ConfigTransfer().ReceiveConfiguration(FProtocol.get(), config.get()))
        FLifecycle.SetCurrentConfig(std::move(config));
}

void TfrmMain::ToolsFetchEventLogExecute()
{
    FWindows->TextDownload().ShowPanelEventLog(FProtocol.get());
}

void TfrmMain::ToolsFetchDeviceDataExecute()
{
    FWindows->TextDownload().ShowDeviceData(FProtocol.get());
}

void TfrmMain::ToolsLogDeviceExecute()
{
    FWindows->TextDownload().ShowDeviceLogger(FProtocol.get());
}

bool TfrmMain::IsRegionalOptionEnabled() const
{
    return ::IsRegionalOptionEnabled(IsVdSCompatibility(), FAbout->LanguageDictionary);
}

void TfrmMain::BuildLanguageMenu()
{
    TIvDictionary* d = FAbout->LanguageDictionary;
    if (!d)
        return;
    std::vector<std::unique_ptr<TIvLanguage>> languages;
    d->GetLanguageDatas(languages);
    // Every language from position 1 by its own index: languages that share a
    // primary language (German and its regional variants) each get an item.
    QAction* before = Language1->actions().isEmpty() ? nullptr : Language1->actions().first();
    for (int i = 1; i < static_cast<int>(languages.size()); ++i) {
        auto* item = new QAction(Utf8ToQString(Translate(languages[i]->EnglishName)), Language1);
        item->setObjectName(QString("LanguageItem%1").arg(i));
        item->setData(i); // the Tag
        item->setProperty("ivNativeName", Utf8ToQString(languages[i]->EnglishName));
        item->setCheckable(true);
        IvSetCodeText(item);
        connect(
            item, &QAction::triggered, this, [this, item] { Guarded([&] { SelectLanguageClick(item); }); });
        Language1->insertAction(before, item);
        FLanguageItems.push_back(item);
    }
    RetextLanguageMenu();
}

void TfrmMain::RetextLanguageMenu()
{
    TIvDictionary* d = FAbout->LanguageDictionary;
    for (QAction* item : FLanguageItems) {
        item->setText(Utf8ToQString(Translate(item->property("ivNativeName").toString().toStdString())));
        item->setChecked(d && d->GetActiveLanguageIndex() == item->data().toInt());
    }
}

void TfrmMain::SelectLanguageClick(QAction* item)
{
    TIvDictionary* d = FAbout->LanguageDictionary;
    if (!d)
        return;
    // Text still being typed belongs to the configuration, in any language.
    CommitPendingEdits();
    try {
        d->SetLanguage(item->data().toInt());
    } catch (...) {
        RetextLanguageMenu(); // the check mark stays on the language in force
        throw;
    }
    UpdateVdSMenuFromLanguage();
    RefreshAllViews();
    RetextDeviceNodes(FSensorsNode);
    RetextDeviceNodes(FModulesNode);
    RetextLanguageMenu();
}
