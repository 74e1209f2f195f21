#include "ui/TextFit.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

// Sets the fitted text through set and the tooltip of widget.
template <class Set>
void ShowFitted(QWidget* widget, const QString& text, int maxWidth, Qt::TextElideMode mode, Set set)
{
    const QString fitted = FitTextToWidth(text, widget->fontMetrics(), maxWidth, mode);
    set(fitted);
    widget->setToolTip(fitted == text ? QString() : text);
}

}  // namespace

int WholeTextWidth(const QFont& font, const QString& text)
{
    return int(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

QString FitTextToWidth(const QString& text, const QFontMetrics& metrics, int width, Qt::TextElideMode mode)
{
    return metrics.elidedText(text, mode, std::max(width, 0));
}

void ShowFittedTitle(QGroupBox* box, const QString& text, int maxWidth, Qt::TextElideMode mode)
{
    // A title of user text has no mnemonic: an ampersand shows as it stands.
    ShowFitted(box, text, maxWidth, mode, [box](QString fitted) {
        box->setTitle(fitted.replace(QChar('&'), QStringLiteral("&&")));
    });
}

void ShowFittedText(QLabel* label, const QString& text, int maxWidth, Qt::TextElideMode mode)
{
    ShowFitted(label, text, maxWidth, mode, [label](const QString& fitted) { label->setText(fitted); });
}

int ScreenTextWidth(const QWidget* widget)
{
    const QScreen* screen = widget ? widget->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().width() * 3 / 4 : 600;
}
