// The optimiser against the plain hill climb that computes the whole total
// after every trial exchange: on many random heats both must end on the same
// seating with the same value.

#include "db/Format.h"
#include "db/ValueCodes.h"
#include "heats/ReferenceOptimiser.h"
#include "heats/Seeding.h"
#include "support/HeatTest.h"
#include "tournament/CurrentTournament.h"

#include <algorithm>
#include <numeric>
#include <random>

using namespace testdata;

namespace {

using Seating = std::vector<std::pair<int, int>>;  // (gameID, powerID) in list order

Seating SeatingOf(const ConflictModel& model)
{
    Seating seating;
    for (const ModelPlayer& p : model.players) seating.push_back({p.seats.front().gameID, p.seats.front().powerID});
    return seating;
}

int Uniform(std::mt19937& rng, int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
bool Chance(std::mt19937& rng, double p) { return std::bernoulli_distribution(p)(rng); }

// Seats the players (indices into model.players) in games of up to seven of
// heat heatNum; with powers, the k-th of a game plays (7 - k) mod 7, and now
// and then a random power instead.
void SeatHeat(std::mt19937& rng, ConflictModel& model, std::vector<size_t> who, int heatNum, bool powers)
{
    std::shuffle(who.begin(), who.end(), rng);
    for (size_t k = 0; k < who.size(); ++k) {
        PastSeat seat;
        seat.heatNum = heatNum;
        seat.gameID = 1000 * heatNum + int(k / 7);
        seat.powerID = powers ? (Chance(rng, 0.1) ? Uniform(rng, -1, 6) : int((7 - k % 7) % 7)) : kNoPower;
        auto& seats = model.players[who[k]].seats;
        seats.insert(seats.begin(), seat);
    }
}

// A random heat with its history, declared conflicts, groups and teams, and
// random tournament weights in CurrentTournament.
ConflictModel RandomHeat(std::mt19937& rng)
{
    ConflictModel model;
    const int n = 7 * Uniform(rng, 1, 7);
    model.heatNum = Uniform(rng, 1, 6);

    std::vector<int> ids(size_t(n) * 2);
    std::iota(ids.begin(), ids.end(), 1);
    std::shuffle(ids.begin(), ids.end(), rng);
    for (int i = 0; i < n; ++i) {
        ModelPlayer p;
        p.playerID = ids[size_t(i)];
        p.name = QString("Player %1").arg(p.playerID);
        model.players.push_back(p);
    }

    // Some heats are light enough for the climb to reach 0.
    const bool light = Chance(rng, 0.25);
    if (light) model.heatNum = Uniform(rng, 1, 2);
    const int conflicts = light ? Uniform(rng, 0, 2) : Uniform(rng, 0, n);
    for (int c = 0; c < conflicts; ++c) {
        const size_t i = size_t(Uniform(rng, 0, n - 1)), j = size_t(Uniform(rng, 0, n - 1));
        if (i == j) continue;
        const int larger = std::max(model.players[i].playerID, model.players[j].playerID);
        ModelPlayer& smaller = model.players[model.players[i].playerID < larger ? i : j];
        smaller.pairConflicts.push_back({larger, Uniform(rng, -2, 10)});
    }
    const int groups = light ? Uniform(rng, 0, 1) : Uniform(rng, 0, 6);
    for (int g = 0; g < groups; ++g) {
        const ModelGroup group{100 + g, Uniform(rng, -2, 6), QString("Group %1").arg(g)};
        const double share = std::uniform_real_distribution<double>(0.05, 0.4)(rng);
        for (ModelPlayer& p : model.players)
            if (Chance(rng, share)) p.groups.push_back(group);
    }
    std::vector<size_t> all(static_cast<size_t>(n));
    std::iota(all.begin(), all.end(), size_t(0));
    for (int h = 1; h < model.heatNum; ++h) {
        std::vector<size_t> played;
        for (size_t i : all)
            if (Chance(rng, 0.85)) played.push_back(i);
        SeatHeat(rng, model, played, h, !Chance(rng, 0.2));
    }
    SeatHeat(rng, model, all, model.heatNum, !Chance(rng, 0.3));

    const int teamSize = Chance(rng, 0.6) ? Uniform(rng, 2, 5) : 0;
    if (teamSize > 0) {
        std::vector<size_t> order = all;
        std::shuffle(order.begin(), order.end(), rng);
        for (size_t k = 0; k < order.size(); ++k)
            if (Chance(rng, 0.8)) model.players[order[k]].teamID = 500 + int(k) / teamSize;
    }

    TournamentRecord& t = CurrentTournament;
    t.playerConflict = Uniform(rng, 1, 5);
    t.powerConflict = Uniform(rng, 0, 6);
    t.teamConflict = Chance(rng, 0.5) ? 0 : Uniform(rng, 1, 12);
    t.teamSize = teamSize > 0 && Chance(rng, 0.85) ? teamSize : 0;
    const int teamHeats[] = {-1, 0, model.heatNum, model.heatNum, model.heatNum + 1};
    t.teamHeat = teamHeats[Uniform(rng, 0, 4)];
    t.groupPowers = Uniform(rng, 0, 4);
    return model;
}

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
