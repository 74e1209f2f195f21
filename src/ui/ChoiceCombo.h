#pragma once
// A drop-down list whose change acts at once: it runs a statement or asks a
// question. Such a list changes only on a committed choice, an item clicked
// in its popup or Enter pressed on one, so a stray key can never act for the
// director. While the list is closed, a key that would step through it or
// jump to an item by its first letter opens the popup instead (the letter
// goes on to the popup's search), and the mouse wheel leaves it alone.
// activated() therefore only ever reports a committed choice. Like every
// list of names, it shows a text that does not fit elided in the middle.
//
// In a form: promote the QComboBox to CChoiceCombo (header ui/ChoiceCombo.h).

#include "ui/ElidingWidgets.h"

class CChoiceCombo : public CElidingCombo {
    Q_OBJECT
public:
    explicit CChoiceCombo(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};
