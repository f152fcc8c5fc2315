#include "CodePageValidator.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {
void TypeText(QLineEdit& e, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&e, &press);
    }
}
} // namespace

TEST(Cp1252Validator, TypedCharactersOutsideTheCodePageAreRefused)
{
    QLineEdit edit;
    LimitToCp1252(&edit, 20);
    TypeText(edit, QString::fromUtf8("Caf\xC3\xA9 \xD0\x96 5\xE2\x82\xAC")); // the Cyrillic letter is dropped
    EXPECT_EQ(edit.text(), QString::fromUtf8("Caf\xC3\xA9  5\xE2\x82\xAC"));
}

TEST(Cp1252Validator, TheLimitCountsCodePageBytes)
{
    QLineEdit edit;
    LimitToCp1252(&edit, 4);
    TypeText(edit,
        QString::fromUtf8(
            "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC")); // 5 euro signs, 3 UTF-8 bytes
                                                                              // each
    EXPECT_EQ(edit.text().size(), 4);
    Cp1252Validator v(4, nullptr);
    QString pasted = "abcde";
    int pos = 0;
    EXPECT_EQ(v.validate(pasted, pos), QValidator::Invalid);
    QString tab = "a\tb";
    EXPECT_EQ(v.validate(tab, pos), QValidator::Invalid);
}
