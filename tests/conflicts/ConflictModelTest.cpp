// Building the conflict model from the database and writing its seating back.

#include "db/Format.h"
#include "db/ValueCodes.h"
#include "support/HeatTest.h"
#include "tournament/CurrentTournament.h"

#include <algorithm>

using namespace testdata;

class ConflictModelTest : public HeatTest {};

TEST_F(ConflictModelTest, BuildReadsTheHeatsPlayersWithTheirSeatsTeamsConflictsAndGroups)
{
    TournamentRow row;
    row.numHeats = 4;
    OpenTournament(row);
    const int ann = AddPlayer("Ann", "Archer");
    const int bob = AddPlayer("Bob", "O`Brien");
    const int cy = AddPlayer("Cy", "Cole");
    const int di = AddPlayer("Di", "Dunn");
    const int eve = AddPlayer("Eve", "Elm");

    const int earlier1 = SeatGame(1, 1, {{ann, kItaly}, {bob, kAustria}}, kFinished);
    const int earlier2 = SeatGame(2, 1, {{ann, kFrance}}, kFinished);
    const int current = SeatGame(3, 1, {{ann, kTurkey}, {bob, kNoPower}, {cy, kEngland}});
    const int started = SeatGame(3, 2, {{di, kRussia}}, kStarted);
    SeatGame(4, 1, {{ann, kGermany}});  // a later heat is not history

    const int team = AddTeam(tournamentID, "Reds", {ann, cy});
    const int otherTournament = AddTournament();
    AddTeam(otherTournament, "Blues", {bob});
    AddConflict(ann, bob, 4);
    AddConflict(ann, cy, 2);
    AddConflict(bob, cy, 1);
    const int club = AddGroup("Chess Club", 3, {ann, bob});
    const int family = AddGroup("Family", 1, {ann});
    // A player of another tournament's heat 3 is not in the model.
    const int otherHeat = AddHeat(otherTournament, 3);
    AddSeat(AddGame(otherHeat, 1), eve, kAustria);

    g_conflictModel = BuildConflictModel(3);
    ConflictModel& model = *g_conflictModel;
    EXPECT_EQ(model.heatNum, 3);

    // The players in the reverse of the order the database gives them.
    std::vector<int> returned;
    for (const QStringList& r : Rows(Sql("select playerID, first, last from Player, GamePlayer, Game, Heat where "
                                         "Player.id = playerID and Game.gameStat = 0 and GamePlayer.gameID = Game.id "
                                         "and Game.heatID = Heat.id and Heat.heatNum = 3 and Heat.tournamentID = %d",
                                         tournamentID)))
        returned.push_back(r[0].toInt());
    std::reverse(returned.begin(), returned.end());
    std::vector<int> listed;
    for (const ModelPlayer& p : model.players) listed.push_back(p.playerID);
    EXPECT_EQ(listed, returned);
    ASSERT_EQ(listed.size(), 3u);  // the started game is left out

    const ModelPlayer& a = InModel(ann);
    EXPECT_EQ(a.name, "Ann Archer");
    EXPECT_EQ(a.teamID, team);
    ASSERT_EQ(a.seats.size(), 3u);
    EXPECT_EQ(a.seats[0].heatNum, 3);
    EXPECT_EQ(a.seats[0].gameID, current);
    EXPECT_EQ(a.seats[0].powerID, kTurkey);
    EXPECT_EQ(a.seats[1].gameID, earlier2);
    EXPECT_EQ(a.seats[1].powerID, kFrance);
    EXPECT_EQ(a.seats[2].gameID, earlier1);
    EXPECT_EQ(a.seats[2].heatNum, 1);
    ASSERT_EQ(a.pairConflicts.size(), 2u);
    EXPECT_EQ(a.pairConflicts[0].otherID, bob);
    EXPECT_EQ(a.pairConflicts[0].value, 4);
    EXPECT_EQ(a.pairConflicts[1].otherID, cy);
    // Groups in the reverse of the order the database gives them.
    std::vector<int> groupOrder;
    for (const QStringList& r : Rows(Sql("select id, name, conflict from [group], playerGroup where "
                                         "playerGroup.groupID = [group].id and playerID = %d",
                                         ann)))
        groupOrder.push_back(r[0].toInt());
    std::reverse(groupOrder.begin(), groupOrder.end());
    ASSERT_EQ(a.groups.size(), 2u);
    EXPECT_EQ(a.groups[0].groupID, groupOrder[0]);
    EXPECT_EQ(a.groups[1].groupID, groupOrder[1]);
    const ModelGroup& clubEntry = a.groups[0].groupID == club ? a.groups[0] : a.groups[1];
    EXPECT_EQ(clubEntry.name, "Chess Club");
    EXPECT_EQ(clubEntry.conflict, 3);
    EXPECT_NE(a.groups[0].groupID == family, a.groups[1].groupID == family);

    const ModelPlayer& b = InModel(bob);
    EXPECT_EQ(b.name, "Bob O`Brien");
    EXPECT_EQ(b.teamID, -1);  // his team is in another tournament
    ASSERT_EQ(b.pairConflicts.size(), 1u);
    EXPECT_EQ(b.pairConflicts[0].otherID, cy);
    EXPECT_EQ(b.seats[0].powerID, kNoPower);
    EXPECT_TRUE(InModel(cy).pairConflicts.empty());

    // The negative form takes every game of the heat.
    g_conflictModel = BuildConflictModel(-3);
    EXPECT_EQ(g_conflictModel->heatNum, 3);
    ASSERT_EQ(g_conflictModel->players.size(), 4u);
    EXPECT_EQ(InModel(di).seats[0].gameID, started);
}

