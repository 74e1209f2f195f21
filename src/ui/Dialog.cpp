#include "ui/Dialog.h"

#include "ui/Messages.h"
#include "ui/ScreenFit.h"
#include "ui/UiServices.h"

#include <QKeyEvent>

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

void CDialog::keyPressEvent(QKeyEvent* event)
{
    // A key no control of the dialog took: F5 is the Refresh button's.
    if (m_refreshButton && event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier &&
        m_refreshButton->isEnabled()) {
        event->accept();
        m_refreshButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
