#pragma once
// Small rules every dialog applies to its controls the same way.

#include <QString>
#include <QStringList>

class QAbstractButton;
class QAction;
class QLabel;
class QWidget;

// Enables the control when whyNot is empty; otherwise disables it and makes
// whyNot its tooltip and its description for assistive technology (for a
// menu item, its tooltip and status tip), so a disabled action always says
// why. An available control shows the tooltip its form gave it. A menu
// shows its items' reasons once it has setToolTipsVisible(true).
void EnableWithReason(QWidget* control, const QString& whyNot);
void EnableWithReason(QAction* action, const QString& whyNot);

// Checks or clears a box without notifying anyone. Handlers of check boxes
// follow toggled(), so that a box toggled from the keyboard or through
// assistive technology acts like a click; the program's own changes of a box
// go through here and so never run those handlers.
void SetCheckedQuietly(QAbstractButton* box, bool checked);

// A control that comes and goes keeps its room in the layout while hidden,
// so that showing it moves nothing else (keep = false gives the room up).
void KeepRoomWhenHidden(QWidget* control, bool keep = true);

// A label whose text changes keeps the room of the widest of texts, so that
// changing it moves nothing else.
void KeepRoomForTexts(QLabel* label, const QStringList& texts);

// Shows a label's text. An empty label is silent for assistive technology
// too: without a name of its own it would be read out with the caption of
// the group box around it.
void SetLabelText(QLabel* label, const QString& text);
