#include "DeviceEditRules.h"

#include "DeviceColumns.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"

#include <algorithm>

using namespace devicecode;

namespace {

constexpr int MaxBrimBesideTorq = 40;

// Entries `from` to `to` of a vocabulary (all of it by default), coded by
// their positions there.
TColumnOffer AutoOf(const TTextList& list, int from = 0, int to = -1)
{
    TColumnOffer offer { TColumnOffer::Auto, {}, {} };
    for (int i = from; i <= (to < 0 ? int(list.size()) - 1 : to); ++i) {
        offer.Items.push_back(list.at(size_t(i)));
        offer.Codes.push_back(i);
    }
    return offer;
}

// Codes the entries of an offer, chosen from `whole`, by their positions there.
void CodeIn(TColumnOffer& offer, const TTextList& whole)
{
    offer.Codes.clear();
    for (const std::string& item : offer.Items)
        offer.Codes.push_back(IndexOfText(whole, item));
}

const TTextList& OfferedProtocols(
    const TPX10ConfigData& config, const TTextList& all, const TTextList& brim, const TTextList& torq)
{
    switch (ProtocolOffer(config)) {
    case poBrimOnly:
        return brim;
    case poTorqOnly:
        return torq;
    default:
        return all;
    }
}

bool IsMultiChannel(int torqType)
{
    return torqType == TorqK720 || torqType == TorqK721;
}

} // namespace

TFieldMessage InvalidZoneMessage()
{
    return { Translate("Invalid zone entered."), platform::MsgDlgType::mtWarning };
}

TProtocolOffer ProtocolOffer(bool torqSwitch, int t, int b)
{
    if (!torqSwitch)
        return poBrimOnly;
    if (t > 0)
        return b < MaxBrimBesideTorq ? poAll : poTorqOnly;
    return b > MaxBrimBesideTorq ? poBrimOnly : poAll;
}

TProtocolOffer ProtocolOffer(const TPX10ConfigData& c)
{
    return ProtocolOffer(c.GeneralPanelSetup->GetTorqSwitch(),
        c.Sensors->CountTorqDevices() + c.Modules->CountTorqDevices(),
        c.Sensors->CountBrimDevices() + c.Modules->CountBrimDevices());
}

bool ProtocolChangeAllowed(int t0, int b0, int t1, int b1)
{
    if (t1 > t0 && b1 > MaxBrimBesideTorq)
        return false;
    return !(b1 > b0 && b1 > MaxBrimBesideTorq && t1 > 0);
}

int BrimAllowance(const TPX10ConfigData& c)
{
    int t = c.Sensors->CountTorqDevices() + c.Modules->CountTorqDevices();
    int b = c.Sensors->CountBrimDevices() + c.Modules->CountBrimDevices();
    return t > 0 && b < MaxBrimBesideTorq ? MaxBrimBesideTorq - b : -1;
}

bool PanelHasGroups(int panelType)
{
    return panelType != 1 && panelType != 3 && panelType != 4;
}

bool PanelHasGroups(const TPX10ConfigData& c)
{
    return PanelHasGroups(c.FileHeader->GetPanelType());
}

// ---- sensors ----

int DefaultSensitivity(int type)
{
    if (type == 4)
        return 120;
    if (type == 7 || type == 9 || type == 10 || type == 11)
        return 112;
    return 100;
}

TSensorEdits::TSensorEdits(TPX10ConfigData& config, const TSensorLists& lists)
    : FConfig(&config)
    , FSensors(config.Sensors.get())
    , FTexts(*config.Sensors, PanelHasGroups(config), lists)
{
}

TWriteResult TSensorEdits::Write(int field, int a, const std::string& text)
{
    const TSensorColumn* column = FindColumn(SensorColumns, field);
    return column && column->Write ? column->Write(*this, a, text) : std::nullopt;
}

void TSensorEdits::ChangeProtocol(int a, const std::string& text)
{
    int now = IndexOfText(FTexts.Lists().Protocols, text);
    if (now < 0 || now == FTexts.Protocol(a))
        return;
    int oldType = FSensors->GetType(a);
    switch (now) {
    case dpNone:
        FSensors->SetTorqType(a, 0);
        FSensors->SetType(a, 0);
        break;
    case dpTorq:
        FSensors->SetTorqType(a, TorqSensorOpt);
        FSensors->SetType(a, BrimTypeOpt);
        break;
    default:
        FSensors->SetTorqType(a, 0);
        FSensors->SetType(a, BrimTypeOpt);
        break;
    }
    AfterTypeChange(a, oldType);
}

