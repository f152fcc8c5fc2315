#include "AppSettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct SettingsFixture : ::testing::Test {
    QTemporaryDir Dir;
    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Dir.path());
    }
};
} // namespace

TEST_F(SettingsFixture, DefaultsWhenNothingIsStored)
{
    StoredSettings s = ReadSettings("V3.03 c", true);
    EXPECT_EQ(s.ComPort, 0);
    EXPECT_FALSE(s.UILanguage.has_value());
    EXPECT_TRUE(s.VdSCompatibility);
    ASSERT_EQ(s.Files.size(), 5u);
    EXPECT_EQ(s.Files[0], "");
}

TEST_F(SettingsFixture, RoundTripInTheVersionGroups)
{
    StoredSettings w;
    w.ComPort = 3;
    w.UILanguage = 2;
    w.VdSCompatibility = true;
    w.Files = { "/x/a.UDF", "/x/b.UDF", "", "", "" };
    WriteSettings("V3.03 c", w);
    StoredSettings r = ReadSettings("V3.03 c", false);
    EXPECT_EQ(r.ComPort, 3);
    EXPECT_EQ(r.UILanguage, 2);
    EXPECT_TRUE(r.VdSCompatibility);
    EXPECT_EQ(r.Files, w.Files);
    QSettings raw("Veltrane", "PX10 Windows Support Tool");
    EXPECT_EQ(raw.value("V3.03 c/File History/FILE 2").toString(), "/x/b.UDF");
    EXPECT_EQ(raw.value("Setup/Com Port").toInt(), 3);
}

TEST_F(SettingsFixture, LanguageLeftAsItWasWhenNotGiven)
{
    StoredSettings w;
    w.UILanguage = 4;
    WriteSettings("V3.03 c", w);
    w.UILanguage.reset();
    WriteSettings("V3.03 c", w);
    EXPECT_EQ(ReadSettings("V3.03 c", false).UILanguage, 4);
}

TEST_F(SettingsFixture, PortOutsideTheEightIsReadAsCom1)
{
    QSettings raw("Veltrane", "PX10 Windows Support Tool");
    raw.setValue("Setup/Com Port", 12);
    raw.sync();
    EXPECT_EQ(ReadSettings("V3.03 c", false).ComPort, 0);
}
