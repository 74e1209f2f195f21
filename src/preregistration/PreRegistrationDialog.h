#pragma once
// Player Pre-Registration: for each heat of the open tournament, the players
// pre-registered for it and the others, a button that moves the selected
// player across, one box per heat for his whole pre-registration, and the
// printed list of a heat. Only heats not created yet can be changed; every
// change is written at once.

#include "preregistration/PlayerPreRegistration.h"
#include "tournament/TournamentSettings.h"
#include "ui/Dialog.h"

#include <QString>

#include <array>
#include <memory>
#include <vector>

namespace Ui {
class CPreRegistrationDialog;
}
class QCheckBox;
class QListWidget;

class CPreRegistrationDialog : public CDialog {
    Q_OBJECT
public:
    // heatNum -1 opens on the first heat not created yet (the last heat when
    // all exist).
    explicit CPreRegistrationDialog(int heatNum, QWidget* parent = nullptr);
    ~CPreRegistrationDialog() override;

    int CurrentHeat() const { return m_heat; }

    static inline const QString kPreRegisterCaption = QStringLiteral("       Pre-Register ----------->");
    static inline const QString kSitOutCaption = QStringLiteral("<----------- Sit Out Heat       ");

protected:
    void OnInitDialog() override;

private:
    // Notifications.
    void OnTabChanged(int index);
    void OnNotRegisteredSelectionChanged();
    void OnRegisteredSelectionChanged();
    void OnMove();
    void OnSitOut();
    void OnHeatBoxClicked();
    void OnPrint();
    void OnRefreshLists();

    void Refresh();
    // No player is current: the boxes wait for one and the button is hidden.
    void ForgetCurrentPlayer();
    // Pre-registers the player selected in list for the heat shown, or sits
    // him out; nothing happens without a selection or once the heat exists.
    void MoveSelected(QListWidget* list, const std::vector<int>& ids, bool preRegister);
    // Makes the selected entry of list the current player; false when the
    // list has no selection.
    bool TakeSelection(QListWidget* list, QListWidget* other, const std::vector<int>& ids, const QString& caption);
    void ShowBoxes(int playerID);
    void SelectRow(QListWidget* list, int row);
    bool CurrentHeatOpen() const { return m_heat > m_highestHeat; }
    int HeatCount() const;

    std::unique_ptr<Ui::CPreRegistrationDialog> ui;
    int m_heat;
    int m_highestHeat = 0;
    int m_playerID = -1;
    QString m_playerName;
    std::vector<int> m_notRegisteredIDs;  // "Players Not Pre-Registered" entries
    std::vector<int> m_registeredIDs;     // "Pre-Registered Players" entries
    std::array<QCheckBox*, kMaxHeats> m_heatBoxes{};  // box of heat n at n - 1
};
