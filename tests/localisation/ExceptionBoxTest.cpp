#include "ExceptionBox.h"

#include "Exception.h"
#include "FakeNls.h"
#include "TestDictionary.h"
#include "support/FakePrompts.h"

#include <gtest/gtest.h>

TEST(ExceptionBox, FullStopOnlyAfterCharactersSortingAfterIt)
{
    EXPECT_EQ(ExceptionBoxText("Invalid file type."), "Invalid file type.");
    EXPECT_EQ(ExceptionBoxText("Port failed"), "Port failed.");
    EXPECT_EQ(ExceptionBoxText("Stop!"), "Stop!");
    EXPECT_EQ(ExceptionBoxText("(COM1)"), "(COM1)");
    EXPECT_EQ(ExceptionBoxText("Continue ?"), "Continue ?.");
    EXPECT_EQ(ExceptionBoxText(""), "");
}

TEST(ExceptionBox, TranslatesTheMessageOnceAndLeavesItsDetailAlone)
{
    FakeNls nls;
    MemoryDictionary d;
    // A second translation would turn "Portfehler" into "wrong".
    SetUpGerman(
        d, { Row("Port failed", "Portfehler"), Row("Portfehler", "wrong"), Row("/dev/ttyS0", "wrong") });
    EXPECT_EQ(ExceptionBoxText(Exception("Port failed", "/dev/ttyS0")), "Portfehler.\n/dev/ttyS0");
    EXPECT_EQ(ExceptionBoxText(Exception::Translated("Portfehler")), "Portfehler.");
    EXPECT_EQ(
        ExceptionBoxText(Exception("Port failed").WithDetail("a").WithDetail("b")), "Portfehler.\na\nb");
    EXPECT_EQ(ExceptionBoxText(std::runtime_error("Port failed")), "Portfehler.");
}

TEST(ExceptionBox, GuardShowsOneBoxAndSwallowsTheFailure)
{
    FakePrompts prompts;
    prompts.Answer(platform::mrOk);
    bool after = false;
    Guarded([] { throw Exception("Invalid file type.", "/tmp/a.UDF"); });
    Guarded([] { throw 42; });
    Guarded([&] { after = true; });
    EXPECT_TRUE(after);
    ASSERT_EQ(prompts.Log.size(), 2u);
    EXPECT_EQ(prompts.Log[0].Text, "Invalid file type.\n/tmp/a.UDF");
    EXPECT_EQ(prompts.Log[0].Type, platform::MsgDlgType::mtError);
    EXPECT_EQ(prompts.Log[1].Text, "Unknown error.");
}

TEST(ExceptionBox, TranslatesOnlyWhileTheFirstDictionaryIsOpen)
{
    FakeNls nls;
    MemoryDictionary d;
    SetUpGerman(d, { Row("Port failed", "Portfehler") });
    EXPECT_EQ(ExceptionBoxText("Port failed"), "Portfehler.");
    d.SetMissingTranslation(ivmtRaiseException); // the box still shows the message
    EXPECT_EQ(ExceptionBoxText("Port busy"), "Port busy.");
    d.Close();
    EXPECT_EQ(ExceptionBoxText("Port failed"), "Port failed.");
}
