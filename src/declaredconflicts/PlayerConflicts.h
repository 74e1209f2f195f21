#pragma once
// Declared conflicts: an integer weight for a pair of players, stored once
// per pair with the smaller player id first.

#include <QString>

#include <vector>

// One conflict of a player, seen from his side.
struct ConflictEntry {
    int otherID = -1;
    QString otherName;  // "first last"
    int value = 0;
};

// The player's conflicts, ordered by the other player's last, then first name.
std::vector<ConflictEntry> ConflictsOf(int playerID);

// Declares a new conflict of value 1 between two players.
void InsertConflict(int playerA, int playerB);

// Sets the weight of the pair's conflict; it may become zero or negative.
void SetConflictValue(int playerA, int playerB, int value);

// Deletes every conflict whose weight is 0, of whichever players.
void PurgeZeroConflicts();
