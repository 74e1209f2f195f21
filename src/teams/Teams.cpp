#include "teams/Teams.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "players/PlayerRecords.h"
#include "tournament/CurrentTournament.h"

#include <algorithm>

int TeamPlayerCount() { return std::clamp(CurrentTournament.teamSize + 2, 3, 7); }

std::vector<TeamListRow> LoadTeamList(int tournamentID)
{
    std::vector<TeamListRow> rows;
    CRecordset rs(Sql("Select TournamentTeam.id, TournamentTeam.name, Player.first, Player.last from TournamentTeam, "
                      "Player, TeamPlayer where (TournamentTeam.tournamentID = %d and TeamPlayer.teamID = "
                      "TournamentTeam.id and Player.id = TeamPlayer.playerID) order by TournamentTeam.name, "
                      "Player.last, Player.first",
                      tournamentID));
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const int teamID = rs.GetInt(0);
        if (rows.empty() || rows.back().teamID != teamID) rows.push_back({teamID, rs.GetString(1), {}});
        rows.back().members << PlayerDisplayName(rs.GetString(2), rs.GetString(3));
    }
    return rows;
}

TeamMembers LoadTeamMembers(int teamID)
{
    TeamMembers team;
    CRecordset rs(Sql("Select TournamentTeam.name, Player.* from TournamentTeam, TeamPlayer, Player where "
                      "TournamentTeam.id = %d and TournamentTeam.id = TeamPlayer.teamID and Player.id = "
                      "TeamPlayer.playerID order by Player.last, Player.first",
                      teamID));
    if (!rs.IsEOF()) team.name = rs.GetString(0);
    for (; !rs.IsEOF(); rs.MoveNext())
        team.members.push_back({rs.GetInt(1), PlayerDisplayName(rs.GetString(2), rs.GetString(3))});
    return team;
}

std::vector<TeamPlayerChoice> LoadFreePlayers(int tournamentID)
{
    std::vector<TeamPlayerChoice> players;
    for (CRecordset rs(Sql("Select * from Player order by last, first")); !rs.IsEOF(); rs.MoveNext()) {
        const int playerID = rs.GetInt(0);
        if (RecordExists(Sql("select * from TeamPlayer, TournamentTeam where TeamPlayer.playerID = %d and "
                             "TournamentTeam.id = TeamPlayer.teamID and TournamentTeam.tournamentId = %d",
                             playerID, tournamentID)))
            continue;
        players.push_back({playerID, PlayerDisplayName(rs.GetString(1), rs.GetString(2))});
    }
    return players;
}

TeamRefusal CheckTeam(int tournamentID, int teamID, const QString& name, const std::vector<int>& playerIDs)
{
    if (name.isEmpty()) return TeamRefusal::NoName;
    if (!TypedTextProblem(kTeamNameField, name).isEmpty()) return TeamRefusal::BadName;
    for (auto p = playerIDs.begin(); p != playerIDs.end(); ++p)
        if (*p == -1 || std::find(playerIDs.begin(), p, *p) != p) return TeamRefusal::BadPlayers;
    CRecordset same(Sql("select * from TournamentTeam where tournamentID = %d and name = '%s'", tournamentID, name));
    if (!same.IsEOF() && same.GetInt(0) != teamID) return TeamRefusal::NameInUse;
    return TeamRefusal::None;
}

int SaveTeam(int tournamentID, int teamID, const QString& name, const std::vector<int>& playerIDs)
{
    // The old memberships go only together with the new ones, so a failure
    // half-way never leaves the team without members.
    Transaction transaction;
    if (teamID == -1) {
        ExecuteSQL(Sql("insert into TournamentTeam (tournamentID, name) values (%d, '%s')", tournamentID, name));
        teamID = CRecordset(Sql("select * from TournamentTeam where tournamentID = %d and name = '%s'", tournamentID,
                                name))
                     .GetInt(0);
    } else {
        ExecuteSQL(Sql("delete from TeamPlayer where teamID = %d", teamID));
        ExecuteSQL(Sql("update TournamentTeam set name='%s' where id = %d", name, teamID));
    }
    for (int playerID : playerIDs)
        ExecuteSQL(Sql("insert into TeamPlayer (teamID, playerID) values (%d, %d)", teamID, playerID));
    transaction.Commit();
    return teamID;
}

void DisbandTeam(int teamID)
{
    Transaction transaction;
    ExecuteSQL(Sql("delete from TeamPlayer where teamID = %d", teamID));
    ExecuteSQL(Sql("delete from TournamentTeam where id = %d", teamID));
    transaction.Commit();
}
