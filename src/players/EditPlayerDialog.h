#pragma once
// Edit Player Name / E-Mail: corrects one player's names and e-mail address.

#include "ui/Dialog.h"

#include <memory>

namespace Ui {
class CEditPlayerDialog;
}

class CEditPlayerDialog : public CDialog {
    Q_OBJECT
public:
    explicit CEditPlayerDialog(int playerID, QWidget* parent = nullptr);
    ~CEditPlayerDialog() override;

    // The names as they stand when the dialog has ended: as stored after OK,
    // as loaded after Cancel.
    QString FirstName() const { return m_first; }
    QString LastName() const { return m_last; }

protected:
    void OnInitDialog() override;

private:
    void OnOK();
    void OnCancel();

    std::unique_ptr<Ui::CEditPlayerDialog> ui;
    int m_playerID;
    QString m_first;
    QString m_last;
};
