#include "ui/ElidingWidgets.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

// Asks the widget for its tooltip as the mouse resting on it would.
QString ToolTipShown(QWidget* w)
{
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(w, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

}  // namespace

// A name too long for its room shows elided, with the whole name as its
// tooltip, and lets its layout give it less than the whole; one that fits
// shows whole.
TEST(ElidingWidgets, ANameThatDoesNotFitTellsItselfInItsTooltip)
{
    const QString name = QStringLiteral("Bartholomew-Maximilian Featherstonehaugh-Wolfeschlegelsteinhausen");
    CElidingLabel label;
    CElidingCombo combo;
    combo.addItem(name);
    label.setText(name);
    const auto elided = [&](QWidget* w) { return w == &label ? label.IsElided() : combo.IsElided(); };
    for (QWidget* w : std::initializer_list<QWidget*>{&label, &combo}) {
        SCOPED_TRACE(w->metaObject()->className());
        EXPECT_LT(w->minimumSizeHint().width(), w->sizeHint().width());
        w->resize(w->minimumSizeHint().width(), w->sizeHint().height());
        w->show();
        EXPECT_TRUE(elided(w));
        EXPECT_EQ(ToolTipShown(w), name);
        w->resize(w->sizeHint());
        EXPECT_FALSE(elided(w));
    }
    EXPECT_EQ(label.text(), name);  // what assistive technology reads stays whole
}
