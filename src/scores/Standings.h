#pragma once
// The standings of the open tournament: every seat of every finished game
// scored with its game's scoring system, each player's heats totalled under
// the tournament's rules (credit for unplayed heats, multipliers for the
// lowest heats, the qualification minimum), each team's score, and the two
// ranked listings the Scores dialog shows, prints and exports.

#include <QString>
#include <QStringList>

#include <vector>

struct TournamentRecord;

// One heat of one player.
struct HeatEntry {
    int gameID = -1;     // -1 = no finished game in that heat
    int teamCounts = 1;  // 0 = a team mate sat in the game: it is left out of the team sum
    int powerID = -1;    // -1 = none
    int centers = -1;    // only for heats with a game
    float score = 0.0f;  // the unplayed score when the heat has no game
    // Without a finished game: the heat is still to be played by the player
    // (it comes after the last heat with a finished game, or his own game
    // in it is not finished), as opposed to a heat he sat out. It scores the
    // unplayed score like one sat out, but the listing shows it empty.
    bool pending = false;
};

// Values of PlayerStanding::status.
enum StandingStatus {
    kRanked = 0,            // listed as 1 once in the listing
    kNotQualified = -1,     // played fewer than minHeats heats (or a too-few one once listed)
    kTooFewForLowHeats = -2 // ranked, but the low-heat multipliers are not applied
};

// One player who holds at least one seat in a finished game of the tournament.
struct PlayerStanding {
    int playerID = 0;
    int teamID = -1;  // TournamentTeam.id, -1 = none
    QString name;     // "first last"
    std::vector<HeatEntry> heats;  // heats[h - 1] is heat h, for heats 1 .. numHeats
    float total = 0.0f;
    float teamContribution = 0.0f;
    int soleWinner = 0;   // some seat was a solo win or the sole top of the board
    int inWinOrDraw = 0;  // some seat was in the win or draw (or ranked with centres)
    int status = kRanked; // StandingStatus, raised by 1 when the player is listed

    int HeatsPlayed() const;
};

// One team of the tournament.
struct TeamStanding {
    int teamID = 0;
    QString name;
    float score = 0.0f;
    int membersWithGames = 0;  // members holding a seat in a finished game
};

// One row of a listing: the cells as shown (rank text, name, heat scores and
// total for players; rank text, name and score for teams).
struct ListingRow {
    int rank = 0;
    float value = 0.0f;  // the total or the team score
    int index = 0;       // position of the player or team in its standings list
    QStringList cells;
};

struct Standings {
    // Greatest player id first: among equal totals the greater id ranks first.
    std::vector<PlayerStanding> players;
    // Teams in the reverse order of their statement: among equal scores the
    // team nearer the front ranks first.
    std::vector<TeamStanding> teams;
    float allUnplayedTeamScore = 0.0f;  // the score of a team none of whose members played
    std::vector<ListingRow> playerRows;
    std::vector<ListingRow> teamRows;
};

// A score as standings, exports and awards write it: "%d" when whole, else
// "%.3f".
QString ScoreText(float value);

// The rank text of a listing row: "%d.".
QString RankText(int rank);

// Totals one player under the tournament's rules: the heat sum with the
// unplayed score for missing heats, the qualification status when
// qualifiedOnly, the low-heat multipliers when the status allows them, and
// the team contribution.
void TotalPlayer(PlayerStanding& player, const TournamentRecord& rules, bool qualifiedOnly);

// What a player adds to his team: the team heat's score, or the sum of his
// K best heats that count for the team (K = -teamHeat), filled up with the
// unplayed score.
float TeamContribution(const PlayerStanding& player, const TournamentRecord& rules);

// Number of the members' contributions that make a team score (K').
int TeamScoreHeats(const TournamentRecord& rules);

// Scores every team from its members' contributions; returns the score of a
// team without any member who played (B).
float ScoreTeams(std::vector<TeamStanding>& teams, const std::vector<PlayerStanding>& players,
                 const TournamentRecord& rules);

// The player listing: every player with status 0 or -2, greatest total
// first, equal totals sharing a rank (1, 2, 2, 4). Each listed player's
// status is raised by 1. A heat still to be played is an empty cell.
std::vector<ListingRow> ListPlayers(std::vector<PlayerStanding>& players, int numHeats);

// The team listing: every team with a member who played, greatest score
// first, equal scores sharing a rank.
std::vector<ListingRow> ListTeams(const std::vector<TeamStanding>& teams);

class CScoringSystem;

// Reads the finished games of the tournament and builds the players' heat
// entries (not yet totalled), loading each game's scoring system into system
// when it differs from the one loaded there.
std::vector<PlayerStanding> ReadPlayerStandings(const TournamentRecord& rules, CScoringSystem& system);

// The teams of the tournament, each with the all-unplayed score still to come.
std::vector<TeamStanding> ReadTeamStandings(int tournamentID);

// Totals the players as read, scores the teams and lists both.
Standings TotalStandings(std::vector<PlayerStanding> players, std::vector<TeamStanding> teams,
                         const TournamentRecord& rules, bool qualifiedOnly);

// The players as read, as they stood when heat lastHeat was over: every
// later heat still to be played, and only the players with a finished game
// in heats 1 .. lastHeat. (Their award flags stay those of every heat.)
std::vector<PlayerStanding> PlayersThroughHeat(const std::vector<PlayerStanding>& players, int lastHeat,
                                               const TournamentRecord& rules);

// The whole computation for a tournament, its games scored in system.
Standings ComputeStandingsOf(const TournamentRecord& rules, bool qualifiedOnly, CScoringSystem& system);

// The whole computation for the open tournament, under the wait cursor; the
// scoring system loaded afterwards is the one of the last seat scored.
Standings ComputeStandings(bool qualifiedOnly);
