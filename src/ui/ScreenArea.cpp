#include "ui/ScreenArea.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QRect AvailableScreenArea(const QWidget* widget)
{
    const QScreen* screen = widget ? widget->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}
