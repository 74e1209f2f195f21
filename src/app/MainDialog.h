#pragma once
// The main window: the menu, the three buttons and the open tournament.

#include "ui/Dialog.h"

#include <memory>

namespace Ui {
class CMainDialog;
}
class QAction;
class QMenuBar;
class CVenueService;

class CMainDialog : public CDialog {
    Q_OBJECT
public:
    explicit CMainDialog(QWidget* parent = nullptr);
    ~CMainDialog() override;

    int CurrentTournamentID() const { return m_tournamentID; }
    QString Title() const { return m_title; }
    QString Description() const { return m_description; }

    // Reloads what the window shows from the current tournament id.
    void RefreshTournamentState();

    // The venue display's server, which runs for as long as the window
    // lives unless it is stopped.
    CVenueService& Venue() { return *m_venue; }

    // Commands of the menu and the buttons.
    void OnNewTournament();
    void OnOpenTournament();
    void OnEditTournament();
    void OnDeleteTournament();
    void OnExampleTournament();
    void OnVenueDisplay();
    void OnViewPlayers();
    void OnImportPlayers();
    void OnGroups();
    void OnPreRegistration();
    void OnSelectPrinter();
    void OnPrintToFile();
    void OnHeats();
    void OnTeams();
    void OnScores();

protected:
    void OnInitDialog() override;
    // Makes a tournament the window's current one without a dialog.
    void SetTournamentForTest(int tournamentID) { m_tournamentID = tournamentID; }
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenus();
    void ShowTexts();
    void ShowNextStep();
    void ShowVenueState();
    void ShowStore();
    void OnVenueLinkActivated(const QString& link);
    static bool ConfirmQuit();

    std::unique_ptr<Ui::CMainDialog> ui;
    std::unique_ptr<CVenueService> m_venue;
    QMenuBar* m_menuBar = nullptr;
    QAction* m_newAction = nullptr;
    QAction* m_openAction = nullptr;
    QAction* m_editAction = nullptr;
    QAction* m_deleteAction = nullptr;
    QAction* m_exampleAction = nullptr;
    QAction* m_venueAction = nullptr;
    QAction* m_viewAction = nullptr;
    QAction* m_importAction = nullptr;
    QAction* m_groupsAction = nullptr;
    QAction* m_preRegAction = nullptr;
    QAction* m_selectPrinterAction = nullptr;
    QAction* m_printToFileAction = nullptr;

    int m_tournamentID = -1;
    QString m_title;
    QString m_description;
};
