#pragma once
// The windows the user cannot see at start-up are made when first needed, as
// children of the main window and each only once. A window that another
// builds on is made first, so they come in the order the start-up gives them:
// panel detection before the configuration transfer, the transfer before the
// text download, the rule editor before the range entry that opens it.
class TfrmMain;
class TfrmCBERuleEdit;
class TfrmZoneText;
class TfrmSerialSetup;
class TfrmInitiatePanelComms;
class TfrmConfigTransfer;
class TfrmCBERangeEntry;
class TfrmTextDownload;

TfrmCBERuleEdit* CBERuleEditWindow(TfrmMain* main);
TfrmZoneText* ZoneTextWindow(TfrmMain* main);
TfrmSerialSetup* SerialSetupWindow(TfrmMain* main);
TfrmInitiatePanelComms* PanelDetectionWindow(TfrmMain* main);
TfrmConfigTransfer* ConfigTransferWindow(TfrmMain* main);
TfrmCBERangeEntry* CBERangeEntryWindow(TfrmMain* main);
TfrmTextDownload* TextDownloadWindow(TfrmMain* main);
