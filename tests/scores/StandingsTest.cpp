#include "scores/Standings.h"

#include "scores/ScoresFixture.h"
#include "scoring/ScoringSystem.h"
#include "tournament/CurrentTournament.h"

#include <optional>
#include <vector>

using namespace testdata;

namespace {

using Heats = std::vector<std::optional<float>>;

TournamentRecord Rules(int numHeats, int unplayedScore = 0)
{
    TournamentRecord r;
    r.numHeats = numHeats;
    r.minHeats = 1;
    r.unplayedScore = unplayedScore;
    return r;
}

// A player's heats as the reading leaves them: played heats with their
// score, the others at the unplayed score.
PlayerStanding PlayerWith(const Heats& heats, const TournamentRecord& rules, int playerID = 1)
{
    PlayerStanding p;
    p.playerID = playerID;
    p.name = Format("Player %d", playerID);
    for (size_t h = 0; h < heats.size(); ++h) {
        HeatEntry e;
        e.score = float(rules.unplayedScore);
        if (heats[h]) {
            e.gameID = int(h) + 1;
            e.powerID = 0;
            e.score = *heats[h];
        }
        p.heats.push_back(e);
    }
    return p;
}

float Total(const Heats& heats, const TournamentRecord& rules, bool qualifiedOnly = false)
{
    PlayerStanding p = PlayerWith(heats, rules);
    TotalPlayer(p, rules, qualifiedOnly);
    return p.total;
}

}  // namespace

TEST(ScoreText, WholeNumbersPlainOthersWithThreeDecimals)
{
    EXPECT_EQ(ScoreText(12.0f), "12");
    EXPECT_EQ(ScoreText(0.0f), "0");
    EXPECT_EQ(ScoreText(-3.0f), "-3");
    EXPECT_EQ(ScoreText(7.5f), "7.500");
    EXPECT_EQ(ScoreText(22.5f), "22.500");
    EXPECT_EQ(ScoreText(2.1f), "2.100");
    EXPECT_EQ(ScoreText(-0.25f), "-0.250");
    EXPECT_EQ(ScoreText(3000000000.0f), "3000000000");
    EXPECT_EQ(RankText(4), "4.");
}

TEST(PlayerTotals, MultiplyTheLowestHeatsEarliestFirst)
{
    TournamentRecord r = Rules(3);
    EXPECT_FLOAT_EQ(Total({10, 4, 7}, r), 21);

    // The lowest heat multiplied by X = 0.
    r.dropHeats = 1;
    r.multDrop = 0.0f;
    EXPECT_FLOAT_EQ(Total({10, 4, 7}, r), 17);
    EXPECT_FLOAT_EQ(Total({5, 5, 9}, r), 14);

    // N = 1 by X = 0.5, then M = 1 by Y = 0.25 (multDrop 2500.50): the
    // second lowest heat gets the second multiplier.
    r.dropHeats = 11;
    r.multDrop = 2500.5f;
    EXPECT_FLOAT_EQ(Total({10, 4, 7}, r), 2 + 1.75f + 10);
    // Equal values: one of them takes each multiplier.
    EXPECT_FLOAT_EQ(Total({5, 5, 9}, r), 2.5f + 1.25f + 9);

    // Unplayed heats take part with the unplayed score.
    TournamentRecord withCredit = Rules(3, 3);
    withCredit.dropHeats = 1;
    EXPECT_FLOAT_EQ(Total({8, std::nullopt, 6}, withCredit), 8 + 6);
    EXPECT_FLOAT_EQ(Total({8, std::nullopt, 2}, withCredit), 8 + 3);

    // More multiplied heats than heats never multiply a heat twice.
    TournamentRecord crowded = Rules(2);
    crowded.dropHeats = 12;
    crowded.multDrop = 5000.0f;  // X = 0, Y = 0.5
    EXPECT_FLOAT_EQ(Total({6, 4}, crowded), 0 + 0);
}

