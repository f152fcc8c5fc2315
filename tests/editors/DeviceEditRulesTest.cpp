// The sensor and module editing rules, without widgets.
#include "DeviceEditRules.h"
#include "PX10ConfigData.h"

#include <gtest/gtest.h>

namespace {

struct Config {
    TPX10ConfigData Data { false, false, true, false };
    TPX10ConfigDeviceConfiguration& S = *Data.Sensors;
    TPX10ConfigDeviceConfiguration& M = *Data.Modules;

    void BrimSensor(int a, int type, int group = 0)
    {
        S.SetType(a, type);
        S.SetGroup(a, group);
    }
    void TorqSensor(int a, int torqType, int type)
    {
        S.SetTorqType(a, torqType);
        S.SetType(a, type);
    }
    // n BRIM sensors from address 1 on, then n - 99 BRIM modules.
    void BrimDevices(int n)
    {
        for (int i = 1; i <= n; ++i)
            (i <= 99 ? S : M).SetType(i <= 99 ? i : i - 99, 2);
    }
    void TorqModule(int a, int torqType, int function, int channel = 0)
    {
        M.SetTorqType(a, torqType);
        M.SetType(a, function);
        M.SetChannel(a, channel);
    }
};

} // namespace

TEST(SensorTexts, NewConfigurationShowsEmptyRows)
{
    Config c;
    TSensorTexts x(c.S, true);
    EXPECT_EQ(x.GetProtocol(7), " - ");
    EXPECT_EQ(x.GetType(7), "");
    EXPECT_EQ(x.GetFireSensitivity(7), "100%");
    EXPECT_EQ(x.GetDayModeSensitivity(7), "100%");
    EXPECT_EQ(x.GetPrealarmSensitivity(7), "");
    EXPECT_EQ(x.GetGroup(7), "");
    EXPECT_EQ(x.GetApplNumber(7), "");
    EXPECT_EQ(x.GetRemoteOP(7), "");
    std::string rule;
    EXPECT_FALSE(x.GetCBERule(7, rule));
    EXPECT_EQ(x.SensorTypeText(7), " - ");
}

TEST(SensorTexts, SensitivityClassesAtTheirBorders)
{
    Config c;
    TSensorTexts x(c.S, true);
    c.TorqSensor(1, 20, 2); // every TORQ sensor: L8
    c.BrimSensor(2, 7); // OPX ungrouped: L8
    c.BrimSensor(3, 4); // MLT ungrouped: L10
    c.BrimSensor(4, 5); // AVS: L5
    c.BrimSensor(5, 8); // LSR: L5
    c.BrimSensor(6, 2, 3); // OPT grouped: L5
    c.BrimSensor(7, 2); // OPT: %
    c.BrimSensor(8, 12); // a type beyond the list: %
    const TSensitivityClass expected[] = { scL8, scL8, scL10, scL5, scL5, scL5, scPercent, scPercent };
    for (int a = 1; a <= 8; ++a)
        EXPECT_EQ(x.SensitivityClass(a), expected[a - 1]) << a;
    // Without groups on the panel the group byte does not count.
    TSensorTexts noGroups(c.S, false);
    EXPECT_EQ(noGroups.SensitivityClass(6), scPercent);

    struct Case {
        int a, value;
        const char* text;
    } cases[] = {
        { 1, 80, "L1" },
        { 1, 120, "L6" },
        { 1, 100, "L3" },
        { 1, 79, "L1" },
        { 1, 61, "61" },
        { 1, 144, "L9" },
        { 1, 152, "152" },
        { 3, 80, "L1" },
        { 3, 120, "L5" },
        { 3, 164, "L9" },
        { 3, 175, "175" },
        { 4, 80, "L1" },
        { 4, 120, "L9" },
        { 4, 125, "125" },
        { 7, 79, "79%" },
        { 7, 255, "255%" },
    };
    for (const Case& k : cases) {
        c.S.SetFireSensitivity(k.a, k.value);
        EXPECT_EQ(x.GetFireSensitivity(k.a), k.text) << k.a << " " << k.value;
    }
    // Pre-alarm levels only where the class has them; out-of-range values show the number.
    c.S.SetPrealarmSensitivity(4, 80);
    EXPECT_EQ(x.GetPrealarmSensitivity(4), "L0");
    c.S.SetPrealarmSensitivity(4, 120);
    EXPECT_EQ(x.GetPrealarmSensitivity(4), "L9");
    c.S.SetPrealarmSensitivity(4, 200);
    EXPECT_EQ(x.GetPrealarmSensitivity(4), "200");
    c.S.SetPrealarmSensitivity(4, 20);
    EXPECT_EQ(x.GetPrealarmSensitivity(4), "20");
    EXPECT_EQ(x.GetPrealarmSensitivity(1), "");
    EXPECT_EQ(x.GetPrealarmSensitivity(3), "");
}

