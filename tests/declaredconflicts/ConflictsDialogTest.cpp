#include "declaredconflicts/ConflictsDialog.h"
#include "players/PlayersDialog.h"

#include "db/Format.h"
#include "support/Captions.h"
#include "support/DbTest.h"
#include "support/TestData.h"
#include "support/Widgets.h"

#include <QComboBox>
#include <QListWidget>
#include <QTreeWidget>

using namespace testdata;

namespace {

// The Conflicts dialog as the director sees it.
struct ConflictsView {
    CConflictsDialog& dlg;

    QComboBox* Player() { return ControlByCaption<QComboBox>(&dlg, "Conflicts for:"); }
    QComboBox* Candidates() { return ControlByCaption<QComboBox>(&dlg, "New Conflict:"); }
    QTreeWidget* List() { return ControlByName<QTreeWidget>(&dlg, "Conflicts"); }

    // Each conflict row as "name=value".
    QStringList Conflicts()
    {
        QStringList rows;
        for (int i = 0; i < List()->topLevelItemCount(); ++i)
            rows << List()->topLevelItem(i)->text(0) + "=" + List()->topLevelItem(i)->text(1);
        return rows;
    }
    QStringList CandidateNames()
    {
        QStringList names;
        for (int i = 0; i < Candidates()->count(); ++i) names << Candidates()->itemText(i);
        return names;
    }
    void Choose(QComboBox* combo, const QString& text)
    {
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }
    void SelectRow(int row) { List()->setCurrentItem(List()->topLevelItem(row)); }
    int SelectedRow()
    {
        const QList<QTreeWidgetItem*> items = List()->selectedItems();
        return items.isEmpty() ? -1 : List()->indexOfTopLevelItem(items.front());
    }
    bool StepsEnabled()
    {
        const bool increase = ButtonByText(&dlg, "&Increase")->isEnabled();
        EXPECT_EQ(increase, ButtonByText(&dlg, "&Decrease")->isEnabled());
        return increase;
    }
};

}  // namespace

class ConflictsDialog : public DbTest {
protected:
    // Players 1 to 9, "First1 Last1" .. "First9 Last9".
    void SetUp() override
    {
        DbTest::SetUp();
        for (int i = 1; i <= 9; ++i) ASSERT_EQ(AddPlayer(Format("First%d", i), Format("Last%d", i)), i);
    }
    static QString Name(int i) { return Format("First%d Last%d", i, i); }
    std::vector<QStringList> Stored() { return Rows("select player1, player2, value from PlayerConflicts"); }
};

TEST_F(ConflictsDialog, OpensOnThePlayerWithHisConflictsAndCandidates)
{
    AddConflict(3, 5, 2);
    AddConflict(5, 1, -1);
    AddConflict(2, 4, 7);
    CConflictsDialog dlg(5);
    ASSERT_TRUE(dlg.Initialise());
    ConflictsView view{dlg};
    EXPECT_EQ(dlg.windowTitle(), "Conflicts");
    ExpectInputsLabelled(&dlg);
    EXPECT_EQ(view.Player()->count(), 9);
    EXPECT_EQ(view.Player()->currentText(), Name(5));
    EXPECT_EQ(view.Conflicts(), QStringList({Name(1) + "=-1", Name(3) + "=2"}));
    EXPECT_EQ(view.CandidateNames(), QStringList({Name(2), Name(4), Name(6), Name(7), Name(8), Name(9)}));
    EXPECT_EQ(view.Candidates()->currentIndex(), -1);
    EXPECT_FALSE(view.StepsEnabled());
    view.SelectRow(1);
    EXPECT_TRUE(view.StepsEnabled());

    view.Choose(view.Player(), Name(4));
    EXPECT_EQ(view.Conflicts(), QStringList({Name(2) + "=7"}));
    EXPECT_FALSE(view.StepsEnabled());
}

TEST_F(ConflictsDialog, NewConflictIsStoredSmallerIdFirstAndShowsForBothPlayers)
{
    CConflictsDialog dlg(9);
    ASSERT_TRUE(dlg.Initialise());
    ConflictsView view{dlg};

    ui().Expect("New Conflict?", MsgAnswer::No)
        .Text("Add new conflict between First9 Last9 and First4 Last4?")
        .Icon(MsgIcon::Question)
        .Buttons(MsgButtons::YesNo);
    view.Choose(view.Candidates(), Name(4));
    EXPECT_TRUE(Stored().empty());
    EXPECT_EQ(view.Candidates()->currentIndex(), -1);

    ui().Expect("New Conflict?", MsgAnswer::Yes);
    view.Choose(view.Candidates(), Name(4));
    EXPECT_EQ(Stored(), (std::vector<QStringList>{{"4", "9", "1"}}));
    EXPECT_EQ(view.Conflicts(), QStringList({Name(4) + "=1"}));
    EXPECT_FALSE(view.CandidateNames().contains(Name(4)));
    EXPECT_EQ(view.SelectedRow(), 0);
    EXPECT_TRUE(view.StepsEnabled());

    view.Choose(view.Player(), Name(4));
    EXPECT_EQ(view.Conflicts(), QStringList({Name(9) + "=1"}));
}

