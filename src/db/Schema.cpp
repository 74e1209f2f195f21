#include "db/Schema.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"

namespace {

struct TableDefinition {
    const char* name;
    const char* columns;
};

// Column orders matter where statements rely on them ("select *", inserts
// without a column list). Texts compare and sort without regard to case, so
// "de Vries" is listed among the Ds and "spring open" is the name
// "Spring Open" already in use. Keys never reuse an identifier, so a row left behind
// by a deleted parent never attaches to a new one.
const TableDefinition kTables[] = {
    {"Tournament",
     "id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT COLLATE NOCASE, description TEXT COLLATE NOCASE, systemID INTEGER, "
     "teamSize INTEGER, teamHeat INTEGER, teamConflict INTEGER, playerConflict INTEGER, "
     "powerConflict INTEGER, numHeats INTEGER, dropHeats INTEGER, minHeats INTEGER, "
     "assignPowers INTEGER, groupPowers INTEGER, preregistration INTEGER, unplayedScore INTEGER, "
     "multDrop DOUBLE"},
    {"System",
     "id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT COLLATE NOCASE, dias INTEGER, winDrawScoring INTEGER, "
     "finalYear INTEGER, scoreLoss TEXT COLLATE NOCASE, score1 TEXT COLLATE NOCASE, score2 TEXT COLLATE NOCASE, score3 TEXT COLLATE NOCASE, score4 TEXT COLLATE NOCASE, "
     "score5 TEXT COLLATE NOCASE, score6 TEXT COLLATE NOCASE, score7 TEXT COLLATE NOCASE, scoreProvisional TEXT COLLATE NOCASE"},
    {"Player", "id INTEGER PRIMARY KEY AUTOINCREMENT, first TEXT COLLATE NOCASE, last TEXT COLLATE NOCASE, email TEXT COLLATE NOCASE"},
    {"[Group]", "id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT COLLATE NOCASE, conflict INTEGER"},
    {"PlayerGroup", "groupID INTEGER, playerID INTEGER"},
    {"PlayerConflicts", "player1 INTEGER, player2 INTEGER, value INTEGER"},
    {"TournamentPlayer", "tournamentID INTEGER, playerID INTEGER, heatNums INTEGER"},
    {"TournamentTeam", "id INTEGER PRIMARY KEY AUTOINCREMENT, tournamentID INTEGER, name TEXT COLLATE NOCASE"},
    {"TeamPlayer", "teamID INTEGER, playerID INTEGER"},
    {"Heat", "id INTEGER PRIMARY KEY AUTOINCREMENT, tournamentID INTEGER, heatNum INTEGER, "
             "systemID INTEGER DEFAULT 0"},
    {"HeatPlayer", "heatID INTEGER, playerID INTEGER"},
    {"Game", "id INTEGER PRIMARY KEY AUTOINCREMENT, heatID INTEGER, gameNum INTEGER, gameStat INTEGER, "
             "systemID INTEGER DEFAULT 0"},
    {"GamePlayer", "gameID INTEGER, playerID INTEGER, powerID INTEGER, result INTEGER, years INTEGER, "
                   "centers INTEGER"},
};

// Lookups the statements of the program make often.
const char* const kIndexes[] = {
    "create index GamePlayerGame on GamePlayer (gameID)",
    "create index GamePlayerPlayer on GamePlayer (playerID)",
    "create index GameHeat on Game (heatID)",
    "create index HeatTournament on Heat (tournamentID)",
    "create index HeatPlayerHeat on HeatPlayer (heatID)",
    "create index TeamPlayerPlayer on TeamPlayer (playerID)",
    "create index PlayerGroupPlayer on PlayerGroup (playerID)",
    "create index PlayerConflictsPlayer1 on PlayerConflicts (player1)",
    "create index TournamentPlayerPlayer on TournamentPlayer (playerID)",
};

QString PlainName(const char* name)
{
    QString plain = QString::fromLatin1(name);
    plain.remove(QChar('[')).remove(QChar(']'));
    return plain;
}

}  // namespace

QStringList SchemaTableNames()
{
    QStringList names;
    for (const TableDefinition& table : kTables) names << PlainName(table.name);
    return names;
}

QStringList MissingSchemaTables()
{
    QStringList present;
    for (CRecordset rs("select name from sqlite_master where type = 'table'"); !rs.IsEOF(); rs.MoveNext())
        present << rs.GetString(0);
    QStringList missing;
    for (const QString& name : SchemaTableNames())
        if (!present.contains(name, Qt::CaseInsensitive)) missing << name;
    return missing;
}

bool EnsureSchema()
{
    if (MissingSchemaTables().size() != SchemaTableNames().size()) return false;
    Transaction transaction;
    for (const TableDefinition& table : kTables) ExecuteSQL(Sql("create table %s (%s)", table.name, table.columns));
    for (const char* index : kIndexes) ExecuteSQL(Sql("%s", index));
    transaction.Commit();
    return true;
}
