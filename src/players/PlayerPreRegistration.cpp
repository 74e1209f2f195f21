#include "players/PlayerPreRegistration.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"

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
    Transaction transaction;
    int mask = 0;
    for (int n = 1; n <= numHeats && n <= kMaxHeats; ++n) {
        const int bit = 1 << (n - 1);
        if (!(checkedHeats & bit)) continue;
        mask |= bit;
        CRecordset heat(Sql("select id from Heat where heatNum = %d and tournamentID = %d", n, tournamentID));
        if (heat.IsEOF()) continue;
        const int heatID = heat.GetInt(0);
        if (RecordExists(Sql("select * from GamePlayer, Game where GamePlayer.playerID = %d and Game.heatID = %d and "
                             "GamePlayer.gameID = Game.id",
                             playerID, heatID)))
            continue;
        if (!RecordExists(Sql("select * from HeatPlayer where playerID = %d and heatID = %d", playerID, heatID)))
            ExecuteSQL(Sql("insert into HeatPlayer (heatID, playerID) values (%d, %d)", heatID, playerID));
    }
    ExecuteSQL(Sql("delete from TournamentPlayer where tournamentID = %d and playerID = %d", tournamentID, playerID));
    if (mask != 0)
        ExecuteSQL(Sql("insert into TournamentPlayer (tournamentID, playerID, heatNums) values (%d, %d, %d)",
                       tournamentID, playerID, mask));
    transaction.Commit();
}
