#include "scores/ScoreLists.h"

#include "report/ReportOutput.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

ListingRow Row(const QStringList& cells) { return ListingRow{0, 0.0f, 0, cells}; }

}  // namespace

TEST(ScoreLists, PlayerLinesPadRankNameAndEveryScore)
{
    const std::vector<ListingRow> rows = {Row({"1.", "Ann Ash", "12", "7.500", "3", "22.500"}),
                                          Row({"10.", "Bartholomew Featherstonehaugh", "0", "0", "0", "0"})};
    EXPECT_EQ(PlayerScoresText("Spring Open", rows),
              "\nSpring Open Player Scores\n\n"
              "  1. Ann Ash                   12      7.500   3       22.500  \n"
              " 10. Bartholomew Featherstonehaugh 0       0       0       0       \n");
    EXPECT_EQ(PlayerScoresText("Spring Open", {}), "");
}

TEST(ScoreLists, EveryFiftySixRowsStartANewPageWithAFormFeed)
{
    std::vector<ListingRow> rows;
    for (int i = 1; i <= 113; ++i) rows.push_back(Row({QString::number(i) + ".", "P", "1", "1"}));
    const QString text = PlayerScoresText("Spring Open", rows);
    EXPECT_EQ(text.count("\f"), 2);
    EXPECT_EQ(text.count("Spring Open Player Scores\n\n"), 3);
    EXPECT_TRUE(text.contains(" 56. P                         1       1       \n"
                              "\f\nSpring Open Player Scores\n\n"
                              " 57. P "));
    EXPECT_TRUE(text.contains("112. P                         1       1       \n\f\n"));
    EXPECT_TRUE(text.endsWith("\n\n113. P                         1       1       \n"));

    std::vector<ListingRow> teams;
    for (int i = 1; i <= 57; ++i) teams.push_back(Row({QString::number(i) + ".", "Team", "4.500"}));
    const QString teamText = TeamScoresText("Spring Open", teams);
    EXPECT_TRUE(teamText.startsWith("\nSpring Open Team Scores\n\n"
                                    "  1. Team                                     4.500  \n"));
    EXPECT_TRUE(teamText.endsWith("\f\nSpring Open Team Scores\n\n"
                                  " 57. Team                                     4.500  \n"));
}

TEST(ScoreLists, ExportQuotesOnlyCellsThatNeedIt)
{
    EXPECT_EQ(CsvCell("Ann Ash"), "Ann Ash");
    EXPECT_EQ(CsvCell("7.500"), "7.500");
    EXPECT_EQ(CsvCell(""), "");
    EXPECT_EQ(CsvCell("Lee, Jr."), "\"Lee, Jr.\"");
    EXPECT_EQ(CsvCell("Al \"Ace\" Amos"), "\"Al \"\"Ace\"\" Amos\"");
    EXPECT_EQ(CsvCell("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(CsvCell("carriage\rreturn"), "\"carriage\rreturn\"");
    // A backquote, as stored for an apostrophe, needs nothing.
    EXPECT_EQ(CsvCell("O`Neil"), "O`Neil");

    EXPECT_EQ(PlayerScoresCsv({Row({"1.", "Ann Ash", "12", "7.500", "3", "22.500"}),
                               Row({"2.", "Bo Lee, Jr.", "1", "0", "0", "1"})}),
              "1.,Ann Ash,12,7.500,3,22.500\n2.,\"Bo Lee, Jr.\",1,0,0,1\n");
    EXPECT_EQ(PlayerScoresCsv({}), "");

    EXPECT_EQ(ExportFileName("Spring Open"), "Spring Open.csv");
    EXPECT_EQ(ExportFileName("North/South"), "North_South.csv");
}

TEST(ScoreLists, ExportKeepsSpreadsheetsFromReadingNamesAsFormulas)
{
    const std::pair<QString, QString> cells[] = {
        {"@SUM(1+1) cmd", "'@SUM(1+1) cmd"},
        {"+1+1 -2+3", "'+1+1 -2+3"},
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},  // the apostrophe goes inside the quotes
        {"-Dash, Jr.", "\"'-Dash, Jr.\""},
        {"\tTab", "'\tTab"},
        {"\rReturn", "\"'\rReturn\""},
        {"Ann = Ash", "Ann = Ash"},  // only the first character counts
        {"", ""},
    };
    for (const auto& [cell, written] : cells) EXPECT_EQ(CsvTextCell(cell), written) << cell.toStdString();

    // Scores are numbers, not names: a negative one is written as it stands.
    EXPECT_EQ(PlayerScoresCsv({Row({"1.", "+Plus Man", "-1", "-0.500", "-1.500"})}), "1.,'+Plus Man,-1,-0.500,-1.500\n");
}
