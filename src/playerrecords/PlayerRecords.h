#pragma once
// The register of players: reading them for lists, adding, correcting and
// removing them, and what a player belongs to.

#include "db/Format.h"
#include "ui/TypedText.h"

#include <QString>

#include <vector>

// One player as lists show him: "first last".
struct PlayerEntry {
    int id = -1;
    QString name;
};

// The player display name: first name, a blank, last name.
QString PlayerDisplayName(const QString& first, const QString& last);

// Why an action on the selected player is unavailable; empty while one is
// selected.
QString SelectPlayerReason(bool playerSelected);

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

// The texts of a player and the most characters each takes.
inline const TypedTextField kFirstNameField{QStringLiteral("first name"), 60};
inline const TypedTextField kLastNameField{QStringLiteral("last name"), 60};
inline const TypedTextField kEmailField{QStringLiteral("e-mail address"), 254};

enum class PlayerTextsCheck {
    Valid,
    NameMissing,  // the first or the last name is empty: nothing is stored, silently
    BadName,      // a name is too long or holds a character the store cannot keep
    BadEmail,     // an e-mail address was given and breaks the e-mail rule, is too
                  // long or holds a character the store cannot keep
};
PlayerTextsCheck CheckPlayerTexts(const PlayerTexts& texts);

// Tells the director why CheckPlayerTexts refused the texts: a name in a
// stop box under "Unable to Update!"; an e-mail address under "Bad E-Mail
// Address", with "Invalid e-mail address!" when it breaks the e-mail rule.
void ReportRefusedPlayerTexts(const PlayerTexts& texts);

// Why a first or last name cannot be stored (too long, or a character the
// store cannot keep), as one sentence; empty when both can.
QString PlayerNameProblem(const PlayerTexts& texts);
// The same for the e-mail address's length and characters; the e-mail rule
// itself is IsValidEmailAddress's.
QString PlayerEmailTextProblem(const PlayerTexts& texts);

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
