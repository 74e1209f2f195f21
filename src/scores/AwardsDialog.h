#pragma once
// The Awards dialog: the award list of the tournament, centred line by line,
// and its printout.

#include "ui/Dialog.h"

#include <QString>

#include <memory>

namespace Ui {
class CAwardsDialog;
}

class CAwardsDialog : public CDialog {
    Q_OBJECT
public:
    CAwardsDialog(const QString& tournamentName, const QString& awardText, QWidget* parent = nullptr);
    ~CAwardsDialog() override;

    QString AwardText() const { return m_awardText; }

    // Commands of the buttons.
    void OnPrint();
    void OnOK();

private:
    std::unique_ptr<Ui::CAwardsDialog> ui;
    QString m_awardText;
};
