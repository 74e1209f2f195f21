#include "support/Widgets.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAbstractButton>
#include <QComboBox>
#include <QHeaderView>
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
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? WithoutAmpersand(iface->text(QAccessible::Name)).trimmed() : QString();
}

namespace {

bool IsInput(QWidget* w)
{
    if (qobject_cast<QHeaderView*>(w)) return false;  // a list's own column headings
    if (qobject_cast<QLineEdit*>(w) && qobject_cast<QComboBox*>(w->parentWidget())) return false;  // a combo's edit
    if (w->parentWidget() && qobject_cast<QAbstractSpinBox*>(w->parentWidget())) return false;
    if (qobject_cast<QAbstractItemView*>(w) && w->parentWidget() &&
        qobject_cast<QComboBox*>(w->parentWidget()->parentWidget()))
        return false;  // a combo's popup list
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w) ||
           qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w);
}

// The name assistive technology gives a control: its own accessible name, or
// the caption of the label whose buddy it is (on this platform a drop-down
// list is named through that label relation, not through its name).
QString CaptionOf(QWidget* root, QWidget* w)
{
    if (!w->accessibleName().isEmpty()) return WithoutAmpersand(w->accessibleName()).trimmed();
    for (QLabel* label : root->window()->findChildren<QLabel*>())
        if (label->buddy() == w) return WithoutAmpersand(label->text()).trimmed();
    return {};
}

bool SameCaption(QString a, QString b)
{
    if (a.endsWith(QChar(':'))) a.chop(1);
    if (b.endsWith(QChar(':'))) b.chop(1);
    return a.trimmed() == b.trimmed();
}

}  // namespace

QWidget* ControlByName(QWidget* root, const QString& name)
{
    const QString wanted = WithoutAmpersand(name).trimmed();
    for (QWidget* w : root->findChildren<QWidget*>())
        if (IsInput(w) && SameCaption(CaptionOf(root, w), wanted)) return w;
    ADD_FAILURE() << "no control named \"" << name.toStdString() << "\"";
    return nullptr;
}

void ExpectInputsLabelled(QWidget* root)
{
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!IsInput(w)) continue;
        EXPECT_FALSE(CaptionOf(root, w).isEmpty())
            << "control " << w->objectName().toStdString() << " (" << w->metaObject()->className()
            << ") has no label or accessible name";
    }
}

namespace {

bool HasBuddyLabel(QWidget* w)
{
    for (QLabel* label : w->window()->findChildren<QLabel*>())
        if (label->buddy() == w && !WithoutAmpersand(label->text()).trimmed().isEmpty()) return true;
    return false;
}

std::string Describe(QWidget* w)
{
    return w->objectName().toStdString() + " (" + w->metaObject()->className() + ")";
}

}  // namespace

void ExpectControlsNamed(QWidget* root)
{
    for (QWidget* w : root->findChildren<QWidget*>()) {
        // A hidden input is not read; a hidden label still is.
        if (IsInput(w) && w->isVisibleTo(root)) {
            EXPECT_FALSE(CaptionOf(root, w).isEmpty())
                << "control " << Describe(w) << " has no label or accessible name";
        }
        // A list in a grid under column headings is named on its own; a
        // hidden one is not read.
        auto* combo = qobject_cast<QComboBox*>(w);
        if (combo && combo->accessibleName().isEmpty() && combo->isVisibleTo(root)) {
            EXPECT_TRUE(HasBuddyLabel(combo)) << "drop-down list " << Describe(w) << " has no label naming it";
        }
        // A list is read by its own name: the label relation names only edits
        // and drop-down lists.
        auto* list = qobject_cast<QAbstractItemView*>(w);
        if (list && IsInput(w) && w->isVisibleTo(root)) {
            EXPECT_FALSE(AccessibleName(list).isEmpty()) << "list " << Describe(w) << " has no name of its own";
        }
        auto* button = qobject_cast<QAbstractButton*>(w);
        if (button && !button->text().isEmpty()) {
            EXPECT_EQ(AccessibleName(button), WithoutAmpersand(button->text()).trimmed())
                << "button " << Describe(w) << " is not named by its caption";
        }
        auto* label = qobject_cast<QLabel*>(w);
        if (label && label->textFormat() != Qt::RichText) {
            EXPECT_EQ(AccessibleName(label), WithoutAmpersand(label->text()).trimmed())
                << "label " << Describe(w) << " is not named by its text";
        }
    }
}

void ExpectDisabledActionsExplained(QWidget* root)
{
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>()) {
        if (b->isEnabled() || !b->isVisibleTo(root) || b->text().isEmpty()) continue;
        EXPECT_FALSE(b->toolTip().isEmpty()) << "disabled button " << Describe(b) << " does not say why";
        EXPECT_EQ(b->accessibleDescription(), b->toolTip()) << "button " << Describe(b);
    }
    for (QAction* a : root->findChildren<QAction*>()) {
        if (a->isEnabled() || a->isSeparator() || a->menu()) continue;
        EXPECT_FALSE(a->toolTip().isEmpty() || a->toolTip() == WithoutAmpersand(a->text()))
            << "disabled menu item " << a->text().toStdString() << " does not say why";
    }
}
