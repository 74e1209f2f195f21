// The Heats dialog's seating: the registered players seeded into games (the
// draw, then the exchange pass and, with "Search Deeper", the seating plan),
// the heat unseeded, and seated players replaced or swapped.

#include "heats/HeatsDialog.h"

#include "ui_HeatsDialog.h"

#include "conflicts/ConflictModel.h"
#include "db/Format.h"
#include "heats/HeatActionReasons.h"
#include "heats/HeatRecords.h"
#include "heats/SeatingSearchDialog.h"
#include "heats/Seeding.h"
#include "seating/SeatingPlan.h"
#include "tournament/CurrentTournament.h"
#include "ui/UiServices.h"

void CHeatsDialog::OnSeedAll()
{
    m_toSeedIDs = m_registeredIDs;
    for (QPushButton* b : {ui->seedAllButton, ui->seedSomeButton, ui->sitOutButton, ui->unregisterAllButton})
        b->setEnabled(false);
    SeedPlayers();
}

void CHeatsDialog::OnSeedSome()
{
    m_toSeedIDs = SelectedIDs(ui->registeredList, m_registeredIDs);
    ui->seedSomeButton->setEnabled(false);
    ui->sitOutButton->setEnabled(false);
    SeedPlayers();
}

void CHeatsDialog::SeedPlayers()
{
    const int heatNum = SelectedHeatNum();
    // The check box decides for this seeding only.
    AssignPowersOverride powers(ui->assignPowersCheck->isChecked());
    const std::uint32_t seed = SeedingSeed();

    // The draw is stored, in a transaction of its own, before anything is
    // asked.
    if (!RunSeedingStep([&] {
            LoadHeatScoringSystem(m_heatSystemID);
            DrawSeating(m_heatID, m_toSeedIDs, seed);
        }))
        return;
    // The refresh builds the model of every not-started game of the heat, the
    // games just drawn among them.
    g_conflictModel.reset();
    RefreshHeatLists();
    int value = SeedingConflict(heatNum);
    if (value > 0) {
        if (!AskYesNo(Format("Players randomly seeded.\n\nCurrent conflict value is %d.\nDo you wish to optimize "
                             "conflicts?\n(This may take a few minutes.)",
                             value),
                      QStringLiteral("Confirm Optimization")))
            return;
        // A failure here leaves the drawn seating stored, and shown.
        const HeatSeating drawn = CurrentSeating(*g_conflictModel);
        if (!RunSeedingStep([&] {
                value = OptimiseDrawnSeating(value, seed);
                WriteOptimisedSeating(m_heatID, *g_conflictModel, drawn);
            }))
            return;
        RefreshHeatLists();
    }
    ShowMessage(Format("Optimization Complete!\nFinal conflict value is %d.", value), QStringLiteral("Heat Seeded"),
                MsgIcon::Exclamation);
}

bool CHeatsDialog::RunSeedingStep(const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const HeatChangedElsewhere& refused) {
        ShowStoredHeat();
        ShowMessage(refused.Text(), refused.Title(), MsgIcon::Stop);
    } catch (...) {
        ShowStoredHeat();
        throw;
    }
    return false;
}

void CHeatsDialog::ShowStoredHeat()
{
    g_conflictModel.reset();
    RefreshHeatLists();
}

int CHeatsDialog::OptimiseDrawnSeating(int value, std::uint32_t seed)
{
    {
        const WaitCursor wait;
        value = OptimiseSeating(value);
    }
    if (!ui->searchDeeperCheck->isChecked()) return value;
    // Even a heat the pass brings to 0 is planned with the heats to come.
    SeatingPlanner planner(*g_conflictModel, SeedingRules(g_conflictModel->heatNum, CurrentTournament.numHeats), seed);
    if (!planner.Done()) {
        CSeatingSearchDialog progress(planner, SeatingBudget{}, this);
        progress.DoModal();
    }
    const WaitCursor wait;
    return planner.Finish();
}

void CHeatsDialog::OnUnseed()
{
    UnseedHeat(m_heatID);
    ui->unseedButton->setEnabled(false);
    RefreshHeatLists();
}

void CHeatsDialog::OnReplace()
{
    const std::vector<int> registeredRows = SelectedRows(ui->registeredList);
    const std::vector<int> seatedRows = SelectedRows(ui->seededList);
    if (registeredRows.empty() || seatedRows.empty()) return;
    const int r = registeredRows.front();
    const int s = seatedRows.front();
    if (!AskYesNo(Format("Are you sure you want to replace %s with %s?", ui->seededList->topLevelItem(s)->text(0),
                         ui->registeredList->topLevelItem(r)->text(0)),
                  QStringLiteral("Confirm Player Replacement")))
        return;
    ReplaceSeatedPlayer(m_heatID, m_seededIDs[size_t(s)], m_registeredIDs[size_t(r)]);
    RefreshHeatLists();
}

void CHeatsDialog::OnSwap()
{
    const std::vector<int> rows = SelectedRows(ui->seededList);
    if (rows.size() < 2) return;
    const SwapRows chosen = ChooseSwapRows(rows[0], rows[1]);
    if (!AskYesNo(Format("Are you sure you want to swap the assigned players %s and %s?",
                         ui->seededList->topLevelItem(chosen.x)->text(0),
                         ui->seededList->topLevelItem(chosen.y)->text(0)),
                  QStringLiteral("Confirm Player Swap")))
        return;
    if (!SwapSeatedPlayers(m_heatID, m_seededIDs[size_t(chosen.x)], m_seededIDs[size_t(chosen.y)])) return;
    ui->swapButton->setEnabled(false);
    RefreshHeatLists();
}
