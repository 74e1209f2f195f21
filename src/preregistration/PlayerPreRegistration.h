#pragma once
// A player's pre-registration for the heats of a tournament: the heatNums
// bit set of TournamentPlayer, bit n-1 for heat n.

#include "playerrecords/PlayerRecords.h"

#include <QString>
#include <QStringList>

#include <vector>

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

// Replaces the player's bit set in the tournament: his row is dropped, and
// written again with mask when that is not 0. Heat registrations are left
// as they are.
void ReplacePreRegistrationMask(int tournamentID, int playerID, int mask);

// Sets (preRegistered) or clears the bit of one heat, 1..kMaxHeats, in the
// player's bit set; the other heats keep theirs.
void ChangePreRegistration(int tournamentID, int playerID, int heatNum, bool preRegistered);

// The highest heat number the tournament has created; 0 when it has none.
// Heats above it are still open to pre-registration.
int HighestHeatNumber(int tournamentID);

// The heat a pre-registration view opens on when none is asked for: the one
// after the highest created, or the last heat when every heat exists.
int OpeningPreRegistrationHeat(int highestHeat, int numHeats);

// The players pre-registered for a heat, in last-name, then first-name
// order.
std::vector<PlayerEntry> PreRegisteredPlayers(int tournamentID, int heatNum);

// Why heat heatNum takes no pre-registration changes: it exists already.
QString HeatClosedReason(int heatNum);
// Why the pre-registration list of a heat cannot be printed; empty when
// somebody is pre-registered for it.
QString PreRegistrationPrintReason(int heatNum, bool anyPreRegistered);

// The printed list of a heat's pre-registered players, names as listed.
QString PreRegistrationListText(int heatNum, const QStringList& names);
