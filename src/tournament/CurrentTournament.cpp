#include "tournament/CurrentTournament.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "scoring/ScoringSystem.h"

TournamentRecord CurrentTournament;

TournamentRecord ReadTournamentRecord(int tournamentID)
{
    CRecordset rs(Sql("select name, description, systemID, teamSize, teamHeat, teamConflict, playerConflict, "
                      "powerConflict, numHeats, dropHeats, minHeats, assignPowers, groupPowers, preregistration, "
                      "unplayedScore, multDrop from Tournament where id = %d",
                      tournamentID));
    if (rs.IsEOF()) throw DbError(Format("Tournament %d does not exist.", tournamentID));
    TournamentRecord t;
    t.id = tournamentID;
    t.name = rs.GetString(0);
    t.description = rs.GetString(1);
    t.systemID = rs.GetInt(2);
    t.teamSize = rs.GetInt(3);
    t.teamHeat = rs.GetInt(4);
    t.teamConflict = rs.GetInt(5);
    t.playerConflict = rs.GetInt(6);
    t.powerConflict = rs.GetInt(7);
    t.numHeats = rs.GetInt(8);
    t.dropHeats = rs.GetInt(9);
    t.minHeats = rs.GetInt(10);
    t.assignPowers = rs.GetInt(11);
    t.groupPowers = rs.GetInt(12);
    t.preregistration = rs.GetInt(13);
    t.unplayedScore = rs.GetInt(14);
    t.multDrop = static_cast<float>(rs.GetDouble(15));
    return t;
}

void LoadTournament(int tournamentID)
{
    // Read aside and taken over only once its scoring system has loaded, so
    // a tournament that cannot be loaded leaves the open one as it was.
    const TournamentRecord t = ReadTournamentRecord(tournamentID);
    LoadScoringSystem(t.systemID);
    CurrentTournament = t;
}

void ResetCurrentTournament() { CurrentTournament = TournamentRecord{}; }
