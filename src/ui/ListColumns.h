#pragma once
// Columns of lists whose numbers are never cut and whose names get the room
// the list has.
//
// A number column is exactly as wide as its widest value or its heading;
// the name columns share what is left and grow with the list. Where a name
// still cannot fit, it elides in the middle (two long names most often
// differ at their ends) and the whole name is the cell's tooltip. The text
// itself is never changed, so what a screen reader, a printout or an export
// reads is the whole name.

#include <QList>
#include <QString>

class QAbstractItemView;
class QModelIndex;
class QTreeView;

// Lays out a list's columns from now on: every column not in nameColumns is
// as wide as its widest cell or its heading; the name columns share the room
// left, in proportion to the width each needs, and show their names elided
// in the middle where they do not fit. The columns follow the list's width
// and content.
void LayOutListColumns(QTreeView* list, const QList<int>& nameColumns);

// Shows the names of the list's nameColumns (a plain list: column 0) elided
// in the middle where they do not fit, with the whole name as the tooltip;
// a name never makes the list scroll sideways.
void ShowNamesElided(QAbstractItemView* list, const QList<int>& nameColumns = {0});

// The width a cell needs to show text whole, margins included.
int CellTextWidth(const QAbstractItemView* list, const QString& text);

// The width of the list's columns when every cell and heading shows whole.
int WholeColumnsWidth(const QAbstractItemView* list);

// The tooltip of a cell: its own tooltip when it has one; else its whole
// text when the list shows that text elided; else nothing.
QString ElidedCellToolTip(const QAbstractItemView* list, const QModelIndex& index);
