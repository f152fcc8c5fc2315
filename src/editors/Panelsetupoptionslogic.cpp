#include "Panelsetupoptionslogic.h"

#include "Ivdictio.h"
#include "PX10ConfigData.h"
#include "PanelOptionTable.h"
#include "PanelTypeList.h"
#include "Prompts.h"

#include <algorithm>

namespace {
int IndexOf(const std::vector<std::string>& rows, const std::string& text)
{
    auto it = std::find(rows.begin(), rows.end(), text);
    return it == rows.end() ? -1 : int(it - rows.begin());
}
bool PX10Family(int panelType)
{
    return panelType >= 2 && panelType <= 6;
}
// Whether the character at `i` of a GSM number breaks the number's mask: a
// digit or a blank may stand anywhere, a sign only in front.
bool GsmMaskRefuses(const std::string& text, std::size_t i)
{
    const char c = text[i];
    if ((c >= '0' && c <= '9') || c == ' ')
        return false;
    return !((c == '+' || c == '-') && text.find_first_not_of(' ') == i);
}
int GsmMaskFaults(const std::string& text)
{
    int faults = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        faults += GsmMaskRefuses(text, i);
    return faults;
}
void Warn(const std::string& text)
{
    platform::CurrentPrompts().MessageDlg(text, platform::MsgDlgType::mtWarning, platform::mbOK);
}
} // namespace

// ---- lists ----

const std::vector<std::string>& PanelSetupOptions::PanelTypesVeltrane()
{
    static const std::vector<std::string> rows { "412-304-xxx : PX21/22", "412-303-xxx : PX11/12",
        "412-302-xxx : PX20", "412-301-xxx : PX10" };
    return rows;
}
const std::vector<std::string>& PanelSetupOptions::RS485DefaultProtocolList()
{
    static const std::vector<std::string> rows { IvNative("DISABLED"), IvNative("VELTRANE"),
        IvNative("VRQ40/RQ40"), IvNative("BFT/LLT"), IvNative("THIRD PARTY") };
    return rows;
}
const std::vector<std::string>& PanelSetupOptions::RS485PX11ProtocolList()
{
    static const std::vector<std::string> rows { IvNative("VELTRANE"), IvNative("BFT/LLT"),
        IvNative("THIRD PARTY") };
    return rows;
}
const std::vector<std::string>& PanelSetupOptions::RS232PX10EventPrinterOptions()
{
    static const std::vector<std::string> rows { IvNative("BASIC"), IvNative("XON/XOFF") };
    return rows;
}
const std::vector<std::string>& PanelSetupOptions::RS232PX11EventPrinterOptions()
{
    static const std::vector<std::string> rows { IvNative("BASIC"), IvNative("XON/XOFF"),
        IvNative("HARDWARE") };
    return rows;
}
const std::vector<std::string>& PanelSetupOptions::RS232ThirdPartyOptions()
{
    static const std::vector<std::string> rows { IvNative("FULL DUPLEX"), IvNative("HALF DUPLEX") };
    return rows;
}
const std::vector<std::string>& PanelSetupOptions::GsmQuantityItems()
{
    static const std::vector<std::string> rows { "1", "5", IvNative("ALL") };
    return rows;
}

const std::vector<std::string>& PanelSetupOptions::RS232ProtocolList()
{
    static const std::vector<std::string> rows { IvNative("PRINTER"), IvNative("THIRD PARTY"),
        IvNative("GSM MODEM") };
    return rows;
}

const std::vector<std::string>& PanelSetupOptions::OptionItems(PanelOption option)
{
    static const auto lists = [] {
        std::array<std::vector<std::string>, std::size_t(PanelOption::Count)> t;
        for (const TPanelOption& row : PanelOptions)
            for (const char* item : row.Items)
                if (item)
                    t[std::size_t(row.Option)].push_back(item);
        return t;
    }();
    static const std::vector<std::string> none;
    const auto i = std::size_t(option);
    return i < lists.size() ? lists[i] : none;
}

int PanelSetupOptions::PanelTypeSelectionRow(int panelType)
{
    const auto& all = PanelTypesAll();
    if (panelType < 0 || panelType >= int(all.size()))
        return 0;
    return std::max(0, IndexOf(PanelTypesVeltrane(), all[panelType]));
}

