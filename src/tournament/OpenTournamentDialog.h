#pragma once
// The Open Tournament dialog: picks one of the stored tournaments by name and
// loads it.

#include "ui/Dialog.h"

#include <QString>

#include <memory>
#include <vector>

namespace Ui {
class COpenTournamentDialog;
}

// Why OK is unavailable: no tournament to choose, or none chosen yet.
QString OpenChoiceReason(int tournamentCount, int chosenIndex);

class COpenTournamentDialog : public CDialog {
    Q_OBJECT
public:
    // tournamentID: the open tournament (-1 for none), preselected in the list.
    explicit COpenTournamentDialog(int tournamentID, QWidget* parent = nullptr);
    ~COpenTournamentDialog() override;

    // The tournament chosen with OK, else the one passed in.
    int ChosenID() const { return m_chosenID; }

protected:
    void OnInitDialog() override;

private:
    void OnChoiceChanged();
    void OnRefreshLists();
    void OnOK();

    // Lists the stored tournaments with the one of chosenID chosen.
    void FillTournamentList(int chosenID);

    std::unique_ptr<Ui::COpenTournamentDialog> ui;
    int m_chosenID;
    // Tournament ids in the order of the list.
    std::vector<int> m_tournamentIDs;
};