void TSensorEdits::ChangeType(int a, const std::string& text)
{
    int oldType = FSensors->GetType(a);
    switch (FTexts.Protocol(a)) {
    case dpTorq: {
        int p = IndexOfText(FTexts.Lists().TorqTypes, text);
        if (p < 0)
            return;
        FSensors->SetTorqType(a, p);
        int type = 0;
        switch (p) {
        case 10:
            type = 3;
            break;
        case 20:
            type = 2;
            break;
        case 30:
            type = 11;
            break;
        case 31:
            type = 9;
            break;
        case 32:
            type = 10;
            break;
        case 51:
        case 52:
        case 53:
            type = 1;
            break;
        default:
            break;
        }
        FSensors->SetType(a, type);
        break;
    }
    case dpBrim: {
        int p = IndexOfText(FTexts.Lists().BrimTypes, text);
        if (p < 0)
            return;
        FSensors->SetTorqType(a, 0);
        FSensors->SetType(a, p);
        break;
    }
    default:
        return; // a type needs a protocol first
    }
    AfterTypeChange(a, oldType);
}

void TSensorEdits::AfterTypeChange(int a, int oldType)
{
    int type = FSensors->GetType(a);
    if (type != oldType) {
        FSensors->SetFireSensitivity(a, DefaultSensitivity(type));
        FSensors->SetDayModeSensitivity(a, DefaultSensitivity(type));
    }
    FSensors->SetGroup(a, type == 5 || type == 6 ? 1 : 0);
}

void TSensorEdits::FillDeviceLists(const TPX10ConfigData& config, const TSensorLists& lists,
    TTextList* protocols, TTextList* types, const std::string& protocolText)
{
    if (protocols)
        *protocols
            = OfferedProtocols(config, lists.Protocols, lists.ProtocolsBrimOnly, lists.ProtocolsTorqOnly);
    if (types) {
        types->clear();
        int p = IndexOfText(lists.Protocols, protocolText);
        if (p == dpTorq)
            *types = lists.TorqTypesCommon;
        else if (p == dpBrim) {
            *types = lists.BrimTypesCommon;
            if (PanelHasGroups(config))
                types->insert(types->end(), lists.BrimTypesViews.begin(), lists.BrimTypesViews.end());
        }
    }
}

TSensorEdits::TRowOffer TSensorEdits::RowOffer(int a) const
{
    TRowOffer r;
    UpdateTypePickList(a, r);
    UpdateTorqColumns(a, r);
    UpdateColumns(a, r);
    UpdateSensitivityColumns(a, r);
    return r;
}

void TSensorEdits::UpdateTypePickList(int a, TRowOffer& r) const
{
    const TSensorLists& l = FTexts.Lists();
    r.Protocol.Style = r.Type.Style = TColumnOffer::Auto;
    FillDeviceLists(*FConfig, l, &r.Protocol.Items, &r.Type.Items, FTexts.GetProtocol(a));
    CodeIn(r.Protocol, l.Protocols);
    CodeIn(r.Type, FTexts.IsTorq(a) ? l.TorqTypes : l.BrimTypes);
}

void TSensorEdits::UpdateTorqColumns(int a, TRowOffer& r) const
{
    r.AppNum = r.RemOutput = {};
    if (!FTexts.IsTorq(a))
        return;
    r.RemOutput = AutoOf(FTexts.Lists().RemoteOutputs);
    if (FSensors->GetType(a) == ApplicationNumberType)
        r.AppNum = AutoOf(FTexts.Lists().ApplicationNumbers);
}

void TSensorEdits::UpdateColumns(int a, TRowOffer& r) const
{
    const bool cbe = FTexts.IsTorq(a) && FSensors->GetRemoteOutput(a) == RemoteOutputCbe;
    r.CBERule.Style = cbe ? TColumnOffer::Ellipsis : TColumnOffer::None;
}