const std::vector<std::string>& PanelSetupOptions::RS485ListFor(int panelType)
{
    return PX10Family(panelType) ? RS485DefaultProtocolList() : RS485PX11ProtocolList();
}

int PanelSetupOptions::RS485SelectionRow(int panelType, int protocol)
{
    const auto& all = RS485DefaultProtocolList();
    if (protocol < 0 || protocol >= int(all.size()))
        return 0;
    return std::max(0, IndexOf(RS485ListFor(panelType), all[protocol]));
}

int PanelSetupOptions::RS485ProtocolOfText(const std::string& text)
{
    return IndexOf(RS485DefaultProtocolList(), text);
}

const std::vector<std::string>* PanelSetupOptions::RS232OptionsListFor(int r, int panelType)
{
    if (r == 1)
        return &RS232ThirdPartyOptions();
    if (r == 2)
        return nullptr;
    return PX10Family(panelType) ? &RS232PX10EventPrinterOptions() : &RS232PX11EventPrinterOptions();
}

// ---- binding and loading ----

PanelSetupOptions::PanelSetupOptions(TPX10ConfigData* config)
    : FConfig(config)
{
}

void PanelSetupOptions::Bind(TPX10ConfigData* config)
{
    FConfig = config;
    // A check armed for the previous configuration does not act on this one.
    FCheckArmed = false;
}

int PanelSetupOptions::PanelType() const
{
    return FConfig ? FConfig->FileHeader->GetPanelType() : 3;
}

int PanelSetupOptions::Read(PanelOption o) const
{
    return PanelOptionRow(o).Read(*FConfig->GeneralPanelSetup);
}

void PanelSetupOptions::Write(PanelOption o, int v)
{
    PanelOptionRow(o).Write(*FConfig->GeneralPanelSetup, v);
}

void PanelSetupOptions::WriteBackSpinValues(TPX10ConfigData& config)
{
    TPX10ConfigGeneralPanelSetup& g = *config.GeneralPanelSetup;
    // Written even when the value read is in range: an accessor may clamp
    // what it reads. An unchanged value marks nothing modified.
    for (const TPanelOption& row : PanelOptions)
        if (row.Spin)
            row.Write(g, std::clamp(row.Read(g), row.Min, row.Max));
}

void PanelSetupOptions::Load(bool regionalOptions, bool vds)
{
    if (!FConfig)
        return;
    WriteBackSpinValues(*FConfig);
    const TPX10ConfigGeneralPanelSetup& g = *FConfig->GeneralPanelSetup;
    const int type = PanelType();
    FState.PanelTypeRows = PanelTypesVeltrane();
    FState.PanelTypeRow = PanelTypeSelectionRow(type);
    for (std::size_t i = 0; i < FState.Values.size(); ++i)
        FState.Values[i] = Read(PanelOption(i));
    // The regional test decides whether the group shows its stored value.
    if (!regionalOptions)
        Slot(PanelOption::ControlKey3Mode) = 0;
    FState.ControlKey3ModeVisible = regionalOptions;
    FState.FireOutputActiveLEDVisible = vds;
    FState.LEDModesEnabled = !vds;
    FState.PrintingEnabled = !(type >= 2 && type <= 4);
    FState.BlinkColoursEnabled = g.GetBlinking();

    FState.SiteName = g.GetSiteName();
    FState.ServicePhoneNo = g.GetServicePhoneNo();
    for (int f = 0; f < int(TimeField::Count); ++f)
        LoadTime(TimeField(f));

    FState.RS485Rows = RS485ListFor(type);
    FState.RS485Row = RS485SelectionRow(type, g.GetRS485Protocol());
    UpdateRS485Options();

    FState.RS232Protocol = g.GetRS232Protocol();
    UpdateRS232Options();
    const int opt = g.GetRS232Options();
    Slot(PanelOption::RS232Options) = opt >= 0 && opt < int(FState.RS232OptionsRows.size()) ? opt : 0;

    LoadGsmItem();
    UpdateDayModeCaption();

    FState.ServiceDueEnabled = g.GetServiceDueWord() != 0;
    if (FState.ServiceDueEnabled)
        FState.ServiceDue = g.GetServiceDueDate();
}

