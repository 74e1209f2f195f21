#pragma once
// The Tournament Details dialog: creates a tournament (edited id -1) or edits
// the open one, with the rules, their checks and the multiplier corrections.

#include "ui/Dialog.h"

#include <memory>

namespace Ui {
class CTournamentDetailsDialog;
}
struct TournamentForm;
enum class TournamentField;

class CTournamentDetailsDialog : public CDialog {
    Q_OBJECT
public:
    CTournamentDetailsDialog(int tournamentID, const QString& name, const QString& description,
                             QWidget* parent = nullptr);
    ~CTournamentDetailsDialog() override;

    // The tournament edited; after a New that created one its new id, else
    // a negative id.
    int EditedID() const { return m_tournamentID; }

protected:
    void OnInitDialog() override;

private:
    // Lists the stored systems with the loaded one chosen; also the
    // dialog's Refresh.
    void FillSystemList();
    void FillSettings();
    void ShowLowHeats(int lowest, int nextLowest, float x, float y);
    void ApplyTeamRule();
    void ApplyScoredGamesRule();
    void ApplyPowerRule();
    TournamentForm ReadForm() const;
    // Takes the director to the field: the focus, and a line edit's text
    // selected for typing over.
    void FocusField(TournamentField field);

    void OnSystemSelected(int index);
    void OnSystemButton();
    void OnTeamSizeChanged();
    void OnScoredGamesChanged();
    void OnPowerAssignmentChanged();
    void OnOK();

    std::unique_ptr<Ui::CTournamentDetailsDialog> ui;
    int m_tournamentID;
    QString m_name;
    QString m_description;
};
