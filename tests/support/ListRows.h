#pragma once
// Reading a report-style list the way the director sees it.

#include <QStringList>
#include <QTreeWidget>

#include <vector>

// Every row of the list, every column's text.
inline std::vector<QStringList> ShownRows(const QTreeWidget* list)
{
    std::vector<QStringList> rows;
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        QStringList texts;
        for (int c = 0; c < list->columnCount(); ++c) texts << list->topLevelItem(r)->text(c);
        rows.push_back(texts);
    }
    return rows;
}