void PanelSetupOptions::LoadTime(TimeField f)
{
    const TPX10ConfigGeneralPanelSetup& g = *FConfig->GeneralPanelSetup;
    std::string& t = FState.Times[std::size_t(f)];
    switch (f) {
    case TimeField::HightestTime:
        t = g.GetHightestTimeText(FSeparator);
        break;
    case TimeField::SensitivityStart:
        t = g.GetDayModeSensitivityStartTimeText(FSeparator);
        break;
    case TimeField::SensitivityEnd:
        t = g.GetDayModeSensitivityEndTimeText(FSeparator);
        break;
    case TimeField::DayModeStart:
        t = g.GetDayModeStartTimeText(FSeparator);
        break;
    case TimeField::DayModeEnd:
        t = g.GetDayModeEndTimeText(FSeparator);
        break;
    case TimeField::Count:
        break;
    }
}

// ---- plain options ----

void PanelSetupOptions::SetOption(PanelOption o, int v)
{
    if (o == PanelOption::TorqSwitch && v == 0 && FConfig
        && FConfig->Sensors->CountTorqDevices() + FConfig->Modules->CountTorqDevices() >= 1) {
        v = 1; // the group goes back to "Enabled"
        Warn(Translate("Sorry, TORQ protocol can't be disabled!") + "\r\n\r\n"
            + Translate("Remove/Replace TORQ protocol devices present in the current configuration."));
    }
    Slot(o) = v;
    if (o == PanelOption::Blinking)
        FState.BlinkColoursEnabled = v == 1;
    if (FConfig)
        Write(o, v);
}

void PanelSetupOptions::ChoosePanelType(int row)
{
    const auto& rows = PanelTypesVeltrane();
    if (!FConfig || row < 0 || row >= int(rows.size()))
        return;
    const int type = IndexOf(PanelTypesAll(), rows[row]);
    if (type >= 0)
        FConfig->FileHeader->SetPanelType(type);
    // The lists and enables that depend on the type follow.
    if (OnPanelTypeChanged)
        OnPanelTypeChanged();
    else
        Load(FState.ControlKey3ModeVisible, FState.FireOutputActiveLEDVisible);
}

void PanelSetupOptions::ChooseRS485Protocol(int row)
{
    if (row < 0 || row >= int(FState.RS485Rows.size()))
        return;
    const int p = RS485ProtocolOfText(FState.RS485Rows[row]);
    if (!FConfig || p < 0)
        return;
    FState.RS485Row = row;
    FConfig->GeneralPanelSetup->SetRS485Protocol(p);
    UpdateRS485Options();
}

void PanelSetupOptions::UpdateRS485Options()
{
    const int p = FConfig ? FConfig->GeneralPanelSetup->GetRS485Protocol() : 0;
    FState.RS485RepeatersEnabled = p >= 1 && p <= 3;
    FState.RS485ThirdPartyEnabled = p == 4;
}

void PanelSetupOptions::ChooseRS232Protocol(int index)
{
    if (!FConfig || index == FConfig->GeneralPanelSetup->GetRS232Protocol())
        return;
    FConfig->GeneralPanelSetup->SetRS232Protocol(index);
    FState.RS232Protocol = index;
    UpdateRS232Options();
    SetOption(PanelOption::RS232Options, 0);
}

void PanelSetupOptions::UpdateRS232Options()
{
    const int r = FState.RS232Protocol;
    if (const auto* list = RS232OptionsListFor(r, PanelType()))
        FState.RS232OptionsRows = *list;
    if (r != 2)
        FState.RS232ThirdPartyEnabled = r == 1;
    FState.GsmItemsVisible = r == 2;
}

// ---- site details ----

void PanelSetupOptions::SetSiteName(const std::string& text)
{
    if (!FConfig)
        return;
    FConfig->GeneralPanelSetup->SetSiteName(text);
    FState.SiteName = FConfig->GeneralPanelSetup->GetSiteName();
}

void PanelSetupOptions::SetServicePhoneNo(const std::string& text)
{
    if (!FConfig)
        return;
    FConfig->GeneralPanelSetup->SetServicePhoneNo(text);
    FState.ServicePhoneNo = FConfig->GeneralPanelSetup->GetServicePhoneNo();
}

