#pragma once
// The heats of a tournament and the players' places in them.
//
// Within one heat a player is unregistered, registered (a HeatPlayer row) or
// seated (a GamePlayer row in one of the heat's games). These functions read
// the three lists, create and abandon heats, and change a seating after the
// draw: unseed the games not yet started, start them, put a registered
// player into a seated player's place, or exchange two seated players. Every
// change that writes more than one statement is one transaction.

#include "db/ChangedElsewhere.h"
#include "playerrecords/PlayerRecords.h"

#include <QString>

#include <stdexcept>
#include <vector>

// An action on a heat refused because another program has changed what it
// works on since the lists were read; it has written nothing. Title and text
// are the message that tells the director.
class HeatChangedElsewhere : public ChangedElsewhere {
public:
    using ChangedElsewhere::ChangedElsewhere;
};

// A player seated in one of the heat's games.
struct SeatedPlayer {
    int playerID = -1;
    QString name;  // "first last"
    int powerID = -1;
    int gameNum = 0;
    int gameStat = 0;
};

// The columns of the seated list; clicking one orders the list by it.
enum SeatedColumn { kSeatedName = 0, kSeatedGame = 1, kSeatedPower = 2, kSeatedStatus = 3 };

// The heat's seated players ordered by a column: by name, by game then power
// (for the game and the status column), or by power then game.
std::vector<SeatedPlayer> SeatedPlayers(int heatID, int sortColumn);
// The players registered for the heat, by last then first name.
std::vector<PlayerEntry> RegisteredPlayers(int heatID);
// Every player, by last then first name, without those whose ids are listed.
std::vector<PlayerEntry> PlayersOutside(const std::vector<int>& registeredIDs, const std::vector<int>& seatedIDs);

// The mark of the seated list's status column: a multiplication sign for a
// started game, a currency sign for a finished one, empty for one not started.
QString StatusMark(int gameStat);
// "%d Player%s Listed", empty for none.
QString ListedCountText(int count);
// "%d Players in %d Game%s", empty for none.
QString SeatedCountText(int count);
// Players can be seeded only in whole games: a positive multiple of seven.
bool IsSeedableCount(int count);

struct TournamentHeat {
    int id = -1;
    int heatNum = 0;
};
// The tournament's heats by number.
std::vector<TournamentHeat> TournamentHeats(int tournamentID);
// Heat.systemID: 0 for the tournament's default system, else a System.id.
int HeatSystemID(int heatID);
void SetHeatSystem(int heatID, int systemID);

// Inserts heat heatNum of the tournament (on the tournament's default system)
// and returns its id. Throws HeatChangedElsewhere when the tournament no
// longer exists or already has a heat heatNum.
int InsertHeat(int tournamentID, int heatNum);

// The players whose pre-registration (TournamentPlayer.heatNums) in the
// tournament holds heat heatNum, bit heatNum - 1.
std::vector<int> PreRegisteredForHeat(int tournamentID, int heatNum);

void RegisterForHeat(int heatID, int playerID);
void UnregisterFromHeat(int heatID, int playerID);

// Deletes the heat with its registrations, games and seats and moves the
// numbers of the tournament's later heats down by one; one transaction.
// Returns the number the next heat would take (1 when no heat is left).
int AbandonHeatRecords(int tournamentID, int heatID, int heatNum);

// Removes the heat's games that have not started and registers their players
// again; the games that remain are numbered 1, 2, ... in their order. One
// transaction.
void UnseedHeat(int heatID);
// Starts every game of the heat that has not started.
void StartHeatGames(int heatID);
// The registered player takes the seated player's seat, with its power and
// whatever result it holds; the seated player takes over the registration.
// One transaction.
void ReplaceSeatedPlayer(int heatID, int seatedID, int registeredID);
// Two seated players of the heat exchange game and power; the results stay
// with the seats. Two players of one game without powers have nothing to
// exchange: false, and nothing is written. One transaction.
bool SwapSeatedPlayers(int heatID, int playerX, int playerY);

// Which of the two selected rows of the seated list (first < second, counted
// from the top) is named first in an exchange: the first, unless it is the
// top row, in which case the second comes first and the top row second.
struct SwapRows {
    int x = -1;
    int y = -1;
};
SwapRows ChooseSwapRows(int firstSelected, int secondSelected);
