#include "db/ValueCodes.h"
#include "scoring/ScoringSystem.h"
#include "support/DbTest.h"
#include "support/TestData.h"
#include "tournament/CurrentTournament.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testdata;

namespace {

// A game of seven seats, powers Austria .. Turkey in order.
std::vector<GameSeat> Game(std::vector<int> centres, std::vector<int> results, std::vector<int> years = {})
{
    std::vector<GameSeat> seats;
    for (int p = 0; p < 7; ++p)
        seats.push_back(GameSeat{p, results[size_t(p)], years.empty() ? 5 : years[size_t(p)], centres[size_t(p)]});
    return seats;
}

// A system of the given kind; formulas not given are "0".
CScoringSystem System(int winDrawScoring, int dias, std::vector<std::pair<int, QString>> formulas)
{
    CScoringSystem s;
    s.id = 1;
    s.winDrawScoring = winDrawScoring;
    s.dias = dias;
    for (QString& f : s.formulas) f = "0";
    for (const auto& [slot, text] : formulas) s.formulas[size_t(slot)] = text;
    s.DeriveUsageFlags();
    return s;
}

std::vector<SeatScore> ScoreAll(CScoringSystem& system, const std::vector<GameSeat>& game)
{
    std::vector<SeatScore> scores;
    for (const GameSeat& seat : game) scores.push_back(system.ScoreSeat(seat, game));
    return scores;
}

}  // namespace

TEST(SeatScoring, WinDrawScoresTheDrawSizeFormula)
{
    CScoringSystem s = System(1, 1, {{kScore1, "1000"}, {kScore3, "100 + num * 10 + srv"}, {kScoreLoss, "scs"}});
    const auto game = Game({10, 8, 6, 5, 3, 2, 0}, {1, 1, 1, 0, 0, 0, 0});
    const auto scores = ScoreAll(s, game);
    // num 3, srv 34 - (10 + 8 + 6)
    for (int p : {0, 1, 2}) {
        EXPECT_EQ(scores[size_t(p)].score, 140) << p;
        EXPECT_TRUE(scores[size_t(p)].inWinOrDraw);
        EXPECT_FALSE(scores[size_t(p)].soleWinner);
    }
    for (int p : {3, 4, 5, 6}) {
        EXPECT_EQ(scores[size_t(p)].score, float(game[size_t(p)].centers)) << p;
        EXPECT_FALSE(scores[size_t(p)].inWinOrDraw || scores[size_t(p)].soleWinner);
    }

    // A solo win scores score1 and is the sole winner.
    s.formulas[kScore1] = "50 + num + srv";
    const auto solo = Game({18, 8, 6, 2, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0});
    const SeatScore winner = s.ScoreSeat(solo[0], solo);
    EXPECT_EQ(winner.score, 50 + 1 + 16);
    EXPECT_TRUE(winner.soleWinner && winner.inWinOrDraw);
    EXPECT_FALSE(s.ScoreSeat(solo[1], solo).inWinOrDraw);
}

