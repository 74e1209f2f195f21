#include "ui/Controls.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QSignalBlocker>
#include <QSizePolicy>
#include <QWidget>

#include <algorithm>

void EnableWithReason(QWidget* control, const QString& whyNot)
{
    // The control's own tooltip, as its form gave it, is kept the first time
    // and shown again whenever the control is available.
    static const char* const kOwnToolTip = "quorvaneOwnToolTip";
    if (!control->property(kOwnToolTip).isValid()) control->setProperty(kOwnToolTip, control->toolTip());
    control->setEnabled(whyNot.isEmpty());
    control->setToolTip(whyNot.isEmpty() ? control->property(kOwnToolTip).toString() : whyNot);
    control->setAccessibleDescription(whyNot);
}

void EnableWithReason(QAction* action, const QString& whyNot)
{
    action->setEnabled(whyNot.isEmpty());
    // An available item shows no tooltip of its own.
    action->setToolTip(whyNot);
    action->setStatusTip(whyNot);
}

void SetCheckedQuietly(QAbstractButton* box, bool checked)
{
    const QSignalBlocker quiet(box);
    box->setChecked(checked);
}

void SetLabelText(QLabel* label, const QString& text)
{
    label->setText(text);
    // A blank name stops the fall-back to the group box's caption and is
    // read as nothing.
    label->setAccessibleName(text.isEmpty() ? QStringLiteral(" ") : QString());
}

void KeepRoomWhenHidden(QWidget* control, bool keep)
{
    QSizePolicy policy = control->sizePolicy();
    policy.setRetainSizeWhenHidden(keep);
    control->setSizePolicy(policy);
}

void KeepRoomForTexts(QLabel* label, const QStringList& texts)
{
    const QString shown = label->text();
    int widest = 0;
    for (const QString& text : texts) {
        label->setText(text);
        widest = std::max(widest, label->sizeHint().width());
    }
    label->setText(shown);
    label->setMinimumWidth(widest);
}
