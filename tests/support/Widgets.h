#pragma once
// Finding a dialog's controls the way a user sees them: by caption, by the
// text of the label in front of them, or by name.

#include <QAbstractButton>
#include <QAction>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

// The button whose caption is text (with or without its '&').
QAbstractButton* ButtonByText(QWidget* root, const QString& text);
// The menu item whose text is text.
QAction* ActionByText(QWidget* root, const QString& text);
// The edit, drop-down list or list whose name for assistive technology is
// name: its own accessible name, or the caption of the label whose buddy it
// is (a trailing colon does not matter).
QWidget* ControlByName(QWidget* root, const QString& name);

template <class W>
W* ControlByName(QWidget* root, const QString& name)
{
    QWidget* w = ControlByName(root, name);
    W* typed = qobject_cast<W*>(w);
    if (w && !typed) ADD_FAILURE() << "control \"" << name.toStdString() << "\" has another type";
    return typed;
}

// The accessible name assistive technology reads for a control.
QString AccessibleName(QWidget* w);

// Fails for every edit, drop-down list or list control in root that has
// neither an accessible name nor a label whose buddy it is.
void ExpectInputsLabelled(QWidget* root);

// Fails for every control in root a screen reader would name wrongly: an
// input without a name, a drop-down list without the label whose buddy it
// is, a button not named by its caption, and a label not named by its own
// text (an empty one by nothing).
void ExpectControlsNamed(QWidget* root);

// Fails for every shown button or menu item in root that is disabled without
// saying why in its tooltip (and, for a button, its description for
// assistive technology).
void ExpectDisabledActionsExplained(QWidget* root);

// True when the widget is not explicitly hidden (dialogs under test are not
// shown on screen, so isVisible() is always false).
inline bool Shown(const QWidget* w) { return w && !w->isHidden(); }
