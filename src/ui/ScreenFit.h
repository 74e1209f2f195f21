#pragma once
// Windows that open at a size their content needs and their screen allows.
//
// Every dialog is fitted when it is first shown (CDialog does it): it opens
// at its designed size or at the size its layout asks for, whichever is
// larger, then grows until every list and scroll area in it shows its
// content whole, but never beyond the area of the screen that windows may
// use, frame included, at any scale factor. It is placed over its parent
// (or in the middle of the screen) and wholly inside that area, so no
// button is ever off the screen.

#include "ui/ScreenArea.h"

#include <QMargins>
#include <QRect>
#include <QSize>

class QAbstractScrollArea;
class QWidget;

// The room the window's frame takes around it: the frame the window system
// reports once the window is on the screen, else a frame as a window
// manager would draw it.
QMargins WindowFrameMargins(const QWidget* window);

// The size at which a scroll area (a list, a table, a scroll area around a
// widget) shows its content whole, within its frame and scroll bar. Lists
// ask for the height of at most maxRows rows.
QSize WantedContentSize(const QAbstractScrollArea* area, int maxRows = 20);

// Sizes and places the window as described above. Called by CDialog when a
// dialog is first shown; a window whose content changes its needs may call
// it again.
void FitToScreen(QWidget* window);
