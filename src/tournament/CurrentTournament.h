#pragma once
// The open tournament's settings.

#include <QString>

struct TournamentRecord {
    QString name;
    QString description;
    int unplayedScore = 0;
    int systemID = -1;
    int id = -1;  // -1 = no tournament open
    int numHeats = 0;
    int dropHeats = 0;  // N + 10 * M
    float multDrop = 0.0f;  // Y * 10000 + X
    int minHeats = 0;
    int playerConflict = 0;
    int powerConflict = 0;
    int teamConflict = 0;
    int teamSize = 0;
    int teamHeat = 0;
    int assignPowers = 0;
    int groupPowers = 0;
    int preregistration = 0;
};

extern TournamentRecord CurrentTournament;

// The Tournament row with this id. Throws DbError when there is no such row.
TournamentRecord ReadTournamentRecord(int tournamentID);

// Fills CurrentTournament from the Tournament row with this id and loads the
// tournament's scoring system. Throws DbError when there is no such row.
void LoadTournament(int tournamentID);

// The state at start-up: no tournament open, every number 0.
void ResetCurrentTournament();