TEST(SensorTexts, ShowingOutOfRangeCodesWritesNothing)
{
    Config c;
    c.TorqSensor(1, 31, 9); // SMT4
    c.S.SetApplicationNumber(1, 200);
    c.S.SetRemoteOutput(1, 9);
    c.BrimSensor(2, 40);
    c.S.ClearModified();
    TSensorTexts x(c.S, true);
    EXPECT_EQ(x.GetApplNumber(1), "200");
    EXPECT_EQ(x.GetRemoteOP(1), "9");
    EXPECT_EQ(x.GetType(2), "40");
    c.S.SetApplicationNumber(1, 255);
    EXPECT_EQ(x.GetApplNumber(1), "255");
    // A TORQ sensor with CBE output and an empty rule window: shown as
    // stored, rule 1 is not put back by reading.
    c.S.SetRemoteOutput(1, 2);
    c.S.SetInCBERule(1, 1, false);
    c.S.ClearModified();
    std::string rule;
    ASSERT_TRUE(x.GetCBERule(1, rule));
    EXPECT_EQ(rule, "(1) ");
    EXPECT_FALSE(c.S.IsModified());
}

TEST(SensorEdits, ProtocolAndTypeChangesSetTheirDefaults)
{
    Config c;
    c.Data.FileHeader->SetPanelType(2); // a panel with the view sensors
    TSensorEdits e(c.Data);
    const TSensorTexts& x = e.Texts();
    e.Write(sfProtocol, 1, "TORQ");
    EXPECT_EQ(c.S.GetTorqType(1), 20);
    EXPECT_EQ(c.S.GetType(1), 2);
    EXPECT_EQ(x.GetType(1), "OPT");
    EXPECT_EQ(x.GetFireSensitivity(1), "L3");
    EXPECT_EQ(c.S.GetGroup(1), 0);

    e.Write(sfProtocol, 2, "BRIM");
    EXPECT_EQ(x.GetType(2), "OPT");
    EXPECT_EQ(x.GetFireSensitivity(2), "100%");
    e.Write(sfType, 2, "MLT");
    EXPECT_EQ(c.S.GetFireSensitivity(2), 120);
    EXPECT_EQ(c.S.GetDayModeSensitivity(2), 120);
    EXPECT_EQ(x.GetFireSensitivity(2), "L5");
    e.Write(sfType, 2, "AVS");
    EXPECT_EQ(c.S.GetFireSensitivity(2), 100);
    EXPECT_EQ(x.GetFireSensitivity(2), "L5");
    EXPECT_EQ(c.S.GetGroup(2), 1);
    e.Write(sfType, 2, "SM2");
    EXPECT_EQ(c.S.GetFireSensitivity(2), 112);
    EXPECT_EQ(c.S.GetGroup(2), 0);

    // TORQ type texts map to their kind.
    e.Write(sfType, 1, "SMT4");
    EXPECT_EQ(c.S.GetTorqType(1), 31);
    EXPECT_EQ(c.S.GetType(1), 9);
    EXPECT_EQ(c.S.GetFireSensitivity(1), 112);
    e.Write(sfAppNum, 1, "3");
    EXPECT_EQ(c.S.GetApplicationNumber(1), 4);

    // Same protocol again: nothing changes; " - " removes the sensor.
    c.S.SetFireSensitivity(2, 88);
    e.Write(sfProtocol, 2, "BRIM");
    EXPECT_EQ(c.S.GetFireSensitivity(2), 88);
    e.Write(sfProtocol, 2, " - ");
    EXPECT_EQ(c.S.GetType(2), 0);
    EXPECT_EQ(c.S.GetTorqType(2), 0);
    // No type before a protocol.
    e.Write(sfType, 2, "OPT");
    EXPECT_EQ(c.S.GetType(2), 0);
}

