#include "playerrecords/PlayerRecords.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "playerrecords/EmailAddress.h"
#include "ui/UiServices.h"

QString PlayerDisplayName(const QString& first, const QString& last) { return Format("%s %s", first, last); }

QString SelectPlayerReason(bool playerSelected)
{
    return playerSelected ? QString() : QStringLiteral("Select a player first");
}

std::vector<PlayerEntry> PlayerEntries(const SqlStatement& statement)
{
    std::vector<PlayerEntry> entries;
    for (CRecordset rs(statement); !rs.IsEOF(); rs.MoveNext())
        entries.push_back({rs.GetInt(0), PlayerDisplayName(rs.GetString(1), rs.GetString(2))});
    return entries;
}

PlayerTexts StoredPlayerTexts(PlayerTexts typed)
{
    typed.first = ApostrophesToBackquotes(typed.first);
    typed.last = ApostrophesToBackquotes(typed.last);
    return typed;
}

QString PlayerNameProblem(const PlayerTexts& texts)
{
    const QString first = TypedTextProblem(kFirstNameField, texts.first);
    return first.isEmpty() ? TypedTextProblem(kLastNameField, texts.last) : first;
}

QString PlayerEmailTextProblem(const PlayerTexts& texts) { return TypedTextProblem(kEmailField, texts.email); }

PlayerTextsCheck CheckPlayerTexts(const PlayerTexts& texts)
{
    if (texts.first.isEmpty() || texts.last.isEmpty()) return PlayerTextsCheck::NameMissing;
    if (!PlayerNameProblem(texts).isEmpty()) return PlayerTextsCheck::BadName;
    if (!texts.email.isEmpty() && (!IsValidEmailAddress(texts.email) || !PlayerEmailTextProblem(texts).isEmpty()))
        return PlayerTextsCheck::BadEmail;
    return PlayerTextsCheck::Valid;
}

void ReportRefusedPlayerTexts(const PlayerTexts& texts)
{
    if (const QString problem = PlayerNameProblem(texts); !problem.isEmpty()) {
        ShowMessage(problem, QStringLiteral("Unable to Update!"), MsgIcon::Stop);
        return;
    }
    const QString problem = PlayerEmailTextProblem(texts);
    ShowMessage(problem.isEmpty() ? QStringLiteral("Invalid e-mail address!") : problem,
                QStringLiteral("Bad E-Mail Address"), MsgIcon::Stop);
}

PlayerTexts LoadPlayerTexts(int playerID)
{
    CRecordset rs(Sql("Select * from Player where id=%d", playerID));
    if (rs.IsEOF()) return {};
    return {rs.GetString(1), rs.GetString(2), rs.GetString(3)};
}

void InsertPlayer(const PlayerTexts& stored)
{
    ExecuteSQL(Sql("Insert into Player (first, last, email) values ('%s', '%s', '%s')", stored.first, stored.last,
                   stored.email));
}

void UpdatePlayer(int playerID, const PlayerTexts& stored)
{
    ExecuteSQL(Sql("Update Player set first='%s', last='%s', email='%s' where id=%d", stored.first, stored.last,
                   stored.email, playerID));
}

bool IsPlayerSeated(int playerID) { return RecordExists(Sql("select * from GamePlayer where playerID = %d", playerID)); }

void RemovePlayer(int playerID)
{
    RunAtomically([&] {
        for (CRecordset teams(Sql("select teamID from TeamPlayer where playerID = %d", playerID)); !teams.IsEOF();
             teams.MoveNext()) {
            const int teamID = teams.GetInt(0);
            ExecuteSQL(Sql("delete from TeamPlayer where teamID = %d", teamID));
            ExecuteSQL(Sql("delete from TournamentTeam where id = %d", teamID));
        }
        ExecuteSQL(Sql("Delete from playerConflicts where player1=%d or player2=%d", playerID, playerID));
        ExecuteSQL(Sql("Delete from TournamentPlayer where playerid=%d", playerID));
        ExecuteSQL(Sql("Delete from HeatPlayer where playerid=%d", playerID));
        ExecuteSQL(Sql("delete from playergroup where playerid = %d", playerID));
        ExecuteSQL(Sql("Delete from player where id=%d", playerID));
    });
}
