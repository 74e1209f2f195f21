#pragma once
// The Teams dialog: the teams of one tournament with their members, and the
// commands that form, edit, disband and print them.

#include "ui/Dialog.h"

#include <QString>

#include <memory>
#include <vector>

namespace Ui {
class CTeamsDialog;
}

// Why Edit and Disband are unavailable; empty with a team selected.
QString TeamCommandReason(bool teamSelected);
// Why Print is unavailable: it opens once a team was saved in this visit.
QString RosterPrintReason(bool teamSaved);

class CTeamsDialog : public CDialog {
    Q_OBJECT
public:
    CTeamsDialog(int tournamentID, const QString& tournamentName, QWidget* parent = nullptr);
    ~CTeamsDialog() override;

    // Rebuilds the list from the database and enables the commands.
    void Refresh();

    // Commands of the buttons.
    void OnNew();
    void OnEdit();
    void OnDisband();
    void OnPrint();

protected:
    void OnInitDialog() override;

private:
    void InsertColumns();
    void OnSelectionChanged();
    void OnRefreshLists();
    void OnOK();
    // Runs Team Details on a team (-1 for a new one) and remembers the team
    // it leaves.
    void RunTeamDetails(int teamID);
    // Row at the selection mark (the most recently selected row), or -1.
    int MarkedRow() const;
    std::vector<QStringList> ShownRows() const;

    std::unique_ptr<Ui::CTeamsDialog> ui;
    int m_tournamentID;
    QString m_tournamentName;
    std::vector<int> m_teamIDs;  // TournamentTeam.id of each list row
    int m_rememberedTeamID = -1;  // the team last created or edited here
};