TEST(SensorEdits, RefusedTextsChangeNoByte)
{
    Config c;
    TSensorEdits e(c.Data);
    e.Write(sfProtocol, 1, "TORQ");
    e.Write(sfType, 1, "SMT4");
    c.S.ClearModified();
    for (auto [field, text] : std::vector<std::pair<int, std::string>> { { sfProtocol, "TORK" },
             { sfType, "OPTX" }, { sfType, "U001" }, { sfAppNum, "9" }, { sfRemOutput, "Never" },
             { sfPA, "L3" }, { sfGroup, "7" }, { sfAlarm, "xyz" } })
        EXPECT_EQ(e.Write(field, 1, text), std::nullopt) << text;
    EXPECT_FALSE(c.S.IsModified());
    // A sensor of no protocol offers no type; an absent one shows none.
    EXPECT_EQ(e.Write(sfType, 5, "OPT"), std::nullopt);
    EXPECT_FALSE(c.S.IsModified());
}

TEST(SensorEdits, ZoneAndSensitivityChecks)
{
    Config c;
    c.Data.FileHeader->SetPanelType(2);
    TSensorEdits e(c.Data);
    e.Write(sfProtocol, 1, "BRIM");
    e.Write(sfType, 1, "OPX");
    EXPECT_EQ(e.Write(sfZone, 1, "16"), std::nullopt);
    EXPECT_EQ(c.S.GetZone(1), 16);
    auto zone = e.Write(sfZone, 1, "17");
    ASSERT_TRUE(zone);
    EXPECT_EQ(zone->Text, "Invalid zone entered.");
    EXPECT_EQ(c.S.GetZone(1), 16);
    EXPECT_TRUE(e.Write(sfZone, 1, "0"));

    EXPECT_EQ(e.Write(sfAlarm, 1, "3"), std::nullopt);
    EXPECT_EQ(c.S.GetFireSensitivity(1), 96);
    auto high = e.Write(sfAlarm, 1, "l9");
    ASSERT_TRUE(high);
    EXPECT_EQ(high->Text, "Sensitivity must be in range 80% - 120%");
    EXPECT_EQ(high->Type, platform::MsgDlgType::mtInformation);
    EXPECT_EQ(c.S.GetFireSensitivity(1), 96);

    // Class %: letters change nothing and say nothing; 79 is refused.
    e.Write(sfType, 2, "OPT");
    e.Write(sfProtocol, 2, "BRIM");
    EXPECT_EQ(e.Write(sfDay, 2, "abc"), std::nullopt);
    EXPECT_EQ(c.S.GetDayModeSensitivity(2), 100);
    EXPECT_TRUE(e.Write(sfDay, 2, "79"));
    EXPECT_EQ(e.Write(sfDay, 2, "120"), std::nullopt);
    EXPECT_EQ(c.S.GetDayModeSensitivity(2), 120);

    // Pre-alarm levels of an AVR: out of range dropped silently.
    e.Write(sfType, 2, "AVR");
    EXPECT_EQ(e.Write(sfPD, 2, "L3"), std::nullopt);
    EXPECT_EQ(c.S.GetDayModePrealarmSensitivity(2), 93);
    // Groups 0 to 50.
    EXPECT_EQ(e.Write(sfGroup, 2, "51"), std::nullopt);
    EXPECT_EQ(c.S.GetGroup(2), 1);
    e.Write(sfGroup, 2, "50");
    EXPECT_EQ(c.S.GetGroup(2), 50);
}

