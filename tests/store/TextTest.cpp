#include "store/Text.h"

#include <gtest/gtest.h>

using namespace kc;

TEST(Cp932, FixedFieldPadsAndNeverSplitsADoubleByteCharacter)
{
    // Five kanji are ten bytes; a sixth does not fit into ten or eleven bytes.
    EXPECT_EQ(fixedField(QStringLiteral("あいうえおか"), 10),
              toCp932(QStringLiteral("あいうえお")));
    const QByteArray eleven = fixedField(QStringLiteral("あいうえおか"), 11);
    EXPECT_EQ(eleven.size(), 11);
    EXPECT_EQ(eleven, toCp932(QStringLiteral("あいうえお")) + ' ');
    // Half-width katakana are one byte each.
    const QByteArray mixed = fixedField(QStringLiteral("ﾌｧｲﾙ名前"), 5);
    EXPECT_EQ(mixed, toCp932(QStringLiteral("ﾌｧｲﾙ")) + ' ');
    EXPECT_EQ(fixedField(QString(), 4), QByteArray("    "));
    EXPECT_EQ(fieldText(fixedField(QStringLiteral("平成14年　九月"), 40)),
              QStringLiteral("平成14年　九月"));
}

TEST(Cp932, LongMailAddressIsCutToItsWidth)
{
    const QString mail
        = QStringLiteral("very.long.address.of.a.member@example.sumo-club.jp.example");
    const QByteArray field = fixedField(mail, 50);
    EXPECT_EQ(field.size(), 50);
    EXPECT_EQ(fieldText(field), mail.left(50));
}

TEST(Val, ReadsTheLeadingNumberOnly)
{
    EXPECT_EQ(val(QStringLiteral("12abc")), 12);
    EXPECT_EQ(val(QStringLiteral("abc12")), 0);
    EXPECT_EQ(val(QString()), 0);
    EXPECT_EQ(val(QStringLiteral("  7")), 7);
    EXPECT_EQ(val(QStringLiteral("1 2")), 12);
    EXPECT_DOUBLE_EQ(val(QStringLiteral("-3.5点")), -3.5);
    EXPECT_DOUBLE_EQ(val(QStringLiteral("1e2")), 100);
    EXPECT_EQ(val(QStringLiteral("1,000")), 1);
}

TEST(Val, FullWidthDigitsFromAJapaneseInputMethodCount)
{
    EXPECT_EQ(val(QStringLiteral("２５")), 25);
    EXPECT_EQ(val(QStringLiteral("－３")), -3);
    EXPECT_EQ(val(QStringLiteral("１２力士")), 12);
}

TEST(CInt, RoundsHalfToEvenAndRefusesOutOfRange)
{
    EXPECT_EQ(cint(2.5), 2);
    EXPECT_EQ(cint(3.5), 4);
    EXPECT_EQ(cint(-2.5), -2);
    EXPECT_EQ(cint(0.5), 0);
    EXPECT_EQ(cint(1.5), 2);
    EXPECT_EQ(cint(2.6), 3);
    EXPECT_EQ(cint(32767.4), 32767);
    EXPECT_EQ(cint(-32768.0), -32768);
    EXPECT_FALSE(cint(32767.5).has_value()); // rounds to 32768
    EXPECT_FALSE(cint(40000).has_value());
    EXPECT_FALSE(cint(-32769).has_value());
    EXPECT_EQ(clng(40000.5), 40000);
    EXPECT_EQ(clng(-2147483648.0), -2147483648LL);
    EXPECT_FALSE(clng(2147483648.0).has_value());
    EXPECT_EQ(cintClamped(99999), 32767);
    EXPECT_EQ(cintClamped(-99999), -32768);
}

TEST(FormatThousands, GroupsByThree)
{
    EXPECT_EQ(formatThousands(0), QStringLiteral("0"));
    EXPECT_EQ(formatThousands(999), QStringLiteral("999"));
    EXPECT_EQ(formatThousands(1600), QStringLiteral("1,600"));
    EXPECT_EQ(formatThousands(90000), QStringLiteral("90,000"));
    EXPECT_EQ(formatThousands(1234567), QStringLiteral("1,234,567"));
    EXPECT_EQ(formatThousands(-2250), QStringLiteral("-2,250"));
}