TEST(PlayerTotals, QualificationDecidesStatusAndMultipliers)
{
    TournamentRecord r = Rules(4);
    r.minHeats = 2;
    r.dropHeats = 1;  // lowest heat by X = 0
    {
        PlayerStanding once = PlayerWith({9, std::nullopt, std::nullopt, std::nullopt}, r);
        TotalPlayer(once, r, true);
        EXPECT_EQ(once.status, kNotQualified);
    }
    {
        // Played 2 < numHeats - N = 3: ranked, but without multipliers.
        PlayerStanding twice = PlayerWith({9, std::nullopt, 4, std::nullopt}, r);
        TotalPlayer(twice, r, true);
        EXPECT_EQ(twice.status, kTooFewForLowHeats);
        EXPECT_FLOAT_EQ(twice.total, 13);
    }
    {
        PlayerStanding thrice = PlayerWith({9, 2, 4, std::nullopt}, r);
        TotalPlayer(thrice, r, true);
        EXPECT_EQ(thrice.status, kRanked);
        EXPECT_FLOAT_EQ(thrice.total, 15);  // the unplayed 0 is the lowest
    }
    {
        // With the box clear everybody is ranked and multiplied.
        PlayerStanding once = PlayerWith({9, std::nullopt, std::nullopt, std::nullopt}, r);
        TotalPlayer(once, r, false);
        EXPECT_EQ(once.status, kRanked);
        EXPECT_FLOAT_EQ(once.total, 9);
        PlayerStanding twice = PlayerWith({9, 6, 4, 5}, r);
        TotalPlayer(twice, r, false);
        EXPECT_FLOAT_EQ(twice.total, 20);
    }
}

TEST(TeamContributions, SumTheBestCountedHeatsOrTakeTheTeamHeat)
{
    TournamentRecord r = Rules(4);
    r.teamSize = 1;
    r.teamHeat = -3;
    EXPECT_FLOAT_EQ(TeamContribution(PlayerWith({5, 7, 3, std::nullopt}, r), r), 15);
    EXPECT_FLOAT_EQ(TeamContribution(PlayerWith({5, 7, 3, 9}, r), r), 21);

    // A game with a team mate does not count; the missing value is u.
    PlayerStanding withMate = PlayerWith({5, 7, 3, 9}, r);
    withMate.heats[3].teamCounts = 0;
    withMate.heats[1].teamCounts = 0;
    EXPECT_FLOAT_EQ(TeamContribution(withMate, r), 8);
    TournamentRecord credit = r;
    credit.unplayedScore = 2;
    EXPECT_FLOAT_EQ(TeamContribution(withMate, credit), 5 + 3 + 2);

    // Two best of one member.
    r.teamHeat = -2;
    EXPECT_FLOAT_EQ(TeamContribution(PlayerWith({5, std::nullopt, 3, std::nullopt}, r), r), 8);
    EXPECT_FLOAT_EQ(TeamContribution(PlayerWith({std::nullopt, std::nullopt, 3, std::nullopt}, r), r), 3);

    // A single team heat, played or not.
    r.teamHeat = 2;
    EXPECT_FLOAT_EQ(TeamContribution(PlayerWith({5, 7, 3, 9}, r), r), 7);
    credit.teamHeat = 2;
    EXPECT_FLOAT_EQ(TeamContribution(PlayerWith({5, std::nullopt, 3, 9}, credit), credit), 2);
}

TEST(PlayerListing, EqualTotalsShareARankAndTheFrontComesFirst)
{
    const TournamentRecord r = Rules(1);
    // The list runs from the greatest player id down.
    std::vector<PlayerStanding> players;
    for (auto [id, score] : {std::pair{6, 20.0f}, {5, 25.0f}, {4, 30.0f}, {3, 25.0f}, {2, 22.5f}})
        players.push_back(PlayerWith({score}, r, id));
    players[4].status = kNotQualified;
    players[1].status = kTooFewForLowHeats;
    for (PlayerStanding& p : players) p.total = p.heats[0].score;

    const std::vector<ListingRow> rows = ListPlayers(players, 1);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].cells, (QStringList{"1.", "Player 4", "30", "30"}));
    EXPECT_EQ(rows[1].cells, (QStringList{"2.", "Player 5", "25", "25"}));
    EXPECT_EQ(rows[2].cells, (QStringList{"2.", "Player 3", "25", "25"}));
    EXPECT_EQ(rows[3].cells, (QStringList{"4.", "Player 6", "20", "20"}));
    // Listing raises the status: ranked players become 1, the others -1.
    EXPECT_EQ(players[2].status, 1);
    EXPECT_EQ(players[1].status, kNotQualified);
    EXPECT_EQ(players[4].status, kNotQualified);
}

class StandingsFromGames : public ScoresTest {};

