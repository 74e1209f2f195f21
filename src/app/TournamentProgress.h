#pragma once
// How far the open tournament has come, and what the main window tells the
// director from it: the next step, shown while the tournament has no
// description of its own, and why each unavailable command is unavailable.

#include <QString>

struct TournamentProgress {
    bool tournamentsExist = false;  // any tournament stored
    bool open = false;              // a tournament is open
    bool playersExist = false;      // any player registered in the program
    int teamSize = 0;               // the open tournament's team code; 0 = no teams
    bool teamsExist = false;        // the open tournament has a team
    int numHeats = 0;
    int lastHeat = 0;               // number of the tournament's last heat; 0 = none
    int seated = 0;                 // players seated in the last heat's games
    int unstartedGames = 0;         // games of the last heat not started
    int startedGames = 0;           // games of the last heat started, not finished
};

// Reads the progress of tournament tournamentID (-1: none is open).
TournamentProgress ReadTournamentProgress(int tournamentID);

// "Next: ..." for the director's next step.
QString NextStepHint(const TournamentProgress& progress);

// Why a command of the main window is unavailable; empty when it is
// available under the window's enabling rules.
QString OpenCommandReason(bool tournamentsExist);
QString OpenTournamentReason(bool open);  // Edit, Delete, Heats
QString PreRegCommandReason(bool open, int preregistration);
QString TeamsCommandReason(bool open, int teamSize);
QString ScoresCommandReason(bool open, bool gameFinished);
