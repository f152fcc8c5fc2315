// A whole configuration to the simulated panel and back, and the stage table
// as firmware versions change it.
#include "Panelpackets.h"
#include "TransferTestUtil.h"

#include <gtest/gtest.h>

namespace {

// Every option the protocol carries set away from its default.
void FillEverything(TPX10ConfigData& c)
{
    auto& g = *c.GeneralPanelSetup;
    g.SetSiteName(std::string("Caf\xE9 \xF1\xFD\xFA\xF0 site"));
    g.SetServicePhoneNo("0800 123 456");
    g.SetDateFormat(2);
    g.SetBlinking(false);
    g.SetPulseRatio(1);
    g.SetExtendDelay(0x01F2);
    g.SetControlKeys(false);
    g.SetRS485QtyRepeaters(5);
    g.SetDayModeStartTime(8 * 60 + 30);
    g.SetDayModeEndTime(18 * 60 + 15);
    g.SetWeekendNightMode(false);
    g.SetHightestWord(7 * 60 + 45);
    g.SetRS485Protocol(3);
    g.SetPrimaryDelay(0x0123);
    g.SetDigitalInput1(true);
    g.SetTransmissionDevice(true);
    g.SetFWPInput4Disable(true);
    g.SetRS232Protocol(4);
    g.SetEventPrinting(true);
    g.SetPrintFormat(true);
    g.SetExtSystemDelay(150);
    g.SetRS232Options(7);
    g.SetExtSystemSoakTime(0x0304);
    g.SetHoldSwitchOperation(2);
    g.SetFWP2OutputActivation(3);
    g.SetRS232ThirdPartyDatalinkMonitoring(false);
    g.SetRS232ThirdPartySuspendCommsLimit(0x0506);
    g.SetLED1HMode(2);
    g.SetLED2CMode(3);
    g.SetControlKey3Mode(1);
    g.SetHeatDetectorsEndDelays(true);
    g.SetDelaysActiveIndication(2);
    g.SetUnmuteOption(1);
    g.SetDayModeNewAlarmOption(2);
    g.SetDayModeStartOption(true);
    g.SetFireOutputActiveLEDOption(true);
    g.SetDayModeSensitivityStartTime(300);
    g.SetDayModeSensitivityEndTime(1200);
    g.SetWeekendSensitivityNightMode(true);
    g.SetMainsDelay(9);
    g.SetRS485ThirdPartyDatalinkMonitoring(false);
    g.SetRS485ThirdPartySuspendCommsLimit(0x0708);
    g.SetFiremansWorkPanelOption(2);
    g.SetSuppressDoubleAddress(1);
    g.SetRoutingAutoDisable(1);
    g.SetAutoResoundMode(3);
    g.SetServiceDueWord((31 << 10) | (6 << 6) | (15 << 1));
    g.SetMaxHeadLEDs(true);
    g.SetLampTest(true);
    g.SetTorqSwitch(true);
    g.SetSensorsBlinkColour(true);
    g.SetModulesBlinkColour(true);

    auto& o = *c.OnboardOutputCircuits;
    o.SetEOLMode(2);
    for (int n = 1; n <= 6; ++n) {
        o.SetCircuitType(n, (n + 2) % 5);
        o.SetCircuitBaseRule(n, 3 * n + 1);
        const unsigned char mask[3]
            = { static_cast<unsigned char>(0x5A ^ n), static_cast<unsigned char>(n), 0x81 };
        o.SetCircuitRuleMask(n, mask);
    }

    auto& r = *c.CBERules;
    for (int rule = 1; rule <= 64; ++rule) {
        r.SetRuleType(rule, (rule + 1) % 12);
        r.SetFlagsByte(rule, (rule * 5) % 64);
        for (int z = 1; z <= 16; ++z)
            r.SetZoneCondition(rule, z, (rule + z) % 5);
        r.SetDeviceKind(rule, 1, 1);
        r.SetDeviceAddress(rule, 1, rule % 99 + 1);
        r.SetDeviceKind(rule, 2, 2);
        r.SetDeviceAddress(rule, 2, (rule * 7) % 99 + 1);
        r.SetDeviceKind(rule, 3, 1);
        r.SetDeviceAddress(rule, 3, 99);
        r.SetFilterType(rule, rule % 7);
    }

    for (int z = 1; z <= 32; ++z)
        c.ZoneTexts->SetZoneText(z, "Zone " + std::to_string(z) + " floor " + std::string(z % 5 + 1, 'x'));

    auto& s = *c.GsmItems;
    for (int i = 1; i <= 5; ++i) {
        s.SetNumber(i, "+44790000" + std::to_string(i));
        s.SetAlarm(i, i % 2 == 0);
        s.SetPrealarm(i, i % 3 != 0);
        s.SetFault(i, i == 1);
        s.SetControls(i, true);
        s.SetGeneralDisable(i, i > 2);
        s.SetZoneDisable(i, i % 2 == 1);
        s.SetDeviceDisable(i, true);
        s.SetSystemDisable(i, i == 5);
        s.SetQtyAlarm(i, i);
        s.SetQtyPreAlarm(i, i + 10);
        s.SetQtyFault(i, i + 20);
    }

    for (int kind = 0; kind < 2; ++kind) {
        auto& d = kind == 0 ? *c.Sensors : *c.Modules;
        for (int a = 1; a <= 99; ++a) {
            d.SetDescription(a, (kind == 0 ? "Sensor " : "Module ") + std::to_string(a) + " room");
            d.SetZone(a, a % 32 + 1);
            d.SetType(a, kind == 0 ? a % 11 + 1 : a % 20 + 1);
            d.SetBaseCBERule(a, a % 41 + 1);
            unsigned char mask[8];
            for (int i = 0; i < 8; ++i)
                mask[i] = static_cast<unsigned char>((a * 13 + i * 29) | (i == 7 ? 1 : 0));
            d.SetRuleMask(a, mask);
            int first = 1;
            while (!d.IsInCBERule(a, first))
                ++first;
            d.SetSingleCBERule(a, first); // the panel keeps only the first rule there
            d.SetFireSensitivity(a, 50 + a);
            d.SetDayModeSensitivity(a, 60 + a);
            d.SetPrealarmSensitivity(a, 70 + a);
            d.SetDayModePrealarmSensitivity(a, 80 + a);
            d.SetGroup(a, a % 9);
            d.SetAction(a, a % 11);
            d.SetLoopPoweredOutput(a, true);
            if (a % 3 == 0) {
                d.SetTorqType(a, kind == 0 ? a : (a % 2 ? 133 : 134));
                d.SetChannel(a, a % 3 + 1);
            }
            d.SetApplicationNumber(a, a % 17);
            d.SetRemoteOutput(a, a % 4);
        }
    }
}

struct RecordRef {
    std::string Name;
    const TPX10ConfigRecord* (*Get)(const TPX10ConfigData&, int);
    int Count;
};

const std::vector<RecordRef>& AllRecords()
{
    static const std::vector<RecordRef> refs = {
        { "header", [](const TPX10ConfigData& c, int) { return c.FileHeader->GetRecord(); }, 1 },
        { "general 1", [](const TPX10ConfigData& c, int) { return c.GeneralPanelSetup->GetFirstRecord(); },
            1 },
        { "general 2", [](const TPX10ConfigData& c, int) { return c.GeneralPanelSetup->GetSecondRecord(); },
            1 },
        { "on-board", [](const TPX10ConfigData& c, int) { return c.OnboardOutputCircuits->GetRecord(); }, 1 },
        { "sensor", [](const TPX10ConfigData& c, int i) { return c.Sensors->GetRecord(i); }, 99 },
        { "module", [](const TPX10ConfigData& c, int i) { return c.Modules->GetRecord(i); }, 99 },
        { "rule", [](const TPX10ConfigData& c, int i) { return c.CBERules->GetRecord(i); }, 64 },
        { "zone", [](const TPX10ConfigData& c, int i) { return c.ZoneTexts->GetRecord(i); }, 32 },
        { "gsm", [](const TPX10ConfigData& c, int i) { return c.GsmItems->GetRecord(i); }, 5 },
    };
    return refs;
}

// Every differing byte, as "part n @offset: a != b".
std::vector<std::string> Differences(const TPX10ConfigData& a, const TPX10ConfigData& b)
{
    std::vector<std::string> out;
    for (const auto& ref : AllRecords())
        for (int i = 1; i <= ref.Count; ++i)
            for (int off = 0; off < TPX10ConfigRecord::DataSize; ++off) {
                const int x = ref.Get(a, i)->GetByte(off);
                const int y = ref.Get(b, i)->GetByte(off);
                if (x != y)
                    out.push_back(ref.Name + " " + std::to_string(i) + " @" + std::to_string(off) + ": "
                        + std::to_string(x) + " != " + std::to_string(y));
            }
    return out;
}

TEST(TransferRoundTrip, EveryRecordComesBackAsSent)
{
    TransferFixture f;
    auto sent = NewConfig();
    FillEverything(*sent);
    ASSERT_TRUE(f.Send(*sent));
    EXPECT_FALSE(f.proto->IsOpen());
    EXPECT_EQ(f.transfer.State().ProgressMax, 232 + 64 + 5);
    EXPECT_EQ(f.transfer.State().Progress, 301);
    EXPECT_EQ(f.transfer.RequestsSent(), 301u);
    EXPECT_EQ(f.passcodePrompts, 1);
    // Send ended with no handler left on the port.
    EXPECT_FALSE(f.proto->OnPacketReceived);
    EXPECT_FALSE(f.proto->OnPacketRxError);

    auto received = NewConfig();
    ASSERT_TRUE(f.Receive(*received));
    EXPECT_EQ(f.passcodePrompts, 1); // no passcode for a receive
    const auto diff = Differences(*sent, *received);
    EXPECT_TRUE(diff.empty()) << diff.size() << " bytes differ, first: " << diff.front();
    EXPECT_TRUE(received->IsModified());
}

TEST(TransferRoundTrip, PointsSkipOneHundredAndEscapedTextsArriveIntact)
{
    TransferFixture f;
    auto sent = NewConfig();
    FillEverything(*sent);
    ASSERT_TRUE(f.Send(*sent));
    const auto points = f.RequestsOf(0x52);
    ASSERT_EQ(points.size(), 198u);
    EXPECT_EQ(static_cast<uint8_t>(points[98].Data[2]), 99);
    EXPECT_EQ(static_cast<uint8_t>(points[99].Data[2]), 101);
    for (const auto& p : points)
        EXPECT_NE(static_cast<uint8_t>(p.Data[2]), 100);
    const std::string general = f.panel.StoredBlock(0x4A, 0);
    ASSERT_EQ(general.size(), 103u);
    EXPECT_EQ(general.substr(5, 20), std::string("Caf\xE9 \xF1\xFD\xFA\xF0 site      "));
}

// Firmware number -> (rules, GSM stage, progress maximum, general block length).
struct Variant {
    int Firmware;
    std::size_t Rules;
    bool Gsm;
    int ProgressMax;
    std::size_t GeneralLength;
};

class FirmwareVariants : public ::testing::TestWithParam<Variant> { };

TEST_P(FirmwareVariants, StagesFollowTheFirmware)
{
    const Variant v = GetParam();
    TransferFixture f;
    f.panel.SetIdentification(SimulatedPanel::MakeIdentification("301", v.Firmware));
    auto config = NewConfig();
    ASSERT_TRUE(f.Send(*config));
    EXPECT_EQ(f.transfer.FirmwareNumber(), v.Firmware);
    EXPECT_EQ(f.RequestsOf(0x50).size(), v.Rules);
    EXPECT_EQ(f.RequestsOf(0x5C).size(), v.Gsm ? 5u : 0u);
    EXPECT_EQ(f.transfer.State().ProgressMax, v.ProgressMax);
    auto general = f.RequestsOf(0x4A);
    ASSERT_GE(general.size(), 2u); // detection, then the block
    EXPECT_EQ(general.back().Data.size(), v.GeneralLength);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, FirmwareVariants,
    ::testing::Values(Variant { 401, 32, false, 264, 92 }, Variant { 402, 64, false, 296, 92 },
        Variant { 506, 64, false, 296, 92 }, Variant { 507, 64, true, 301, 92 },
        Variant { 512, 64, true, 301, 92 }, Variant { 513, 64, true, 301, 93 },
        Variant { 514, 64, true, 301, 93 }, Variant { 515, 64, true, 301, 103 },
        Variant { 599, 64, true, 301, 103 }, Variant { 600, 64, true, 301, 95 },
        Variant { 601, 64, true, 301, 96 }, Variant { 602, 64, true, 301, 103 },
        Variant { 700, 64, true, 301, 103 }, Variant { 701, 64, true, 301, 99 },
        Variant { 702, 64, true, 301, 101 }, Variant { 703, 64, true, 301, 103 }));

TEST(TransferVariants, UnparsableIdentificationSendsTheFullGeneralBlock)
{
    TransferFixture f;
    f.panel.SetIdentification("412-301 PANEL v5.07x");
    auto config = NewConfig();
    ASSERT_TRUE(f.Send(*config));
    EXPECT_EQ(f.transfer.FirmwareVersion(), 99999);
    EXPECT_EQ(f.RequestsOf(0x4A).back().Data.size(), 103u);
}

TEST(TransferVariants, OnboardRuleWindowsOnlyFromFirmware504)
{
    for (int fw : { 503, 504 }) {
        TransferFixture f;
        f.panel.SetIdentification(SimulatedPanel::MakeIdentification("301", fw));
        auto config = NewConfig();
        config->OnboardOutputCircuits->SetCircuitBaseRule(1, 5);
        const unsigned char none[3] = {};
        config->OnboardOutputCircuits->SetCircuitRuleMask(1, none);
        config->OnboardOutputCircuits->SetCircuitInCBERule(1, 9, true);
        config->OnboardOutputCircuits->SetCircuitInCBERule(1, 12, true);
        ASSERT_TRUE(f.Send(*config));
        const std::string block = f.panel.StoredBlock(0x4E, 0);
        ASSERT_EQ(block.size(), 31u);
        if (fw == 503) {
            EXPECT_EQ(block[2], 9);
            EXPECT_EQ(block.substr(13, 3), std::string(3, '\0'));
        } else {
            EXPECT_EQ(block[2], 5);
            EXPECT_EQ(static_cast<uint8_t>(block[13]), 0x10 | 0x80); // rules 9 and 12 from base 5
        }
    }
}

TEST(TransferVariants, ReceiveTakesThePanelTypeFromTheIdentification)
{
    TransferFixture f;
    f.panel.SetIdentification(SimulatedPanel::MakeIdentification("303", 703));
    auto config = NewConfig();
    ASSERT_TRUE(f.Receive(*config));
    EXPECT_EQ(config->FileHeader->GetPanelType(), 1);

    TransferFixture g;
    g.panel.SetIdentification("PANEL WITHOUT TYPE  ");
    auto other = NewConfig();
    ASSERT_TRUE(g.Receive(*other));
    EXPECT_EQ(other->FileHeader->GetPanelType(), 0);
}

TEST(TransferVariants, ShortGeneralReplyKeepsTheReceivingConfigurationsTail)
{
    TransferFixture f;
    auto sent = NewConfig();
    FillEverything(*sent);
    ASSERT_TRUE(f.Send(*sent));
    f.panel.SetGeneralReplyLength(92);
    auto received = NewConfig();
    received->GeneralPanelSetup->SetRoutingAutoDisable(7);
    received->OnboardOutputCircuits->SetEOLMode(5);
    ASSERT_TRUE(f.Receive(*received));
    EXPECT_EQ(received->GeneralPanelSetup->GetRoutingAutoDisable(), 7);
    EXPECT_EQ(received->OnboardOutputCircuits->GetEOLMode(), 5);
    EXPECT_EQ(received->GeneralPanelSetup->GetFiremansWorkPanelOption(), 2); // offset 91 came
    EXPECT_FALSE(received->GeneralPanelSetup->GetTorqSwitch());
}

} // namespace
