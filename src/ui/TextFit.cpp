#include "ui/TextFit.h"

#include "ui/ScreenArea.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGroupBox>

#include <algorithm>
#include <cmath>

int WholeTextWidth(const QFont& font, const QString& text)
{
    return int(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

void ShowFittedTitle(QGroupBox* box, const QString& text, int maxWidth, Qt::TextElideMode mode)
{
    const QString fitted = box->fontMetrics().elidedText(text, mode, std::max(maxWidth, 0));
    // A title of user text has no mnemonic: an ampersand shows as it stands.
    box->setTitle(QString(fitted).replace(QChar('&'), QStringLiteral("&&")));
    box->setToolTip(fitted == text ? QString() : text);
}

int ScreenTextWidth(const QWidget* widget) { return AvailableScreenArea(widget).width() * 3 / 4; }
