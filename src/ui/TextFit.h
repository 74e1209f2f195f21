#pragma once
// User text shown where room is short. A label, a group box title or a
// list cell holds the text elided to the room it has, with the full text as
// its tooltip, so no stored name can make a window wider than the screen.
// Names elide in the middle: two long names most often differ at their ends.

#include <QString>
#include <Qt>

class QFont;
class QGroupBox;
class QWidget;

// The width text takes in font, in whole pixels rounded up: a text even a
// fraction wider than its room is shown elided.
int WholeTextWidth(const QFont& font, const QString& text);

// Shows text as the box's title, elided to at most maxWidth pixels. The
// tooltip is the full text when the title had to be elided, else empty.
// An ampersand in text shows as it stands (it makes no mnemonic).
void ShowFittedTitle(QGroupBox* box, const QString& text, int maxWidth, Qt::TextElideMode mode = Qt::ElideMiddle);

// The widest a line of user text may be in a window on the widget's screen:
// three quarters of the screen's available width, which leaves room for the
// window's frame, margins and buttons.
int ScreenTextWidth(const QWidget* widget);