void PanelSetupOptions::SetServiceDueEnabled(bool enabled, const QDate& shown)
{
    FState.ServiceDueEnabled = enabled;
    if (enabled)
        SetServiceDueDate(shown);
    else if (FConfig)
        FConfig->GeneralPanelSetup->SetServiceDueWord(0);
}

void PanelSetupOptions::SetServiceDueDate(const QDate& date)
{
    QDate d = date;
    const int y = std::clamp(d.year(), 2000, 2063);
    if (d.isValid() && y != d.year())
        d = QDate(y, d.month(), std::min(d.day(), QDate(y, d.month(), 1).daysInMonth()));
    FState.ServiceDue = d;
    if (FConfig && FState.ServiceDueEnabled)
        FConfig->GeneralPanelSetup->SetServiceDueDate(d);
}

// ---- times ----

void PanelSetupOptions::EditTime(TimeField f, const std::string& text)
{
    if (!FConfig)
        return;
    TPX10ConfigGeneralPanelSetup& g = *FConfig->GeneralPanelSetup;
    // A text that is not a time raises here; the stored time stays as it was.
    int tag = -1;
    switch (f) {
    case TimeField::HightestTime:
        g.SetHightestTimeText(text);
        break;
    case TimeField::SensitivityStart:
        g.SetDayModeSensitivityStartTimeText(text), tag = 2;
        break;
    case TimeField::SensitivityEnd:
        g.SetDayModeSensitivityEndTimeText(text), tag = 104;
        break;
    case TimeField::DayModeStart:
        g.SetDayModeStartTimeText(text), tag = 202;
        break;
    case TimeField::DayModeEnd:
        g.SetDayModeEndTimeText(text), tag = 304;
        break;
    case TimeField::Count:
        return;
    }
    LoadTime(f);
    if (tag >= 0) {
        FCheckTag = tag;
        FCheckArmed = true;
    }
}

void PanelSetupOptions::DayModeCheckTick()
{
    if (!FCheckArmed)
        return;
    const int tag = --FCheckTag;
    if (tag != 0 && tag != 100 && tag != 200 && tag != 300)
        return;
    FCheckArmed = false;
    if (!FConfig)
        return;
    const TPX10ConfigGeneralPanelSetup& g = *FConfig->GeneralPanelSetup;
    // The later time pulls the other one along, stored as if typed, which
    // arms the check again for that field.
    switch (tag) {
    case 0:
        if (g.GetDayModeSensitivityStartTime() > g.GetDayModeSensitivityEndTime())
            EditTime(TimeField::SensitivityEnd, std::string(FState.Time(TimeField::SensitivityStart)));
        break;
    case 100:
        if (g.GetDayModeSensitivityStartTime() > g.GetDayModeSensitivityEndTime())
            EditTime(TimeField::SensitivityStart, std::string(FState.Time(TimeField::SensitivityEnd)));
        break;
    case 200:
        if (g.GetDayModeStartTime() > g.GetDayModeEndTime())
            EditTime(TimeField::DayModeEnd, std::string(FState.Time(TimeField::DayModeStart)));
        UpdateDayModeCaption();
        break;
    case 300:
        if (g.GetDayModeStartTime() > g.GetDayModeEndTime())
            EditTime(TimeField::DayModeStart, std::string(FState.Time(TimeField::DayModeEnd)));
        UpdateDayModeCaption();
        break;
    }
}

void PanelSetupOptions::DayModeTimeExit()
{
    if (!FConfig)
        return;
    const TPX10ConfigGeneralPanelSetup& g = *FConfig->GeneralPanelSetup;
    if (g.GetDayModeStartTime() > g.GetDayModeEndTime())
        Warn(Translate("Invalid start or end time entered.") + "\r\n\r\n"
            + Translate("To activate day mode, the start time\r\nmust be less than the end time."));
    UpdateDayModeCaption();
}

void PanelSetupOptions::UpdateDayModeCaption()
{
    const TPX10ConfigGeneralPanelSetup* g = FConfig ? FConfig->GeneralPanelSetup.get() : nullptr;
    const bool active = g && g->GetDayModeStartTime() != g->GetDayModeEndTime();
    FState.DayModeCaption = Translate("Day Mode Delays") + " - " + Translate(active ? "ACTIVE" : "INACTIVE");
}