TEST(SensorEdits, RowOffersFollowTypeAndPanel)
{
    Config c;
    TSensorEdits e(c.Data);
    c.BrimSensor(1, 1); // TMP
    c.BrimSensor(2, 6); // AVR
    c.TorqSensor(3, 20, 2);
    auto tmp = e.RowOffer(1);
    EXPECT_EQ(tmp.Alarm.Style, TColumnOffer::None);
    EXPECT_EQ(tmp.PA.Style, TColumnOffer::None);
    auto avr = e.RowOffer(2);
    EXPECT_EQ(avr.Alarm.Items.front(), "L1");
    EXPECT_EQ(avr.Alarm.Items.size(), 9u);
    EXPECT_EQ(avr.PD.Items.size(), 10u);
    auto torq = e.RowOffer(3);
    EXPECT_EQ(torq.Day.Items.back(), "L6");
    EXPECT_EQ(torq.AppNum.Style, TColumnOffer::None);
    EXPECT_EQ(torq.CBERule.Style, TColumnOffer::None);
    c.S.SetRemoteOutput(3, 2);
    EXPECT_EQ(e.RowOffer(3).CBERule.Style, TColumnOffer::Ellipsis);

    c.Data.FileHeader->SetPanelType(3);
    TTextList types;
    TSensorEdits::FillDeviceLists(c.Data, DefaultSensorLists(), nullptr, &types, "BRIM");
    EXPECT_EQ(types, (TTextList { "TMP", "OPT", "ION", "MLT", "OPX", "SM2", "SM3" }));
    c.Data.FileHeader->SetPanelType(2);
    TSensorEdits::FillDeviceLists(c.Data, DefaultSensorLists(), nullptr, &types, "BRIM");
    EXPECT_EQ(types.size(), 10u);
    EXPECT_EQ(IndexOfText(types, "LSR"), -1);
}

TEST(DeviceRules, ProtocolOfferKeepsTorqAndManyBrimApart)
{
    EXPECT_EQ(ProtocolOffer(true, 0, 40), poAll);
    EXPECT_EQ(ProtocolOffer(true, 0, 41), poBrimOnly);
    EXPECT_EQ(ProtocolOffer(true, 1, 39), poAll);
    EXPECT_EQ(ProtocolOffer(true, 1, 40), poTorqOnly);
    EXPECT_EQ(ProtocolOffer(false, 0, 0), poBrimOnly);

    Config c;
    c.BrimDevices(120); // sensors and modules count together
    TTextList protocols;
    TSensorEdits::FillDeviceLists(c.Data, DefaultSensorLists(), &protocols, nullptr, "");
    EXPECT_EQ(protocols, (TTextList { " - ", "BRIM" }));
    EXPECT_EQ(BrimAllowance(c.Data), -1);

    Config d;
    d.BrimDevices(39);
    d.TorqModule(50, 132, 1);
    EXPECT_EQ(BrimAllowance(d.Data), 1);
    d.BrimDevices(40);
    EXPECT_EQ(BrimAllowance(d.Data), -1);
    TModuleEdits::FillDeviceLists(d.Data, DefaultModuleLists(), &protocols, nullptr, nullptr, "", "", 0);
    EXPECT_EQ(protocols, (TTextList { " - ", "TORQ" }));
    // The BRIM offer is gone, so a BRIM protocol write on an empty row is refused.
    TSensorEdits e(d.Data);
    e.Write(sfProtocol, 60, "BRIM");
    EXPECT_EQ(d.S.GetType(60), 0);
    d.Data.GeneralPanelSetup->SetTorqSwitch(false);
    TModuleEdits::FillDeviceLists(d.Data, DefaultModuleLists(), &protocols, nullptr, nullptr, "", "", 0);
    EXPECT_EQ(protocols, (TTextList { " - ", "BRIM" }));
}

