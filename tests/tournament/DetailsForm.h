#pragma once
// Filling in the Tournament Details dialog the way the director does: edits
// by their captions, list items by their texts.

#include "support/Widgets.h"
#include "tournament/TournamentDetailsDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

class DetailsForm {
public:
    explicit DetailsForm(CTournamentDetailsDialog& dialog) : m_d(dialog) {}

    QLineEdit* Edit(const QString& caption) const { return ControlByName<QLineEdit>(&m_d, caption); }
    QString Text(const QString& caption) const { return Edit(caption)->text(); }
    // The two multiplier edits share the caption "Heat Score(s) by " and are
    // told apart by their names for screen readers.
    QLineEdit* LowMultiplier() const { return ControlByName<QLineEdit>(&m_d, "Lowest heats multiplier"); }
    QLineEdit* NextMultiplier() const { return ControlByName<QLineEdit>(&m_d, "Next lowest heats multiplier"); }
    QPlainTextEdit* Description() const { return ControlByName<QPlainTextEdit>(&m_d, "Description:"); }
    QComboBox* SystemList() const { return Named<QComboBox>("systemCombo"); }
    QComboBox* TeamSizeList() const { return Named<QComboBox>("teamSizeCombo"); }
    QComboBox* ScoredGamesList() const { return Named<QComboBox>("scoredGamesCombo"); }
    QComboBox* PowerAssignmentList() const { return Named<QComboBox>("powerAssignmentCombo"); }
    QComboBox* GroupPowersList() const { return Named<QComboBox>("groupPowersCombo"); }
    QLabel* Label(const char* objectName) const { return Named<QLabel>(objectName); }

    DetailsForm& Type(const QString& caption, const QString& text)
    {
        if (QLineEdit* e = Edit(caption)) e->setText(text);
        return *this;
    }
    DetailsForm& Multipliers(const QString& lowest, const QString& x, const QString& nextLowest, const QString& y)
    {
        Type("Multiply the Lowest", lowest).Type("And the Next Lowest", nextLowest);
        LowMultiplier()->setText(x);
        NextMultiplier()->setText(y);
        return *this;
    }
    // Selects the item with this text in whichever list holds it.
    DetailsForm& Choose(const QString& item)
    {
        for (QComboBox* combo : m_d.findChildren<QComboBox*>()) {
            const int index = combo->findText(item);
            if (index >= 0) {
                combo->setCurrentIndex(index);
                return *this;
            }
        }
        ADD_FAILURE() << "no list item \"" << item.toStdString() << "\"";
        return *this;
    }
    // Name, heats and minimum of a valid tournament with this scoring system.
    DetailsForm& Basics(const QString& name, const QString& system, int heats = 3)
    {
        return Type("Tournament Name:", name)
            .Choose(system)
            .Type("Number of Heats:", QString::number(heats))
            .Type("Player Must Play In", "1");
    }
    void PressOK() { ButtonByText(&m_d, "OK")->click(); }

    // The multiplier edits as shown: N, M, X, Y.
    QStringList LowHeatsShown() const
    {
        return {Text("Multiply the Lowest"), Text("And the Next Lowest"), LowMultiplier()->text(),
                NextMultiplier()->text()};
    }

private:
    template <class W>
    W* Named(const char* objectName) const
    {
        W* w = m_d.findChild<W*>(QString::fromLatin1(objectName));
        if (!w) ADD_FAILURE() << "no control " << objectName;
        return w;
    }

    CTournamentDetailsDialog& m_d;
};
