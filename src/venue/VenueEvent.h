#pragma once
// What the venue display shows of one tournament, read from the store at one
// moment: its heats board by board, every seated player, the standings as the
// Scores dialog lists them, and the standings as they stood after each heat.
//
// It is read on the venue server's own thread, on that thread's connection:
// nothing here touches the open tournament, the loaded scoring system or a
// window, so the dialogs on the main thread go on undisturbed.

#include "db/ValueCodes.h"
#include "scores/Standings.h"
#include "tournament/CurrentTournament.h"

#include <QString>

#include <initializer_list>
#include <memory>
#include <vector>

// One seat of a game.
struct VenueSeat {
    int playerID = -1;
    QString name;  // "first last"
    int powerID = kNoPower;
    int result = kNoResult;  // as entered: kWin in the win or draw, kLoss
    int centers = -1;        // -1 = none entered
};

// One game of a heat.
struct VenueGame {
    int gameNum = 0;
    int status = kUnstarted;
    // By power, Austria first; seats without a power by last then first name.
    std::vector<VenueSeat> seats;
};

// A seat by its place: games[game].seats[seat] of its heat.
struct VenueSeatPlace {
    size_t game = 0;
    size_t seat = 0;
};

// One heat of the tournament.
struct VenueHeat {
    int heatNum = 0;
    std::vector<VenueGame> games;  // by game number
    // Every seated player A to Z by last, then first name, as the store
    // orders names (without regard to case).
    std::vector<VenueSeatPlace> byName;

    const VenueSeat& SeatAt(const VenueSeatPlace& place) const { return games[place.game].seats[place.seat]; }
    // The player's place in the heat; none when he has no seat in it.
    const VenueSeatPlace* PlaceOf(int playerID) const;
};

// The standings as they stood when each heat was over: afterHeat[h - 1]
// for heat h. Read from the store they are computed the first time they are
// asked for, by whichever thread asks first, so that the pages that do not
// show them are not kept waiting.
class VenueHistory {
public:
    VenueHistory() = default;
    VenueHistory(std::initializer_list<Standings> given);
    // To be computed from the players and teams as read (not yet totalled),
    // for heats 1 .. lastHeat.
    VenueHistory(std::vector<PlayerStanding> players, std::vector<TeamStanding> teams, const TournamentRecord& rules,
                 int lastHeat);

    size_t size() const;
    const Standings& operator[](size_t index) const;
    Standings& operator[](size_t index);

private:
    struct Heats;
    std::vector<Standings>& Computed() const;
    std::shared_ptr<Heats> m_heats;
};

struct VenueEvent {
    int tournamentID = -1;
    QString name;
    int numHeats = 0;
    bool hasTeams = false;
    // The heats stored, by number, those without games too.
    std::vector<VenueHeat> heats;
    // The heat being played: the last heat that has a game; 0 when none has.
    int currentHeat = 0;
    // The standings as the Scores dialog lists them when it opens.
    Standings standings;
    // afterHeat[h - 1]: the standings as they stood when heat h was over,
    // for h = 1 .. the last heat with a finished game.
    VenueHistory afterHeat;

    // Heat heatNum; none when the tournament has no such heat.
    const VenueHeat* Heat(int heatNum) const;
    // True when the player holds a seat in a game of the tournament: the
    // players the pages name.
    bool IsSeated(int playerID) const;
    // The player's name, as his seats show it; empty when he has none.
    QString PlayerName(int playerID) const;
};

// The player's standing in a computation; none when he has no finished game.
const PlayerStanding* StandingOf(const Standings& standings, int playerID);
// The player's row of the player listing; none when he is not listed.
const ListingRow* ListingRowOf(const Standings& standings, int playerID);

// Reads the tournament's event from the calling thread's connection. Throws
// DbError when the tournament does not exist or a statement fails.
VenueEvent ReadVenueEvent(int tournamentID);
