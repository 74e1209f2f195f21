#include "heats/SeatingSearchDialog.h"

#include "ui_SeatingSearchDialog.h"

#include "db/Format.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The length of one slice of the search: short enough that the window
// answers at once.
constexpr std::chrono::milliseconds kSlice(30);

}  // namespace

CSeatingSearchDialog::CSeatingSearchDialog(SteppedSeatingSearch& search, double seconds, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CSeatingSearchDialog>()), m_search(search),
      m_budget(std::chrono::duration_cast<SteppedSeatingSearch::Clock::duration>(
          std::chrono::duration<double>(seconds)))
{
    ui->setupUi(this);
    // One slice at a time: the next is asked for only when this one has
    // gone well.
    m_slices.setInterval(0);
    m_slices.setSingleShot(true);

    // Notifications and their handlers.
    On(&m_slices, &QTimer::timeout, &CSeatingSearchDialog::OnSlice);
    On(ui->stopButton, &QPushButton::clicked, &CSeatingSearchDialog::OnStop);
}

CSeatingSearchDialog::~CSeatingSearchDialog() = default;

void CSeatingSearchDialog::OnInitDialog()
{
    m_deadline = SteppedSeatingSearch::Clock::now() + m_budget;
    ShowProgress();
    m_slices.start();
}

bool CSeatingSearchDialog::SearchEnded() const
{
    return m_search.Done() || SteppedSeatingSearch::Clock::now() >= m_deadline ||
           (m_stepLimit >= 0 && m_search.Steps() >= m_stepLimit);
}

void CSeatingSearchDialog::OnSlice()
{
    if (!SearchEnded()) {
        const long long steps =
            m_stepLimit >= 0 ? m_stepLimit - m_search.Steps() : std::numeric_limits<long long>::max();
        m_search.Run(steps, std::min(m_deadline, SteppedSeatingSearch::Clock::now() + kSlice));
    }
    ShowProgress();
    if (SearchEnded())
        EndDialog(QDialog::Accepted);
    else
        m_slices.start();
}

void CSeatingSearchDialog::OnStop() { EndDialog(QDialog::Accepted); }

void CSeatingSearchDialog::done(int result)
{
    // However the dialog ends, the search does not go on.
    m_slices.stop();
    CDialog::done(result);
}

void CSeatingSearchDialog::ShowProgress()
{
    using namespace std::chrono;
    const auto now = SteppedSeatingSearch::Clock::now();
    const double left = std::max(0.0, duration<double>(m_deadline - now).count());
    const int seconds = int(std::ceil(left));
    ui->timeLeftLabel->setText(Format("Time left: %d second%s", seconds, PluralSuffix(seconds)));
    const double budget = duration<double>(m_budget).count();
    ui->timeBar->setValue(budget > 0 ? int(1000 * (1.0 - left / budget)) : 1000);
    ui->bestLabel->setText(Format("Best conflict value so far: %d", m_search.Best()));
}
