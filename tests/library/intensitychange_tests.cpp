#include <gtest/gtest.h>

#include <climits>

#include "document/integertext.h"
#include "document/intensitychange.h"

using namespace korvimo;

TEST(Library_ChangeAllTests, MultiplyRoundsHalvesToEvenAndIncreaseAdds)
{
    // 1100 per mille turns 450 into 495; 1005 keeps 30 (30.15); 2.5 and -2.5 go to the even neighbour.
    QStringList l = {"0003=450;I;", "0001=30;I;"};
    AlleIntensiteitenWijzigen(l, ChangeAllMode::Multiply, 1100);
    EXPECT_EQ(l[0], "0003=495;I;");
    l = {"0001=30;I;", "0002=5;I;", "0003=-5;I;", "0004=7;I;"};
    AlleIntensiteitenWijzigen(l, ChangeAllMode::Multiply, 1005);
    EXPECT_EQ(l[0], "0001=30;I;");
    l = {"0002=5;I;", "0003=-5;I;", "0004=7;I;"};
    AlleIntensiteitenWijzigen(l, ChangeAllMode::Multiply, 500);
    EXPECT_EQ(l, (QStringList{"0002=2;I;", "0003=-2;I;", "0004=4;I;"}));

    l = {"0003=450;I;"};
    AlleIntensiteitenWijzigen(l, ChangeAllMode::Increase, -500);
    EXPECT_EQ(l[0], "0003=-50;I;");
}

TEST(Library_ChangeAllTests, OnlyActiveVolumesChangeAndOldLineTailsAreDropped)
{
    // Values, comments and inactive lines stay; a volume line's extra fields go.
    QStringList l = {"0009=2;V;", "*comment", "#0004=10;I;", "0005=10;I;extra;", "0006=10;Ix;"};
    EXPECT_EQ(AlleIntensiteitenWijzigen(l, ChangeAllMode::Increase, 5), 2);
    EXPECT_EQ(l, (QStringList{"0009=2;V;", "*comment", "#0004=10;I;", "0005=15;I;", "0006=15;I;"}));
    EXPECT_EQ(AlleIntensiteitenOp(l, 0), 2);
    EXPECT_EQ(l, (QStringList{"0009=2;V;", "*comment", "#0004=10;I;", "0005=0;I;", "0006=0;I;"}));
}

TEST(Library_ChangeAllTests, MalformedValueStopsWithEarlierLinesChanged)
{
    // The third line's value is not a number: the first two are changed, the last is not.
    QStringList l = {"0001=1;I;", "0002=2;V;", "0003=x;I;", "0004=4;I;"};
    EXPECT_THROW(AlleIntensiteitenWijzigen(l, ChangeAllMode::Increase, 10), ConversionError);
    EXPECT_EQ(l, (QStringList{"0001=11;I;", "0002=2;V;", "0003=x;I;", "0004=4;I;"}));
    QStringList m = {"0001=1;I;", "0003=;I;"};
    EXPECT_THROW(AlleIntensiteitenOp(m, 0), ConversionError);
    EXPECT_EQ(m[0], "0001=0;I;");
}

TEST(Library_ChangeAllTests, ResultsOutsideTheIntegerRangeAreHeldAtItsEnds)
{
    // Adding to the largest volume or multiplying it a thousandfold never wraps round.
    QStringList l = {QStringLiteral("0001=%1;I;").arg(INT_MAX), QStringLiteral("0002=%1;I;").arg(INT_MIN)};
    AlleIntensiteitenWijzigen(l, ChangeAllMode::Increase, INT_MAX);
    EXPECT_EQ(l[0], QStringLiteral("0001=%1;I;").arg(INT_MAX));
    l = {QStringLiteral("0001=%1;I;").arg(INT_MAX), QStringLiteral("0002=%1;I;").arg(INT_MIN)};
    AlleIntensiteitenWijzigen(l, ChangeAllMode::Multiply, INT_MAX);
    EXPECT_EQ(l[0], QStringLiteral("0001=%1;I;").arg(INT_MAX));
    EXPECT_EQ(l[1], QStringLiteral("0002=%1;I;").arg(INT_MIN));
}

TEST(Library_ChangeAllTests, DecimalValuesAsTyped)
{
    // "." and "," are both the decimal sign; the result is exact until the one rounding at the end (halves to
    // even); signs, blanks at the ends and whole numbers read as expected; anything else is no number.
    auto parsed = [](const char* t) { return parseTypedDecimal(QString::fromLatin1(t)); };
    ASSERT_TRUE(parsed("1.5"));
    EXPECT_EQ(parsed("1.5")->mantissa, 15);
    EXPECT_EQ(parsed("1.5")->decimals, 1);
    EXPECT_EQ(parsed(" -1012,50 ")->mantissa, -101250);
    EXPECT_EQ(parsed(" -1012,50 ")->decimals, 2);
    EXPECT_TRUE(parsed("+7")->isWhole());
    EXPECT_TRUE(parsed("2.000")->isWhole());
    EXPECT_FALSE(parsed("2.001")->isWhole());
    EXPECT_EQ(parsed(".5")->mantissa, 5);
    for (const char* bad : {"", " ", "-", "1.2.3", "1,5.0", "1 500", "1e3", "abc", "12a", "1234567890123456789",
                            "0.1234567891"})
        EXPECT_FALSE(parsed(bad)) << bad;

    QStringList l{"0003=450;I;", "0001=30;I;", "0002=1;I;", "0009=2;V;"};
    AlleIntensiteitenWijzigen(l, ChangeAllMode::Multiply, *parsed("1100.5"));
    EXPECT_EQ(l, QStringList({"0003=495;I;", "0001=33;I;", "0002=1;I;", "0009=2;V;"})); // 495.225, 33.015, 1.1005
    l = QStringList{"0003=1000;I;", "0001=3000;I;"};
    AlleIntensiteitenWijzigen(l, ChangeAllMode::Multiply, *parsed("0.5"));
    EXPECT_EQ(l, QStringList({"0003=0;I;", "0001=2;I;"})); // 0.5 and 1.5: halves to even
    l = QStringList{"0003=10;I;"};
    AlleIntensiteitenWijzigen(l, ChangeAllMode::Increase, *parsed("2.5"));
    EXPECT_EQ(l, QStringList{"0003=12;I;"});
    // A factor of eighteen digits does not overflow: the result is held at the 32-bit end.
    l = QStringList{"0003=2000000000;I;"};
    AlleIntensiteitenWijzigen(l, ChangeAllMode::Multiply, *parsed("999999999999999999"));
    EXPECT_EQ(l, QStringList{"0003=2147483647;I;"});
}