void TSensorEdits::UpdateSensitivityColumns(int a, TRowOffer& r) const
{
    r.Alarm = r.Day = r.PA = r.PD = {};
    const int t = FSensors->GetType(a);
    const bool torq = FTexts.IsTorq(a);
    int alarmLevels = 0;
    bool prealarm = false;
    if (t == 1 || FTexts.Protocol(a) == dpNone)
        ;
    else if (t == 8)
        alarmLevels = 9;
    else if (FTexts.IsGrouped(a)) {
        alarmLevels = 9;
        prealarm = true;
    } else if (torq)
        alarmLevels = 6;
    else if (t == 4)
        alarmLevels = 5;
    else if (t == 5 || t == 6) {
        alarmLevels = 9;
        prealarm = true;
    } else if (t == 7 || t == 9 || t == 10 || t == 11)
        alarmLevels = 6;
    const TTextList& levels = FTexts.Lists().Levels;
    if (alarmLevels > 0)
        r.Alarm = r.Day = AutoOf(levels, 1, alarmLevels);
    if (prealarm)
        r.PA = r.PD = AutoOf(levels);
}

// ---- modules ----

TModuleEdits::TModuleEdits(TPX10ConfigData& config, const TModuleLists& lists)
    : FConfig(&config)
    , FModules(config.Modules.get())
    , FTexts(*config.Modules, lists)
{
}

TWriteResult TModuleEdits::Write(int field, int a, const std::string& text)
{
    const TModuleColumn* column = FindColumn(ModuleColumns, field);
    return column && column->Write ? column->Write(*this, a, text) : std::nullopt;
}

void TModuleEdits::ChangeProtocol(int a, const std::string& text)
{
    int now = IndexOfText(FTexts.Lists().Protocols, text);
    int old = FModules->GetTorqType(a) != 0 ? dpTorq : FModules->GetType(a) != 0 ? dpBrim : dpNone;
    if (now < 0 || now == old)
        return;
    int oldFunction = FModules->GetType(a);
    switch (now) {
    case dpNone:
        FModules->SetTorqType(a, 0);
        FModules->SetType(a, 0);
        break;
    case dpTorq:
        FModules->SetTorqType(a, TorqK710);
        FModules->SetType(a, FunctionMcp);
        break;
    default:
        FModules->SetTorqType(a, 0);
        FModules->SetType(a, FunctionMcp);
        break;
    }
    AfterFunctionChange(a, oldFunction);
}

void TModuleEdits::ChangeType(int a, const std::string& text)
{
    const TModuleLists& l = FTexts.Lists();
    int oldFunction = FModules->GetType(a);
    int f = oldFunction;
    switch (FTexts.Protocol(a)) {
    case dpTorq: {
        int p = IndexOfText(l.TorqTypes, text);
        if (p <= 0)
            return;
        FModules->SetTorqType(a, 127 + p);
        if (!MatchedType(127 + p, f))
            FModules->SetType(a, f);
        break;
    }
    case dpBrim:
        switch (IndexOfText(l.BrimModuleTypes, text)) {
        case 0:
            if (!IsInputFunction(f))
                FModules->SetType(a, FunctionMcp);
            break;
        case 1:
            if (!IsOutputFunction(f))
                FModules->SetType(a, FunctionSdr);
            break;
        case 2:
            if (f != FunctionZmx && f != 20)
                FModules->SetType(a, FunctionZmx);
            break;
        case 3:
            if (f != FunctionLbm)
                FModules->SetType(a, FunctionLbm);
            break;
        default:
            return;
        }
        break;
    default:
        return;
    }
    AfterFunctionChange(a, oldFunction);
}

void TModuleEdits::ChangeFunction(int a, const std::string& text)
{
    int f = IndexOfText(FTexts.Lists().Functions, text);
    if (f < 0)
        return;
    int oldFunction = FModules->GetType(a);
    FModules->SetType(a, f);
    AfterFunctionChange(a, oldFunction);
}

void TModuleEdits::AfterFunctionChange(int a, int oldFunction)
{
    int f = FModules->GetType(a);
    if (f == oldFunction)
        return;
    if (f == FunctionMon || f == FunctionMns)
        FModules->SetCBERuleListText(a, "");
    auto [first, last] = ModuleZoneRange(f);
    if (FModules->GetZone(a) > last)
        FModules->SetZone(a, first);
    else if (FModules->GetZone(a) < first)
        FModules->SetZone(a, first);
    if (f != FunctionAux)
        FModules->SetAction(a, 0);
}

