#include "AccessibleName.h"

#include "localisation/TestDictionary.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr int English = 0, German = 1;

struct AccessibleNames : ::testing::Test {
    MemoryDictionary Dictionary;
    QWidget Window;
    QComboBox* Box = new QComboBox(&Window);
    QLineEdit* Edit = new QLineEdit(&Window);

    void SetUp() override
    {
        SetUpGerman(Dictionary,
            { Row("Serial Port", "Serielle Schnittstelle"), Row("&Base CBE Rule", "CBE-&Basisregel"),
                Row("Device 1", "Element 1"), Row("Address", "Adresse"), Row("Sensor", "Melder"),
                Row("Module", "Modul") });
    }
    // As the program does after a change: the window hears of it, and hands it on.
    void Choose(int language)
    {
        Dictionary.SetLanguage(language);
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(&Window, &change);
    }
};

} // namespace

TEST_F(AccessibleNames, FollowEveryChangeOfLanguageFromTheirEnglishParts)
{
    SetAccessibleNameParts(Box, { "Serial Port" });
    SetAccessibleNameParts(Edit, { "Device 1", "Address" });
    // Named in the language in force when the window is built.
    EXPECT_EQ(Box->accessibleName(), "Serielle Schnittstelle");
    EXPECT_EQ(Edit->accessibleName(), "Element 1 Adresse");
    Choose(English);
    EXPECT_EQ(Box->accessibleName(), "Serial Port");
    EXPECT_EQ(Edit->accessibleName(), "Device 1 Address");
    Choose(German);
    EXPECT_EQ(Edit->accessibleName(), "Element 1 Adresse");
}

TEST_F(AccessibleNames, DropTheAcceleratorAndTakeTheLastPartsGiven)
{
    SetAccessibleNameParts(Box, { "&Base CBE Rule" });
    EXPECT_EQ(Box->accessibleName(), "CBE-Basisregel");
    SetAccessibleNameParts(Edit, { "Sensor" });
    SetAccessibleNameParts(Edit, { "Module" });
    EXPECT_EQ(Edit->accessibleName(), "Modul");
    Choose(English);
    EXPECT_EQ(Box->accessibleName(), "Base CBE Rule");
    EXPECT_EQ(Edit->accessibleName(), "Module");
    // A doubled "&" is one the label shows.
    SetAccessibleNameParts(Box, { "Fire && Fault" });
    EXPECT_EQ(Box->accessibleName(), "Fire & Fault");
}
