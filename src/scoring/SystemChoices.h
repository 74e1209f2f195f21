#pragma once
// The rows of a "Scoring System:" drop-down list: every system in name
// order, the default one twice, once as "(default)" standing for 0 (inherit
// whatever the default is) and once as " (hard-set)" standing for its id.

#include <QString>

#include <vector>

class QComboBox;

struct SystemChoice {
    QString text;
    int value;  // 0 = the default system, else a System.id
};

std::vector<SystemChoice> ScoringSystemChoices(int defaultSystemID);

// Fills a drop-down list with the choices, each item's data its value, and
// selects the item whose value is selectedValue (none when no item is).
// Sends no selection notification. Returns the selected index or -1.
int FillSystemCombo(QComboBox* combo, const std::vector<SystemChoice>& choices, int selectedValue);