void TModuleEdits::FillDeviceLists(const TPX10ConfigData& config, const TModuleLists& l, TTextList* protocols,
    TTextList* types, TTextList* functions, const std::string& protocolText, const std::string& typeText,
    int channel)
{
    if (protocols)
        *protocols = OfferedProtocols(config, l.Protocols, l.ProtocolsBrimOnly, l.ProtocolsTorqOnly);
    const int p = IndexOfText(l.Protocols, protocolText);
    if (types) {
        types->clear();
        if (p == dpTorq)
            *types = l.TorqTypesCommon;
        else if (p == dpBrim)
            *types = l.BrimModuleTypes;
    }
    if (!functions)
        return;
    functions->clear();
    if (p == dpTorq) {
        int j = IndexOfText(l.TorqTypes, typeText);
        if (j == 1 || j == 2)
            *functions = l.OutputFunctions;
        else if (j == TorqK721 - 127)
            *functions = channel == 3 ? l.K721OutputFunctions : l.InputFunctions;
        else if (j == 8)
            *functions = l.ZmxFunctions;
        else if (j >= 23 && j <= 27)
            *functions = l.SounderFunctions;
        else
            *functions = l.InputFunctions;
    } else if (p == dpBrim) {
        switch (IndexOfText(l.BrimModuleTypes, typeText)) {
        case 1:
            *functions = l.OutputFunctions;
            break;
        case 2:
            *functions = l.ZmxFunctions;
            break;
        case 3:
            *functions = l.LbmFunctions;
            break;
        default:
            *functions = l.InputFunctions;
            break;
        }
    }
}

void TModuleEdits::RowProtocolAndType(int a, std::string& protocol, std::string& type) const
{
    protocol = FTexts.GetProtocol(a);
    type = FTexts.GetType(a);
    if (FModules->GetChannel(a) >= 2 && type.empty() && a > 1) {
        int before = FModules->GetTorqType(a - 1);
        if (IsMultiChannel(before))
            type = FTexts.Lists().TorqTypes.at(before - 127);
    }
}

TModuleEdits::TRowOffer TModuleEdits::RowOffer(int a) const
{
    TRowOffer r;
    UpdateGridColumns(a, r);
    UpdateCBERuleColumn(a, r);
    UpdateActionColumn(a, r);
    return r;
}

void TModuleEdits::UpdateGridColumns(int a, TRowOffer& r) const
{
    std::string protocol, type;
    RowProtocolAndType(a, protocol, type);
    const int channel = FModules->GetChannel(a);
    const TModuleLists& l = FTexts.Lists();
    FillDeviceLists(
        *FConfig, l, &r.Protocol.Items, &r.Type.Items, &r.Function.Items, protocol, type, channel);
    // A second or third channel follows its first: no protocol or type of its own.
    if (channel < 2) {
        r.Protocol.Style = r.Type.Style = TColumnOffer::Auto;
        CodeIn(r.Protocol, l.Protocols);
        CodeIn(r.Type, FTexts.Protocol(a) == dpTorq ? l.TorqTypes : l.BrimModuleTypes);
    } else
        r.Protocol = r.Type = {};
    r.Function.Style = TColumnOffer::Auto;
    CodeIn(r.Function, l.Functions);
}

void TModuleEdits::UpdateCBERuleColumn(int a, TRowOffer& r) const
{
    r.CBERule.Style = FTexts.TakesCBERules(a) ? TColumnOffer::Ellipsis : TColumnOffer::None;
}

void TModuleEdits::UpdateActionColumn(int a, TRowOffer& r) const
{
    r.Action = {};
    if (FTexts.Protocol(a) != dpNone && FModules->GetType(a) == FunctionAux)
        r.Action = AutoOf(FTexts.Lists().AuxActions);
}

// ---- multi-channel modules ----