// A loop that already mixes TORQ with more than 40 BRIM devices (from a file
// or the panel) takes any change that makes the mix no worse.
TEST(DeviceRules, ProtocolChangeRefusesOnlyWhatWorsensTheMix)
{
    EXPECT_TRUE(ProtocolChangeAllowed(1, 41, 1, 41)); // BRIM over BRIM, TORQ over TORQ
    EXPECT_FALSE(ProtocolChangeAllowed(1, 41, 2, 41)); // TORQ onto a free address
    EXPECT_TRUE(ProtocolChangeAllowed(1, 41, 2, 40)); // TORQ over BRIM leaves 40
    EXPECT_FALSE(ProtocolChangeAllowed(1, 42, 2, 41));
    EXPECT_FALSE(ProtocolChangeAllowed(1, 40, 1, 41)); // BRIM onto a free address
    EXPECT_FALSE(ProtocolChangeAllowed(2, 41, 1, 42)); // BRIM over TORQ
    EXPECT_TRUE(ProtocolChangeAllowed(1, 41, 0, 42)); // over the last TORQ device
    EXPECT_TRUE(ProtocolChangeAllowed(0, 40, 1, 40));
}

TEST(ModuleRules, MatchedTypeAtItsBorders)
{
    struct Case {
        int torq, function;
        bool matched;
        int result;
    } cases[] = {
        { 127, 1, true, 1 },
        { 128, 4, true, 4 },
        { 128, 1, false, 6 },
        { 129, 18, true, 18 },
        { 129, 8, false, 6 },
        { 130, 14, true, 14 },
        { 131, 4, false, 1 },
        { 132, 1, true, 1 },
        { 132, 20, false, 3 },
        { 134, 12, true, 12 },
        { 136, 5, false, 3 },
        { 135, 20, true, 20 },
        { 135, 1, false, 7 },
        { 137, 19, true, 19 },
        { 149, 0, true, 0 },
        { 150, 5, true, 5 },
        { 154, 1, false, 4 },
        { 155, 1, true, 1 },
    };
    for (const Case& k : cases) {
        int f = k.function;
        EXPECT_EQ(MatchedType(k.torq, f), k.matched) << k.torq << " " << k.function;
        EXPECT_EQ(f, k.result) << k.torq << " " << k.function;
    }
}

TEST(ModuleRules, ZoneRangesByFunction)
{
    for (int f : { 1, 3, 7, 8, 10, 11, 12, 14 })
        EXPECT_EQ(ModuleZoneRange(f), std::make_pair(1, 16)) << f;
    EXPECT_EQ(ModuleZoneRange(2), std::make_pair(17, 32));
    for (int f : { 0, 4, 5, 6, 9, 13, 15, 19, 20, 21 })
        EXPECT_EQ(ModuleZoneRange(f), std::make_pair(1, 32)) << f;

    Config c;
    TModuleEdits e(c.Data);
    e.Write(mfProtocol, 1, "BRIM");
    e.Write(mfZone, 1, "9");
    e.Write(mfFunction, 1, "AUX");
    EXPECT_EQ(c.M.GetZone(1), 17);
    EXPECT_TRUE(e.Write(mfZone, 1, "5"));
    EXPECT_EQ(e.Write(mfZone, 1, "32"), std::nullopt);
    EXPECT_EQ(e.Texts().GetAction(1), "PLANT ALARM");
    e.Write(mfFunction, 1, "MCP");
    EXPECT_EQ(c.M.GetZone(1), 1);
}

