#include "AppLanguage.h"
#include "LanguageRules.h"

#include <gtest/gtest.h>

namespace {
class FixedLanguage : public AppLanguage {
public:
    int Index = 0;
    int Active = 0;
    int Language() const override { return Index; }
    int ActiveLanguageIndex() const override { return Active; }
    void SetLanguage(int index) override { Index = index; }
};
} // namespace

TEST(LanguageRules, VdSAndRegionalOptionsFollowTheLanguageInForce)
{
    FixedLanguage d;
    EXPECT_FALSE(IsVdSLanguage(nullptr));
    EXPECT_FALSE(IsRegionalOptionEnabled(false, nullptr));
    EXPECT_TRUE(IsRegionalOptionEnabled(true, nullptr)); // the mark alone
    d.Active = 5;
    EXPECT_TRUE(IsVdSLanguage(&d));
    EXPECT_FALSE(IsRegionalOptionEnabled(false, &d)); // VdS language, mark cleared
    for (int active : { 6, 7 }) {
        d.Active = active;
        EXPECT_FALSE(IsVdSLanguage(&d));
        EXPECT_TRUE(IsRegionalOptionEnabled(false, &d));
    }
    d.Active = 8;
    EXPECT_FALSE(IsRegionalOptionEnabled(false, &d));
}

TEST(LanguageRules, NewConfigurationsTakeTheMarkAndTheRegionalTest)
{
    FixedLanguage d;
    d.Active = 6;
    const ConfigLifecycle::Flags f = NewConfigFlags(false, &d);
    EXPECT_FALSE(f.VdSDefaults);
    EXPECT_TRUE(f.LED2CModeDefault);
    EXPECT_TRUE(f.TorqSwitchDefault);
    EXPECT_TRUE(f.ControlKey3ModeDefault);
    const ConfigLifecycle::Flags none = NewConfigFlags(false, nullptr);
    EXPECT_FALSE(none.LED2CModeDefault || none.ControlKey3ModeDefault);
    EXPECT_TRUE(NewConfigFlags(true, nullptr).VdSDefaults);
}

TEST(LanguageRules, TheLanguageIsStoredOnlyWhenChosen)
{
    FixedLanguage d;
    EXPECT_FALSE(LanguageToStore(nullptr).has_value());
    d.Index = -1; // following the user's locale: the stored one stays
    EXPECT_FALSE(LanguageToStore(&d).has_value());
    d.Index = 0;
    EXPECT_EQ(LanguageToStore(&d), 0);
    d.Index = 3;
    EXPECT_EQ(LanguageToStore(&d), 3);
}