TMultiChannelResult UpdateMultiChannelModule(TPX10ConfigDeviceConfiguration& m, int a)
{
    TMultiChannelResult r;
    auto inLoop = [](int x) { return x >= 1 && x <= TPX10ConfigDeviceConfiguration::AddressCount; };
    const int t = m.GetTorqType(a);
    const int c = m.GetChannel(a);
    if (!IsMultiChannel(t)) {
        if (c < 1)
            return r;
        // A channel record whose model was changed takes its module's back;
        // one without a module (read from a file) stands alone.
        int partner = c == 1 ? a + 1 : a - 1;
        if (inLoop(partner) && IsMultiChannel(m.GetTorqType(partner)) && m.GetChannel(partner) >= 1) {
            m.SetType(a, m.GetType(partner));
            m.SetTorqType(a, m.GetTorqType(partner));
        } else
            m.SetChannel(a, 0);
        r.Changed.push_back(a);
        return r;
    }
    if (c >= 2)
        return r; // later channels follow their first
    if (c == 1 && inLoop(a + 1) && IsMultiChannel(m.GetTorqType(a + 1)) && m.GetChannel(a + 1) == 2) {
        // The channels of one module keep one model.
        m.SetTorqType(a, m.GetTorqType(a + 1));
        r.Changed.push_back(a);
        return r;
    }
    // A new module: its other channels need the following addresses free.
    const int channels = t == TorqK721 ? 3 : 2;
    bool fits = inLoop(a + channels - 1);
    for (int x = a + 1; fits && x < a + channels; ++x)
        fits = m.GetType(x) == 0 && m.GetTorqType(x) == 0 && m.GetChannel(x) == 0;
    r.Changed.push_back(a);
    if (!fits) {
        m.SetTorqType(a, TorqK710);
        m.SetChannel(a, 0);
        r.Message = TFieldMessage { Translate("There are not enough free addresses after this one for the "
                                              "channels of this module, so it stays a K710."),
            platform::MsgDlgType::mtWarning };
        return r;
    }
    m.SetChannel(a, 1);
    for (int ch = 2; ch <= channels; ++ch) {
        int x = a + ch - 1;
        m.SetChannel(x, ch);
        m.SetZone(x, m.GetZone(a));
        const int f = ch == 3 ? FunctionRly : m.GetType(a);
        m.SetType(x, f);
        m.SetTorqType(x, t);
        // An input channel that monitors starts with no rules, as its first
        // channel did when given the function; the relay keeps its rule 1.
        if (f == FunctionMon || f == FunctionMns)
            m.SetCBERuleListText(x, "");
        r.Changed.push_back(x);
    }
    return r;
}

std::pair<int, int> ModuleDeleteRange(const TPX10ConfigDeviceConfiguration& d, int from, int to)
{
    if (from > to)
        std::swap(from, to);
    auto multi = [&](int a) { return IsMultiChannel(d.GetTorqType(a)); };
    while (from > 1 && multi(from) && d.GetChannel(from) > 1)
        --from;
    while (to < TPX10ConfigDeviceConfiguration::AddressCount && multi(to) && multi(to + 1)
        && d.GetChannel(to + 1) > 1)
        ++to;
    return { from, to };
}

std::string K721RangeFunction(const TModuleLists& l, int first, int address, const std::string& chosen)
{
    if ((address - first) % 3 == 2)
        return l.Functions.at(FunctionRly);
    int f = IndexOfText(l.Functions, chosen);
    int matched = f;
    if (f > 0 && IsInputFunction(f) && MatchedType(TorqK721, matched))
        return chosen;
    return l.InputFunctions.at(0);
}

// ---- Add Devices ----

int AddressValue(const std::string& text)
{
    int v = 0;
    if (text.empty() || text.size() > 2 || !ParseWholeNumber(text, v)
        || text.find_first_of("+- ") != std::string::npos)
        return 0;
    return v >= 1 && v <= TPX10ConfigDeviceConfiguration::AddressCount ? v : 0;
}

TAddressCheck CheckAddresses(const std::string& firstText, const std::string& lastText,
    const std::string& protocolText, const std::string& typeText, int brimLimit)
{
    TAddressCheck r;
    r.First = AddressValue(firstText);
    r.Last = AddressValue(lastText);
    if (r.First == 0 || r.Last == 0 || r.First > r.Last)
        return r;
    // The texts as the lists show them, in the language of the lists.
    const int count = r.Last - r.First + 1;
    if (protocolText == Translate("BRIM") && brimLimit != -1 && count > brimLimit) {
        r.ClearLast = true;
        r.Last = 0;
        return r;
    }
    if (typeText == Translate("K720") && count % 2 != 0)
        return r;
    if (typeText == Translate("K721") && r.Last > 97 && count % 3 != 0)
        return r;
    if (protocolText == Translate(" - "))
        return r;
    r.Ok = true;
    return r;
}
