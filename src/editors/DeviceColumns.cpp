#include "DeviceColumns.h"

#include "CodePage.h"
#include "PX10ConfigDeviceConfiguration.h"

using TDevices = TPX10ConfigDeviceConfiguration;

namespace {

using S = TSensorTexts;
using SE = TSensorEdits;
using SO = TSensorEdits::TRowOffer;
using M = TModuleTexts;
using ME = TModuleEdits;
using MO = TModuleEdits::TRowOffer;
using SL = TSensorLists;
using ML = TModuleLists;
constexpr auto ftInteger = TFieldType::ftInteger;

constexpr const char* NumberMask = "09;0; "; // zone and group
constexpr const char* AlarmMask = "!099;0; ";

// Whether a pick list offers the text: a choice the list does not hold changes nothing.
bool Offers(const TColumnOffer& offer, const std::string& text)
{
    return offer.Style == TColumnOffer::Auto && IndexOfText(offer.Items, text) >= 0;
}

// ---- both kinds ----

template <class TTexts> QVariant ReadAddress(const TTexts&, int a)
{
    return a;
}

template <class TTexts> QVariant ReadDescription(const TTexts& x, int a)
{
    return platform::Cp1252ToQString(x.Devices().GetDescription(a));
}

template <class TEdits> TWriteResult WriteDescription(TEdits& e, int a, const std::string& text)
{
    e.Devices().SetDescription(a, text);
    return std::nullopt;
}

template <class TTexts> QVariant ReadZone(const TTexts& x, int a)
{
    return x.Devices().GetZone(a);
}

template <class TTexts> QVariant ReadCBERule(const TTexts& x, int a)
{
    std::string rule;
    return x.GetCBERule(a, rule) ? QVariant(platform::Utf8ToQString(rule)) : QVariant();
}

// A text read through the texts class of the kind.
template <class TTexts, std::string (TTexts::*Get)(int) const> QVariant ReadText(const TTexts& x, int a)
{
    return platform::Utf8ToQString((x.*Get)(a));
}

// The stored value's position in the list its text comes from.
template <class TTexts> int ProtocolCode(const TTexts& x, int a)
{
    return x.Protocol(a);
}

// A level's position in the level list.
template <std::string (S::*Get)(int) const> int LevelCode(const S& x, int a)
{
    return IndexOfText(x.Lists().Levels, (x.*Get)(a));
}

// The entries of the vocabularies named, one after the other.
template <class TLists, auto... Lists> TTextList EntriesOf(const TLists& l)
{
    TTextList out;
    (out.insert(out.end(), (l.*Lists).begin(), (l.*Lists).end()), ...);
    return out;
}

// A choice from the row's pick list, made through the rules' change.
template <auto Offer, auto Change, class TEdits>
TWriteResult WriteChoice(TEdits& e, int a, const std::string& text)
{
    if (Offers(e.RowOffer(a).*Offer, text))
        (e.*Change)(a, text);
    return std::nullopt;
}

// An entry of the row's pick list, stored as its position in the whole list.
template <auto Offer, auto List, auto Set, class TEdits>
TWriteResult WriteListed(TEdits& e, int a, const std::string& text)
{
    if (Offers(e.RowOffer(a).*Offer, text))
        (e.Devices().*Set)(a, IndexOfText(e.Texts().Lists().*List, text));
    return std::nullopt;
}

std::pair<int, int> ZoneRange(TSensorEdits&, int)
{
    return SensorZoneRange;
}

std::pair<int, int> ZoneRange(TModuleEdits& e, int a)
{
    return ModuleZoneRange(e.Devices().GetType(a));
}

template <class TEdits> TWriteResult WriteZone(TEdits& e, int a, const std::string& text)
{
    int v = 0;
    auto [first, last] = ZoneRange(e, a);
    if (!ParseWholeNumber(text, v) || v < first || v > last)
        return InvalidZoneMessage();
    e.Devices().SetZone(a, v);
    return std::nullopt;
}

// ---- sensors ----

int SensorTypeCode(const S& x, int a)
{
    switch (x.Protocol(a)) {
    case dpTorq:
        return x.Devices().GetTorqType(a);
    case dpBrim:
        return x.Devices().GetType(a);
    default:
        return -1;
    }
}

int ApplicationNumberCode(const S& x, int a)
{
    if (x.GetApplNumber(a).empty())
        return -1;
    const int n = x.Devices().GetApplicationNumber(a);
    return n == 255 ? 0 : n;
}

int RemoteOutputCode(const S& x, int a)
{
    return x.IsTorq(a) ? x.Devices().GetRemoteOutput(a) : -1;
}

// Alarm and Day: a value outside 80%..120% is refused with a message.
template <void (TDevices::*Set)(int, int)>
TWriteResult WriteSensitivity(TSensorEdits& e, int a, const std::string& text)
{
    int v = 0;
    if (!e.Texts().ConvertSensitivity(a, text, v))
        return std::nullopt; // nothing readable: the value stays, without a message
    if (v < 80 || v > 120)
        return TFieldMessage { Translate("Sensitivity must be in range") + " 80% - 120%",
            platform::MsgDlgType::mtInformation };
    (e.Devices().*Set)(a, v);
    return std::nullopt;
}

// PA and PD: a level outside the range is refused silently.
template <void (TDevices::*Set)(int, int)>
TWriteResult WritePrealarm(TSensorEdits& e, int a, const std::string& text)
{
    int v = 0;
    if (e.Texts().ConvertPrealarmSensitivity(a, text, v) && v >= 80 && v <= 120)
        (e.Devices().*Set)(a, v);
    return std::nullopt;
}

TWriteResult WriteSensorGroup(TSensorEdits& e, int a, const std::string& text)
{
    int v = 0;
    if (e.Texts().GroupShown(a) && ParseWholeNumber(text, v) && v >= 0 && v <= 50)
        e.Devices().SetGroup(a, v);
    return std::nullopt;
}

// ---- modules ----

int ModuleTypeCode(const M& x, int a)
{
    const int torq = x.Devices().GetTorqType(a);
    return torq != 0 ? torq - 127 : IndexOfText(x.Lists().BrimModuleTypes, x.GetType(a));
}

int FunctionCode(const M& x, int a)
{
    return x.GetFunction(a).empty() ? -1 : x.Devices().GetType(a);
}

int ActionCode(const M& x, int a)
{
    return x.GetAction(a).empty() ? -1 : x.StoredAction(a);
}

TWriteResult WriteModuleCBERule(TModuleEdits& e, int a, const std::string& text)
{
    if (e.Texts().TakesCBERules(a))
        e.Devices().SetCBERuleListText(a, text);
    return std::nullopt;
}

// Every field has its column, in field order. (Whether a read function is
// given is left to the tests that read every column: with the sanitizers on,
// the compiler will not compare a function's address in a constant.)
template <class TColumn, std::size_t Count>
constexpr bool InFieldOrder(const std::array<TColumn, Count>& Columns)
{
    for (std::size_t i = 0; i < Count; ++i)
        if (Columns[i].Field != int(i) + 1 || !Columns[i].Title || Columns[i].Width <= 0
            || (Columns[i].Type == TFieldType::ftString) != (Columns[i].Size > 0))
            return false;
    return true;
}

} // namespace

