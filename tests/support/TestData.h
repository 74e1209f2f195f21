#pragma once
// Builders for the rows tests need, with plain defaults. Each returns the new
// row's id where the table has one.

#include <QString>

#include <vector>

namespace testdata {

int AddPlayer(const QString& first, const QString& last, const QString& email = QString());

struct SystemRow {
    QString name = QStringLiteral("Standard");
    int dias = 1;
    int winDrawScoring = 1;
    int finalYear = -1;
    QString scoreLoss = QStringLiteral("0");
    QString score[7] = {QStringLiteral("7"), QStringLiteral("6"), QStringLiteral("5"), QStringLiteral("4"),
                        QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")};
    QString scoreProvisional = QStringLiteral("0");
};
int AddSystem(const SystemRow& row = SystemRow{});

struct TournamentRow {
    QString name = QStringLiteral("Spring Open");
    QString description = QStringLiteral("A test tournament");
    int systemID = 0;
    int teamSize = 0;
    int teamHeat = 0;
    int teamConflict = 0;
    int playerConflict = 1;
    int powerConflict = 0;
    int numHeats = 3;
    int dropHeats = 0;
    int minHeats = 1;
    int assignPowers = 1;
    int groupPowers = 0;
    int preregistration = 0;
    int unplayedScore = 0;
    double multDrop = 0.0;
};
int AddTournament(const TournamentRow& row = TournamentRow{});

int AddHeat(int tournamentID, int heatNum, int systemID = 0);
int AddGame(int heatID, int gameNum, int gameStat = 0, int systemID = 0);
void AddSeat(int gameID, int playerID, int powerID, int result = -1, int years = -1, int centers = -1);
void AddHeatPlayer(int heatID, int playerID);
int AddTeam(int tournamentID, const QString& name, const std::vector<int>& playerIDs);
int AddGroup(const QString& name, int conflict, const std::vector<int>& playerIDs = {});
void AddConflict(int player1, int player2, int value);
void AddPreRegistration(int tournamentID, int playerID, int heatNums);

// Makes the store refuse writes, as a full disk or a lock would: each row of
// event ("before insert on GamePlayer") for which condition holds (an SQL
// condition on new or old, or on the tables; empty for every row) fails its
// statement. AllowWrites takes the refusal away again.
void RefuseWrites(const QString& name, const QString& event, const QString& condition = {});
void AllowWrites(const QString& name, const QString& table);

// The column that gives a table's rows in the order they were written.
const char* WrittenOrder();

}  // namespace testdata
