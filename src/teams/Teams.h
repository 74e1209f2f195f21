#pragma once
// The teams of a tournament: reading them as the Teams list shows them,
// the players a team can be made of, and writing and disbanding teams.
//
// A team has teamSize + 2 distinct members, a player is on at most one team
// of a tournament, and a team's name is unique within its tournament and
// holds no apostrophe (each is stored as a backquote).

#include "ui/TypedText.h"

#include <QString>
#include <QStringList>

#include <vector>

// Members of a team of the open tournament: its teamSize + 2, three to
// seven.
int TeamPlayerCount();

// One row of the Teams list: a team with its members' display names
// ("first last") in last-name, then first-name order.
struct TeamListRow {
    int teamID = -1;
    QString name;
    QStringList members;
};

// The teams of a tournament in name order. A team without members is not
// listed.
std::vector<TeamListRow> LoadTeamList(int tournamentID);

// A player offered in a Team Details list.
struct TeamPlayerChoice {
    int playerID = -1;
    QString name;  // "first last"
};

// A saved team as Team Details starts editing it: its name and its members
// in last-name, then first-name order.
struct TeamMembers {
    QString name;
    std::vector<TeamPlayerChoice> members;
};
TeamMembers LoadTeamMembers(int teamID);

// Every player on no team of the tournament, in last-name, then first-name
// order.
std::vector<TeamPlayerChoice> LoadFreePlayers(int tournamentID);

// A team's name takes at most 80 characters.
inline const TypedTextField kTeamNameField{QStringLiteral("team name"), 80};

// Why a team cannot be saved.
enum class TeamRefusal {
    None,
    NoName,      // the name is empty
    BadName,     // the name is too long or holds a character the store cannot keep
    BadPlayers,  // a place without a player (-1), or one player twice
    NameInUse,   // another team of the tournament has the name
    TeamGone,    // the team being edited was disbanded (at another desk)
    PlayerOnAnotherTeam,  // a player is on another team of the tournament
};

// Checks a team before it is saved. name is as it will be stored; teamID is
// -1 for a new team.
TeamRefusal CheckTeam(int tournamentID, int teamID, const QString& name, const std::vector<int>& playerIDs);

// Checks the team as CheckTeam does and writes it, in one transaction: a new
// one (teamID -1) is created, an existing one is renamed and its memberships
// are replaced, all or nothing. Returns the refusal (nothing is written) or
// TeamRefusal::None with teamID the team's id.
TeamRefusal SaveTeam(int tournamentID, int& teamID, const QString& name, const std::vector<int>& playerIDs);

// Deletes a team and its memberships.
void DisbandTeam(int teamID);