TEST_F(StandingsFromGames, NoFinishedGamesGiveEmptyLists)
{
    OpenTournament({.teamSize = 1, .teamHeat = -2});
    const int a = AddPlayer("Ann", "Ash");
    AddTeam(tournamentID, "Alpha", {a, AddPlayer("Bo", "Bay"), AddPlayer("Cy", "Cox")});
    const int started = AddGame(HeatID(1), 1, 1);
    AddSeat(started, a, 0, 0, -1, 10);
    const Standings s = ComputeStandings(true);
    EXPECT_TRUE(s.players.empty());
    EXPECT_TRUE(s.playerRows.empty());
    EXPECT_TRUE(s.teamRows.empty());
    EXPECT_EQ(ui().WaitCursorDepth(), 0);
    EXPECT_GE(ui().WaitCursorShows(), 1);
}

TEST_F(StandingsFromGames, UnplayedHeatsCountTheUnplayedScore)
{
    OpenTournament({.numHeats = 3, .unplayedScore = 2});
    const int ann = AddPlayer("Ann", "Ash");
    Play(ann, {10, std::nullopt, 4.5f});
    const int other = AddTournament({.name = "Elsewhere", .systemID = systemID});
    const int elsewhere = AddGame(AddHeat(other, 1), 1, 2);
    AddSeat(elsewhere, ann, 0, 0, -1, 30);

    const Standings s = ComputeStandings(true);
    ASSERT_EQ(s.playerRows.size(), 1u);
    EXPECT_EQ(s.playerRows[0].cells, (QStringList{"1.", "Ann Ash", "10", "2", "4.500", "16.500"}));
    const PlayerStanding* p = StandingOf(s, ann);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->heats[1].gameID, -1);
    EXPECT_EQ(p->heats[0].powerID, 0);
    EXPECT_EQ(p->heats[2].centers, 9);
    EXPECT_EQ(p->teamID, -1);
}

TEST_F(StandingsFromGames, QualificationBoxHidesOrListsWithoutMultipliers)
{
    OpenTournament({.numHeats = 4, .dropHeats = 1, .minHeats = 2});
    const int once = AddPlayer("One", "Heat");
    const int twice = AddPlayer("Two", "Heats");
    const int all = AddPlayer("All", "Heats");
    Play(once, {9, std::nullopt, std::nullopt, std::nullopt});
    Play(twice, {9, std::nullopt, 4, std::nullopt});
    Play(all, {9, 1, 4, 3});

    Standings checked = ComputeStandings(true);
    ASSERT_EQ(checked.playerRows.size(), 2u);
    // All four heats: the lowest multiplied by 0; two heats: no multiplier.
    EXPECT_EQ(checked.playerRows[0].cells, (QStringList{"1.", "All Heats", "9", "1", "4", "3", "16"}));
    EXPECT_EQ(checked.playerRows[1].cells, (QStringList{"2.", "Two Heats", "9", "0", "4", "0", "13"}));
    EXPECT_EQ(StandingOf(checked, twice)->status, kNotQualified);  // listed from -2
    EXPECT_EQ(StandingOf(checked, all)->status, 1);
    EXPECT_EQ(StandingOf(checked, once)->status, kNotQualified);

    Standings clear = ComputeStandings(false);
    ASSERT_EQ(clear.playerRows.size(), 3u);
    EXPECT_EQ(RowsOf(clear.playerRows)[0][1], "All Heats");
    EXPECT_EQ(clear.playerRows[1].cells, (QStringList{"2.", "Two Heats", "9", "0", "4", "0", "13"}));
    EXPECT_EQ(clear.playerRows[2].cells, (QStringList{"3.", "One Heat", "9", "0", "0", "0", "9"}));
}

TEST_F(StandingsFromGames, EqualTotalsListTheGreaterPlayerFirst)
{
    OpenTournament({.numHeats = 1});
    const int first = AddPlayer("Ann", "Zed");
    const int second = AddPlayer("Bo", "Abel");
    const int third = AddPlayer("Cy", "Moss");
    const int fourth = AddPlayer("Di", "Lamb");
    FinishedGame(1, {{first, 12.5f}, {second, 15}, {third, 12.5f}, {fourth, 10}});
    const Standings s = ComputeStandings(true);
    ASSERT_EQ(s.playerRows.size(), 4u);
    EXPECT_EQ(s.playerRows[0].cells, (QStringList{"1.", "Bo Abel", "15", "15"}));
    EXPECT_EQ(s.playerRows[1].cells, (QStringList{"2.", "Cy Moss", "12.500", "12.500"}));
    EXPECT_EQ(s.playerRows[2].cells, (QStringList{"2.", "Ann Zed", "12.500", "12.500"}));
    EXPECT_EQ(s.playerRows[3].cells, (QStringList{"4.", "Di Lamb", "10", "10"}));
    // The record list runs from the greatest player id down.
    ASSERT_EQ(s.players.size(), 4u);
    EXPECT_EQ(s.players.front().playerID, fourth);
    EXPECT_EQ(s.players.back().playerID, first);
}

