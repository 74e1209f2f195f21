#include "heats/HeatRecords.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "db/ValueCodes.h"
#include "tournament/TournamentSettings.h"

#include <unordered_set>

std::vector<SeatedPlayer> SeatedPlayers(int heatID, int sortColumn)
{
    const char* ordering = "Game.gameNum, GamePlayer.powerID";
    if (sortColumn == kSeatedName) ordering = "Player.last, Player.first";
    if (sortColumn == kSeatedPower) ordering = "GamePlayer.powerID, Game.gameNum";
    std::vector<SeatedPlayer> seated;
    for (CRecordset rs(Sql("Select Player.id, Player.first, Player.last, GamePlayer.powerID, Game.gameNum, "
                           "Game.gameStat from Player, GamePlayer, Game where Player.id = GamePlayer.playerID and "
                           "GamePlayer.gameID = Game.id and Game.heatID = %d order by %s",
                           heatID, ordering));
         !rs.IsEOF(); rs.MoveNext())
        seated.push_back({rs.GetInt(0), PlayerDisplayName(rs.GetString(1), rs.GetString(2)), rs.GetInt(3),
                          rs.GetInt(4), rs.GetInt(5)});
    return seated;
}

std::vector<PlayerEntry> RegisteredPlayers(int heatID)
{
    return PlayerEntries(Sql("Select Player.* from Player, HeatPlayer where HeatPlayer.heatID = %d and Player.id = "
                             "HeatPlayer.playerID order by Player.last, Player.first",
                             heatID));
}

std::vector<PlayerEntry> PlayersOutside(const std::vector<int>& registeredIDs, const std::vector<int>& seatedIDs)
{
    std::unordered_set<int> inside(registeredIDs.begin(), registeredIDs.end());
    inside.insert(seatedIDs.begin(), seatedIDs.end());
    std::vector<PlayerEntry> outside;
    for (PlayerEntry& player : PlayerEntries(Sql("Select Player.* from Player order by Player.last, Player.first")))
        if (!inside.contains(player.id)) outside.push_back(std::move(player));
    return outside;
}

QString StatusMark(int gameStat)
{
    if (gameStat == kStarted) return QString(QChar(0x00D7));
    if (gameStat == kFinished) return QString(QChar(0x00A4));
    return {};
}

QString ListedCountText(int count)
{
    if (count == 0) return {};
    return Format("%d Player%s Listed", count, PluralSuffix(count));
}

QString SeatedCountText(int count)
{
    if (count == 0) return {};
    return Format("%d Players in %d Game%s", count, count / 7, count == 7 ? "" : "s");
}

bool IsSeedableCount(int count) { return count > 0 && count % 7 == 0; }

std::vector<TournamentHeat> TournamentHeats(int tournamentID)
{
    std::vector<TournamentHeat> heats;
    for (CRecordset rs(Sql("select id, heatNum from Heat where tournamentID = %d order by heatNum", tournamentID));
         !rs.IsEOF(); rs.MoveNext())
        heats.push_back({rs.GetInt(0), rs.GetInt(1)});
    return heats;
}

int HeatSystemID(int heatID) { return QueryInt(Sql("select systemID from Heat where id = %d", heatID), 0); }

void SetHeatSystem(int heatID, int systemID)
{
    ExecuteSQL(Sql("update Heat set systemID = %d where id= %d", systemID, heatID));
}

int InsertHeat(int tournamentID, int heatNum)
{
    const QString notCreated = QStringLiteral("Heat Not Created");
    if (!RecordExists(Sql("select id from Tournament where id = %d", tournamentID)))
        throw HeatChangedElsewhere(notCreated, QStringLiteral("This tournament no longer exists: another program has "
                                                              "deleted it.\nNo heat was created."));
    if (RecordExists(Sql("select id from Heat where tournamentID = %d and heatNum = %d", tournamentID, heatNum)))
        throw HeatChangedElsewhere(notCreated, Format("Heat %d already exists: another program has created it.\nNo "
                                                      "heat was created.",
                                                      heatNum));
    // systemID is left to the column's default, 0: the tournament's system.
    ExecuteSQL(Sql("insert into Heat (tournamentID, heatNum) values (%d, %d)", tournamentID, heatNum));
    const int id =
        QueryInt(Sql("select id from Heat where tournamentID = %d and heatNum = %d", tournamentID, heatNum), -1);
    if (id == -1) throw DbError(Format("Heat %d was not saved.", heatNum));
    return id;
}

std::vector<int> PreRegisteredForHeat(int tournamentID, int heatNum)
{
    std::vector<int> ids;
    if (heatNum < 1 || heatNum > kMaxHeats) return ids;
    const int bit = 1 << (heatNum - 1);
    for (CRecordset rs(Sql("select playerID, heatNums from TournamentPlayer where tournamentID = %d", tournamentID));
         !rs.IsEOF(); rs.MoveNext())
        if (rs.GetInt(1) & bit) ids.push_back(rs.GetInt(0));
    return ids;
}

void RegisterForHeat(int heatID, int playerID)
{
    // Another desk may have registered or seated him meanwhile.
    if (RecordExists(Sql("select * from HeatPlayer where heatID = %d and playerID = %d", heatID, playerID)) ||
        RecordExists(Sql("select * from GamePlayer, Game where GamePlayer.gameID = Game.id and Game.heatID = %d and "
                         "GamePlayer.playerID = %d",
                         heatID, playerID)))
        return;
    ExecuteSQL(Sql("insert into HeatPlayer (heatID, playerID) values (%d, %d)", heatID, playerID));
}

