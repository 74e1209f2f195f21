#include "support/TestData.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"

namespace testdata {
namespace {
int LastId(const char* table) { return QueryInt(Sql("select max(id) from %s", table), -1); }
}  // namespace

int AddPlayer(const QString& first, const QString& last, const QString& email)
{
    ExecuteSQL(Sql("insert into Player (first, last, email) values ('%s', '%s', '%s')", first, last, email));
    return LastId("Player");
}

int AddSystem(const SystemRow& r)
{
    ExecuteSQL(Sql("insert into System (name, dias, winDrawScoring, finalYear, scoreProvisional, scoreLoss, score1, "
                   "score2, score3, score4, score5, score6, score7) values ('%s', %d, %d, %d, '%s', '%s', '%s', '%s', "
                   "'%s', '%s', '%s', '%s', '%s')",
                   r.name, r.dias, r.winDrawScoring, r.finalYear, r.scoreProvisional, r.scoreLoss, r.score[0],
                   r.score[1], r.score[2], r.score[3], r.score[4], r.score[5], r.score[6]));
    return LastId("System");
}

int AddTournament(const TournamentRow& r)
{
    ExecuteSQL(Sql("insert into Tournament (name, description, systemID, playerConflict, powerConflict, teamConflict, "
                   "numHeats, minHeats, dropHeats, teamSize, teamHeat, assignPowers, groupPowers, preregistration, "
                   "unplayedScore, multDrop) values ('%s', '%s', %d, %d, %d, %d, %d, %d, %d, %d, %d, %d, %d, %d, %d, "
                   "%.2f)",
                   r.name, r.description, r.systemID, r.playerConflict, r.powerConflict, r.teamConflict, r.numHeats,
                   r.minHeats, r.dropHeats, r.teamSize, r.teamHeat, r.assignPowers, r.groupPowers, r.preregistration,
                   r.unplayedScore, r.multDrop));
    return LastId("Tournament");
}

int AddHeat(int tournamentID, int heatNum, int systemID)
{
    ExecuteSQL(Sql("insert into Heat (tournamentID, heatNum, systemID) values (%d, %d, %d)", tournamentID, heatNum,
                   systemID));
    return LastId("Heat");
}

int AddGame(int heatID, int gameNum, int gameStat, int systemID)
{
    ExecuteSQL(Sql("insert into Game (heatID, gameNum, gameStat, systemID) values (%d, %d, %d, %d)", heatID, gameNum,
                   gameStat, systemID));
    return LastId("Game");
}

void AddSeat(int gameID, int playerID, int powerID, int result, int years, int centers)
{
    ExecuteSQL(Sql("insert into GamePlayer (gameID, playerID, powerID, result, years, centers) values (%d, %d, %d, %d, "
                   "%d, %d)",
                   gameID, playerID, powerID, result, years, centers));
}

void AddHeatPlayer(int heatID, int playerID)
{
    ExecuteSQL(Sql("insert into HeatPlayer (heatID, playerID) values (%d, %d)", heatID, playerID));
}

int AddTeam(int tournamentID, const QString& name, const std::vector<int>& playerIDs)
{
    ExecuteSQL(Sql("insert into TournamentTeam (tournamentID, name) values (%d, '%s')", tournamentID, name));
    const int id = LastId("TournamentTeam");
    for (int p : playerIDs) ExecuteSQL(Sql("insert into TeamPlayer (teamID, playerID) values (%d, %d)", id, p));
    return id;
}

int AddGroup(const QString& name, int conflict, const std::vector<int>& playerIDs)
{
    ExecuteSQL(Sql("insert into [Group] (name, conflict) values ('%s', %d)", name, conflict));
    const int id = LastId("[Group]");
    for (int p : playerIDs) ExecuteSQL(Sql("insert into PlayerGroup (groupID, playerID) values (%d, %d)", id, p));
    return id;
}

void AddConflict(int player1, int player2, int value)
{
    ExecuteSQL(Sql("insert into PlayerConflicts values(%d, %d, %d)", player1 < player2 ? player1 : player2,
                   player1 < player2 ? player2 : player1, value));
}

void AddPreRegistration(int tournamentID, int playerID, int heatNums)
{
    ExecuteSQL(Sql("insert into TournamentPlayer (tournamentID, playerID, heatNums) values (%d, %d, %d)", tournamentID,
                   playerID, heatNums));
}

namespace {

void ExecText(const QString& text) { ExecuteSQL(Sql("%s", text.toUtf8().constData())); }

}  // namespace

void RefuseWrites(const QString& name, const QString& event, const QString& condition)
{
    const QString when = condition.isEmpty() ? QStringLiteral("true") : condition;
    if (CDatabase::Kind() == StoreKind::File) {
        ExecText(QStringLiteral("create trigger %1 %2 when (%3) begin select raise(abort, 'refused by the test'); end")
                     .arg(name, event, when));
        return;
    }
    ExecText(QStringLiteral("create function %1() returns trigger language plpgsql as $$ begin if (%2) then raise "
                            "exception 'refused by the test'; end if; if tg_op = 'DELETE' then return old; end if; "
                            "return new; end $$")
                 .arg(name, when));
    ExecText(QStringLiteral("create trigger %1 %2 for each row execute function %1()").arg(name, event));
}

void AllowWrites(const QString& name, const QString& table)
{
    if (CDatabase::Kind() == StoreKind::File) {
        ExecText(QStringLiteral("drop trigger %1").arg(name));
        return;
    }
    ExecText(QStringLiteral("drop trigger %1 on %2").arg(name, table));
    ExecText(QStringLiteral("drop function %1()").arg(name));
}

const char* WrittenOrder() { return CDatabase::Kind() == StoreKind::File ? "rowid" : "ctid"; }

}  // namespace testdata
