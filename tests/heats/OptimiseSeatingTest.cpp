// The optimiser against the plain hill climb that computes the whole total
// after every trial exchange: on many random heats both must end on the same
// seating with the same value.

#include "db/Format.h"
#include "db/ValueCodes.h"
#include "heats/RandomHeat.h"
#include "heats/ReferenceOptimiser.h"
#include "heats/Seeding.h"
#include "support/HeatTest.h"
#include "tournament/CurrentTournament.h"

#include <algorithm>
#include <numeric>
#include <random>

using namespace testdata;
using namespace randomheat;

namespace {

class OptimiserEquality : public HeatTest {
protected:
    // Runs both optimisers on copies of model from the same start and
    // compares where they end.
    int ExpectSameClimb(const ConflictModel& model, int startOffset)
    {
        const TournamentRecord weights = CurrentTournament;
        g_conflictModel = std::make_unique<ConflictModel>(model);
        const int start = SeedingConflict(model.heatNum) + startOffset;
        const int expected = ReferenceOptimiseSeating(start, model.heatNum);
        const Seating expectedSeating = SeatingOf(*g_conflictModel);

        CurrentTournament = weights;
        g_conflictModel = std::make_unique<ConflictModel>(model);
        const int value = OptimiseSeating(start);
        EXPECT_EQ(value, expected);
        EXPECT_EQ(SeatingOf(*g_conflictModel), expectedSeating);
        if (value != start) {
            EXPECT_EQ(g_conflictModel->TotalConflict(), value);
        }
        return expected;
    }
};

}  // namespace

TEST_F(OptimiserEquality, EndsWhereTheFullRecomputationEndsOnRandomHeats)
{
    std::mt19937 rng(20240611);
    int zeroes = 0, teamHeats = 0, withoutPowers = 0;
    for (int round = 0; round < 150; ++round) {
        const ConflictModel model = RandomHeat(rng);
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << model.players.size() << " players");
        teamHeats += CurrentTournament.teamHeat == model.heatNum && CurrentTournament.teamSize != 0;
        withoutPowers += model.players[0].seats[0].powerID == kNoPower;
        zeroes += ExpectSameClimb(model, round % 5 == 0 ? 3 : 0) == 0;
        if (HasFailure()) break;
    }
    // The random heats did reach the cases that matter.
    EXPECT_GT(zeroes, 5);
    EXPECT_GT(teamHeats, 10);
    EXPECT_GT(withoutPowers, 10);
}

TEST_F(OptimiserEquality, EndsWhereTheFullRecomputationEndsOnDrawnHeats)
{
    // Whole tournaments in the database: earlier heats drawn and played, the
    // heat drawn, the model built as the seeding builds it.
    std::mt19937 rng(7);
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        TournamentRow row;
        row.name = QString("Open %1").arg(round);
        row.playerConflict = Uniform(rng, 1, 4);
        row.powerConflict = Uniform(rng, 0, 5);
        row.groupPowers = round % 4;
        row.teamSize = 3;
        row.teamHeat = round % 2 == 0 ? 4 : 2;
        OpenTournament(row);
        const int n = 7 * Uniform(rng, 2, 7);
        std::vector<int> players;
        for (int i = 0; i < n; ++i) players.push_back(AddPlayer("P", QString("R%1 %2").arg(round).arg(i)));
        for (int t = 0; t + 3 <= n; t += 3)
            AddTeam(tournamentID, QString("Team %1").arg(t), {players[size_t(t)], players[size_t(t + 1)],
                                                                  players[size_t(t + 2)]});
        for (int c = 0; c < n / 2; ++c) {
            const int a = players[size_t(Uniform(rng, 0, n - 1))], b = players[size_t(Uniform(rng, 0, n - 1))];
            if (a != b) AddConflict(a, b, Uniform(rng, 1, 5));
        }
        for (int g = 0; g < 3; ++g) {
            std::vector<int> members;
            for (int p : players)
                if (Chance(rng, 0.2)) members.push_back(p);
            AddGroup(QString("G%1 %2").arg(round).arg(g), Uniform(rng, 1, 4), members);
        }
        for (int h = 1; h <= 4; ++h) {
            ui().SetTime(1000 * round + h);
            AssignPowersOverride powers(h != 3);
            for (int p : players) AddHeatPlayer(HeatID(h), p);
            DrawSeating(HeatID(h), players);
            if (h < 4) Exec(Sql("update Game set gameStat = %d where heatID = %d", int(kFinished), HeatID(h)));
        }

        const std::unique_ptr<ConflictModel> model = BuildConflictModel(4);
        ASSERT_EQ(model->players.size(), size_t(n));
        ExpectSameClimb(*model, 0);
        g_conflictModel->WriteSeating();
        const auto perGame = Rows(Sql("select count(*) from GamePlayer, Game where GamePlayer.gameID = Game.id and "
                                      "Game.heatID = %d group by Game.id",
                                      HeatID(4)));
        ASSERT_EQ(perGame.size(), size_t(n / 7));
        for (const QStringList& count : perGame) EXPECT_EQ(count[0], "7");
    }
}
