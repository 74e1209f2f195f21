#pragma once
// What the score tests share: an open tournament scored by a system that
// gives every seat half its supply centres, and finished games built from
// the scores the players should get.

#include "db/Format.h"
#include "scores/Standings.h"
#include "support/DbTest.h"
#include "support/ListRows.h"
#include "support/TestData.h"
#include "tournament/CurrentTournament.h"

#include <map>
#include <optional>
#include <utility>
#include <vector>

class ScoresTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        testdata::SystemRow half;
        half.name = QStringLiteral("Half Centres");
        half.winDrawScoring = 0;
        half.dias = 0;
        half.scoreLoss = QStringLiteral("scs / 2");
        for (QString& formula : half.score) formula = QStringLiteral("scs / 2");
        systemID = testdata::AddSystem(half);
    }

    // Creates the tournament under the half-centres system and opens it.
    int OpenTournament(testdata::TournamentRow row = {})
    {
        row.systemID = systemID;
        tournamentID = testdata::AddTournament(row);
        heatIDs.clear();
        LoadTournament(tournamentID);
        return tournamentID;
    }

    int HeatID(int heatNum)
    {
        auto found = heatIDs.find(heatNum);
        if (found != heatIDs.end()) return found->second;
        return heatIDs[heatNum] = testdata::AddHeat(tournamentID, heatNum);
    }

    // A finished game in a heat; each seat is (player, score), the powers
    // given in seat order, each seat getting twice its score in centres.
    int FinishedGame(int heatNum, const std::vector<std::pair<int, float>>& seats)
    {
        const int game = testdata::AddGame(HeatID(heatNum), ++gameCount, 2);
        int power = 0;
        for (const auto& [player, score] : seats) testdata::AddSeat(game, player, power++, 0, -1, int(score * 2));
        return game;
    }

    // One finished game of his own for the player in each heat with a score.
    void Play(int playerID, const std::vector<std::optional<float>>& heatScores)
    {
        for (size_t h = 0; h < heatScores.size(); ++h)
            if (heatScores[h]) FinishedGame(int(h) + 1, {{playerID, *heatScores[h]}});
    }

    static const PlayerStanding* StandingOf(const Standings& s, int playerID)
    {
        for (const PlayerStanding& p : s.players)
            if (p.playerID == playerID) return &p;
        return nullptr;
    }

    static std::vector<QStringList> RowsOf(const std::vector<ListingRow>& rows)
    {
        std::vector<QStringList> cells;
        for (const ListingRow& row : rows) cells.push_back(row.cells);
        return cells;
    }

    int systemID = 0;
    int tournamentID = 0;
    int gameCount = 0;
    std::map<int, int> heatIDs;
};