TEST_F(ConflictsDialog, StepsChangeTheValueAndKeepTheRowSelected)
{
    AddConflict(1, 2, 1);
    AddConflict(1, 3, 1);
    CConflictsDialog dlg(1);
    ASSERT_TRUE(dlg.Initialise());
    ConflictsView view{dlg};
    view.SelectRow(1);
    ButtonByText(&dlg, "&Increase")->click();
    ButtonByText(&dlg, "&Increase")->click();
    EXPECT_EQ(view.Conflicts(), QStringList({Name(2) + "=1", Name(3) + "=3"}));
    EXPECT_EQ(view.SelectedRow(), 1);
    EXPECT_TRUE(view.StepsEnabled());
    // The value has no floor: it passes 0 and goes on below.
    for (int i = 0; i < 5; ++i) ButtonByText(&dlg, "&Decrease")->click();
    EXPECT_EQ(view.Conflicts(), QStringList({Name(2) + "=1", Name(3) + "=-2"}));
    EXPECT_EQ(Stored(), (std::vector<QStringList>{{"1", "2", "1"}, {"1", "3", "-2"}}));
}

TEST_F(ConflictsDialog, ZeroConflictsAreDeletedWhenTheDialogEnds)
{
    AddConflict(1, 2, 1);
    AddConflict(1, 3, 0);
    AddConflict(4, 5, 0);  // other players' zero rows go too
    AddConflict(1, 6, 0);
    {
        CConflictsDialog dlg(1);
        ASSERT_TRUE(dlg.Initialise());
        ConflictsView view{dlg};
        ASSERT_EQ(view.Conflicts(), QStringList({Name(2) + "=1", Name(3) + "=0", Name(6) + "=0"}));
        view.SelectRow(0);
        ButtonByText(&dlg, "&Decrease")->click();  // 1 -> 0
        view.SelectRow(2);
        ButtonByText(&dlg, "&Decrease")->click();  // 0 -> -1
        EXPECT_EQ(view.Conflicts(), QStringList({Name(2) + "=0", Name(3) + "=0", Name(6) + "=-1"}));
        EXPECT_EQ(Count("select * from PlayerConflicts where value = 0"), 3);
        dlg.show();
        dlg.close();  // the window's close box
        EXPECT_TRUE(dlg.HasEnded());
    }
    EXPECT_EQ(Stored(), (std::vector<QStringList>{{"1", "6", "-1"}}));

    CConflictsDialog again(1);
    ASSERT_TRUE(again.Initialise());
    ConflictsView view{again};
    EXPECT_EQ(view.Conflicts(), QStringList({Name(6) + "=-1"}));
    EXPECT_TRUE(view.CandidateNames().contains(Name(2)));
}

TEST_F(ConflictsDialog, APlayerInConflictWithEverybodyHasNoCandidates)
{
    for (int other = 1; other <= 8; ++other) AddConflict(other, 9, 1);
    CConflictsDialog dlg(9);
    ASSERT_TRUE(dlg.Initialise());
    ConflictsView view{dlg};
    EXPECT_EQ(view.Conflicts().size(), 8);
    EXPECT_EQ(view.Candidates()->count(), 0);
}

TEST_F(ConflictsDialog, IsOpenedFromThePlayersDialogForTheSelectedPlayer)
{
    AddConflict(6, 7, 0);
    CPlayersDialog players;
    ASSERT_TRUE(players.Initialise());
    auto* list = ControlByName<QListWidget>(&players, "Players");
    list->setCurrentItem(list->findItems(Name(7), Qt::MatchExactly).front());
    ui().ExpectDialog<CConflictsDialog>([](CConflictsDialog& dlg) {
        ConflictsView view{dlg};
        EXPECT_EQ(view.Player()->currentText(), Name(7));
        EXPECT_EQ(view.Conflicts(), QStringList({Name(6) + "=0"}));
    });
    ButtonByText(&players, "&Conflicts")->click();
    EXPECT_TRUE(Stored().empty());
}
