#include "db/Format.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(Format, FillsIntegersTextsAndReals)
{
    EXPECT_EQ(Format("%d Player%s Listed", 1, PluralSuffix(1)), "1 Player Listed");
    EXPECT_EQ(Format("%d Players in %d Game%s", 14, 2, PluralSuffix(2)), "14 Players in 2 Games");
    EXPECT_EQ(Format("%.2f", 2500.5), "2500.50");
    EXPECT_EQ(Format("%.3f", 7.5f), "7.500");
    EXPECT_EQ(Format("100%% of %s", QStringLiteral("it")), "100% of it");
    EXPECT_EQ(Format("%c", '\f'), "\f");
    EXPECT_EQ(Format("%d", -2147483647 - 1), "-2147483648");
}

TEST(Format, PadsAndCutsByCharacters)
{
    EXPECT_EQ(Format("%4s|", QStringLiteral("1.")), "  1.|");
    EXPECT_EQ(Format("%-7s|", QStringLiteral("12")), "12     |");
    EXPECT_EQ(Format("%-5.5s|", QStringLiteral("Lancelot")), "Lance|");
    EXPECT_EQ(Format("%-6.6s|", QStringLiteral("Zoë")), "Zoë   |");
    EXPECT_EQ(Format("%05d", 42), "00042");
    EXPECT_EQ(Format("%-4d|", 7), "7   |");
}

TEST(Format, RefusesArgumentsThatDoNotFit)
{
    EXPECT_THROW(Format("%d", QStringLiteral("x")), std::logic_error);
    EXPECT_THROW(Format("%s", 3), std::logic_error);
    EXPECT_THROW(Format("%.2f", 3), std::logic_error);
    EXPECT_THROW(Format("%d %d", 3), std::logic_error);
    EXPECT_THROW(Format("%d", 3, 4), std::logic_error);
    EXPECT_THROW(Format("%q", 3), std::logic_error);
    EXPECT_THROW(Format("ends in %", 3), std::logic_error);
}

TEST(Format, NeverCutsLongTexts)
{
    const QString longText(5000, QChar('x'));
    EXPECT_EQ(Format("'%s'", longText).size(), 5002);
    EXPECT_EQ(Sql("'%s'", longText).size(), 5002);
}

TEST(Sql, DoublesQuotesInsideLiteralsOnly)
{
    EXPECT_EQ(Sql("select * from Tournament where name = '%s'", QStringLiteral("O'Brien's Cup")),
              "select * from Tournament where name = 'O''Brien''s Cup'");
    // Program-built fragments placed without quotes stay as they are.
    EXPECT_EQ(Sql("select * from T order by %s", QStringLiteral("a, 'b'")), "select * from T order by a, 'b'");
    EXPECT_EQ(Format("name = '%s'", QStringLiteral("O'Brien")), "name = 'O'Brien'");
}

TEST(Sql, ApostrophesOfSanitisedNamesBecomeBackquotes)
{
    EXPECT_EQ(ApostrophesToBackquotes(QStringLiteral("O'Neil's")), "O`Neil`s");
}
