#include "preregistration/PlayerPreRegistration.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "tournament/TournamentSettings.h"

namespace {

// Writes the player's row again; a bit set of 0 is not stored.
void InsertPreRegistrationMask(int tournamentID, int playerID, int mask)
{
    if (mask != 0)
        ExecuteSQL(Sql("insert into TournamentPlayer (tournamentID, playerID, heatNums) values (%d, %d, %d)",
                       tournamentID, playerID, mask));
}

}  // namespace

int PreRegistrationMask(int tournamentID, int playerID)
{
    return QueryInt(Sql("select heatNums from TournamentPlayer where playerID = %d and tournamentID = %d", playerID,
                        tournamentID),
                    0);
}

std::vector<int> ExistingHeatNumbers(int tournamentID)
{
    std::vector<int> heats;
    for (CRecordset rs(Sql("select heatNum from heat where tournamentID = %d", tournamentID)); !rs.IsEOF();
         rs.MoveNext())
        heats.push_back(rs.GetInt(0));
    return heats;
}

void StorePreRegistration(int tournamentID, int playerID, int checkedHeats, int numHeats)
{
    RunAtomically([&] {
        int mask = 0;
        for (int n = 1; n <= numHeats && n <= kMaxHeats; ++n) {
            const int bit = 1 << (n - 1);
            if (!(checkedHeats & bit)) continue;
            mask |= bit;
            CRecordset heat(Sql("select id from Heat where heatNum = %d and tournamentID = %d", n, tournamentID));
            if (heat.IsEOF()) continue;
            const int heatID = heat.GetInt(0);
            if (RecordExists(Sql("select * from GamePlayer, Game where GamePlayer.playerID = %d and Game.heatID = %d "
                                 "and GamePlayer.gameID = Game.id",
                                 playerID, heatID)))
                continue;
            if (!RecordExists(Sql("select * from HeatPlayer where playerID = %d and heatID = %d", playerID, heatID)))
                ExecuteSQL(Sql("insert into HeatPlayer (heatID, playerID) values (%d, %d)", heatID, playerID));
        }
        ExecuteSQL(
            Sql("delete from TournamentPlayer where tournamentID = %d and playerID = %d", tournamentID, playerID));
        InsertPreRegistrationMask(tournamentID, playerID, mask);
    });
}

void ReplacePreRegistrationMask(int tournamentID, int playerID, int mask)
{
    RunAtomically([&] {
        if (PreRegistrationMask(tournamentID, playerID) != 0)
            ExecuteSQL(
                Sql("delete from TournamentPlayer where playerID = %d and tournamentID = %d", playerID, tournamentID));
        InsertPreRegistrationMask(tournamentID, playerID, mask);
    });
}

void ChangePreRegistration(int tournamentID, int playerID, int heatNum, bool preRegistered)
{
    if (heatNum < 1 || heatNum > kMaxHeats) return;
    const int bit = 1 << (heatNum - 1);
    const int old = PreRegistrationMask(tournamentID, playerID);
    const int mask = preRegistered ? old | bit : old & ~bit;
    if (mask != old) ReplacePreRegistrationMask(tournamentID, playerID, mask);
}

int HighestHeatNumber(int tournamentID)
{
    return QueryInt(Sql("select max(heatNum) from Heat where tournamentID = %d", tournamentID), 0);
}

int OpeningPreRegistrationHeat(int highestHeat, int numHeats)
{
    if (highestHeat < 1) return 1;
    return highestHeat >= numHeats ? highestHeat : highestHeat + 1;
}

std::vector<PlayerEntry> PreRegisteredPlayers(int tournamentID, int heatNum)
{
    std::vector<PlayerEntry> players;
    if (heatNum < 1 || heatNum > kMaxHeats) return players;
    const int bit = 1 << (heatNum - 1);
    for (CRecordset rs(Sql("select heatNums, playerID, first, last from TournamentPlayer, Player where tournamentID = "
                           "%d and playerID = Player.id order by last, first",
                           tournamentID));
         !rs.IsEOF(); rs.MoveNext())
        if (rs.GetInt(0) & bit) players.push_back({rs.GetInt(1), PlayerDisplayName(rs.GetString(2), rs.GetString(3))});
    return players;
}

QString HeatClosedReason(int heatNum)
{
    return Format("Heat %d exists already: pre-registration for it is closed", heatNum);
}

QString PreRegistrationPrintReason(int heatNum, bool anyPreRegistered)
{
    return anyPreRegistered ? QString() : Format("Nobody is pre-registered for heat %d", heatNum);
}

QString PreRegistrationListText(int heatNum, const QStringList& names)
{
    QString text = Format("Players Pre-Registered for Heat %d\n\n", heatNum);
    for (const QString& name : names) text += Format("%s\n", name);
    return text;
}
