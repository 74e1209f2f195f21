#include "scores/Awards.h"

#include "db/Format.h"
#include "db/ValueCodes.h"
#include "tournament/CurrentTournament.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

struct Seat {
    int power;
    float score;
    int gameID;
};

// Standings built by hand: players added in ascending id, kept with the
// greatest id at the front as the reading leaves them; Finish() totals and
// lists them as the Scores dialog does with its box clear.
class StandingsBuilder {
public:
    explicit StandingsBuilder(int numHeats, int unplayedScore = 0)
    {
        rules.numHeats = numHeats;
        rules.minHeats = 1;
        rules.unplayedScore = unplayedScore;
    }

    PlayerStanding& Add(const QString& name, const std::vector<std::optional<Seat>>& heats)
    {
        PlayerStanding p;
        p.playerID = int(standings.players.size()) + 1;
        p.name = name;
        for (const std::optional<Seat>& seat : heats) {
            HeatEntry e;
            e.score = float(rules.unplayedScore);
            if (seat) {
                e.gameID = seat->gameID;
                e.powerID = seat->power;
                e.score = seat->score;
            }
            p.heats.push_back(e);
        }
        p.heats.resize(size_t(rules.numHeats), HeatEntry{-1, 1, -1, -1, float(rules.unplayedScore), false});
        standings.players.insert(standings.players.begin(), p);
        return standings.players.front();
    }

    void AddTeam(const QString& name, float score)
    {
        standings.teams.insert(standings.teams.begin(), TeamStanding{int(standings.teams.size()) + 1, name, score, 1});
    }

    Standings& Finish(bool qualifiedOnly = false)
    {
        for (PlayerStanding& p : standings.players) TotalPlayer(p, rules, qualifiedOnly);
        standings.playerRows = ListPlayers(standings.players, rules.numHeats);
        standings.teamRows = ListTeams(standings.teams);
        return standings;
    }

    AwardList Awards(int winDrawScoring = 1)
    {
        Finish();
        return DrawUpAwards(standings, rules, winDrawScoring, [](int gameID) { return gameID; });
    }

    TournamentRecord rules;
    Standings standings;
};

std::optional<Seat> Game(int power, float score, int gameID = 1) { return Seat{power, score, gameID}; }

}  // namespace

TEST(Awards, TextListsEveryAwardedEntryInItsPlace)
{
    StandingsBuilder b(2);
    b.Add("Al Amos", {Game(kTurkey, 0, 3), std::nullopt});
    b.Add("Bo Bell", {Game(kFrance, 6, 2), Game(kEngland, 6, 5)}).inWinOrDraw = 1;
    PlayerStanding& cy = b.Add("Cy Cole", {Game(kAustria, 12, 1), Game(kItaly, 0.5f, 4)});
    cy.soleWinner = 1;
    cy.inWinOrDraw = 1;

    EXPECT_EQ(AwardText(b.Awards()), "1st Place: Cy Cole (12.500 pts.)\n"
                                     "2nd Place: Bo Bell (12 pts.)\n"
                                     "3rd Place: Al Amos (0 pts.)\n"
                                     "\n"
                                     "Best Austria: Cy Cole (H1G1) (12 pts.)\n"
                                     "Best England: Bo Bell (H2G5) (6 pts.)\n"
                                     "Best France:  Bo Bell (H1G2) (6 pts.)\n"
                                     "Best Italy:   Cy Cole (H2G4) (0.500 pts.)\n"
                                     "Best Turkey:  Al Amos (H1G3) (0 pts.)\n"
                                     "\n"
                                     "Best result without a solo: Bo Bell (12 pts.)\n"
                                     "Best collection of losses: Al Amos (0 pts.)\n"
                                     "Last place: Al Amos (0 pts.)\n"
                                     "\n");
}

TEST(Awards, PlacesAndTheWinningTeamAreWorthWhatTheListsShow)
{
    StandingsBuilder b(1);
    b.rules.teamSize = 1;
    b.Add("Al Amos", {Game(kAustria, 12.0001f)});
    b.AddTeam("Alpha", 7.0002f);
    const QString text = AwardText(b.Awards());
    // The list shows 12.000 and 7.000; the best game keeps the heat's own score.
    EXPECT_TRUE(text.startsWith("1st Place: Al Amos (12 pts.)\n\nBest Austria: Al Amos (H1G1) (12.000 pts.)\n"))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith("\nWinning team: Alpha (7 pts.)\n")) << text.toStdString();
}

TEST(Awards, PowerEntriesTakeOnlyGamesReachingAllUnplayedScores)
{
    // u = 0: every 0 with the power is a best game.
    StandingsBuilder zero(1);
    zero.Add("Al Amos", {Game(kGermany, 0, 1)});
    zero.Add("Bo Bell", {Game(kGermany, 0, 2)});
    zero.Add("Cy Cole", {Game(kRussia, 3, 2)});
    const AwardList z = zero.Awards();
    EXPECT_EQ(z[kBestPower + kGermany].text, "Bo Bell (H1G2), Al Amos (H1G1)");
    EXPECT_EQ(z[kBestPower + kGermany].value, 0);
    EXPECT_EQ(z[kBestPower + kRussia].text, "Cy Cole (H1G2)");
    EXPECT_EQ(z[kBestPower + kAustria].text, "");

    // u = 1 over 4 heats: only game scores of 4 or more count.
    StandingsBuilder one(4, 1);
    one.Add("Al Amos", {Game(kFrance, 3.5f, 1), Game(kTurkey, 4, 7)});
    one.Add("Bo Bell", {std::nullopt, std::nullopt, Game(kFrance, 3.999f, 9)});
    const AwardList o = one.Awards();
    EXPECT_EQ(o[kBestPower + kFrance].text, "");
    EXPECT_EQ(o[kBestPower + kTurkey].text, "Al Amos (H2G7)");
    EXPECT_EQ(o[kBestPower + kTurkey].value, 4);
}