TEST(ModuleEdits, ProtocolTypeAndFunctionChanges)
{
    Config c;
    TModuleEdits e(c.Data);
    const TModuleTexts& x = e.Texts();
    c.M.SetZone(1, 20);
    e.Write(mfProtocol, 1, "TORQ");
    EXPECT_EQ(x.GetType(1), "K710");
    EXPECT_EQ(x.GetFunction(1), "MCP");
    EXPECT_EQ(c.M.GetZone(1), 1);
    e.Write(mfType, 1, "K701");
    EXPECT_EQ(x.GetFunction(1), "CTL");
    e.Write(mfType, 1, "K710-CZ");
    EXPECT_EQ(x.GetFunction(1), "ZMX");
    e.Write(mfType, 1, "WMSOU");
    e.Write(mfFunction, 1, "SDR");
    EXPECT_EQ(x.GetFunction(1), "SDR");
    e.Write(mfType, 1, "K701");
    EXPECT_EQ(x.GetFunction(1), "SDR"); // kept: SDR suits a K701

    e.Write(mfProtocol, 2, "BRIM");
    e.Write(mfType, 2, "CMX");
    EXPECT_EQ(x.GetFunction(2), "SDR");
    EXPECT_EQ(x.GetType(2), "CMX");
    EXPECT_EQ(x.ModuleTypeText(2), "BRIM/CMX/SDR");
    e.Write(mfType, 2, "MMX");
    EXPECT_EQ(x.GetFunction(2), "MCP");
    e.Write(mfFunction, 2, "MON");
    std::string rule;
    ASSERT_TRUE(x.GetCBERule(2, rule));
    EXPECT_EQ(rule, "(1) ");
    EXPECT_EQ(x.ModuleTypeText(3), " - ");

    // AUX takes rules only as an abort or hold switch.
    e.Write(mfFunction, 2, "AUX");
    EXPECT_FALSE(x.GetCBERule(2, rule));
    e.Write(mfAction, 2, "HOLD SWITCH");
    EXPECT_TRUE(x.GetCBERule(2, rule));
    c.M.ClearModified();
    EXPECT_EQ(e.Write(mfAction, 2, "HOLD"), std::nullopt);
    EXPECT_EQ(e.Write(mfFunction, 2, "LBM"), std::nullopt); // not offered for an MMX
    EXPECT_FALSE(c.M.IsModified());
}

// A module's rule list is edited in its cell: the cell shows the whole list,
// so what the user sends back holds every rule of the window.
TEST(ModuleTexts, LongRuleListIsShownWholeAndWrittenBackUnchanged)
{
    Config c;
    TModuleEdits e(c.Data);
    c.TorqModule(5, 132, 3); // MON takes rules
    c.M.SetCBERuleListText(5, "(41) 41,42,44,45,47,48,50,51,53,54,56,57,59,60,62,63");
    std::string rule;
    ASSERT_TRUE(e.Texts().GetCBERule(5, rule));
    EXPECT_EQ(rule, "(41) 41,42,44,45,47,48,50,51,53,54,56,57,59,60,62,63");
    e.Write(mfCBERule, 5, rule + ",64");
    EXPECT_TRUE(c.M.IsInCBERule(5, 62));
    EXPECT_TRUE(c.M.IsInCBERule(5, 63));
    EXPECT_TRUE(c.M.IsInCBERule(5, 64));
    EXPECT_FALSE(c.M.IsInCBERule(5, 46));
}

TEST(ModuleTexts, StoredCodesOutsideTheLists)
{
    Config c;
    TModuleTexts x(c.M);
    c.TorqModule(1, 127, 1);
    EXPECT_EQ(x.GetType(1), "127");
    c.M.SetType(2, 25);
    EXPECT_EQ(x.GetFunction(2), "25");
    EXPECT_EQ(x.GetType(2), "");
    c.M.SetChannel(3, 2);
    EXPECT_EQ(x.GetProtocol(3), "TORQ");
    c.M.SetType(4, 2);
    c.M.GetRecord(4)->SetByte(30, 0xFF);
    c.M.ClearModified();
    EXPECT_EQ(x.GetAction(4), "255");
    EXPECT_FALSE(c.M.IsModified());
}

