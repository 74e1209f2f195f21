#pragma once
// Optimizing Seating: a seating search (the seating plan, or the deeper
// search of one heat) at work. The search runs in short slices from the
// event loop, so the window answers the director throughout; it shows the
// time left and the best conflict value of the heat found so far. The dialog
// ends by itself when the budget is spent or the search has nothing more to
// look for (the deeper search at a total of 0; the plan goes on while later
// heats can still improve); "Stop" (or closing the window) ends it at once.
// Whichever way it ends, the search keeps the best seating found: the caller
// finishes it.

#include "seating/SeatingSearch.h"
#include "ui/Dialog.h"

#include <QTimer>

#include <memory>
#include <optional>

namespace Ui {
class CSeatingSearchDialog;
}

class CSeatingSearchDialog : public CDialog {
    Q_OBJECT
public:
    // Runs search within budget, its time counted from when the window
    // opens.
    CSeatingSearchDialog(SteppedSeatingSearch& search, const SeatingBudget& budget, QWidget* parent = nullptr);
    ~CSeatingSearchDialog() override;

    // Ends the search after this many steps in total as well, so that a
    // given amount of work gives a given seating.
    void LimitSteps(long long steps) { m_budget.steps = steps; }

    void done(int result) override;

protected:
    void OnInitDialog() override;

private:
    void OnSlice();
    void OnStop();

    void ShowProgress();

    std::unique_ptr<Ui::CSeatingSearchDialog> ui;
    SteppedSeatingSearch& m_search;
    SeatingBudget m_budget;
    QTimer m_timer;
    std::optional<SeatingSlices> m_slices;
};
