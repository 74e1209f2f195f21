#include "venue/VenueEvent.h"

#include "db/Database.h"
#include "db/Format.h"
#include "support/DbTest.h"
#include "support/TestData.h"
#include "tournament/CurrentTournament.h"

#include <vector>

using namespace testdata;

namespace {

// Ten players, three heats: heat 1 and 2 finished, heat 3 started; two teams.
class VenueEventTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        TournamentRow row;
        row.systemID = AddSystem();
        row.numHeats = 3;
        row.minHeats = 1;
        row.teamSize = 2;
        tournamentID = AddTournament(row);
        const char* names[][2] = {{"Zoe", "adams"}, {"Carl", "Baker"},  {"Ann", "de Vries"}, {"Bob", "Adams"},
                                  {"Eve", "Miller"}, {"Finn", "Clark"}, {"Gus", "Olsen"},    {"Hal", "Price"},
                                  {"Dana", "Young"}, {"Ida", "Zola"}};
        for (const auto& name : names) players.push_back(AddPlayer(name[0], name[1]));
        AddTeam(tournamentID, QStringLiteral("Reds"), {players[0], players[1]});
        AddTeam(tournamentID, QStringLiteral("Blues"), {players[3], players[4]});

        // Seats written out of power order; the last of heat 2 has no result yet.
        Play(1, kFinished, {0, 1, 2, 3, 4, 5, 6}, {6, 2, 0, 4, 1, 5, 3});
        Play(2, kFinished, {3, 4, 5, 6, 7, 8, 9}, {0, 1, 2, 3, 4, 5, 6});
        Play(3, kStarted, {9, 8, 7, 0, 1, 2, 3}, {3, 4, 5, 6, 0, 1, 2});
    }

    // One game in the heat: the players (by index) at the powers; the first
    // seat alone in the win.
    void Play(int heatNum, int status, const std::vector<int>& seats, const std::vector<int>& powers)
    {
        const int game = AddGame(AddHeat(tournamentID, heatNum), 1, status);
        for (size_t s = 0; s < seats.size(); ++s) {
            const bool finished = status == kFinished && !(heatNum == 2 && s == 6);
            AddSeat(game, players[size_t(seats[s])], powers[s], finished ? (s == 0 ? kWin : kLoss) : kNoResult, -1,
                    finished ? int(18 - 2 * s) : -1);
        }
    }

    static std::vector<QStringList> Cells(const std::vector<ListingRow>& rows)
    {
        std::vector<QStringList> cells;
        for (const ListingRow& row : rows) cells.push_back(row.cells);
        return cells;
    }

    int tournamentID = 0;
    std::vector<int> players;
};

}  // namespace

TEST_F(VenueEventTest, SeatsAreTheStoredSeatsAndNamesGoFromAToZ)
{
    const VenueEvent event = ReadVenueEvent(tournamentID);
    EXPECT_EQ(event.numHeats, 3);
    EXPECT_TRUE(event.hasTeams);
    EXPECT_EQ(event.currentHeat, 3);
    ASSERT_EQ(event.heats.size(), 3u);

    for (const VenueHeat& heat : event.heats) {
        std::vector<QStringList> shown;
        for (const VenueGame& game : heat.games)
            for (const VenueSeat& seat : game.seats)
                shown.push_back({QString::number(game.gameNum), QString::number(game.status),
                                 QString::number(seat.playerID), seat.name, QString::number(seat.powerID),
                                 QString::number(seat.result), QString::number(seat.centers)});
        EXPECT_EQ(shown, Rows(Sql("select Game.gameNum, Game.gameStat, Player.id, Player.first || ' ' || Player.last, "
                                  "GamePlayer.powerID, GamePlayer.result, GamePlayer.centers from Game, Heat, "
                                  "GamePlayer, Player where Game.heatID = Heat.id and GamePlayer.gameID = Game.id and "
                                  "Player.id = GamePlayer.playerID and Heat.tournamentID = %d and Heat.heatNum = %d "
                                  "order by Game.gameNum, GamePlayer.powerID",
                                  tournamentID, heat.heatNum)))
            << heat.heatNum;
    }

    const struct {
        int heatNum;
        QStringList names;
    } orders[] = {
        {1, {"Bob Adams", "Zoe adams", "Carl Baker", "Finn Clark", "Ann de Vries", "Eve Miller", "Gus Olsen"}},
        {3, {"Bob Adams", "Zoe adams", "Carl Baker", "Ann de Vries", "Hal Price", "Dana Young", "Ida Zola"}},
    };
    for (const auto& order : orders) {
        const VenueHeat& heat = *event.Heat(order.heatNum);
        QStringList names;
        for (const VenueSeatPlace& place : heat.byName) names << heat.SeatAt(place).name;
        EXPECT_EQ(names, order.names) << order.heatNum;
    }
    EXPECT_TRUE(event.IsSeated(players[9]));
    EXPECT_EQ(event.PlayerName(players[9]), "Ida Zola");
    EXPECT_FALSE(event.IsSeated(AddPlayer("Not", "Seated")));
    EXPECT_EQ(event.Heat(4), nullptr);
    EXPECT_THROW(ReadVenueEvent(tournamentID + 1), DbError);
}

TEST_F(VenueEventTest, StandingsAreTheScoresDialogsNowAndAfterEachHeat)
{
    const VenueEvent event = ReadVenueEvent(tournamentID);
    LoadTournament(tournamentID);
    const Standings now = ComputeStandings(true);
    ASSERT_EQ(now.playerRows.size(), 10u);
    EXPECT_EQ(Cells(event.standings.playerRows), Cells(now.playerRows));
    EXPECT_EQ(Cells(event.standings.teamRows), Cells(now.teamRows));

    // The standings after heat h are those with the later heats' games gone.
    ASSERT_EQ(event.afterHeat.size(), 2u);
    for (int h = 2; h >= 1; --h) {
        Exec(Sql("delete from GamePlayer where gameID in (select Game.id from Game, Heat where Game.heatID = Heat.id "
                 "and Heat.tournamentID = %d and Heat.heatNum > %d)",
                 tournamentID, h));
        LoadTournament(tournamentID);
        const Standings then = ComputeStandings(true);
        EXPECT_EQ(Cells(event.afterHeat[size_t(h) - 1].playerRows), Cells(then.playerRows)) << h;
        EXPECT_EQ(Cells(event.afterHeat[size_t(h) - 1].teamRows), Cells(then.teamRows)) << h;
    }
    EXPECT_EQ(event.afterHeat[0].playerRows.size(), 7u);
}
