// Item blocks of the transfer, encoded and decoded without a port.
#include "PX10ConfigData.h"
#include "Panelpackets.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

using namespace comms;

namespace {

std::unique_ptr<TPX10ConfigData> Fresh()
{
    return std::make_unique<TPX10ConfigData>(false, false, false, false);
}

std::string AsString(const uint8_t* b, std::size_t n)
{
    return std::string(reinterpret_cast<const char*>(b), n);
}

TEST(Identification, FirmwareNumberAndVersion)
{
    EXPECT_EQ(PanelFirmwareNumber("412-301-001 5.07"), 507);
    EXPECT_EQ(PanelFirmwareNumber("SW412-302-01 v5.07b"), 507);
    EXPECT_EQ(PanelFirmwareNumber("412-301-001"), 0);
    EXPECT_EQ(PanelFirmwareNumber(""), 0);
    EXPECT_EQ(PanelFirmwareNumber("412-301-001 NONE"), 0);
    EXPECT_EQ(PanelFirmwareVersion("412-301-001 7.02"), 702);
    EXPECT_EQ(PanelFirmwareVersion("SW412-301-001 6.01"), 601);
    EXPECT_EQ(PanelFirmwareVersion("412-301 5.07"), 99999);
    EXPECT_EQ(PanelFirmwareVersion(""), 99999);
}

TEST(GeneralSetup, LengthByFirmwareVersion)
{
    const std::pair<int, std::size_t> table[] = { { 100, 92 }, { 512, 92 }, { 513, 93 }, { 514, 93 },
        { 515, 103 }, { 599, 103 }, { 600, 95 }, { 601, 96 }, { 602, 103 }, { 700, 103 }, { 701, 99 },
        { 702, 101 }, { 703, 103 }, { 99999, 103 } };
    for (const auto& [version, length] : table)
        EXPECT_EQ(GeneralSetupDataLength(version), length) << version;
}

TEST(GeneralSetup, LayoutOfTheBlock)
{
    auto c = Fresh();
    auto& g = *c->GeneralPanelSetup;
    g.SetSiteName("Depot");
    g.SetDateFormat(7); // only bits 0-1 travel
    g.SetBlinking(true);
    g.SetPulseRatio(1);
    g.SetExtendDelay(0x1234);
    g.SetRS232ThirdPartySuspendCommsLimit(0x0A0B);
    g.SetRS485ThirdPartySuspendCommsLimit(0x0C0D);
    g.SetHightestWord(0x8000 | 300);
    c->OnboardOutputCircuits->SetEOLMode(4);
    g.SetRoutingAutoDisable(5);
    g.SetAutoResoundMode(6);
    std::array<uint8_t, GeneralSetupBlockSize> b {};
    EncodeGeneralSetup(*c, b.data());
    EXPECT_EQ(b[0], 0x55);
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(b[2], 3 | 4 | 8);
    EXPECT_EQ(b[3], 0x12);
    EXPECT_EQ(b[4], 0x34);
    EXPECT_EQ(AsString(b.data() + 5, 20), "Depot               ");
    EXPECT_EQ(b[52], 0x81);
    EXPECT_EQ(b[53], 0x2C);
    EXPECT_EQ(b[71], 0x0A);
    EXPECT_EQ(b[72], 0x0B);
    EXPECT_EQ(b[89], 0x0C);
    EXPECT_EQ(b[90], 0x0D);
    // Firmware 600 sends offsets 0 to 94: end-of-line mode and routing, no auto-resound.
    ASSERT_EQ(GeneralSetupDataLength(600), 95u);
    EXPECT_EQ(b[93], 4);
    EXPECT_EQ(b[94], 5);
    EXPECT_EQ(b[95], 6);

    // The two suspend limits come back into their own options.
    auto r = Fresh();
    b[5 + 5] = ' ';
    b[0] = ReceiveMarker;
    b[71] = 0x01;
    b[72] = 0x02;
    b[89] = 0x03;
    b[90] = 0x04;
    DecodeGeneralSetup(*r, b.data());
    EXPECT_EQ(r->GeneralPanelSetup->GetSiteName(), "Depot");
    EXPECT_EQ(r->GeneralPanelSetup->GetRS232ThirdPartySuspendCommsLimit(), 0x0102);
    EXPECT_EQ(r->GeneralPanelSetup->GetRS485ThirdPartySuspendCommsLimit(), 0x0304);
    EXPECT_EQ(r->GeneralPanelSetup->GetHightestWord(), 0x8000 | 300);
    EXPECT_EQ(r->GeneralPanelSetup->GetDateFormat(), 3);
    EXPECT_EQ(r->OnboardOutputCircuits->GetEOLMode(), 4);
}

TEST(GeneralSetup, ReceivedTextStopsAtZeroAndIsTrimmed)
{
    auto c = Fresh();
    std::array<uint8_t, GeneralSetupBlockSize> b {};
    EncodeGeneralSetup(*c, b.data());
    const char name[20] = { ' ', ' ', 'A', ' ', 'B', '\t', ' ', 0, 'X', 'Y' };
    std::copy(name, name + 20, b.begin() + 5);
    DecodeGeneralSetup(*c, b.data());
    EXPECT_EQ(c->GeneralPanelSetup->GetSiteName(), "A B");
}

TEST(ZoneText, ZoneSevenOnTheWire)
{
    auto c = Fresh();
    c->ZoneTexts->SetZoneText(7, "Stairs");
    std::array<uint8_t, ZoneTextBlockSize> b {};
    EncodeZoneText(*c, 7, b.data());
    EXPECT_EQ(AsString(b.data(), b.size()), std::string("\x55\x07Stairs", 8) + std::string(14, ' '));
    auto r = Fresh();
    b[0] = ReceiveMarker;
    EXPECT_TRUE(DecodeZoneText(*r, b.data()));
    EXPECT_EQ(r->ZoneTexts->GetZoneText(7), "Stairs");
    b[1] = 33;
    EXPECT_FALSE(DecodeZoneText(*r, b.data()));
    b[1] = 0;
    EXPECT_FALSE(DecodeZoneText(*r, b.data()));
}

TEST(GsmItem, PrealarmTravelsBeforeFault)
{
    auto c = Fresh();
    c->GsmItems->SetPrealarm(2, true);
    c->GsmItems->SetFault(2, false);
    c->GsmItems->SetQtyFault(2, 9);
    std::array<uint8_t, GsmItemBlockSize> b {};
    EncodeGsmItem(*c, 2, b.data());
    EXPECT_EQ(b[1], 2);
    EXPECT_EQ(b[23], 1);
    EXPECT_EQ(b[24], 0);
    EXPECT_EQ(b[32], 9);
    b[23] = 0;
    b[24] = 7;
    auto r = Fresh();
    EXPECT_TRUE(DecodeGsmItem(*r, b.data()));
    EXPECT_FALSE(r->GsmItems->GetPrealarm(2));
    EXPECT_TRUE(r->GsmItems->GetFault(2));
    b[1] = 6;
    EXPECT_FALSE(DecodeGsmItem(*r, b.data()));
}

TEST(CBERule, InputDevicesAndZoneNibbles)
{
    auto c = Fresh();
    c->CBERules->SetDeviceKind(4, 1, 1);
    c->CBERules->SetDeviceAddress(4, 1, 33);
    c->CBERules->SetDeviceKind(4, 2, 2);
    c->CBERules->SetDeviceAddress(4, 2, 12);
    c->CBERules->SetDeviceKind(4, 3, 0);
    c->CBERules->SetZoneCondition(4, 1, 2);
    c->CBERules->SetZoneCondition(4, 2, 4);
    c->CBERules->SetFlagsByte(4, 0xFF);
    std::array<uint8_t, CBERuleBlockSize> b {};
    EncodeCBERule(*c, 4, b.data());
    EXPECT_EQ(b[1], 4);
    EXPECT_EQ(b[3], 0x3F);
    EXPECT_EQ(b[4], 0x42);
    EXPECT_EQ(b[12], 33);
    EXPECT_EQ(b[13], 112);
    EXPECT_EQ(b[14], 0);
    auto r = Fresh();
    for (int v : { 100, 250, 0, 200 }) {
        b[13] = static_cast<uint8_t>(v);
        ASSERT_TRUE(DecodeCBERule(*r, b.data()));
        EXPECT_EQ(r->CBERules->GetDeviceKind(4, 2), 0) << v;
        EXPECT_EQ(r->CBERules->GetDeviceAddress(4, 2), 0) << v;
    }
    b[13] = 199;
    ASSERT_TRUE(DecodeCBERule(*r, b.data()));
    EXPECT_EQ(r->CBERules->GetDeviceKind(4, 2), 2);
    EXPECT_EQ(r->CBERules->GetDeviceAddress(4, 2), 99);
    EXPECT_EQ(r->CBERules->GetDeviceKind(4, 1), 1);
    EXPECT_EQ(r->CBERules->GetDeviceAddress(4, 1), 33);
    EXPECT_EQ(r->CBERules->GetZoneCondition(4, 2), 4);
    b[1] = 65;
    EXPECT_FALSE(DecodeCBERule(*r, b.data()));
}

TEST(DeviceTypes, TranslationBothWays)
{
    EXPECT_EQ(SensorTypeToPanel(4), 11);
    EXPECT_EQ(ModuleTypeToPanel(4), 4);
    EXPECT_EQ(PanelToSensorType(14), 0);
    EXPECT_EQ(SensorTypeToPanel(12), 0);
    EXPECT_EQ(ModuleTypeToPanel(20), 27);
    EXPECT_EQ(ModuleTypeToPanel(21), 0);
    EXPECT_EQ(SensorTypeToPanel(0), 0);
    for (int t = 1; t <= 11; ++t)
        EXPECT_EQ(PanelToSensorType(SensorTypeToPanel(t)), t);
    for (int t = 1; t <= 20; ++t)
        EXPECT_EQ(PanelToModuleType(ModuleTypeToPanel(t)), t);
}

TEST(Point, TorqChannelsAndTypes)
{
    auto c = Fresh();
    c->Modules->SetType(12, 4);
    c->Modules->SetTorqType(12, 133);
    c->Modules->SetChannel(12, 2);
    c->Sensors->SetType(3, 4);
    std::array<uint8_t, PointBlockSize> b {};
    EncodePoint(*c, 112, b.data());
    EXPECT_EQ(b[0], 0x55);
    EXPECT_EQ(b[1], 0x01);
    EXPECT_EQ(b[2], 112);
    EXPECT_EQ(b[24], 4);
    EXPECT_EQ(b[42], 133);
    EXPECT_EQ(b[45], 1);
    auto r = Fresh();
    ASSERT_TRUE(DecodePoint(*r, 112, b.data()));
    EXPECT_EQ(r->Modules->GetChannel(12), 2);
    EXPECT_EQ(r->Modules->GetType(12), 4);
    b[42] = 0; // not TORQ 133/134: the channel travels as it is
    ASSERT_TRUE(DecodePoint(*r, 112, b.data()));
    EXPECT_EQ(r->Modules->GetChannel(12), 1);

    EncodePoint(*c, 3, b.data());
    EXPECT_EQ(b[24], 11);
    b[24] = 14;
    ASSERT_TRUE(DecodePoint(*r, 3, b.data()));
    EXPECT_EQ(r->Sensors->GetType(3), 0);
    EXPECT_FALSE(DecodePoint(*r, 100, b.data()));
    EXPECT_FALSE(DecodePoint(*r, 0, b.data()));
}

TEST(Point, RulesFromAMaskOrASingleRule)
{
    auto c = Fresh();
    const unsigned char mask[8] = { 0, 0x10, 0, 0, 0, 0, 0, 0x80 }; // rules 13 and 64
    c->Sensors->SetRuleMask(9, mask);
    c->Sensors->SetBaseCBERule(9, 10);
    std::array<uint8_t, PointBlockSize> b {};
    EncodePoint(*c, 9, b.data());
    EXPECT_EQ(b[25], 13);
    EXPECT_EQ(b[32], 10);
    EXPECT_EQ(AsString(b.data() + 33, 8), AsString(mask, 8));

    // Without a mask the panel's one rule replaces whatever the mask held.
    auto r = Fresh();
    const unsigned char full[8] = { 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF };
    r->Sensors->SetRuleMask(9, full);
    b[32] = 0;
    b[25] = 50;
    ASSERT_TRUE(DecodePoint(*r, 9, b.data()));
    EXPECT_EQ(r->Sensors->GetBaseCBERule(9), 41);
    for (int rule = 1; rule <= 64; ++rule)
        EXPECT_EQ(r->Sensors->IsInCBERule(9, rule), rule == 50) << rule;
    EXPECT_EQ(r->Sensors->GetSingleCBERule(9), 50);
}

TEST(OnboardOutputs, SingleRuleBelowFirmware504)
{
    auto c = Fresh();
    auto& o = *c->OnboardOutputCircuits;
    const unsigned char none[3] = {};
    o.SetCircuitBaseRule(2, 5);
    o.SetCircuitRuleMask(2, none);
    o.SetCircuitInCBERule(2, 9, true);
    o.SetCircuitInCBERule(2, 12, true);
    std::array<uint8_t, OnboardOutputBlockSize> b {};
    EncodeOnboardOutputs(*c, 503, b.data());
    EXPECT_EQ(b[0], 0x55);
    EXPECT_EQ(b[3], o.GetCircuitType(2));
    EXPECT_EQ(b[4], 9);
    EXPECT_EQ(AsString(b.data() + 16, 3), std::string(3, '\0'));

    // Receiving rule 30 gives base 7 holding rule 30 alone.
    b[4] = 30;
    DecodeOnboardOutputs(*c, 503, b.data());
    EXPECT_EQ(o.GetCircuitBaseRule(2), 7);
    for (int rule = 7; rule <= 30; ++rule)
        EXPECT_EQ(o.IsCircuitInCBERule(2, rule), rule == 30) << rule;
    b[4] = 3;
    DecodeOnboardOutputs(*c, 503, b.data());
    EXPECT_EQ(o.GetCircuitBaseRule(2), 1);
    EXPECT_TRUE(o.IsCircuitInCBERule(2, 3));
}

TEST(OnboardOutputs, WindowsFromFirmware504)
{
    auto c = Fresh();
    auto& o = *c->OnboardOutputCircuits;
    o.SetCircuitBaseRule(6, 20);
    const unsigned char mask[3] = { 0x81, 0x02, 0x40 };
    o.SetCircuitRuleMask(6, mask);
    std::array<uint8_t, OnboardOutputBlockSize> b {};
    EncodeOnboardOutputs(*c, 504, b.data());
    EXPECT_EQ(b[12], 20);
    EXPECT_EQ(AsString(b.data() + 28, 3), AsString(mask, 3));
    auto r = Fresh();
    DecodeOnboardOutputs(*r, 504, b.data());
    EXPECT_EQ(r->OnboardOutputCircuits->GetCircuitBaseRule(6), 20);
    unsigned char back[3];
    r->OnboardOutputCircuits->GetCircuitRuleMask(6, back);
    EXPECT_EQ(AsString(back, 3), AsString(mask, 3));
}

} // namespace
