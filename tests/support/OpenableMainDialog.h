#pragma once
// The main window with a tournament opened the way the Open command leaves
// it, without running the Open Tournament dialog.

#include "app/MainDialog.h"

class OpenableMainDialog : public CMainDialog {
public:
    void Show(int tournamentID)
    {
        SetTournamentForTest(tournamentID);
        RefreshTournamentState();
    }
};
