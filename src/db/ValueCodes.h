#pragma once
// The value codes stored in the database and the tables that name them.

#include <QString>

// Powers: GamePlayer.powerID, formula variables and every per-power array.
enum Power { kNoPower = -1, kAustria = 0, kEngland, kFrance, kGermany, kItaly, kRussia, kTurkey, kPowerCount = 7 };

// "Austria" .. "Turkey"; empty for kNoPower or any other value.
QString PowerName(int powerID);
// "AUSTRIA" .. "TURKEY", as result entry lists them; empty likewise.
QString PowerNameUpper(int powerID);

// Game.gameStat
enum GameStatus { kUnstarted = 0, kStarted = 1, kFinished = 2 };

// GamePlayer.result
enum SeatResult { kNoResult = -1, kLoss = 0, kWin = 1 };

// GamePlayer.years packs the final-year index i (0 for 1901) and the power's
// total supply-centre figure k as i + 100 * k; -100 * k when no year is
// chosen; -1 when neither is entered.
struct YearsField {
    int yearIndex = -1;  // -1 = no final year
    int totalSC = 0;     // k as stored; 0 = not entered
};
YearsField DecodeYears(int years);
int EncodeYears(int yearIndex, int totalSC);
// k with its default: 3, or 4 for Russia, when none is stored.
int TotalSCOrDefault(int totalSC, int powerID);