// ---- GSM items ----

void PanelSetupOptions::SelectGsmItem(int item)
{
    if (item < 1 || item > TPX10ConfigGsmItems::ItemCount)
        return;
    FState.GsmItem = item;
    LoadGsmItem();
}

void PanelSetupOptions::LoadGsmItem()
{
    if (!FConfig)
        return;
    const TPX10ConfigGsmItems& gsm = *FConfig->GsmItems;
    const int n = FState.GsmItem;
    GsmItemState& s = FState.Gsm;
    s.Number = gsm.GetNumber(n);
    s.Flags = { gsm.GetAlarm(n), gsm.GetFault(n), gsm.GetPrealarm(n), gsm.GetControls(n),
        gsm.GetGeneralDisable(n), gsm.GetZoneDisable(n), gsm.GetDeviceDisable(n), gsm.GetSystemDisable(n) };
    s.Quantities = { gsm.GetQtyAlarm(n), gsm.GetQtyPreAlarm(n), gsm.GetQtyFault(n) };
    UpdateGsmQuantityEnables();
}

void PanelSetupOptions::UpdateGsmQuantityEnables()
{
    GsmItemState& s = FState.Gsm;
    s.QuantityEnabled = { s.Flag(GsmFlag::Alarm), s.Flag(GsmFlag::Prealarm), s.Flag(GsmFlag::Fault) };
}

void PanelSetupOptions::SetGsmFlag(GsmFlag f, bool on)
{
    FState.Gsm.Flags[std::size_t(f)] = on;
    UpdateGsmQuantityEnables();
    if (!FConfig)
        return;
    TPX10ConfigGsmItems& gsm = *FConfig->GsmItems;
    const int n = FState.GsmItem;
    switch (f) {
    case GsmFlag::Alarm:
        gsm.SetAlarm(n, on);
        break;
    case GsmFlag::Fault:
        gsm.SetFault(n, on);
        break;
    case GsmFlag::Prealarm:
        gsm.SetPrealarm(n, on);
        break;
    case GsmFlag::Controls:
        gsm.SetControls(n, on);
        break;
    case GsmFlag::GeneralDisable:
        gsm.SetGeneralDisable(n, on);
        break;
    case GsmFlag::ZoneDisable:
        gsm.SetZoneDisable(n, on);
        break;
    case GsmFlag::DeviceDisable:
        gsm.SetDeviceDisable(n, on);
        break;
    case GsmFlag::SystemDisable:
        gsm.SetSystemDisable(n, on);
        break;
    case GsmFlag::Count:
        break;
    }
}

void PanelSetupOptions::SetGsmQuantity(GsmQuantity q, int index)
{
    FState.Gsm.Quantities[std::size_t(q)] = index;
    if (!FConfig)
        return;
    TPX10ConfigGsmItems& gsm = *FConfig->GsmItems;
    const int n = FState.GsmItem;
    switch (q) {
    case GsmQuantity::Alarm:
        gsm.SetQtyAlarm(n, index);
        break;
    case GsmQuantity::PreAlarm:
        gsm.SetQtyPreAlarm(n, index);
        break;
    case GsmQuantity::Fault:
        gsm.SetQtyFault(n, index);
        break;
    case GsmQuantity::Count:
        break;
    }
}

int PanelSetupOptions::EditGsmNumber(const std::string& text, int caret)
{
    std::string out;
    for (int i = 0; i < int(text.size()); ++i) {
        if (text[i] == ' ') {
            if (i < caret)
                --caret;
        } else
            out += text[i];
    }
    if (FConfig) {
        FConfig->GsmItems->SetNumber(FState.GsmItem, out);
        out = FConfig->GsmItems->GetNumber(FState.GsmItem);
    }
    FState.Gsm.Number = out;
    return std::clamp(caret, 0, int(out.size()));
}

bool PanelSetupOptions::GsmNumberEditFits(const std::string& before, const std::string& after)
{
    // What the edit put in: `after` between what it shares with `before` at
    // either end.
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head
        && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    for (std::size_t i = head; i < after.size() - tail; ++i)
        if (GsmMaskRefuses(after, i))
            return false;
    // A digit put in front of a sign moves the sign out of the front.
    return GsmMaskFaults(after) <= GsmMaskFaults(before);
}
