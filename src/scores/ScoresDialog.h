#pragma once
// The Scores dialog: the open tournament's player and team standings, their
// printouts, the export of the player standings, the standings as a web page
// and the award list.

#include "scores/Awards.h"
#include "scores/Standings.h"
#include "ui/Dialog.h"

#include <QString>

#include <memory>

namespace Ui {
class CScoresDialog;
}
class QTreeWidget;

// Why the commands on a list are unavailable; empty when they are available.
// The player list's: its prints, its export and the awards.
QString PlayerScoresReason(bool playersListed);
// The team list itself (without teams) and its print.
QString TeamScoresReason(int teamSize, bool teamsListed);

class CScoresDialog : public CDialog {
    Q_OBJECT
public:
    CScoresDialog(const QString& title, QWidget* parent = nullptr);
    ~CScoresDialog() override;

    // The standings as last computed.
    const Standings& CurrentStandings() const { return m_standings; }

    // Commands of the buttons and the check box (toggled by any means).
    void OnPrintPlayerScores();
    void OnExportPlayerScores();
    void OnExportWebPage();
    void OnPrintTeamScores();
    void OnAwards();
    void OnQualifiedClicked();

protected:
    void OnInitDialog() override;

private:
    void InsertColumns();
    // Puts the team list beside the player list, or under it.
    void ArrangeLists();
    // Computes the standings again and fills both lists.
    void RefreshStandings();
    // The buttons that need a listed player or team.
    void EnableCommands();
    void OnRefreshLists();
    // The player or team of each row of the lists, in display order.
    std::vector<int> PlayerRowIDs() const;
    std::vector<int> TeamRowIDs() const;
    static void FillList(QTreeWidget* list, const std::vector<ListingRow>& rows);
    // The award list of the standings as last computed.
    AwardList CurrentAwards() const;
    void OnOK();

    std::unique_ptr<Ui::CScoresDialog> ui;
    QString m_title;
    Standings m_standings;
};