TEST(MultiChannel, ModulesAtTheLoopEnd)
{
    Config c;
    c.TorqModule(98, 133, 3);
    auto r = UpdateMultiChannelModule(c.M, 98);
    EXPECT_FALSE(r.Message);
    EXPECT_EQ(c.M.GetChannel(98), 1);
    EXPECT_EQ(c.M.GetChannel(99), 2);
    EXPECT_EQ(c.M.GetTorqType(99), 133);
    EXPECT_EQ(c.M.GetType(99), 3);

    Config d;
    d.TorqModule(99, 133, 3);
    const TWriteResult noRoom = UpdateMultiChannelModule(d.M, 99).Message;
    ASSERT_TRUE(noRoom);
    EXPECT_EQ(noRoom->Text,
        "There are not enough free addresses after this one for the channels of this module, so it stays a "
        "K710.");
    EXPECT_EQ(d.M.GetTorqType(99), 132);
    EXPECT_EQ(d.M.GetChannel(99), 0);

    Config e;
    e.TorqModule(97, 134, 1);
    e.M.SetZone(97, 4);
    r = UpdateMultiChannelModule(e.M, 97);
    EXPECT_EQ(r.Changed, (std::vector<int> { 97, 98, 99 }));
    EXPECT_EQ(e.M.GetChannel(99), 3);
    EXPECT_EQ(e.M.GetType(99), 5);
    EXPECT_EQ(e.M.GetZone(99), 4);
    // Its later channels near the end stay as they are when looked at again.
    EXPECT_TRUE(UpdateMultiChannelModule(e.M, 99).Changed.empty());
    EXPECT_TRUE(UpdateMultiChannelModule(e.M, 98).Changed.empty());

    Config f;
    f.TorqModule(98, 134, 1);
    EXPECT_TRUE(UpdateMultiChannelModule(f.M, 98).Message);
    EXPECT_EQ(f.M.GetTorqType(98), 132);
    EXPECT_EQ(f.M.GetChannel(99), 0);
}

TEST(MultiChannel, RefusedBesideAFittedModuleAndKeptAsOneModel)
{
    Config c;
    c.M.SetType(11, 4); // a BRIM sounder
    c.TorqModule(10, 133, 3);
    auto r = UpdateMultiChannelModule(c.M, 10);
    ASSERT_TRUE(r.Message);
    EXPECT_EQ(c.M.GetTorqType(10), 132);
    EXPECT_EQ(c.M.GetType(11), 4);
    EXPECT_EQ(c.M.GetChannel(11), 0);

    // A K720 at 20 and 21; changing its first channel's model is undone.
    c.TorqModule(20, 133, 3);
    UpdateMultiChannelModule(c.M, 20);
    c.M.SetTorqType(20, 134);
    UpdateMultiChannelModule(c.M, 20);
    EXPECT_EQ(c.M.GetTorqType(20), 133);
    c.M.SetTorqType(20, 132);
    UpdateMultiChannelModule(c.M, 20);
    EXPECT_EQ(c.M.GetTorqType(20), 133);
    // A channel 1 at 99 or a channel 2 at 1 from a file has no partner.
    c.TorqModule(99, 132, 3, 1);
    UpdateMultiChannelModule(c.M, 99);
    EXPECT_EQ(c.M.GetChannel(99), 0);
    c.TorqModule(1, 132, 3, 2);
    UpdateMultiChannelModule(c.M, 1);
    EXPECT_EQ(c.M.GetChannel(1), 0);
}

