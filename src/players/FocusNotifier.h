#pragma once
// Turns "a widget gained the keyboard focus" into a signal, so a dialog can
// list it in its table of notifications like any other.

#include <QEvent>
#include <QObject>
#include <QWidget>

#include <initializer_list>

class FocusNotifier : public QObject {
    Q_OBJECT
public:
    // Watches every widget given; lives as long as parent.
    FocusNotifier(QObject* parent, std::initializer_list<QWidget*> watched) : QObject(parent)
    {
        for (QWidget* w : watched) w->installEventFilter(this);
    }

Q_SIGNALS:
    void focusGained();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) Q_EMIT focusGained();
        return QObject::eventFilter(watched, event);
    }
};