void UnregisterFromHeat(int heatID, int playerID)
{
    ExecuteSQL(Sql("delete from HeatPlayer where heatID = %d and playerID = %d", heatID, playerID));
}

int AbandonHeatRecords(int tournamentID, int heatID, int heatNum)
{
    int n = heatNum;
    RunAtomically([&] {
        const QString notAbandoned = QStringLiteral("Heat Not Abandoned");
        if (QueryInt(Sql("select heatNum from Heat where id = %d", heatID), -1) != heatNum)
            throw HeatChangedElsewhere(notAbandoned, Format("Heat %d has been abandoned or renumbered by another "
                                                            "program.\nNothing was deleted.",
                                                            heatNum));
        if (RecordExists(Sql("select id from Game where heatID = %d and gameStat <> %d", heatID, int(kUnstarted))))
            throw HeatChangedElsewhere(notAbandoned, Format("A game of Heat %d has been started by another program, so "
                                                            "the heat cannot be abandoned.\nNothing was deleted.",
                                                            heatNum));
        ExecuteSQL(Sql("delete from heatPlayer where heatID = %d", heatID));
        ExecuteSQL(Sql("delete from heat where id = %d", heatID));
        for (CRecordset games(Sql("select id from Game where heatID = %d", heatID)); !games.IsEOF(); games.MoveNext())
            ExecuteSQL(Sql("delete from gamePlayer where gameID = %d", games.GetInt(0)));
        ExecuteSQL(Sql("delete from game where heatID = %d", heatID));

        n = heatNum;
        for (CRecordset later(Sql("select id from heat where tournamentID = %d and heatNum > %d order by heatNum",
                                  tournamentID, heatNum));
             !later.IsEOF(); later.MoveNext())
            ExecuteSQL(Sql("update heat set heatNum = %d where id = %d", n++, later.GetInt(0)));
    });
    return n;
}

void UnseedHeat(int heatID)
{
    RunAtomically([&] {
        for (CRecordset seats(Sql("select playerID, gameID from GamePlayer, Game where Game.heatID = %d and "
                                  "Game.gameStat = %d and GamePlayer.gameID = Game.id",
                                  heatID, int(kUnstarted)));
             !seats.IsEOF(); seats.MoveNext()) {
            const int playerID = seats.GetInt(0);
            ExecuteSQL(Sql("delete from GamePlayer where gameID = %d and playerID = %d", seats.GetInt(1), playerID));
            RegisterForHeat(heatID, playerID);
        }
        ExecuteSQL(Sql("delete from Game where heatID = %d and gameStat = %d", heatID, int(kUnstarted)));
        int gameNum = 1;
        for (CRecordset games(Sql("select id from Game where heatID = %d order by gameNum", heatID)); !games.IsEOF();
             games.MoveNext())
            ExecuteSQL(Sql("update Game set gameNum = %d where id = %d", gameNum++, games.GetInt(0)));
    });
}

void StartHeatGames(int heatID)
{
    ExecuteSQL(Sql("update Game set gameStat = %d where gameStat = %d and heatID = %d", int(kStarted),
                   int(kUnstarted), heatID));
}

void ReplaceSeatedPlayer(int heatID, int seatedID, int registeredID)
{
    RunAtomically([&] {
        ExecuteSQL(Sql("update HeatPlayer set playerID = %d where playerID = %d and heatID = %d", seatedID,
                       registeredID, heatID));
        const int gameID = QueryInt(Sql("select gameID from GamePlayer, Game where gameID = Game.id and playerID = %d "
                                        "and Game.heatID = %d",
                                        seatedID, heatID),
                                    -1);
        if (gameID == -1) throw DbError(QStringLiteral("The player to be replaced holds no seat in this heat."));
        ExecuteSQL(Sql("update GamePlayer set playerID = %d where playerID = %d and gameID = %d", registeredID,
                       seatedID, gameID));
    });
}

namespace {

struct HeatSeat {
    int gameID = -1;
    int powerID = -1;
};

HeatSeat SeatInHeat(int heatID, int playerID)
{
    CRecordset rs(Sql("select gameID, powerID from GamePlayer, Game where gameID = Game.id and playerID = %d and "
                      "Game.heatID = %d",
                      playerID, heatID));
    if (rs.IsEOF()) throw DbError(QStringLiteral("A player to be exchanged holds no seat in this heat."));
    return {rs.GetInt(0), rs.GetInt(1)};
}

}  // namespace

bool SwapSeatedPlayers(int heatID, int playerX, int playerY)
{
    bool swapped = false;
    RunAtomically([&] {
        const HeatSeat x = SeatInHeat(heatID, playerX);
        const HeatSeat y = SeatInHeat(heatID, playerY);
        swapped = x.gameID != y.gameID || x.powerID != y.powerID;
        if (!swapped) return;
        // Y's seat is held by -1 for a moment while Y moves into X's seat;
        // then X takes the held seat.
        ExecuteSQL(Sql("update GamePlayer set playerID = -1 where playerID = %d and gameID = %d and powerID = %d",
                       playerY, y.gameID, y.powerID));
        ExecuteSQL(Sql("update GamePlayer set playerID = %d where playerID = %d and gameID = %d and powerID = %d",
                       playerY, playerX, x.gameID, x.powerID));
        ExecuteSQL(Sql("update GamePlayer set playerID = %d where playerID = -1 and gameID = %d and powerID = %d",
                       playerX, y.gameID, y.powerID));
    });
    return swapped;
}

SwapRows ChooseSwapRows(int firstSelected, int secondSelected)
{
    if (firstSelected == 0) return {secondSelected, 0};
    return {firstSelected, secondSelected};
}
