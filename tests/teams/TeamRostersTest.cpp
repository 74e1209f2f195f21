#include "teams/TeamRosters.h"

#include "support/ScriptedUi.h"

#include <gtest/gtest.h>


TEST(TeamRosters, WithoutRowsIsEmpty) { EXPECT_EQ(TeamRostersText("Spring Open", 3, {}), ""); }

TEST(TeamRosters, PadsAndCutsEveryColumn)
{
    const QString text = TeamRostersText(
        "Spring Open", 4,
        {{"Alpha", "Ann Adams", "Bob Baker", "Cal Clark", ""},
         {"A Team Name Well Beyond Thirty Characters", "Maximilian Featherstonehaugh", "Bo Bay", "Cy Cox"}});
    EXPECT_EQ(text,
              "\nSpring Open Team Rosters\n\n"
              "Alpha                           Ann Adams       Bob Baker       Cal Clark                       \n"
              "A Team Name Well Beyond Thirty  Maximilian Feat Bo Bay          Cy Cox                          \n");
}

TEST(TeamRosters, StartsEachPageAfterTheFirstWithAFormFeed)
{
    std::vector<QStringList> rows;
    for (int n = 0; n < 113; ++n) rows.push_back({QString::number(n)});
    const QStringList lines = TeamRostersText("Cup", 1, rows).split('\n');
    const QString heading = "Cup Team Rosters";
    EXPECT_EQ(lines.count(heading), 3);
    EXPECT_EQ(lines[1], heading);
    EXPECT_EQ(lines[3].trimmed(), "0");
    EXPECT_EQ(lines[58].trimmed(), "55");
    EXPECT_EQ(lines[59], "\f");
    EXPECT_EQ(lines[60], heading);
    EXPECT_EQ(lines[62].trimmed(), "56");
    EXPECT_EQ(lines[59 + 59], "\f");
    EXPECT_EQ(lines[59 + 62].trimmed(), "112");
}
