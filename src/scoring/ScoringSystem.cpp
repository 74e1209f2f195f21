#include "scoring/ScoringSystem.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"

CScoringSystem ScoringSystem;

void CScoringSystem::Load(int systemID)
{
    CRecordset rs(Sql("select name, dias, winDrawScoring, finalYear, scoreLoss, score1, score2, score3, score4, "
                      "score5, score6, score7, scoreProvisional from System where id = %d",
                      systemID));
    if (rs.IsEOF()) throw DbError(Format("Scoring system %d does not exist.", systemID));
    id = systemID;
    name = rs.GetString(0);
    dias = rs.GetInt(1);
    winDrawScoring = rs.GetInt(2);
    finalYear = rs.GetInt(3);
    for (int slot = 0; slot < kFormulaCount; ++slot) formulas[size_t(slot)] = rs.GetString(4 + slot);
    DeriveUsageFlags();
    error = 0;
}

int SystemForGame(int gameSystemID, int heatSystemID, int tournamentSystemID)
{
    if (gameSystemID != 0) return gameSystemID;
    if (heatSystemID != 0) return heatSystemID;
    return tournamentSystemID;
}

std::vector<GameSeat> ReadGameSeats(int gameID)
{
    std::vector<GameSeat> seats;
    for (CRecordset rs(Sql("select powerID, years, centers, result from GamePlayer where gameID = %d", gameID));
         !rs.IsEOF(); rs.MoveNext())
        seats.push_back(GameSeat{rs.GetInt(0), rs.GetInt(3), rs.GetInt(1), rs.GetInt(2)});
    return seats;
}

SeatScore ScoreSeatInGame(int gameID, const GameSeat& seat)
{
    if (ScoringSystem.NeedsPowerFigures()) return ScoringSystem.ScoreSeat(seat, ReadGameSeats(gameID));
    std::vector<GameSeat> seats;
    for (CRecordset rs(Sql("select centers, result from GamePlayer where GamePlayer.gameID = %d order by centers desc",
                           gameID));
         !rs.IsEOF(); rs.MoveNext()) {
        GameSeat row;
        row.centers = rs.GetInt(0);
        row.result = rs.GetInt(1);
        seats.push_back(row);
    }
    return ScoringSystem.ScoreSeat(seat, seats);
}
