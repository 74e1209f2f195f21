#pragma once
// The register of players: reading them for lists, adding, correcting and
// removing them, and what a player belongs to.

#include "db/Format.h"

#include <QString>

#include <vector>

// One player as lists show him: "first last".
struct PlayerEntry {
    int id = -1;
    QString name;
};

// The player display name: first name, a blank, last name.
QString PlayerDisplayName(const QString& first, const QString& last);

// Runs a query whose first three columns are a player's id, first and last
// name (such as "Select * from player order by last, first") and returns its
// rows in order.
std::vector<PlayerEntry> PlayerEntries(const SqlStatement& statement);

// A player's texts as typed or as stored.
struct PlayerTexts {
    QString first;
    QString last;
    QString email;
};

// The texts as they are stored: every apostrophe in the names becomes a
// backquote; the e-mail address is kept as typed.
PlayerTexts StoredPlayerTexts(PlayerTexts typed);

enum class PlayerTextsCheck {
    Valid,
    NameMissing,  // the first or the last name is empty: nothing is stored, silently
    BadEmail,     // an e-mail address was given and breaks the e-mail rule
};
PlayerTextsCheck CheckPlayerTexts(const PlayerTexts& texts);

// Tells the user that the e-mail address is not valid.
void ReportBadEmailAddress();

// The player's stored texts; all empty when there is no such player.
PlayerTexts LoadPlayerTexts(int playerID);
void InsertPlayer(const PlayerTexts& stored);
void UpdatePlayer(int playerID, const PlayerTexts& stored);

// True when the player holds a seat in any game, whatever its state.
bool IsPlayerSeated(int playerID);

// Deletes the player with everything that refers to him, in one transaction:
// every team he is on (in any tournament) is disbanded, and his conflicts,
// pre-registrations, heat registrations and group memberships go with him.
void RemovePlayer(int playerID);