// clang-format off
constexpr std::array<TSensorColumn, SensorFieldCount> SensorColumns { {
    { .Field = sfAddress, .Title = "Address", .Type = ftInteger, .ReadOnly = true, .Width = 64,
      .Read = ReadAddress },
    { .Field = sfDescription, .Title = "Description", .Size = 20, .CodePage = true, .Width = 172,
      .Read = ReadDescription, .Write = WriteDescription },
    { .Field = sfZone, .Title = "Zone", .Type = ftInteger, .Width = 45, .Mask = NumberMask,
      .Read = ReadZone, .Write = WriteZone },
    { .Field = sfProtocol, .Title = "Protocol", .Size = 10, .Width = 58, .Offer = &SO::Protocol,
      .Entries = EntriesOf<SL, &SL::Protocols>,
      .Read = ReadText<S, &S::GetProtocol>, .Write = WriteChoice<&SO::Protocol, &SE::ChangeProtocol>,
      .Code = ProtocolCode },
    { .Field = sfType, .Title = "Type", .Size = 10, .Width = 58, .Offer = &SO::Type,
      .Entries = EntriesOf<SL, &SL::TorqTypesCommon, &SL::BrimTypesCommon, &SL::BrimTypesViews>,
      .Read = ReadText<S, &S::GetType>, .Write = WriteChoice<&SO::Type, &SE::ChangeType>,
      .Code = SensorTypeCode },
    { .Field = sfAlarm, .Title = "Alarm", .Size = 4, .Width = 50, .Mask = AlarmMask, .Offer = &SO::Alarm,
      .Entries = EntriesOf<SL, &SL::Levels>,
      .Read = ReadText<S, &S::GetFireSensitivity>, .Write = WriteSensitivity<&TDevices::SetFireSensitivity>,
      .Code = LevelCode<&S::GetFireSensitivity> },
    { .Field = sfPA, .Title = "PA", .Size = 2, .Width = 32, .Offer = &SO::PA,
      .Entries = EntriesOf<SL, &SL::Levels>,
      .Read = ReadText<S, &S::GetPrealarmSensitivity>,
      .Write = WritePrealarm<&TDevices::SetPrealarmSensitivity>,
      .Code = LevelCode<&S::GetPrealarmSensitivity> },
    { .Field = sfDay, .Title = "Day", .Size = 4, .Width = 50, .Mask = AlarmMask, .Offer = &SO::Day,
      .Entries = EntriesOf<SL, &SL::Levels>,
      .Read = ReadText<S, &S::GetDayModeSensitivity>,
      .Write = WriteSensitivity<&TDevices::SetDayModeSensitivity>,
      .Code = LevelCode<&S::GetDayModeSensitivity> },
    { .Field = sfPD, .Title = "PD", .Size = 2, .Width = 32, .Offer = &SO::PD,
      .Entries = EntriesOf<SL, &SL::Levels>,
      .Read = ReadText<S, &S::GetDaymodePrealarmSensitivity>,
      .Write = WritePrealarm<&TDevices::SetDayModePrealarmSensitivity>,
      .Code = LevelCode<&S::GetDaymodePrealarmSensitivity> },
    { .Field = sfGroup, .Title = "Group", .Size = 2, .Width = 52, .Mask = NumberMask,
      .Read = ReadText<S, &S::GetGroup>, .Write = WriteSensorGroup },
    { .Field = sfAppNum, .Title = "App.Num.", .Size = 3, .Width = 60, .Offer = &SO::AppNum,
      .Entries = EntriesOf<SL, &SL::ApplicationNumbers>,
      .Read = ReadText<S, &S::GetApplNumber>,
      .Write = WriteListed<&SO::AppNum, &TSensorLists::ApplicationNumbers, &TDevices::SetApplicationNumber>,
      .Code = ApplicationNumberCode },
    { .Field = sfRemOutput, .Title = "Rem. Output", .Size = 15, .Width = 85, .Offer = &SO::RemOutput,
      .Entries = EntriesOf<SL, &SL::RemoteOutputs>,
      .Read = ReadText<S, &S::GetRemoteOP>,
      .Write = WriteListed<&SO::RemOutput, &TSensorLists::RemoteOutputs, &TDevices::SetRemoteOutput>,
      .Code = RemoteOutputCode },
    // The rule list is edited in the range entry its button opens.
    { .Field = sfCBERule, .Title = "CBE Rule", .Size = 60, .Width = 120, .Offer = &SO::CBERule,
      .Read = ReadCBERule },
} };
static_assert(InFieldOrder(SensorColumns));

