#include "tournament/OpenTournamentDialog.h"

#include "scoring/ScoringSystem.h"
#include "support/DbTest.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "tournament/CurrentTournament.h"

#include <QComboBox>

using namespace testdata;

class OpenTournament : public DbTest {
protected:
    QComboBox* List(COpenTournamentDialog& d) { return ControlByName<QComboBox>(&d, "Tournament Name:"); }
};

TEST_F(OpenTournament, ListsTheTournamentsByNameWithTheOpenOneChosen)
{
    const int system = AddSystem();
    AddTournament({.name = "Winter Cup", .systemID = system});
    const int spring = AddTournament({.name = "Spring Open", .systemID = system});
    AddTournament({.name = "Autumn Cup", .systemID = system});
    COpenTournamentDialog d(spring);
    ASSERT_TRUE(d.Initialise());
    EXPECT_EQ(d.windowTitle(), "Open Tournament");
    QComboBox* list = List(d);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), "Autumn Cup");
    EXPECT_EQ(list->itemText(2), "Winter Cup");
    EXPECT_EQ(list->currentText(), "Spring Open");
    ExpectInputsLabelled(&d);

    COpenTournamentDialog none(-1);
    ASSERT_TRUE(none.Initialise());
    EXPECT_EQ(List(none)->currentIndex(), -1);
    // OK waits for a choice, and says so.
    QAbstractButton* ok = ButtonByText(&none, "OK");
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(ok->toolTip(), "Choose a tournament first");
    List(none)->setCurrentIndex(0);
    EXPECT_TRUE(ok->isEnabled());
}

TEST_F(OpenTournament, TheOnlyTournamentIsChosenAlready)
{
    const int only = AddTournament({.name = "Only", .systemID = AddSystem()});
    COpenTournamentDialog d(-1);
    ASSERT_TRUE(d.Initialise());
    EXPECT_EQ(List(d)->currentText(), "Only");
    ButtonByText(&d, "OK")->click();
    EXPECT_EQ(d.ChosenID(), only);
}

TEST_F(OpenTournament, OKLoadsTheChosenTournament)
{
    const int first = AddSystem({.name = "First"});
    const int second = AddSystem({.name = "Second"});
    const int a = AddTournament({.name = "Alpha", .systemID = first});
    const int b = AddTournament({.name = "Beta", .systemID = second, .numHeats = 7});
    COpenTournamentDialog d(a);
    ASSERT_TRUE(d.Initialise());
    List(d)->setCurrentIndex(1);
    ButtonByText(&d, "OK")->click();
    EXPECT_TRUE(d.HasEnded());
    EXPECT_EQ(d.ChosenID(), b);
    EXPECT_EQ(CurrentTournament.id, b);
    EXPECT_EQ(CurrentTournament.numHeats, 7);
    EXPECT_EQ(ScoringSystem.id, second);
}

TEST_F(OpenTournament, TwoTournamentsOfOneNameOpenTheirOwnRows)
{
    const int system = AddSystem();
    const int one = AddTournament({.name = "Twin", .systemID = system, .numHeats = 2});
    const int two = AddTournament({.name = "Twin", .systemID = system, .numHeats = 4});
    for (int index : {0, 1}) {
        COpenTournamentDialog d(-1);
        ASSERT_TRUE(d.Initialise());
        ASSERT_EQ(List(d)->count(), 2);
        List(d)->setCurrentIndex(index);
        ButtonByText(&d, "OK")->click();
        EXPECT_EQ(d.ChosenID(), index == 0 ? one : two);
        EXPECT_EQ(CurrentTournament.numHeats, index == 0 ? 2 : 4);
    }
}

TEST_F(OpenTournament, WithoutAChoiceKeepsTheTournamentPassedIn)
{
    COpenTournamentDialog empty(-1);
    ASSERT_TRUE(empty.Initialise());
    EXPECT_EQ(List(empty)->count(), 0);
    EXPECT_EQ(ButtonByText(&empty, "OK")->toolTip(), "No tournament has been created yet");
    ButtonByText(&empty, "OK")->click();  // disabled: nothing happens
    EXPECT_FALSE(empty.HasEnded());
    ButtonByText(&empty, "Cancel")->click();
    EXPECT_EQ(empty.ChosenID(), -1);
    EXPECT_EQ(CurrentTournament.id, -1);

    const int system = AddSystem();
    const int open = AddTournament({.name = "Open", .systemID = system});
    AddTournament({.name = "Other", .systemID = system});
    COpenTournamentDialog cancelled(open);
    ASSERT_TRUE(cancelled.Initialise());
    List(cancelled)->setCurrentIndex(1);
    ButtonByText(&cancelled, "Cancel")->click();
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_EQ(cancelled.ChosenID(), open);
    EXPECT_EQ(CurrentTournament.id, -1);  // nothing was loaded
}

TEST_F(OpenTournament, ThatCannotBeLoadedKeepsTheOpenTournament)
{
    const int system = AddSystem();
    const int open = AddTournament({.name = "Open", .systemID = system, .numHeats = 2});
    AddTournament({.name = "Broken", .systemID = system + 40, .numHeats = 8});
    LoadTournament(open);
    COpenTournamentDialog d(open);
    ASSERT_TRUE(d.Initialise());
    List(d)->setCurrentIndex(List(d)->findText("Broken"));
    ui().Expect("Quorvane Tournament Manager")
        .Text(QString("Scoring system %1 does not exist.").arg(system + 40))
        .Icon(MsgIcon::Stop);
    ButtonByText(&d, "OK")->click();
    EXPECT_FALSE(d.HasEnded());
    EXPECT_EQ(d.ChosenID(), open);
    EXPECT_EQ(CurrentTournament.id, open);
    EXPECT_EQ(CurrentTournament.name, "Open");
    EXPECT_EQ(CurrentTournament.numHeats, 2);
    EXPECT_EQ(ScoringSystem.id, system);
}
