#pragma once
// Heats: where the director runs the heats of the open tournament. One tab
// per heat; for the heat shown, the players not registered for it, the
// players registered for it, and the players seated in its games. From here
// heats are created and abandoned, players registered, the heat's scoring
// system chosen, the registered players seeded into games, the seating
// edited, the games started and opened for results, and the seeding printed.

#include "ui/Dialog.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Ui {
class CHeatsDialog;
}
class QAction;
class QMenuBar;
class QTreeWidget;

class CHeatsDialog : public CDialog {
    Q_OBJECT
public:
    explicit CHeatsDialog(QWidget* parent = nullptr);
    ~CHeatsDialog() override;

protected:
    void OnInitDialog() override;

private:
    // Notifications.
    void OnTabChanged(int index);
    void OnSeededColumnClicked(int column);
    void OnUnregisteredSelectionChanged();
    void OnRegisteredSelectionChanged();
    void OnSeededSelectionChanged();
    void OnSystemSelected(int index);
    void OnViewSystem();
    void OnRegister();
    void OnSitOut();
    void OnRegisterAll();
    void OnUnregisterAll();
    void OnSeedAll();
    void OnSeedSome();
    void OnUnseed();
    void OnReplace();
    void OnSwap();
    void OnStartGames();
    void OnViewGames();
    void OnPrintSeeding();
    void OnViewPlayers();
    void OnGroups();
    void OnPreRegistration();
    void OnRefreshLists();
    void OnOK();

    void CreateMenus();
    void RefreshHeatTabs();
    // One tab for each stored heat, the tab of heatID selected (the last
    // tab when that heat is gone); false when the tournament has no heat.
    bool ShowHeatTabs(int heatID);
    void RefreshHeatLists();
    void CreateHeat();
    void AbandonHeat();
    void RegisterPlayer(int playerID);
    void UnregisterPlayer(int playerID);
    // Registers or unregisters the players, all in one, and lists them anew.
    void ChangeRegistrations(const std::vector<int>& playerIDs, void (CHeatsDialog::*change)(int));
    void SeedPlayers();
    // The exchange pass on the drawn seating of g_conflictModel and, with
    // "Search Deeper" ticked, the seating plan of this heat and the heats to
    // come (with the deeper search of this heat alongside) under its
    // progress dialog; returns the final value. Writes nothing.
    int OptimiseDrawnSeating(int value, std::uint32_t seed);
    // Runs one step of a seeding, which completes or writes nothing. When it
    // does not complete, lists the heat as it is stored; a step another
    // program's changes refused is told here and gives false, any other
    // failure goes on to the handler's guard.
    bool RunSeedingStep(const std::function<void()>& step);
    // Lists the heat as it is stored, with a model built from it again.
    void ShowStoredHeat();
    // Enables the buttons that act on the lists' selections.
    void EnableSelectionButtons();
    void SetPowerAssignmentFromTournament();
    void ShowTournamentName();

    // The heat number of the selected tab.
    int SelectedHeatNum() const;
    // The ids of a list's selected rows, in list order.
    static std::vector<int> SelectedIDs(const QTreeWidget* list, const std::vector<int>& ids);
    static std::vector<int> SelectedRows(const QTreeWidget* list);

    std::unique_ptr<Ui::CHeatsDialog> ui;
    QMenuBar* m_menuBar = nullptr;
    QAction* m_newHeatAction = nullptr;
    QAction* m_viewPlayersAction = nullptr;
    QAction* m_groupsAction = nullptr;
    QAction* m_preRegAction = nullptr;

    int m_heatID = -1;
    int m_heatCount = 0;
    std::vector<int> m_tabHeatIDs;  // Heat.id of each tab
    std::vector<int> m_unregisteredIDs;
    std::vector<int> m_registeredIDs;
    std::vector<int> m_seededIDs;
    std::vector<int> m_toSeedIDs;
    int m_heatSystemID = 0;
    int m_seededSortColumn = 1;
};
