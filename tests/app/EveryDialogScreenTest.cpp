// Every dialog on the screen the program runs on, at whatever scale: it
// fits, and keeps still where a choice only fills in what is laid out.

#include "app/EveryDialog.h"

#include "support/FullTournament.h"
#include "tournament/CurrentTournament.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QScreen>
#include <QTabBar>

#include <map>
#include <sstream>
#include <string>

using namespace testdata;

// The tournament of a big evening, with long names and fractional scores.
class EveryDialogOnAFullTournament : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        full = AddFullTournament();
        LoadTournament(full.tournamentID);
    }

    DialogData Data() const
    {
        return {full.name, full.systemID, full.tournamentID, full.heats[0], 0, full.groupID, full.teamID, full.players};
    }

    FullTournament full;
};

namespace {

std::string Text(const QRect& r)
{
    std::ostringstream out;
    out << r.width() << "x" << r.height() << "+" << r.x() << "+" << r.y();
    return out.str();
}

std::string Named(const QWidget* w)
{
    const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    return name.toStdString();
}

// The geometry of every control shown in the dialog, in its coordinates.
std::map<const QWidget*, QRect> ShownGeometry(const QWidget& dlg)
{
    std::map<const QWidget*, QRect> shown;
    for (const QWidget* w : dlg.findChildren<QWidget*>())
        if (w->isVisibleTo(&dlg)) shown[w] = QRect(w->mapTo(&dlg, QPoint()), w->size());
    return shown;
}

// The window and its frame lie on the screen's available area, and every
// button shown lies whole inside the window.
void ExpectFitsScreen(const QWidget& dlg)
{
    const QRect area = dlg.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(dlg.frameGeometry())) << Text(dlg.frameGeometry()) << " on " << Text(area);
    for (const QAbstractButton* b : dlg.findChildren<QAbstractButton*>()) {
        // A tab bar's scroll arrows are its own affair.
        if (!b->isVisibleTo(&dlg) || qobject_cast<const QTabBar*>(b->parentWidget())) continue;
        const QRect r(b->mapTo(&dlg, QPoint()), b->size());
        EXPECT_TRUE(dlg.rect().contains(r)) << Named(b) << " at " << Text(r) << " in " << Text(dlg.rect());
        EXPECT_GE(b->width(), b->minimumSizeHint().width()) << Named(b) << " is cut";
    }
}

// Where the text of a label ends, and where its field begins, for every
// label whose field is shown on the same line.
std::map<const QLabel*, int> LabelGaps(const QWidget& dlg)
{
    std::map<const QLabel*, int> gaps;
    for (const QLabel* label : dlg.findChildren<QLabel*>()) {
        const QWidget* field = label->buddy();
        if (!field || !label->isVisibleTo(&dlg) || !field->isVisibleTo(&dlg) || label->text().isEmpty()) continue;
        const QRect l(label->mapTo(&dlg, QPoint()), label->size());
        const QRect f(field->mapTo(&dlg, QPoint()), field->size());
        if (l.bottom() < f.top() || f.bottom() < l.top() || f.left() < l.left()) continue;
        const int textWidth = label->fontMetrics().horizontalAdvance(QString(label->text()).remove(QChar('&')));
        const int textEnd = label->alignment() & Qt::AlignRight ? l.right() : l.left() + textWidth;
        gaps[label] = f.left() - textEnd;
    }
    return gaps;
}

void SaveImage(QWidget& dlg, const std::string& name)
{
    const QString folder = qEnvironmentVariable("QUORVANE_DIALOG_IMAGES");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    const QString scale = QString::number(dlg.devicePixelRatioF());
    dlg.grab().save(QDir(folder).filePath(QString::fromStdString(name) + " @" + scale + ".png"));
}

void Settle() { QApplication::processEvents(); }

// The dialog shown as the program shows it: it fits the screen, and
// maximised it keeps every label next to its field.
void ExpectShownToFit(const std::string& name, CDialog& dlg)
{
    dlg.show();
    Settle();
    ExpectFitsScreen(dlg);
    SaveImage(dlg, name);
    const std::map<const QLabel*, int> gaps = LabelGaps(dlg);
    dlg.showMaximized();
    Settle();
    for (const auto& [label, gap] : LabelGaps(dlg))
        if (gaps.count(label)) {
            EXPECT_LE(gap, gaps.at(label) + 4) << label->text().toStdString() << " moves away from its field";
        }
    dlg.showNormal();
    Settle();
}

}  // namespace

// On the screen the program runs on, at whatever scale, every dialog opens
// inside the screen's available area with all its buttons, and keeps still
// where a choice only fills in what is already laid out.
TEST_F(EveryDialogOnAFullTournament, OpensInsideTheScreenWithEveryButton)
{
    WalkEveryDialog(Data(), ExpectShownToFit, [](const std::string& name, CDialog& dlg, const DialogStep& step) {
        const std::map<const QWidget*, QRect> before = ShownGeometry(dlg);
        step.act(dlg);
        Settle();
        if (step.keepsLayout)
            for (const auto& [w, r] : ShownGeometry(dlg))
                if (before.count(w)) {
                    EXPECT_EQ(Text(r), Text(before.at(w))) << Named(w) << " moves";
                }
        ExpectFitsScreen(dlg);
        SaveImage(dlg, name);
    });
}
