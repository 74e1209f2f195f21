#pragma once
// Base of every dialog of the program.
//
// A dialog sets up its widgets and its table of notifications in the
// constructor, one On(...) line per notification:
//
//   On(ui->okButton, &QPushButton::clicked, &CMyDialog::OnOK);
//
// Every handler connected with On() runs under the one guard: a failing
// statement (or any other exception) is reported with ReportFailure and the
// action is abandoned; an open Transaction guard rolls it back on the way out.
//
// A dialog that lists stored rows has a Refresh button in its form, with
// the F5 key doing the same, both connected by one line of the table:
//
//   OnRefresh(ui->refreshButton, &CMyDialog::OnRefreshLists);
//
// The handler reads again from the database what the dialog lists, keeping
// the selection, the current tab and what the director has not saved yet; it
// never writes and never asks.
//
// DoModal() runs OnInitDialog() (under the same guard) and then the dialog,
// through the UI services, so tests can drive child dialogs in-process.
//
// A dialog opens at the size its content needs, within the screen's
// available area (ui/ScreenFit.h).

#include <QAbstractButton>
#include <QDialog>

#include <exception>
#include <utility>

class CDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDialog(QWidget* parent = nullptr);

    // Initialises the dialog (once) and runs it modally; returns the result
    // code (QDialog::Accepted, QDialog::Rejected or an EndDialog code).
    int DoModal();

    // Runs OnInitDialog once, under the guard. Returns false when the dialog
    // ended during its initialisation (it closed itself, or it failed).
    bool Initialise();

    // Ends the dialog with a result code.
    void EndDialog(int result);
    bool HasEnded() const { return m_ended; }

    void done(int result) override;

    // Runs an action under the guard; false when it failed (and was reported).
    template <class F>
    static bool Guarded(F&& action)
    {
        try {
            std::forward<F>(action)();
            return true;
        } catch (const std::exception& failure) {
            ReportGuardedFailure(failure);
            return false;
        }
    }

protected:
    virtual void OnInitDialog() {}

    // The first time the dialog is shown it is sized to its content within
    // the screen's available area (FitToScreen).
    void showEvent(QShowEvent* event) override;

    // Connects a notification to a handler of this dialog, under the guard.
    // The handler takes either no arguments or the signal's arguments.
    template <class Sender, class Signal, class D, class... HandlerArgs>
    void On(Sender* sender, Signal signal, void (D::*handler)(HandlerArgs...))
    {
        D* self = static_cast<D*>(this);
        connect(sender, signal, this, [self, handler](auto... args) {
            Guarded([&] {
                if constexpr (sizeof...(HandlerArgs) == 0) {
                    ((void)args, ...);
                    (self->*handler)();
                } else {
                    (self->*handler)(args...);
                }
            });
        });
    }

    // Connects the dialog's Refresh button to its handler, under the guard,
    // and makes F5 anywhere in the dialog click it.
    template <class D>
    void OnRefresh(QAbstractButton* button, void (D::*handler)())
    {
        On(button, &QAbstractButton::clicked, handler);
        m_refreshButton = button;
    }

    void keyPressEvent(QKeyEvent* event) override;

private:
    static void ReportGuardedFailure(const std::exception& failure);

    bool m_initialised = false;
    bool m_ended = false;
    bool m_fitted = false;
    QAbstractButton* m_refreshButton = nullptr;
};
