#include "db/ValueCodes.h"

#include <gtest/gtest.h>

TEST(ValueCodes, NamePowers)
{
    EXPECT_EQ(PowerName(kAustria), "Austria");
    EXPECT_EQ(PowerName(kTurkey), "Turkey");
    EXPECT_EQ(PowerNameUpper(kRussia), "RUSSIA");
    EXPECT_EQ(PowerName(kNoPower), "");
    EXPECT_EQ(PowerName(7), "");
}

TEST(ValueCodes, DecodeYears)
{
    EXPECT_EQ(DecodeYears(5).yearIndex, 5);  // 1906
    EXPECT_EQ(DecodeYears(5).totalSC, 0);
    EXPECT_EQ(TotalSCOrDefault(DecodeYears(5).totalSC, kEngland), 3);
    EXPECT_EQ(TotalSCOrDefault(DecodeYears(5).totalSC, kRussia), 4);
    EXPECT_EQ(DecodeYears(1205).yearIndex, 5);
    EXPECT_EQ(DecodeYears(1205).totalSC, 12);
    EXPECT_EQ(DecodeYears(-400).yearIndex, -1);
    EXPECT_EQ(DecodeYears(-400).totalSC, 4);
    EXPECT_EQ(DecodeYears(-1).yearIndex, -1);
    EXPECT_EQ(DecodeYears(-1).totalSC, 0);
}

TEST(ValueCodes, EncodeYears)
{
    EXPECT_EQ(EncodeYears(6, 5), 506);  // 1907 with 5 centres
    EXPECT_EQ(EncodeYears(-1, 4), -400);
    EXPECT_EQ(EncodeYears(-1, 0), -1);
    EXPECT_EQ(EncodeYears(0, 0), 0);
    for (int years : {506, -400, -1, 0, 1233}) {
        const YearsField f = DecodeYears(years);
        EXPECT_EQ(EncodeYears(f.yearIndex, f.totalSC), years);
    }
}
