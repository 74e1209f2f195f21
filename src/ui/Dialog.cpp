#include "ui/Dialog.h"

#include "ui/Messages.h"
#include "ui/ScreenFit.h"
#include "ui/UiServices.h"

CDialog::CDialog(QWidget* parent) : QDialog(parent) {}

bool CDialog::Initialise()
{
    if (m_initialised) return !m_ended;
    m_initialised = true;
    if (!Guarded([this] { OnInitDialog(); })) {
        if (!m_ended) EndDialog(QDialog::Rejected);
        return false;
    }
    return !m_ended;
}

int CDialog::DoModal()
{
    if (!Initialise()) return result();
    return Services().RunModal(*this);
}

void CDialog::EndDialog(int result) { done(result); }

void CDialog::done(int result)
{
    m_ended = true;
    QDialog::done(result);
}

void CDialog::ReportGuardedFailure(const std::exception& failure) { ReportFailure(failure); }

void CDialog::showEvent(QShowEvent* event)
{
    if (!m_fitted) {
        m_fitted = true;
        FitToScreen(this);
    }
    QDialog::showEvent(event);
}