constexpr std::array<TModuleColumn, ModuleFieldCount> ModuleColumns { {
    { .Field = mfAddress, .Title = "Address", .Type = ftInteger, .ReadOnly = true, .Width = 64,
      .Read = ReadAddress },
    { .Field = mfChannel, .Title = "Channel", .Size = 3, .ReadOnly = true, .Width = 64,
      .Read = ReadText<M, &M::GetChannel> },
    { .Field = mfDescription, .Title = "Description", .Size = 20, .CodePage = true, .Width = 172,
      .Read = ReadDescription, .Write = WriteDescription },
    { .Field = mfZone, .Title = "Zone", .Type = ftInteger, .Width = 45, .Mask = NumberMask,
      .Read = ReadZone, .Write = WriteZone },
    { .Field = mfProtocol, .Title = "Protocol", .Size = 10, .Width = 58, .Offer = &MO::Protocol,
      .Entries = EntriesOf<ML, &ML::Protocols>,
      .Read = ReadText<M, &M::GetProtocol>, .Write = WriteChoice<&MO::Protocol, &ME::ChangeProtocol>,
      .Code = ProtocolCode },
    { .Field = mfType, .Title = "Type", .Size = 10, .Width = 58, .Offer = &MO::Type,
      .Entries = EntriesOf<ML, &ML::TorqTypesCommon, &ML::BrimModuleTypes>,
      .Read = ReadText<M, &M::GetType>, .Write = WriteChoice<&MO::Type, &ME::ChangeType>,
      .Code = ModuleTypeCode },
    { .Field = mfFunction, .Title = "Function", .Size = 10, .Width = 58, .Offer = &MO::Function,
      .Entries = EntriesOf<ML, &ML::Functions>,
      .Read = ReadText<M, &M::GetFunction>, .Write = WriteChoice<&MO::Function, &ME::ChangeFunction>,
      .Code = FunctionCode },
    { .Field = mfAction, .Title = "Action", .Size = 25, .Width = 113, .Offer = &MO::Action,
      .Entries = EntriesOf<ML, &ML::AuxActions>,
      .Read = ReadText<M, &M::GetAction>,
      .Write = WriteListed<&MO::Action, &TModuleLists::AuxActions, &TDevices::SetAction>,
      .Code = ActionCode },
    { .Field = mfCBERule, .Title = "CBE Rule", .Size = 60, .Width = 120, .Offer = &MO::CBERule,
      .Read = ReadCBERule, .Write = WriteModuleCBERule },
} };
static_assert(InFieldOrder(ModuleColumns));
// clang-format on