TEST_F(StandingsFromGames, TeamsSumTheirMembersGamesWithoutInterplay)
{
    OpenTournament({.teamSize = 1, .teamHeat = -2, .numHeats = 3});
    const int a1 = AddPlayer("A", "One"), a2 = AddPlayer("A", "Two"), a3 = AddPlayer("A", "Three");
    const int b1 = AddPlayer("B", "One"), b2 = AddPlayer("B", "Two"), b3 = AddPlayer("B", "Three");
    const int c1 = AddPlayer("C", "One"), c2 = AddPlayer("C", "Two"), c3 = AddPlayer("C", "Three");
    const int loner = AddPlayer("No", "Team");
    AddTeam(tournamentID, "Alpha", {a1, a2, a3});
    AddTeam(tournamentID, "Bravo", {b1, b2, b3});
    AddTeam(tournamentID, "Charlie", {c1, c2, c3});
    // Alpha: one member with games, his two best count (a missing one is 0).
    Play(a1, {3, 8, 6});
    // Bravo: b1 and b2 meet in heat 1, so that game counts for neither.
    FinishedGame(1, {{b1, 9}, {b2, 7}, {loner, 1}});
    Play(b1, {std::nullopt, 2, std::nullopt});
    Play(b2, {std::nullopt, std::nullopt, 4});
    // Charlie: nobody played.

    const Standings s = ComputeStandings(true);
    EXPECT_EQ(StandingOf(s, b1)->heats[0].teamCounts, 0);
    EXPECT_EQ(StandingOf(s, b2)->heats[0].teamCounts, 0);
    EXPECT_EQ(StandingOf(s, loner)->heats[0].teamCounts, 1);
    EXPECT_EQ(StandingOf(s, b1)->teamContribution, 2);
    EXPECT_EQ(StandingOf(s, a1)->teamContribution, 14);
    EXPECT_EQ(StandingOf(s, loner)->teamID, -1);
    EXPECT_EQ(s.allUnplayedTeamScore, 0);
    ASSERT_EQ(s.teamRows.size(), 2u);
    EXPECT_EQ(s.teamRows[0].cells, (QStringList{"1.", "Alpha", "14"}));
    EXPECT_EQ(s.teamRows[1].cells, (QStringList{"2.", "Bravo", "6"}));
}

TEST_F(StandingsFromGames, TeamsBelowTheAllUnplayedScoreAreListedToo)
{
    // u = 5, teams of three scored in heat 1: B = 3 * 5 = 15.
    OpenTournament({.teamSize = 1, .teamHeat = 1, .numHeats = 2, .unplayedScore = 5});
    std::vector<int> p;
    for (int i = 0; i < 9; ++i) p.push_back(AddPlayer("P", Format("%d", i)));
    AddTeam(tournamentID, "Low", {p[0], p[1], p[2]});
    AddTeam(tournamentID, "Even", {p[3], p[4], p[5]});
    AddTeam(tournamentID, "Idle", {p[6], p[7], p[8]});
    Play(p[0], {1, std::nullopt});   // 15 - 5 + 1 = 11
    Play(p[3], {std::nullopt, 8});  // heat 1 unplayed: 15 - 5 + 5 = 15
    const Standings s = ComputeStandings(true);
    EXPECT_EQ(s.allUnplayedTeamScore, 15);
    ASSERT_EQ(s.teamRows.size(), 2u);
    EXPECT_EQ(s.teamRows[0].cells, (QStringList{"1.", "Even", "15"}));
    EXPECT_EQ(s.teamRows[1].cells, (QStringList{"2.", "Low", "11"}));
}

