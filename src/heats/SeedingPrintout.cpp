#include "heats/SeedingPrintout.h"

#include "db/Format.h"
#include "db/Recordset.h"
#include "db/ValueCodes.h"
#include "report/ReportOutput.h"
#include "tournament/CurrentTournament.h"
#include "ui/UiServices.h"

namespace {

const QString kDotLeader = QStringLiteral("........................");

// The first count dots of the leader; none for a count of 0 or less.
QString Dots(qsizetype count) { return count > 0 ? kDotLeader.left(count) : QString(); }

// "England and Italy": the powers the player held in the tournament's other
// heats, in game-number order; "no powers" when he held none.
QString PowerHistory(int playerID, int heatID)
{
    QString history;
    for (CRecordset rs(Sql("Select GamePlayer.powerID from Player, GamePlayer, Game, Heat where Player.id = "
                           "GamePlayer.playerID and Player.id = %d and GamePlayer.gameID = Game.id and Game.heatID = "
                           "Heat.id and Heat.tournamentID = %d and Heat.id <> %d order by Game.gameNum",
                           playerID, CurrentTournament.id, heatID));
         !rs.IsEOF(); rs.MoveNext()) {
        const QString power = PowerName(rs.GetInt(0));
        if (power.isEmpty()) continue;
        if (!history.isEmpty()) history += QStringLiteral(" and ");
        history += power;
    }
    return history.isEmpty() ? QStringLiteral("no powers") : history;
}

}  // namespace

QString SeedingPrintoutText(int heatID, int heatNum)
{
    QString text = QStringLiteral("\n\n\n");
    int previous = 0;
    for (CRecordset rs(Sql("Select Player.first, Player.last, GamePlayer.powerID, Game.gameNum, Player.id from "
                           "Player, GamePlayer, Game where Player.id = GamePlayer.playerID and GamePlayer.gameID = "
                           "Game.id and Game.heatID = %d order by Game.gameNum, GamePlayer.powerID",
                           heatID));
         !rs.IsEOF(); rs.MoveNext()) {
        const QString first = rs.GetString(0);
        const QString last = rs.GetString(1);
        const int powerID = rs.GetInt(2);
        const int gameNum = rs.GetInt(3);
        if (gameNum != previous) {
            // Every game after the first starts a new page.
            if (previous > 0) text += QStringLiteral("\n\n\f\n\n\n");
            text += Format("%s - Heat %d - Game %d\n\n", CurrentTournament.name, heatNum, gameNum);
            previous = gameNum;
        }
        if (powerID >= 0) {
            const QString power = PowerName(powerID);
            text += Format("%s%s%s %s\n", power, Dots(25 - power.size()), first, last);
        } else if (heatNum < 2) {
            text += Format("%s %s\n", first, last);
        } else {
            text += Format("%s %s%shas played %s\n", first, last, Dots(24 - (first.size() + last.size())),
                           PowerHistory(rs.GetInt(4), heatID));
        }
    }
    return text;
}

void PrintSeeding(int heatID, int heatNum)
{
    PrintReportText(CurrentTournament.name, Format("Heat %d Seeding", heatNum), SeedingPrintoutText(heatID, heatNum),
                    QStringLiteral("Seeding Printed!"));
}
