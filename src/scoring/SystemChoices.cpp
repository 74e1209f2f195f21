#include "scoring/SystemChoices.h"

#include "db/Format.h"
#include "db/Recordset.h"

#include <QComboBox>
#include <QSignalBlocker>

std::vector<SystemChoice> ScoringSystemChoices(int defaultSystemID)
{
    std::vector<SystemChoice> choices;
    for (CRecordset rs(Sql("Select id, name from System order by name")); !rs.IsEOF(); rs.MoveNext()) {
        const int id = rs.GetInt(0);
        const QString name = rs.GetString(1);
        if (id == defaultSystemID) {
            choices.push_back({Format("%s (default)", name), 0});
            choices.push_back({name + QStringLiteral(" (hard-set)"), id});
        } else {
            choices.push_back({name, id});
        }
    }
    return choices;
}

int FillSystemCombo(QComboBox* combo, const std::vector<SystemChoice>& choices, int selectedValue)
{
    const QSignalBlocker quiet(combo);
    combo->clear();
    int selected = -1;
    for (const SystemChoice& choice : choices) {
        if (choice.value == selectedValue && selected == -1) selected = combo->count();
        combo->addItem(choice.text, choice.value);
    }
    combo->setCurrentIndex(selected);
    return selected;
}
