#pragma once
// Groups of players: a named set of players with one conflict value for the
// whole group, which the seeding weighs against seating members together.
//
// Group names are unique and non-empty and hold no apostrophe (each is stored
// as a backquote); a player is a member of a group at most once.

#include "playerrecords/PlayerRecords.h"
#include "ui/TypedText.h"

#include <QString>

#include <optional>
#include <vector>

// One group as the Groups dialog lists it.
struct GroupEntry {
    int id = -1;
    QString name;
    int conflict = 0;
};

// Every group, in name order.
std::vector<GroupEntry> LoadGroups();

// The group's members, and the players outside it, both in last-name, then
// first-name order.
std::vector<PlayerEntry> GroupMembers(int groupID);
std::vector<PlayerEntry> PlayersNotInGroup(int groupID);

void JoinGroup(int groupID, int playerID);
void LeaveGroup(int groupID, int playerID);

// The group's stored name; empty when there is no such group.
QString GroupName(int groupID);

// Deletes the group with its memberships, in one transaction.
void DissolveGroup(int groupID);

// "<name> is a member of the following groups:" with each group on its own
// indented line, or "<name> is not a member of any groups.". The groups are
// the names in the first column of groupsStatement, in its order.
QString GroupMembershipSummary(const QString& playerName, const SqlStatement& groupsStatement);

// A group's name takes at most 60 characters; its conflict value lies
// between -999 and 999.
inline const TypedTextField kGroupNameField{QStringLiteral("group name"), 60};
inline constexpr int kMaxGroupConflict = 999;

// The conflict value typed for a group: the whole text must be a decimal
// integer (blanks around it allowed, an optional sign). A value of 0 is
// taken only from the text "0" itself, so "00" or "-0" are refused as well.
// The value may lie outside the range (beyond kTypedNumberLimit it reads as
// that limit).
std::optional<long long> ParseConflictValue(const QString& text);

// A group as Group Details edits it; nullopt when there is no such group.
std::optional<GroupEntry> LoadGroup(int groupID);

// The errors that keep a group from being saved, each on its own line after
// a line feed, in order: the name (as stored) missing, refused (too long, or
// with a character the store cannot keep) or used by another group, the
// conflict value missing, not numeric or out of range. Empty when the group
// can be saved. groupID is -1 for a new group.
QString GroupErrors(int groupID, const QString& name, const QString& conflictText);

// Writes a checked group: a new one (groupID below 0) is created, an
// existing one renamed and given the value. Returns the group's id.
int SaveGroup(int groupID, const QString& name, int conflict);

// The question of the group membership summary: the groups the player is a
// member of, by name, and whether to edit groups and memberships.
QString GroupMembershipText(int playerID);
