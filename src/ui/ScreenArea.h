#pragma once
// The room a window has on its screen.

#include <QRect>

class QWidget;

// The part of the widget's screen that windows may use (without panels
// and docks), in the widget's coordinates of device-independent pixels.
QRect AvailableScreenArea(const QWidget* widget);
