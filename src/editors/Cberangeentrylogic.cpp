#include "Cberangeentrylogic.h"

#include "Cberulelogic.h"
#include "DeviceTexts.h"
#include "Ivdictio.h"
#include "PX10ConfigData.h"

#include <algorithm>

bool TCBERangeEntryLogic::IsValidDeviceId(int id)
{
    return (id >= 1 && id <= 99) || (id >= 101 && id <= 199) || (id >= 1001 && id <= 1006);
}

TCBERangeEntryLogic::TCBERangeEntryLogic(TPX10ConfigData& config, int deviceId)
    : FConfig(&config)
    , FDeviceId(deviceId)
    , FKind(deviceId < 100      ? Kind::Sensor
              : deviceId < 1000 ? Kind::Module
                                : Kind::Circuit)
{
    FShownBase = std::clamp(StoredBase(), MinBase, MaxBase);
}

int TCBERangeEntryLogic::Address() const
{
    return FDeviceId % (FKind == Kind::Circuit ? 1000 : 100);
}

std::string TCBERangeEntryLogic::Caption() const
{
    const char* kind = FKind == Kind::Sensor ? IvNative("Sensor")
        : FKind == Kind::Module              ? IvNative("Module")
                                             : IvNative("Bell");
    return Translate("CBE Range Entry") + " - " + Translate(kind) + " " + std::to_string(FDeviceId % 100);
}

int TCBERangeEntryLogic::StoredBase() const
{
    switch (FKind) {
    case Kind::Sensor:
        return FConfig->Sensors->GetBaseCBERule(Address());
    case Kind::Module:
        return FConfig->Modules->GetBaseCBERule(Address());
    default:
        return FConfig->OnboardOutputCircuits->GetCircuitBaseRule(Address());
    }
}

void TCBERangeEntryLogic::SetBaseRule(int base)
{
    FShownBase = std::clamp(base, MinBase, MaxBase);
    switch (FKind) {
    case Kind::Sensor:
        FConfig->Sensors->SetBaseCBERule(Address(), FShownBase);
        break;
    case Kind::Module:
        FConfig->Modules->SetBaseCBERule(Address(), FShownBase);
        break;
    case Kind::Circuit:
        FConfig->OnboardOutputCircuits->SetCircuitBaseRule(Address(), FShownBase);
        break;
    }
}

bool TCBERangeEntryLogic::IsMember(int rule) const
{
    switch (FKind) {
    case Kind::Sensor:
        return FConfig->Sensors->IsInCBERule(Address(), rule);
    case Kind::Module:
        return FConfig->Modules->IsInCBERule(Address(), rule);
    default:
        return FConfig->OnboardOutputCircuits->IsCircuitInCBERule(Address(), rule);
    }
}

void TCBERangeEntryLogic::SetMember(int rule, bool in)
{
    switch (FKind) {
    case Kind::Sensor:
        FConfig->Sensors->SetInCBERule(Address(), rule, in);
        break;
    case Kind::Module:
        FConfig->Modules->SetInCBERule(Address(), rule, in);
        break;
    case Kind::Circuit:
        FConfig->OnboardOutputCircuits->SetCircuitInCBERule(Address(), rule, in);
        break;
    }
}

std::string TCBERangeEntryLogic::EntryText(int i) const
{
    const int rule = FShownBase + i;
    return std::to_string(rule) + " - " + cberules::RuleTypeText(*FConfig->CBERules, rule);
}

bool TCBERangeEntryLogic::IsTicked(int i) const
{
    return i >= 0 && i < Entries && IsMember(FShownBase + i);
}

void TCBERangeEntryLogic::SetTicked(int i, bool ticked)
{
    if (i >= 0 && i < Entries)
        SetMember(FShownBase + i, ticked);
}

std::string TCBERangeEntryLogic::RuleListText() const
{
    switch (FKind) {
    case Kind::Sensor:
        return FConfig->Sensors->GetShownCBERuleListText(Address());
    case Kind::Module:
        return FConfig->Modules->GetShownCBERuleListText(Address());
    default:
        return FConfig->OnboardOutputCircuits->GetCircuitRuleListText(Address());
    }
}

bool TCBERangeEntryLogic::ShowsLoopPowered() const
{
    return FKind == Kind::Module && FConfig->Modules->TypeSupportsLoopPoweredOutput(Address());
}

bool TCBERangeEntryLogic::LoopPowered() const
{
    return FKind == Kind::Module && FConfig->Modules->GetLoopPoweredOutput(Address());
}

void TCBERangeEntryLogic::SetLoopPowered(bool on)
{
    if (FKind == Kind::Module)
        FConfig->Modules->SetLoopPoweredOutput(Address(), on);
}

int TCBERangeEntryLogic::RuleEditorClosedOn(int shownLast)
{
    const int i = shownLast - FShownBase;
    if (i < 0 || i >= Entries)
        return -1;
    SetTicked(i, true);
    return i;
}
