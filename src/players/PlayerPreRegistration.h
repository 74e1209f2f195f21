#pragma once
// A player's pre-registration for the heats of a tournament: the heatNums
// bit set of TournamentPlayer, bit n-1 for heat n.

#include <vector>

// The heats a tournament can have.
inline constexpr int kMaxHeats = 9;

// The player's stored bit set in the tournament; 0 when he has no row.
int PreRegistrationMask(int tournamentID, int playerID);

// The numbers of the heats the tournament has created so far.
std::vector<int> ExistingHeatNumbers(int tournamentID);

// Stores the bit set of the checked heat boxes 1..numHeats as the player's
// pre-registration, in one transaction. For each checked heat that already
// exists the player is registered for it again, unless he sits in a game of
// that heat or is registered already; unchecking never withdraws a
// registration. The player's row is replaced, and dropped when no box is
// checked.
void StorePreRegistration(int tournamentID, int playerID, int checkedHeats, int numHeats);