TEST_F(StandingsFromGames, TeamsInOneHeatTieNearerTheFrontFirst)
{
    OpenTournament({.teamSize = 1, .teamHeat = 2, .numHeats = 2});
    std::vector<int> p;
    for (int i = 0; i < 6; ++i) p.push_back(AddPlayer("P", Format("%d", i)));
    AddTeam(tournamentID, "First", {p[0], p[1], p[2]});
    AddTeam(tournamentID, "Second", {p[3], p[4], p[5]});
    FinishedGame(2, {{p[0], 4}, {p[3], 3}, {p[4], 1}});
    FinishedGame(1, {{p[1], 9}});
    const Standings s = ComputeStandings(true);
    ASSERT_EQ(s.teamRows.size(), 2u);
    // Equal scores: the team returned last by its statement is nearer the front.
    EXPECT_EQ(s.teamRows[0].cells, (QStringList{"1.", "Second", "4"}));
    EXPECT_EQ(s.teamRows[1].cells, (QStringList{"1.", "First", "4"}));
}

TEST_F(StandingsFromGames, ScoresEverySeatUnderItsGamesSystemAsSeatByScoringWould)
{
    OpenTournament({.numHeats = 3});
    SystemRow both;
    both.name = "Both";
    both.winDrawScoring = 2;
    both.dias = 1;
    both.scoreProvisional = "scs + ctrs / 10 + big";
    both.score[0] = "20 + srv";
    both.score[1] = "15 - tie";
    SystemRow winDraw;
    winDraw.name = "Win Draw";
    winDraw.score[1] = "30 / num + yrs";
    const int bothID = AddSystem(both);
    const int winDrawID = AddSystem(winDraw);

    std::vector<int> players;
    for (int i = 0; i < 8; ++i) players.push_back(AddPlayer("P", Format("%d", i)));
    const int heat2 = AddHeat(tournamentID, 2, bothID);
    heatIDs[2] = heat2;
    const int g1 = AddGame(HeatID(1), 1, 2, winDrawID);
    const int g2 = AddGame(heat2, 1, 2);
    const int g3 = AddGame(HeatID(3), 1, 2);
    const int centres[7] = {10, 8, 8, 5, 3, 0, 0};
    for (int s = 0; s < 7; ++s) {
        AddSeat(g1, players[size_t(s)], s, s < 2 ? 1 : 0, 5 + 100 * s, centres[s]);
        AddSeat(g2, players[size_t(6 - s)], s, s == 0 ? 1 : 0, 3, centres[s]);
        AddSeat(g3, players[size_t(s + 1)], s, 0, -1, centres[6 - s]);
    }

    // What scoring each seat on its own (reading its game's rows) gives.
    std::map<std::pair<int, int>, float> expected;
    for (const QStringList& row : Rows(Sql("select GamePlayer.playerID, Heat.heatNum, Game.systemID, Heat.systemID, "
                                           "GamePlayer.gameID, GamePlayer.powerID, GamePlayer.result, "
                                           "GamePlayer.years, GamePlayer.centers from GamePlayer, Game, Heat where "
                                           "GamePlayer.gameID = Game.id and Game.heatID = Heat.id"))) {
        LoadScoringSystem(SystemForGame(row[2].toInt(), row[3].toInt(), CurrentTournament.systemID));
        const GameSeat seat{row[5].toInt(), row[6].toInt(), row[7].toInt(), row[8].toInt()};
        expected[{row[0].toInt(), row[1].toInt()}] = ScoreSeatInGame(row[4].toInt(), seat).score;
    }
    LoadScoringSystem(winDrawID);

    const Standings s = ComputeStandings(true);
    ASSERT_EQ(s.players.size(), 8u);
    int compared = 0;
    for (const PlayerStanding& p : s.players) {
        for (int h = 1; h <= 3; ++h) {
            const auto found = expected.find({p.playerID, h});
            if (found == expected.end()) {
                EXPECT_EQ(p.heats[size_t(h - 1)].gameID, -1);
                continue;
            }
            EXPECT_FLOAT_EQ(p.heats[size_t(h - 1)].score, found->second) << "player " << p.playerID << " heat " << h;
            ++compared;
        }
    }
    EXPECT_EQ(compared, 21);
    // Award flags: a member of a two-way draw who never topped a board is in
    // the win or draw but no sole winner; the sole top of a board is.
    EXPECT_EQ(StandingOf(s, players[1])->inWinOrDraw, 1);
    EXPECT_EQ(StandingOf(s, players[1])->soleWinner, 0);
    EXPECT_EQ(StandingOf(s, players[6])->soleWinner, 1);
    // The last seat scored is the greatest player's: heat 3, the tournament's system.
    EXPECT_EQ(ScoringSystem.id, systemID);
}