TEST(Awards, TiedPlacesShareAnEntryAndSkipTheNext)
{
    StandingsBuilder b(1);
    b.Add("Di Dunn", {Game(kAustria, 20)});
    b.Add("Cy Cole", {Game(kEngland, 25)});
    b.Add("Bo Bell", {Game(kFrance, 25)});
    b.Add("Al Amos", {Game(kGermany, 30)});
    for (int i = 0; i < 5; ++i) b.Add(Format("Low %d", i), {Game(kItaly, float(10 - i))});
    const AwardList a = b.Awards();
    EXPECT_EQ(a[kFirstPlace].text, "Al Amos");
    EXPECT_EQ(a[kFirstPlace + 1].text, "Bo Bell, Cy Cole");
    EXPECT_EQ(a[kFirstPlace + 1].value, 25);
    EXPECT_EQ(a[kFirstPlace + 2].text, "");
    EXPECT_EQ(a[kFirstPlace + 3].text, "Di Dunn");
    EXPECT_EQ(a[kFirstPlace + 6].text, "Low 2");
    // The eighth place and below get nothing.
    const QString text = AwardText(a);
    EXPECT_FALSE(text.contains("3rd Place"));
    EXPECT_TRUE(text.contains("2nd Place: Bo Bell, Cy Cole (25 pts.)\n"));
    EXPECT_FALSE(text.contains("Low 3,"));
    EXPECT_TRUE(text.contains("7th Place: Low 2 (8 pts.)\n\nBest Austria: "));
}

TEST(Awards, WinningTeamNamesTheTieWhenSeveralLead)
{
    StandingsBuilder b(1);
    b.rules.teamSize = 1;
    b.Add("Al Amos", {Game(kAustria, 5)});
    b.AddTeam("Alpha", 12.5f);
    b.AddTeam("Bravo", 12.5f);
    b.AddTeam("Charlie", 3);
    AwardList a = b.Awards();
    EXPECT_EQ(a[kWinningTeam].text, "[2 teams tied]");
    EXPECT_EQ(a[kWinningTeam].value, 12.5f);
    EXPECT_TRUE(AwardText(a).endsWith("Last place: Al Amos (5 pts.)\n\nWinning team: [2 teams tied] (12.500 pts.)\n"));

    // teams[0] is Charlie, the last team added.
    b.standings.teams[0].score = 12.5f;
    EXPECT_EQ(b.Awards()[kWinningTeam].text, "[3 teams tied]");
    b.standings.teams[0].score = 13;
    EXPECT_EQ(b.Awards()[kWinningTeam].text, "Charlie");

    b.rules.teamSize = 0;
    EXPECT_EQ(b.Awards()[kWinningTeam].text, "");
}

TEST(Awards, CentreRankingSystemsHaveNoCollectionOfLosses)
{
    StandingsBuilder b(1);
    b.Add("Al Amos", {Game(kAustria, 5)});
    b.Add("Bo Bell", {Game(kEngland, 9)}).soleWinner = 1;

    const AwardList ranking = b.Awards(0);
    EXPECT_EQ(ranking[kBestWithoutSolo].label, "Best result without a first-place finish");
    EXPECT_EQ(ranking[kBestWithoutSolo].text, "Al Amos");
    EXPECT_EQ(ranking[kBestLosses].text, "");
    EXPECT_FALSE(AwardText(ranking).contains("Best collection of losses"));

    const AwardList winDraw = b.Awards(1);
    EXPECT_EQ(winDraw[kBestWithoutSolo].label, "Best result without a solo");
    EXPECT_EQ(winDraw[kBestLosses].text, "Bo Bell");
    EXPECT_EQ(winDraw[kLastPlace].text, "Al Amos");
}

TEST(Awards, OnlyQualifiedPlayersTakeTheTotalsEntries)
{
    StandingsBuilder b(3);
    b.rules.minHeats = 2;
    b.Add("Al Amos", {Game(kAustria, 1), Game(kAustria, 1), Game(kAustria, 1)});
    b.Add("Bo Bell", {Game(kEngland, 20), std::nullopt, std::nullopt});  // not qualified
    b.Add("Cy Cole", {Game(kFrance, 2), Game(kFrance, 2), std::nullopt});  // listed, not qualified
    b.Finish(true);
    const AwardList a = DrawUpAwards(b.standings, b.rules, 1, [](int) { return 1; });
    EXPECT_EQ(a[kFirstPlace].text, "Cy Cole");
    EXPECT_EQ(a[kFirstPlace + 1].text, "Al Amos");
    EXPECT_EQ(a[kBestWithoutSolo].text, "Al Amos");
    EXPECT_EQ(a[kLastPlace].text, "Al Amos");
    // Best games count for everybody.
    EXPECT_EQ(a[kBestPower + kEngland].text, "Bo Bell (H1G1)");
}
