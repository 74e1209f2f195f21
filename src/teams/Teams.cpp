#include "teams/Teams.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "playerrecords/PlayerRecords.h"
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
    // One statement, however many players are registered.
    for (CRecordset rs(Sql("Select * from Player where id not in (select TeamPlayer.playerID from TeamPlayer, "
                           "TournamentTeam where TournamentTeam.id = TeamPlayer.teamID and "
                           "TournamentTeam.tournamentId = %d) order by last, first",
                           tournamentID));
         !rs.IsEOF(); rs.MoveNext())
        players.push_back({rs.GetInt(0), PlayerDisplayName(rs.GetString(1), rs.GetString(2))});
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
    if (teamID != -1 && !RecordExists(Sql("select id from TournamentTeam where id = %d", teamID)))
        return TeamRefusal::TeamGone;
    for (int playerID : playerIDs)
        if (RecordExists(Sql("select * from TeamPlayer, TournamentTeam where TeamPlayer.playerID = %d and "
                             "TournamentTeam.id = TeamPlayer.teamID and TournamentTeam.tournamentID = %d and "
                             "TournamentTeam.id <> %d",
                             playerID, tournamentID, teamID)))
            return TeamRefusal::PlayerOnAnotherTeam;
    return TeamRefusal::None;
}

TeamRefusal SaveTeam(int tournamentID, int& teamID, const QString& name, const std::vector<int>& playerIDs)
{
    TeamRefusal refusal = TeamRefusal::None;
    int savedID = teamID;
    // The old memberships go only together with the new ones, so a failure
    // half-way never leaves the team without members; the checks see the
    // teams as they are stored, whatever another desk did meanwhile.
    RunAtomically([&] {
        savedID = teamID;
        refusal = CheckTeam(tournamentID, savedID, name, playerIDs);
        if (refusal != TeamRefusal::None) return;
        if (savedID == -1) {
            savedID = CDatabase::InsertReturningId(
                Sql("insert into TournamentTeam (tournamentID, name) values (%d, '%s')", tournamentID, name));
        } else {
            ExecuteSQL(Sql("delete from TeamPlayer where teamID = %d", savedID));
            ExecuteSQL(Sql("update TournamentTeam set name='%s' where id = %d", name, savedID));
        }
        for (int playerID : playerIDs)
            ExecuteSQL(Sql("insert into TeamPlayer (teamID, playerID) values (%d, %d)", savedID, playerID));
    });
    if (refusal == TeamRefusal::None) teamID = savedID;
    return refusal;
}

void DisbandTeam(int teamID)
{
    RunAtomically([&] {
        ExecuteSQL(Sql("delete from TeamPlayer where teamID = %d", teamID));
        ExecuteSQL(Sql("delete from TournamentTeam where id = %d", teamID));
    });
}
