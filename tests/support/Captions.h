#pragma once
// Finding a control by the caption of the label in front of it.
//
// ControlByName goes by accessible names, but on this platform a drop-down
// list's accessible name is its current entry once it has one; the label
// that names it is reached through its buddy instead.

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

// The buddy of the label whose caption is caption (with or without its '&').
QWidget* ControlByCaption(QWidget* root, const QString& caption);

template <class W>
W* ControlByCaption(QWidget* root, const QString& caption)
{
    QWidget* w = ControlByCaption(root, caption);
    W* typed = qobject_cast<W*>(w);
    if (w && !typed) ADD_FAILURE() << "control captioned \"" << caption.toStdString() << "\" has another type";
    return typed;
}