TEST(MultiChannel, DeleteWidensToWholeModulesAndStaysInTheLoop)
{
    Config c;
    c.TorqModule(20, 134, 1);
    UpdateMultiChannelModule(c.M, 20);
    EXPECT_EQ(ModuleDeleteRange(c.M, 21, 21), std::make_pair(20, 22));
    EXPECT_EQ(ModuleDeleteRange(c.M, 22, 22), std::make_pair(20, 22));
    EXPECT_EQ(ModuleDeleteRange(c.M, 20, 20), std::make_pair(20, 22));
    EXPECT_EQ(ModuleDeleteRange(c.M, 21, 10), std::make_pair(10, 22));
    EXPECT_EQ(ModuleDeleteRange(c.M, 23, 30), std::make_pair(23, 30));

    c.TorqModule(98, 133, 3);
    UpdateMultiChannelModule(c.M, 98);
    EXPECT_EQ(ModuleDeleteRange(c.M, 99, 99), std::make_pair(98, 99));
    EXPECT_EQ(ModuleDeleteRange(c.M, 1, 99), std::make_pair(1, 99));
    c.TorqModule(1, 133, 3, 2); // an orphaned second channel at the loop's start
    EXPECT_EQ(ModuleDeleteRange(c.M, 1, 1), std::make_pair(1, 1));
}

TEST(AddDevices, AddressCheck)
{
    auto ok = [](const char* f, const char* l, const char* p = "BRIM", const char* t = "OPT",
                  int limit = -1) { return CheckAddresses(f, l, p, t, limit).Ok; };
    EXPECT_FALSE(ok("5", ""));
    EXPECT_TRUE(ok("5", "9"));
    EXPECT_FALSE(ok("10", "5"));
    EXPECT_FALSE(ok("0", "5"));
    EXPECT_FALSE(ok("00", "5"));
    EXPECT_FALSE(ok("5", "5", " - "));
    EXPECT_TRUE(ok("99", "99"));
    // The limit is how many BRIM devices may still be added.
    EXPECT_TRUE(ok("10", "12", "BRIM", "OPT", 3));
    TAddressCheck over = CheckAddresses("10", "13", "BRIM", "OPT", 3);
    EXPECT_FALSE(over.Ok);
    EXPECT_TRUE(over.ClearLast);
    EXPECT_TRUE(ok("10", "13", "TORQ", "OPT", 3));
    EXPECT_TRUE(ok("1", "4", "TORQ", "K720"));
    EXPECT_FALSE(ok("1", "5", "TORQ", "K720"));
    EXPECT_TRUE(ok("90", "98", "TORQ", "K721"));
    EXPECT_FALSE(ok("90", "99", "TORQ", "K721"));
    EXPECT_TRUE(ok("10", "11", "TORQ", "K721"));
}

TEST(AddDevices, K721RangeFunctions)
{
    const TModuleLists& l = DefaultModuleLists();
    EXPECT_EQ(K721RangeFunction(l, 10, 10, "MON"), "MON");
    EXPECT_EQ(K721RangeFunction(l, 10, 11, "MON"), "MON");
    EXPECT_EQ(K721RangeFunction(l, 10, 12, "MON"), "RLY");
    EXPECT_EQ(K721RangeFunction(l, 10, 13, "MON"), "MON");
    EXPECT_EQ(K721RangeFunction(l, 10, 10, "RLY"), "MCP");
}

TEST(ModuleEdits, WmsouKeepsARelayAndMnsClearsTheRules)
{
    Config c;
    TModuleEdits e(c.Data);
    const TModuleTexts& x = e.Texts();
    e.Write(mfProtocol, 1, "TORQ");
    e.Write(mfType, 1, "K701");
    e.Write(mfFunction, 1, "RLY");
    e.Write(mfType, 1, "WMSOU");
    EXPECT_EQ(x.ModuleTypeText(1), "TORQ/WMSOU/RLY");

    // MNS clears every rule of the module's window, as MON does.
    e.Write(mfProtocol, 2, "BRIM");
    c.M.SetCBERuleListText(2, "(1) 1-3,9");
    e.Write(mfFunction, 2, "MNS");
    std::string rule;
    ASSERT_TRUE(x.GetCBERule(2, rule));
    EXPECT_EQ(rule, "(1) ");
    EXPECT_FALSE(c.M.IsInCBERule(2, 9));
}
