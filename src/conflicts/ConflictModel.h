#pragma once
// The conflict model of one heat: how undesirable its seating is.
//
// Every seated player gets a conflict value, a whole number of points, with
// explanation lines saying where each point comes from: repeated powers (or
// powers of the same power group) from earlier heats, and sharing a game
// with a player one has a declared conflict with, a member of one's group or
// team, or a player one has met before; in the team heat, also playing the
// same power as a team mate in another game. The heat's total conflict is the
// sum over its players.
//
// The model is read from the database once (BuildConflictModel) and then
// works in memory: seats can be exchanged (SwapSeats) and the seating written
// back (WriteSeating). The weights come from CurrentTournament and are read
// anew at every computation.

#include <QString>

#include <memory>
#include <vector>

// One seat of a player: in the model's heat (the current seat) or earlier.
struct PastSeat {
    int heatNum = 0;
    int gameID = 0;
    int powerID = -1;  // kAustria .. kTurkey, kNoPower
};

// A declared conflict with another player (the PlayerConflicts row in which
// this player is player1).
struct PairConflict {
    int otherID = 0;
    int value = 0;
};

// A group the player belongs to.
struct ModelGroup {
    int groupID = 0;
    int conflict = 0;
    QString name;
};

struct ModelPlayer {
    QString name;  // "first last"
    int playerID = 0;
    int teamID = -1;  // the player's team in this tournament; -1 = none
    // From the highest heat down: seats[0] is the current seat, the rest are
    // the earlier seats.
    std::vector<PastSeat> seats;
    std::vector<PairConflict> pairConflicts;
    std::vector<ModelGroup> groups;
};

// The tournament's conflict weights, as one computation reads them.
struct ConflictWeights {
    int player = 0;      // P: per earlier meeting
    int power = 0;       // W: per repeat of the same power
    int team = 0;        // T: team mates (teamConflict, or P + W when it is 0)
    int teamHeat = 0;
    int groupPowers = 0;

    static ConflictWeights FromCurrentTournament();
};

// True when two different powers are in the same power group of the
// grouping groupPowers (0 none; 1 A/G/I, E/F, R/T; 2 A/G/I, E/T, F/R;
// 3 A/I, E/F, R/T with Germany in none; anything else none).
bool SamePowerGroup(int groupPowers, int power1, int power2);

class ConflictModel {
public:
    ConflictModel() = default;
    ConflictModel(const ConflictModel& other);
    ConflictModel& operator=(const ConflictModel& other);

    int heatNum = 0;
    // In the reverse of the order the database returned the players; every
    // iteration runs in this order.
    std::vector<ModelPlayer> players;
    // The lines of the last ComputePlayerConflict, in order, each whole.
    std::vector<QString> explanation;
    // The player of the last ComputePlayerConflict; null when the player
    // asked for was not in the model (or before the first computation).
    const ModelPlayer* lastPlayer = nullptr;

    // The conflict value of the first model player with this id in the
    // current seating; fills explanation and sets lastPlayer. A player who is
    // not in the model has value 0 and no lines.
    int ComputePlayerConflict(int playerID);
    // The sum of every model player's value; afterwards explanation and
    // lastPlayer describe the last player of the list.
    int TotalConflict();
    // Exchanges the game and the power of the current seats of a and b.
    void SwapSeats(ModelPlayer& a, ModelPlayer& b);
    // Replaces the GamePlayer rows of every game the model seats players in
    // by the model's seats, without results; one transaction.
    void WriteSeating() const;

    // The terms of a player's value, each adding lines to explanation when
    // it is given. s's points for playing power now, from his earlier seats:
    int PowerHistoryConflict(const ModelPlayer& s, int power, const ConflictWeights& w,
                             std::vector<QString>* explanation = nullptr) const;
    // s's points for sharing a game with o (declared conflict, groups, team,
    // earlier meetings).
    int SameGameConflict(const ModelPlayer& s, const ModelPlayer& o, const ConflictWeights& w,
                         std::vector<QString>* explanation = nullptr) const;
    // s's points for o playing s's power in another game: T / 2 + 1 for a
    // team mate in the team heat, otherwise 0.
    int TeamPowerConflict(const ModelPlayer& s, const ModelPlayer& o, const ConflictWeights& w,
                          std::vector<QString>* explanation = nullptr) const;

private:
    int PlayerConflict(const ModelPlayer& s, const ConflictWeights& w, std::vector<QString>* explanation) const;
};

// Reads the model of heat |heatArg| of the open tournament: with heatArg > 0
// the players of its not-started games, with heatArg < 0 those of all its
// games.
std::unique_ptr<ConflictModel> BuildConflictModel(int heatArg);

// The model of the heat the Heats dialog works on, or null. Whoever replaces
// it destroys the old one.
extern std::unique_ptr<ConflictModel> g_conflictModel;
