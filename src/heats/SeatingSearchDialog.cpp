#include "heats/SeatingSearchDialog.h"

#include "ui_SeatingSearchDialog.h"

#include "db/Format.h"

#include <cmath>

CSeatingSearchDialog::CSeatingSearchDialog(SteppedSeatingSearch& search, const SeatingBudget& budget,
                                           QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CSeatingSearchDialog>()), m_search(search), m_budget(budget)
{
    ui->setupUi(this);
    // One slice at a time: the next is asked for only when this one has
    // gone well.
    m_timer.setInterval(0);
    m_timer.setSingleShot(true);

    // Notifications and their handlers.
    On(&m_timer, &QTimer::timeout, &CSeatingSearchDialog::OnSlice);
    On(ui->stopButton, &QPushButton::clicked, &CSeatingSearchDialog::OnStop);
}

CSeatingSearchDialog::~CSeatingSearchDialog() = default;

void CSeatingSearchDialog::OnInitDialog()
{
    m_slices.emplace(m_search, m_budget);
    ShowProgress();
    m_timer.start();
}

void CSeatingSearchDialog::OnSlice()
{
    const bool ended = m_slices->RunSlice();
    ShowProgress();
    if (ended)
        EndDialog(QDialog::Accepted);
    else
        m_timer.start();
}

void CSeatingSearchDialog::OnStop() { EndDialog(QDialog::Accepted); }

void CSeatingSearchDialog::done(int result)
{
    // However the dialog ends, the search does not go on.
    m_timer.stop();
    CDialog::done(result);
}

void CSeatingSearchDialog::ShowProgress()
{
    const double left = m_slices->SecondsLeft();
    const int seconds = int(std::ceil(left));
    ui->timeLeftLabel->setText(Format("Time left: %d second%s", seconds, PluralSuffix(seconds)));
    const double budget = m_slices->Seconds();
    ui->timeBar->setValue(budget > 0 ? int(1000 * (1.0 - left / budget)) : 1000);
    ui->bestLabel->setText(Format("Best conflict value so far: %d", m_search.Best()));
}
