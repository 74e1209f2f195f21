#pragma once
// The selection of a list by its rows' identifiers, so that a list filled
// anew selects the same rows again. rowIDs holds the identifier of each row
// of the list in display order (the dialog's identifier table).

#include <vector>

class QAbstractItemView;

// The identifiers of the selected rows, in list order.
std::vector<int> SelectedRowIDs(const QAbstractItemView* list, const std::vector<int>& rowIDs);

// Selects the rows whose identifiers are among selectedIDs and nothing else;
// an identifier no longer listed is passed over. The first row selected
// becomes the current one and is scrolled into view. The list notifies its
// selection change as after a click.
void SelectRowIDs(QAbstractItemView* list, const std::vector<int>& rowIDs, const std::vector<int>& selectedIDs);
