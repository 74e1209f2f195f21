#include "declaredconflicts/PlayerConflicts.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "playerrecords/PlayerRecords.h"

#include <algorithm>

std::vector<ConflictEntry> ConflictsOf(int playerID)
{
    std::vector<ConflictEntry> conflicts;
    for (CRecordset rs(Sql("Select Player.id, player.first, player.last, PlayerConflicts.value from Player, "
                           "PlayerConflicts where (PlayerConflicts.player1 = %d or PlayerConflicts.player2 = %d) and "
                           "Player.Id <> %d and (PlayerConflicts.player1 = Player.ID  or PlayerConflicts.player2 = "
                           "Player.ID) order by last, first",
                           playerID, playerID, playerID));
         !rs.IsEOF(); rs.MoveNext())
        conflicts.push_back({rs.GetInt(0), PlayerDisplayName(rs.GetString(1), rs.GetString(2)), rs.GetInt(3)});
    return conflicts;
}

void InsertConflict(int playerA, int playerB)
{
    ExecuteSQL(Sql("Insert into PlayerConflicts values(%d, %d, 1)", std::min(playerA, playerB),
                   std::max(playerA, playerB)));
}

void SetConflictValue(int playerA, int playerB, int value)
{
    // The engine takes no table name before a column being set.
    ExecuteSQL(Sql("Update PlayerConflicts set value=%d where (player1=%d and player2=%d)", value,
                   std::min(playerA, playerB), std::max(playerA, playerB)));
}

void PurgeZeroConflicts() { ExecuteSQL(Sql("Delete from PlayerConflicts where PlayerConflicts.value = 0")); }
