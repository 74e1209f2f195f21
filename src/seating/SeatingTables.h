#pragma once
// A heat's conflict terms tabulated for the seat-exchange optimisers.
//
// During an optimisation only the current seats move, so everything that
// depends on earlier seats, declared conflicts, groups and teams is fixed; a
// trial exchange of two players changes only the terms of the pairs that
// involve them, and those are found from the tables in time independent of
// the heat's size (apart from the players' team mates).
//
// The total is the same integer the conflict model computes:
//   sum over players s of PowerHistory(s, power(s))
// + sum over pairs {s, o} in one game of same(s, o) + same(o, s)
// + sum over pairs {s, o} in different games on one power of team(s, o) + team(o, s).
//
// Players are numbered by their place in the model's list; the weights are
// the ones the tables are built with.

#include "conflicts/ConflictModel.h"

#include <vector>

class SeatingTables {
public:
    SeatingTables(ConflictModel& model, const ConflictWeights& w);

    int Players() const { return m_players; }
    int Total() const;
    // How much the total changes when a and b exchange seats.
    int Delta(int a, int b) const;
    void Exchange(int a, int b);
    bool InOneGame(int a, int b) const { return m_game[size_t(a)] == m_game[size_t(b)]; }
    // True when a and b hold seats an exchange cannot tell apart (one game,
    // one power, as two players of a game without powers).
    bool SameSeat(int a, int b) const { return InOneGame(a, b) && m_power[size_t(a)] == m_power[size_t(b)]; }

    // Every player's seat, to be put back with Restore.
    struct Seats {
        std::vector<int> game;
        std::vector<int> power;
    };
    Seats Save() const { return {m_game, m_power}; }
    void Restore(const Seats& seats);

    // Puts the seating into the model's current seats.
    void WriteBack() const;

private:
    int Same(int i, int j) const { return m_same[size_t(i) * size_t(m_players) + size_t(j)]; }
    int& GameSum(int i, int g) { return m_gameSum[size_t(i) * size_t(m_games) + size_t(g)]; }
    int GameSum(int i, int g) const { return m_gameSum[size_t(i) * size_t(m_games) + size_t(g)]; }
    int PowerCost(int i, int p) const { return m_powerCost[size_t(i) * m_powerValues.size() + size_t(p)]; }
    int MatesChange(int s, int other, int fromGame, int fromPower, int toGame, int toPower) const;
    void SumGames();

    struct Mate {
        int player;
        int weight;  // both sides' points when on one power in different games
    };

    ConflictModel& m_model;
    int m_players = 0;
    int m_games = 0;
    std::vector<int> m_gameIDs;      // game index -> Game.id
    std::vector<int> m_powerValues;  // power index -> powerID
    std::vector<int> m_game;         // player -> game index
    std::vector<int> m_power;        // player -> power index
    std::vector<int> m_same;         // players x players: both sides' points for sharing a game
    std::vector<int> m_gameSum;      // players x games: sum of m_same with the game's players
    std::vector<int> m_powerCost;    // players x powers: PowerHistory
    std::vector<std::vector<Mate>> m_mates;
};

// The first-improvement hill climb over pairwise exchanges: for each player
// a in order and each later player b, an exchange is kept when it makes the
// total strictly lower than the best so far (starting from start), and passes
// repeat until a whole pass keeps nothing. Stops at once on a total of 0.
// Returns the best value; the tables hold its seating (or the seating they
// held, when nothing was kept).
int ClimbSeating(SeatingTables& seating, int start);
