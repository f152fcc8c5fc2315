#include "LanguageRules.h"
#include "localisation/TestDictionary.h"

#include <gtest/gtest.h>

namespace {
// Nine languages of distinct primary languages; `Active` and `Index` choose one.
class FixedLanguage : public MemoryDictionary {
public:
    FixedLanguage() { SetUpLanguages(*this, { 9, 7, 12, 16, 10, 19, 21, 22, 29 }); }
    void SetActive(int index) { SetLanguage(index); }
};
} // namespace

TEST(LanguageRules, VdSAndRegionalOptionsFollowTheLanguageInForce)
{
    FixedLanguage d;
    EXPECT_FALSE(IsVdSLanguage(nullptr));
    EXPECT_FALSE(IsRegionalOptionEnabled(false, nullptr));
    EXPECT_TRUE(IsRegionalOptionEnabled(true, nullptr)); // the mark alone
    d.SetActive(5);
    EXPECT_TRUE(IsVdSLanguage(&d));
    EXPECT_FALSE(IsRegionalOptionEnabled(false, &d)); // VdS language, mark cleared
    for (int active : { 6, 7 }) {
        d.SetActive(active);
        EXPECT_FALSE(IsVdSLanguage(&d));
        EXPECT_TRUE(IsRegionalOptionEnabled(false, &d));
    }
    d.SetActive(8);
    EXPECT_FALSE(IsRegionalOptionEnabled(false, &d));
}

TEST(LanguageRules, NewConfigurationsTakeTheMarkAndTheRegionalTest)
{
    FixedLanguage d;
    d.SetActive(6);
    const TNewConfigFlags f = NewConfigFlags(false, &d);
    EXPECT_FALSE(f.VdSDefaults);
    EXPECT_TRUE(f.LED2CModeDefault);
    EXPECT_TRUE(f.TorqSwitchDefault);
    EXPECT_TRUE(f.ControlKey3ModeDefault);
    const TNewConfigFlags none = NewConfigFlags(false, nullptr);
    EXPECT_FALSE(none.LED2CModeDefault || none.ControlKey3ModeDefault);
    EXPECT_TRUE(NewConfigFlags(true, nullptr).VdSDefaults);
}

TEST(LanguageRules, TheLanguageIsStoredOnlyWhenChosen)
{
    FixedLanguage d;
    EXPECT_FALSE(LanguageToStore(nullptr).has_value());
    d.SetLanguage(-1); // following the user's locale: the stored one stays
    EXPECT_FALSE(LanguageToStore(&d).has_value());
    d.SetLanguage(0);
    EXPECT_EQ(LanguageToStore(&d), 0);
    d.SetLanguage(3);
    EXPECT_EQ(LanguageToStore(&d), 3);
}
