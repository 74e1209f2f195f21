#include "support/Widgets.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {
QString WithoutAmpersand(QString text) { return text.remove(QChar('&')); }
}  // namespace

QAbstractButton* ButtonByText(QWidget* root, const QString& text)
{
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>())
        if (b->text() == text || WithoutAmpersand(b->text()) == WithoutAmpersand(text)) return b;
    ADD_FAILURE() << "no button \"" << text.toStdString() << "\"";
    return nullptr;
}

QAction* ActionByText(QWidget* root, const QString& text)
{
    for (QAction* a : root->findChildren<QAction*>())
        if (a->text() == text) return a;
    ADD_FAILURE() << "no menu item \"" << text.toStdString() << "\"";
    return nullptr;
}

QString AccessibleName(QWidget* w)
{
    // On Linux a drop-down list gives its current item as its name and leaves
    // its label to a relation; what labels it is its own accessible name or
    // the caption of the label whose buddy it is.
    if (qobject_cast<QComboBox*>(w)) {
        if (!w->accessibleName().isEmpty()) return WithoutAmpersand(w->accessibleName()).trimmed();
        for (QLabel* label : w->window()->findChildren<QLabel*>())
            if (label->buddy() == w) return WithoutAmpersand(label->text()).trimmed();
        return QString();
    }
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? WithoutAmpersand(iface->text(QAccessible::Name)).trimmed() : QString();
}

QWidget* ControlByName(QWidget* root, const QString& name)
{
    const QString wanted = WithoutAmpersand(name).trimmed();
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                           qobject_cast<QAbstractItemView*>(w) || qobject_cast<QTextEdit*>(w) ||
                           qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w);
        if (input && AccessibleName(w) == wanted) return w;
    }
    ADD_FAILURE() << "no control named \"" << name.toStdString() << "\"";
    return nullptr;
}

void ExpectInputsLabelled(QWidget* root)
{
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(w) && qobject_cast<QComboBox*>(w->parentWidget())) continue;  // a combo's own edit
        if (qobject_cast<QAbstractSpinBox*>(w->parentWidget())) continue;
        const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                           qobject_cast<QAbstractItemView*>(w) || qobject_cast<QTextEdit*>(w) ||
                           qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w);
        if (!input) continue;
        if (qobject_cast<QAbstractItemView*>(w) && qobject_cast<QComboBox*>(w->parentWidget()->parentWidget()))
            continue;  // a combo's popup list
        EXPECT_FALSE(AccessibleName(w).isEmpty())
            << "control " << w->objectName().toStdString() << " (" << w->metaObject()->className()
            << ") has no label or accessible name";
    }
}
