#include "ui/ElidingWidgets.h"

#include "ui/TextFit.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolTip>

#include <algorithm>

namespace {

// The least a name is shown with: a few letters either side of the ellipsis.
int LeastNameWidth(const QFontMetrics& metrics) { return metrics.horizontalAdvance(QStringLiteral("MMMM…MMMM")); }

// Shows the whole text as the tooltip of a widget that shows it elided.
bool ShowWholeText(QEvent* event, QWidget* widget, bool elided, const QString& text)
{
    if (event->type() != QEvent::ToolTip || !elided || !widget->toolTip().isEmpty()) return false;
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, widget);
    return true;
}

// Where a label draws its text.
QRect LabelTextRect(const QLabel& label)
{
    const int m = label.margin();
    return label.contentsRect().adjusted(m, m, -m, -m);
}

}  // namespace

CElidingLabel::CElidingLabel(QWidget* parent) : QLabel(parent) {}

bool CElidingLabel::IsElided() const
{
    return WholeTextWidth(font(), text()) > LabelTextRect(*this).width();
}

QSize CElidingLabel::minimumSizeHint() const
{
    const QSize whole = QLabel::minimumSizeHint();
    const QMargins margins = contentsMargins();
    const int least = LeastNameWidth(fontMetrics()) + margins.left() + margins.right() + 2 * margin();
    return {std::min(whole.width(), least), whole.height()};
}

void CElidingLabel::paintEvent(QPaintEvent* event)
{
    if (!IsElided()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect room = LabelTextRect(*this);
    style()->drawItemText(&painter, room, int(QStyle::visualAlignment(layoutDirection(), alignment())), palette(),
                          isEnabled(), fontMetrics().elidedText(text(), Qt::ElideMiddle, room.width()),
                          foregroundRole());
}

bool CElidingLabel::event(QEvent* event)
{
    return ShowWholeText(event, this, IsElided(), text()) || QLabel::event(event);
}

CElidingCombo::CElidingCombo(QWidget* parent) : QComboBox(parent) { view()->setTextElideMode(Qt::ElideMiddle); }

QRect CElidingCombo::TextRect() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
}

bool CElidingCombo::IsElided() const { return WholeTextWidth(font(), currentText()) > TextRect().width(); }

QSize CElidingCombo::minimumSizeHint() const
{
    const QSize whole = QComboBox::minimumSizeHint();
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const int frameAndArrow =
        style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(0, whole.height()), this).width();
    return {std::min(whole.width(), frameAndArrow + LeastNameWidth(fontMetrics())), whole.height()};
}

void CElidingCombo::paintEvent(QPaintEvent* event)
{
    if (isEditable() || !IsElided()) {
        QComboBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = fontMetrics().elidedText(option.currentText, Qt::ElideMiddle, TextRect().width());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

bool CElidingCombo::event(QEvent* event)
{
    return ShowWholeText(event, this, IsElided(), currentText()) || QComboBox::event(event);
}