TEST(SeatScoring, RanksBySupplyCentres)
{
    const std::vector<std::pair<int, QString>> formulas = {
        {kScore1, "num * 10000 + srv * 100 + ldr"},
        {kScore2, "200 + big * 10 + tie"},
        {kScore3, "300 + big * 10 + tie"},
        {kScore4, "scs"},
        {kScoreLoss, "-1"},
    };
    const auto game = Game({12, 8, 8, 6, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0});

    CScoringSystem plain = System(0, 0, formulas);
    auto scores = ScoreAll(plain, game);
    EXPECT_EQ(scores[0].score, 42212);  // num 4 survivors, srv 22, ldr 12
    EXPECT_EQ(scores[1].score, 211);    // rank 2: one power above, one tied
    EXPECT_EQ(scores[2].score, 211);
    EXPECT_EQ(scores[3].score, 6);
    for (int p : {4, 5, 6}) EXPECT_EQ(scores[size_t(p)].score, -1);

    // With dias the tied seats share the formulas of the ranks they occupy.
    CScoringSystem averaged = System(0, 1, formulas);
    scores = ScoreAll(averaged, game);
    EXPECT_EQ(scores[0].score, 42212);
    EXPECT_EQ(scores[1].score, (211 + 311) / 2.0f);
    EXPECT_EQ(scores[2].score, (211 + 311) / 2.0f);
    EXPECT_EQ(scores[3].score, 6);
    EXPECT_EQ(scores[6].score, -1);

    EXPECT_TRUE(scores[0].soleWinner && scores[0].inWinOrDraw);
    for (int p : {1, 2, 3}) EXPECT_TRUE(scores[size_t(p)].inWinOrDraw && !scores[size_t(p)].soleWinner);
    for (int p : {4, 5, 6}) EXPECT_FALSE(scores[size_t(p)].inWinOrDraw || scores[size_t(p)].soleWinner);

    // Two powers sharing the top are no sole winner.
    const auto shared = Game({10, 10, 5, 5, 4, 0, 0}, {0, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(plain.ScoreSeat(shared[0], shared).soleWinner);
    EXPECT_TRUE(plain.ScoreSeat(shared[0], shared).inWinOrDraw);
}

TEST(SeatScoring, AveragesTiesOverTheirRanks)
{
    CScoringSystem s = System(0, 1, {{1, "1"}, {2, "2"}, {3, "3"}, {4, "4"}, {5, "5"}, {6, "6"}, {7, "7"}});
    const auto second = Game({10, 4, 4, 4, 4, 4, 4}, {0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(s.ScoreSeat(second[1], second).score, (2 + 3 + 4 + 5 + 6 + 7) / 6.0f);
    const auto all = Game({4, 4, 4, 4, 4, 4, 4}, {0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(s.ScoreSeat(all[3], all).score, 4);
    EXPECT_FALSE(s.ScoreSeat(all[3], all).soleWinner);
}

TEST(SeatScoring, BothKindsAddTheProvisionalScore)
{
    CScoringSystem s = System(2, 0,
                              {{kScore1, "1000 + num"}, {kScore2, "2000 + num"}, {kScore4, "4000 + num"},
                               {kScoreLoss, "yrs"}, {kScoreProvisional, "num * 100 + big * 10 + tie"}});
    EXPECT_TRUE(s.usesProvisional);
    // Austria has a total figure of 12 and played to 1906; the others 1906 too.
    const auto game = Game({12, 8, 8, 6, 0, 0, 0}, {1, 1, 1, 0, 0, 0, 0}, {1205, 5, 5, 5, 5, 5, 5});
    const auto scores = ScoreAll(s, game);

    // num is the draw size for seats in the draw and 0 for the others; the
    // provisional formula's big is the rank.
    EXPECT_EQ(s.prov, (std::array<float, 7>{310, 321, 321, 40, 52, 52, 52}));
    EXPECT_EQ(s.ctrs, (std::array<int, 7>{12, 3, 3, 3, 3, 4, 3}));
    EXPECT_EQ(scores[0].score, 1003 + 310);
    EXPECT_EQ(scores[1].score, 2003 + 321);
    EXPECT_EQ(scores[2].score, 2003 + 321);
    EXPECT_EQ(scores[3].score, 4000 + 40);  // not in the draw: num 0
    EXPECT_EQ(scores[4].score, 6 + 52);
    EXPECT_TRUE(scores[0].soleWinner);
    EXPECT_TRUE(scores[3].inWinOrDraw);  // ranked with centres
}

TEST(SeatScoring, PassesTheYearsPlayed)
{
    CScoringSystem s =
        System(1, 1, {{kScore1, "prov"}, {kScoreLoss, "yrs"}, {kScoreProvisional, "yrs * 100 + ctrs"}});
    auto game = Game({10, 8, 6, 5, 3, 2, 0}, {1, 0, 0, 0, 0, 0, 0}, {1205, -1, 0, -400, 31, 99, -1});
    auto scores = ScoreAll(s, game);
    EXPECT_EQ(scores[1].score, 0);   // no final year
    EXPECT_EQ(scores[2].score, 1);   // 1901
    EXPECT_EQ(scores[3].score, 0);
    EXPECT_EQ(scores[4].score, 32);  // 1932
    EXPECT_EQ(scores[5].score, 100);
    EXPECT_EQ(s.prov, (std::array<float, 7>{612, 3, 103, 4, 3203, 10004, 3}));
}

TEST(SeatScoring, ComputesPowerFiguresOnlyWhenTheFormulasNeedThem)
{
    const auto game = Game({10, 8, 6, 5, 3, 2, 0}, {1, 0, 0, 0, 0, 0, 0}, {702, 5, 5, 5, 5, 5, 5});
    const std::array<float, 7> provMark{-1, -1, -1, -1, -1, -1, -1};
    const std::array<int, 7> ctrsMark{-9, -9, -9, -9, -9, -9, -9};

    CScoringSystem plain = System(1, 1, {{kScore1, "scs"}});
    EXPECT_FALSE(plain.NeedsPowerFigures());
    plain.prov = provMark;
    plain.ctrs = ctrsMark;
    EXPECT_EQ(plain.ScoreSeat(game[0], game).score, 10);
    EXPECT_EQ(plain.prov, provMark);
    EXPECT_EQ(plain.ctrs, ctrsMark);

    CScoringSystem totals = System(1, 1, {{kScore1, "ctrs + sumc"}});
    EXPECT_TRUE(totals.NeedsPowerFigures());
    totals.prov = provMark;
    EXPECT_EQ(totals.ScoreSeat(game[0], game).score, 7 + 7 + 3 * 5 + 4);
    EXPECT_EQ(totals.prov, provMark);  // no provisional formula is evaluated
    EXPECT_EQ(totals.ctrs[0], 7);
}

class SeatScoringInGame : public DbTest {};

TEST_F(SeatScoringInGame, ReadsTheGameRows)
{
    const int tournament = AddTournament();
    const int game = AddGame(AddHeat(tournament, 1), 1, kFinished);
    const int centres[7] = {3, 12, 8, 0, 8, 3, 0};
    for (int p = 0; p < 7; ++p) AddSeat(game, 100 + p, 6 - p, p == 1 ? 1 : 0, 300 * p + 8, centres[p]);
    AddSeat(AddGame(AddHeat(tournament, 2), 1, kFinished), 1, 0, 1, 5, 34);  // another game

    const std::vector<GameSeat> seats = ReadGameSeats(game);
    ASSERT_EQ(seats.size(), 7u);
    EXPECT_EQ(seats[1].powerID, 5);
    EXPECT_EQ(seats[1].result, 1);
    EXPECT_EQ(seats[1].years, 308);
    EXPECT_EQ(seats[1].centers, 12);

    for (int kind : {0, 1, 2}) {
        SystemRow row;
        row.name = QString("Kind %1").arg(kind);
        row.winDrawScoring = kind;
        row.score[0] = "scs + num * 100 + srv * 10000";
        row.score[1] = "big + tie * 10";
        row.scoreLoss = kind == 0 ? "scs" : kind == 1 ? "ctrs" : "yrs";  // only 1 and 2 need power rows
        row.scoreProvisional = "scs * 2";
        LoadScoringSystem(AddSystem(row));
        for (const GameSeat& seat : seats) {
            const SeatScore fromRows = ScoringSystem.ScoreSeat(seat, seats);
            const SeatScore fromGame = ScoreSeatInGame(game, seat);
            EXPECT_EQ(fromGame.score, fromRows.score) << kind;
            EXPECT_EQ(fromGame.soleWinner, fromRows.soleWinner);
            EXPECT_EQ(fromGame.inWinOrDraw, fromRows.inWinOrDraw);
        }
    }
    EXPECT_EQ(ScoreSeatInGame(game, seats[1]).score, 12 + 1 * 100 + 22 * 10000 + 24);
}

TEST_F(SeatScoringInGame, FindsTheSystemOfAGame)
{
    EXPECT_EQ(SystemForGame(7, 9, 4), 7);
    EXPECT_EQ(SystemForGame(0, 9, 4), 9);
    EXPECT_EQ(SystemForGame(0, 0, 4), 4);
}
