#pragma once
// Scoring System Details: shows the loaded scoring system, validates every
// formula by evaluating it, and saves it over its row or as a new system.

#include "scoring/ScoringSystem.h"
#include "ui/Dialog.h"
#include "ui/TypedText.h"

#include <QString>

#include <array>
#include <memory>

namespace Ui {
class CScoringSystemDialog;
}
class QLineEdit;

// What the dialog edits of a system.
struct SystemValues {
    QString name;
    int dias = 1;
    int winDrawScoring = 1;  // -1 when no kind is chosen
    int finalYear = -1;
    std::array<QString, kFormulaCount> formulas;
};

// A new system's name takes at most 60 characters.
inline const TypedTextField kSystemNameField{QStringLiteral("scoring system name"), 60};

// The error lines that keep the values from being saved, empty when they
// are valid. A new system needs a name the store keeps and not yet in use.
// Every formula is evaluated under the loaded system (which is left as it
// was); an empty one becomes "0", and one with a character the store cannot
// keep is refused by the caption of its row.
QString SystemValueErrors(SystemValues& values, bool newSystem);

// A ready-made system of the given kind (0 rank by SC count, 1 win/draw,
// 2 both) with its name, for a director to start from: points by rank plus
// one a centre; points shared by the size of the win or draw; and the
// draw's share added to the rank points.
SystemValues ExampleSystemValues(int kind);

// Writes the values as a new System row (targetID -1) or over the loaded
// system's row, then makes the loaded system hold them (a new one with its
// new id).
void SaveSystemValues(const SystemValues& values, int targetID);

class CScoringSystemDialog : public CDialog {
    Q_OBJECT
public:
    // targetID -1: "OK" saves a new system; otherwise it saves over the
    // loaded one. The caller loads the system to show first, or sets
    // ScoringSystem.id to -1 for a new one.
    explicit CScoringSystemDialog(int targetID, QWidget* parent = nullptr);
    ~CScoringSystemDialog() override;

    int TargetID() const { return m_targetID; }

protected:
    void OnInitDialog() override;

private:
    void OnKindChanged(int kind);
    void OnCreateNewSystem();
    void OnUseExample();
    void OnOK();
    void OnCancel();

    void SetKindLabels(int kind);
    SystemValues ValuesShown() const;
    QLineEdit* FormulaEdit(int slot) const;

    std::unique_ptr<Ui::CScoringSystemDialog> ui;
    int m_targetID;
};
