#include "ui/RowSelection.h"

#include <QAbstractItemView>
#include <QItemSelection>

#include <algorithm>

std::vector<int> SelectedRowIDs(const QAbstractItemView* list, const std::vector<int>& rowIDs)
{
    std::vector<int> selected;
    const QItemSelectionModel* selection = list->selectionModel();
    for (size_t row = 0; row < rowIDs.size(); ++row)
        if (selection->isRowSelected(int(row), QModelIndex())) selected.push_back(rowIDs[row]);
    return selected;
}

void SelectRowIDs(QAbstractItemView* list, const std::vector<int>& rowIDs, const std::vector<int>& selectedIDs)
{
    const QAbstractItemModel* model = list->model();
    const int lastColumn = std::max(model->columnCount() - 1, 0);
    QItemSelection rows;
    QModelIndex first;
    for (size_t row = 0; row < rowIDs.size(); ++row) {
        if (std::find(selectedIDs.begin(), selectedIDs.end(), rowIDs[row]) == selectedIDs.end()) continue;
        const QModelIndex start = model->index(int(row), 0);
        rows.select(start, model->index(int(row), lastColumn));
        if (!first.isValid()) first = start;
    }
    list->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    if (!first.isValid()) return;
    list->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    list->scrollTo(first);
}
