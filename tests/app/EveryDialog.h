#pragma once
// The walk over every dialog of the program that the EveryDialog tests
// share: the dialogs with what is done in each, and the populated
// tournament they open on.

#include "support/DbTest.h"
#include "ui/Dialog.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The name of the tournament of EveryDialog.
inline const QString kEveryDialogName = QStringLiteral("Spring Open");

// The ids a walk over every dialog opens them on.
struct DialogData {
    QString name;
    int systemID = 0, tournamentID = 0, heatWithGames = 0, heatWithoutGames = 0, groupID = 0, teamID = 0;
    std::vector<int> players;
};

// One thing done in an open dialog, after which its rules hold again.
// keepsLayout: nothing already shown moves or changes size.
struct DialogStep {
    std::string name;
    std::function<void(CDialog&)> act;
    bool keepsLayout = false;
};

// Opens every dialog in turn, each on the tournament as stored, and calls
// opened when it is initialised and stepped for each of its steps (which
// runs the step).
void WalkEveryDialog(const DialogData& t, const std::function<void(const std::string&, CDialog&)>& opened,
                     const std::function<void(const std::string&, CDialog&, const DialogStep&)>& stepped);

// Presses F5 in the widget.
void PressF5(QWidget* w);

// A team tournament with pre-registration: heat 1 with a finished and a
// started game, heat 2 with registrations, a group, a conflict and a team.
class EveryDialog : public DbTest {
protected:
    void SetUp() override;

    DialogData Data() const;

    int systemID = 0, tournamentID = 0, heat1 = 0, heat2 = 0, finishedGame = 0, startedGame = 0, groupID = 0,
        teamID = 0;
    std::vector<int> players;
};
