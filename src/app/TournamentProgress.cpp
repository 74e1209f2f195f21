#include "app/TournamentProgress.h"

#include "db/Format.h"
#include "db/Recordset.h"
#include "db/ValueCodes.h"

TournamentProgress ReadTournamentProgress(int tournamentID)
{
    TournamentProgress p;
    p.tournamentsExist = RecordExists(Sql("select id from Tournament"));
    p.playersExist = RecordExists(Sql("select id from Player"));
    if (tournamentID == -1) return p;
    CRecordset t(Sql("select teamSize, numHeats from Tournament where id = %d", tournamentID));
    if (t.IsEOF()) return p;
    p.open = true;
    p.teamSize = t.GetInt(0);
    p.numHeats = t.GetInt(1);
    p.teamsExist = RecordExists(Sql("select id from TournamentTeam where tournamentID = %d", tournamentID));
    CRecordset heat(Sql("select id, heatNum from Heat where tournamentID = %d order by heatNum desc", tournamentID));
    if (heat.IsEOF()) return p;
    const int heatID = heat.GetInt(0);
    p.lastHeat = heat.GetInt(1);
    p.seated = QueryInt(
        Sql("select count(*) from GamePlayer, Game where GamePlayer.gameID = Game.id and Game.heatID = %d", heatID), 0);
    p.unstartedGames =
        QueryInt(Sql("select count(*) from Game where heatID = %d and gameStat = %d", heatID, kUnstarted), 0);
    p.startedGames =
        QueryInt(Sql("select count(*) from Game where heatID = %d and gameStat = %d", heatID, kStarted), 0);
    return p;
}

QString NextStepHint(const TournamentProgress& p)
{
    if (!p.open) {
        if (p.tournamentsExist)
            return QStringLiteral("Next: open a tournament with Tournament > Open, or start one with Tournament > New");
        // On an empty database the ready-made example is offered too.
        return QStringLiteral("Next: create your first tournament with Tournament > New, or look around a "
                              "ready-made one with Tournament > Example Tournament...");
    }
    if (!p.playersExist) return QStringLiteral("Next: add players with Players > View");
    if (p.lastHeat == 0) {
        return p.teamSize != 0 && !p.teamsExist
                   ? QStringLiteral("Next: press Teams to form the teams, then Heats to create heat 1")
                   : QStringLiteral("Next: press Heats to create heat 1");
    }
    if (p.seated == 0)
        return Format("Next: press Heats to register the players for heat %d and seed them", p.lastHeat);
    if (p.unstartedGames > 0) return Format("Next: press Heats to start the games of heat %d", p.lastHeat);
    if (p.startedGames > 0)
        return Format("Next: press Heats, then View Games, to enter the results of heat %d", p.lastHeat);
    if (p.lastHeat < p.numHeats)
        return Format("Next: press Scores for the standings, or Heats to create heat %d", p.lastHeat + 1);
    return QStringLiteral("Next: press Scores for the final standings and the awards");
}

QString OpenCommandReason(bool tournamentsExist)
{
    return tournamentsExist ? QString() : QStringLiteral("No tournament has been created yet");
}

QString OpenTournamentReason(bool open)
{
    return open ? QString() : QStringLiteral("No tournament is open: open one with Tournament > Open or create one "
                                             "with Tournament > New");
}

QString PreRegCommandReason(bool open, int preregistration)
{
    if (!open) return OpenTournamentReason(open);
    return preregistration != 0 ? QString()
                                : QStringLiteral("This tournament has no heat pre-registration (Tournament > Edit)");
}

QString TeamsCommandReason(bool open, int teamSize)
{
    if (!open) return OpenTournamentReason(open);
    return teamSize != 0 ? QString() : QStringLiteral("This is not a team tournament (Tournament > Edit)");
}

QString ScoresCommandReason(bool open, bool gameFinished)
{
    if (!open) return OpenTournamentReason(open);
    return gameFinished ? QString() : QStringLiteral("No game of this tournament is finished yet");
}
