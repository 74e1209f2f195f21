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
    EXPECT_EQ(Sql("'%s'", longText).BoundTexts().value(0).size(), 5000);
}

TEST(Sql, BindsQuotedTextsAndWritesTheRest)
{
    const SqlStatement s = Sql("select * from T where name = '%s' and id = %d and m = %.2f and d = '%s' order by %s",
                               QStringLiteral("O'Brien's Cup"), 7, 2.5, "b", "name, id");
    EXPECT_EQ(s.Text(), "select * from T where name = ? and id = 7 and m = 2.50 and d = ? order by name, id");
    EXPECT_EQ(s.BoundTexts(), QStringList({"O'Brien's Cup", "b"}));
    EXPECT_EQ(Sql("x = '%s''%s', '%%%s'", QStringLiteral("a"), QStringLiteral("b"), "c").Text(), "x = ??, '%c'");
    EXPECT_EQ(SqlStatement("select 'it''s'").Text(), "select 'it''s'");
    EXPECT_EQ(Format("name = '%s'", QStringLiteral("O'Brien")), "name = 'O'Brien'");
}

// What the compiler refuses in a statement format.
namespace {
constexpr format_detail::Kind kText[] = {format_detail::Kind::Text};
constexpr format_detail::Kind kFragment[] = {format_detail::Kind::Fragment};
}  // namespace
static_assert(format_detail::Mismatch("order by %s", kText, true) == format_detail::kUnquotedText);
static_assert(format_detail::Mismatch("order by %s", kFragment, true).empty());
static_assert(format_detail::Mismatch("name = '%s'", kText, true).empty());
static_assert(!format_detail::Mismatch("name = 'é%s'", kText, true).empty());
static_assert(!format_detail::Mismatch("id = %d", kText, true).empty());
static_assert(format_detail::Mismatch("order by %s", kText, false).empty());

TEST(Sql, ApostrophesOfSanitisedNamesBecomeBackquotes)
{
    EXPECT_EQ(ApostrophesToBackquotes(QStringLiteral("O'Neil's")), "O`Neil`s");
}