TEST_F(ConflictModelTest, TheBuiltModelCountsWhatTheDatabaseHolds)
{
    TournamentRow row;
    row.playerConflict = 3;
    row.powerConflict = 5;
    row.groupPowers = 1;
    OpenTournament(row);
    const int ann = AddPlayer("Ann", "Archer");
    const int bob = AddPlayer("Bob", "Baker");
    SeatGame(1, 1, {{ann, kItaly}, {bob, kEngland}}, kFinished);
    SeatGame(2, 1, {{ann, kGermany}, {bob, kFrance}}, kFinished);
    SeatGame(3, 1, {{ann, kGermany}}, kFinished);
    SeatGame(4, 1, {{ann, kItaly}, {bob, kTurkey}});
    AddConflict(bob, ann, 4);
    AddGroup("Club", 2, {ann, bob});

    g_conflictModel = BuildConflictModel(4);
    EXPECT_EQ(g_conflictModel->ComputePlayerConflict(ann), 9 + 4 + 2 + 6);
    EXPECT_EQ(g_conflictModel->explanation,
              (std::vector<QString>{"5 pts. for having played this power 1 time before.",
                                    "4 pts. for having played a power in this power group 2 times before.",
                                    "4 pts. inherent conflict with Bob Baker.",
                                    "2 pts. for being in the group 'Club' with Bob Baker.",
                                    "6 pts. for having played against Bob Baker 2 times before."}));
    EXPECT_EQ(g_conflictModel->ComputePlayerConflict(bob), 4 + 2 + 6);
    EXPECT_EQ(g_conflictModel->TotalConflict(), 21 + 12);
}

TEST_F(ConflictModelTest, WriteSeatingGivesEveryTouchedGameExactlyItsSeatsWithoutResults)
{
    OpenTournament();
    std::vector<int> ids;
    for (int i = 0; i < 21; ++i) ids.push_back(AddPlayer("P", QString("Player %1").arg(i, 2, 10, QChar('0'))));
    std::vector<std::pair<int, int>> g1, g2, g3;
    for (int k = 0; k < 7; ++k) {
        g1.push_back({ids[size_t(k)], k});
        g2.push_back({ids[size_t(k + 7)], k});
        g3.push_back({ids[size_t(k + 14)], k});
    }
    const int game1 = SeatGame(1, 1, g1);
    const int game2 = SeatGame(1, 2, g2);
    const int startedGame = SeatGame(1, 3, g3, kStarted);
    Exec(Sql("update GamePlayer set result = 1, years = 905, centers = 12 where gameID = %d", startedGame));
    Exec(Sql("update GamePlayer set result = 0, centers = 3 where gameID = %d", game1));
    const int laterGame = SeatGame(2, 1, g1);

    g_conflictModel = BuildConflictModel(1);
    ConflictModel& model = *g_conflictModel;
    ASSERT_EQ(model.players.size(), 14u);
    model.SwapSeats(InModel(ids[0]), InModel(ids[8]));   // across games
    model.SwapSeats(InModel(ids[1]), InModel(ids[2]));   // within a game
    model.WriteSeating();

    auto seatsOf = [&](int gameID) {
        return Rows(Sql("select playerID, powerID, result, years, centers from GamePlayer where gameID = %d order by "
                        "powerID",
                        gameID));
    };
    auto seat = [](int player, int power) {
        return QStringList{QString::number(player), QString::number(power), "-1", "-1", "-1"};
    };
    EXPECT_EQ(seatsOf(game1), (std::vector<QStringList>{seat(ids[8], 0), seat(ids[2], 1), seat(ids[1], 2),
                                                        seat(ids[3], 3), seat(ids[4], 4), seat(ids[5], 5),
                                                        seat(ids[6], 6)}));
    EXPECT_EQ(seatsOf(game2), (std::vector<QStringList>{seat(ids[7], 0), seat(ids[0], 1), seat(ids[9], 2),
                                                        seat(ids[10], 3), seat(ids[11], 4), seat(ids[12], 5),
                                                        seat(ids[13], 6)}));
    // Games outside the model keep their seats and results.
    EXPECT_EQ(Count(Sql("select * from GamePlayer where gameID = %d and result = 1 and years = 905", startedGame)), 7);
    EXPECT_EQ(Count(Sql("select * from GamePlayer where gameID = %d", laterGame)), 7);
    EXPECT_EQ(Count("select * from GamePlayer"), 28);
}
