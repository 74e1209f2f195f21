#include "ui/ChoiceCombo.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QWheelEvent>

namespace {

// The keys with which a closed list would step to another item.
bool IsSteppingKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: return true;
    default: return false;
    }
}

// A typed character with which a closed list would jump to an item.
bool IsSearchText(const QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint() && !text.at(0).isSpace();
}

}  // namespace

CChoiceCombo::CChoiceCombo(QWidget* parent) : CElidingCombo(parent) {}

void CChoiceCombo::keyPressEvent(QKeyEvent* event)
{
    if (isEditable()) {
        CElidingCombo::keyPressEvent(event);
        return;
    }
    if (IsSteppingKey(event->key())) {
        event->accept();
        showPopup();
        return;
    }
    if (IsSearchText(event)) {
        event->accept();
        showPopup();
        // In the open popup the letter only moves the highlight; Enter or a
        // click then makes the choice.
        view()->keyboardSearch(event->text());
        return;
    }
    CElidingCombo::keyPressEvent(event);
}

void CChoiceCombo::wheelEvent(QWheelEvent* event) { event->ignore(); }
