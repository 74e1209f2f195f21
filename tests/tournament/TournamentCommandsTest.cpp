// The main window's New, Open and Edit commands.

#include "app/MainDialog.h"
#include "db/Format.h"
#include "scores/ScoresDialog.h"
#include "scoring/ScoringSystem.h"
#include "support/DbTest.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "tournament/CurrentTournament.h"
#include "tournament/DetailsForm.h"
#include "tournament/OpenTournamentDialog.h"
#include "tournament/TwoSystems.h"

#include <QGroupBox>
#include <QTextEdit>

using namespace testdata;

class TournamentCommands : public TwoSystems {
protected:
    void SetUp() override
    {
        TwoSystems::SetUp();
        window = std::make_unique<CMainDialog>();
        ASSERT_TRUE(window->Initialise());
    }
    void TearDown() override
    {
        window.reset();
        TwoSystems::TearDown();
    }

    void Trigger(const char* item) { ActionByText(window.get(), item)->trigger(); }
    QString Title() { return window->findChild<QGroupBox*>("groupBox")->title(); }
    QString Description() { return window->findChild<QTextEdit*>("descriptionEdit")->toPlainText(); }

    // Opens a stored tournament through the Open command (offered once the
    // window has seen that tournaments exist).
    void Open(const QString& name)
    {
        window->RefreshTournamentState();
        ui().ExpectDialog<COpenTournamentDialog>([name](COpenTournamentDialog& d) {
            auto* list = ControlByName<QComboBox>(&d, "Tournament Name:");
            list->setCurrentIndex(list->findText(name));
            ButtonByText(&d, "OK")->click();
        });
        Trigger("&Open");
    }

    std::unique_ptr<CMainDialog> window;
};

TEST_F(TournamentCommands, NewOpensTheTournamentItCreates)
{
    ui().ExpectDialog<CTournamentDetailsDialog>([](CTournamentDetailsDialog& d) {
        DetailsForm form(d);
        EXPECT_EQ(d.EditedID(), -1);
        EXPECT_EQ(form.Text("Tournament Name:"), "");
        EXPECT_EQ(form.SystemList()->currentIndex(), -1);
        form.Basics("Spring Open", "Standard");
        form.Description()->setPlainText("First of the year");
        form.PressOK();
    });
    Trigger("&New");
    const int id = Int("select id from Tournament where name = 'Spring Open'");
    EXPECT_EQ(window->CurrentTournamentID(), id);
    EXPECT_EQ(Title(), "Spring Open");
    EXPECT_EQ(Description(), "First of the year");
    EXPECT_TRUE(ActionByText(window.get(), "&Edit")->isEnabled());
    EXPECT_TRUE(ButtonByText(window.get(), "Heats")->isEnabled());
    EXPECT_EQ(ScoringSystem.id, standard);
}

TEST_F(TournamentCommands, ACancelledNewPutsBackTheOpenTournament)
{
    AddTournament({.name = "Spring Open", .systemID = alpha, .numHeats = 3, .minHeats = 1});
    Open("Spring Open");
    const int open = window->CurrentTournamentID();
    ASSERT_EQ(ScoringSystem.id, alpha);

    // The director picks another system and other rules, is refused the
    // name, and gives up.
    ui().ExpectDialog<CTournamentDetailsDialog>([this](CTournamentDetailsDialog& d) {
        EXPECT_EQ(ScoringSystem.id, -1);
        DetailsForm form(d);
        form.Basics("Spring Open", "Standard", 7).Choose("SIX-PLAYER TEAMS");
        form.Type("Heat Number to Use for Team Scoring:", "2").Type("Playing in a game with a team member:", "1");
        ui().Expect("Tournament Exists");
        form.PressOK();
        EXPECT_EQ(CurrentTournament.numHeats, 7);  // the refused values, for now
        ButtonByText(&d, "Cancel")->click();
    });
    Trigger("&New");

    EXPECT_EQ(window->CurrentTournamentID(), open);
    EXPECT_EQ(Title(), "Spring Open");
    EXPECT_EQ(CurrentTournament.id, open);
    EXPECT_EQ(CurrentTournament.numHeats, 3);
    EXPECT_EQ(CurrentTournament.teamSize, 0);
    EXPECT_EQ(ScoringSystem.id, alpha);
    EXPECT_EQ(ScoringSystem.name, "Alpha");
    EXPECT_EQ(Count("select * from Tournament"), 1);
}

TEST_F(TournamentCommands, ACancelledNewWithNothingOpenLeavesNothingOpen)
{
    ui().ExpectDialog<CTournamentDetailsDialog>([](CTournamentDetailsDialog& d) {
        DetailsForm(d).Choose("Alpha");
        ButtonByText(&d, "Cancel")->click();
    });
    Trigger("&New");
    EXPECT_EQ(window->CurrentTournamentID(), -1);
    EXPECT_EQ(Title(), "(Select 'New' from the Tournament menu)");
    EXPECT_EQ(ScoringSystem.id, -1);
    EXPECT_FALSE(ActionByText(window.get(), "&Edit")->isEnabled());

    // With the system of a deleted tournament still loaded, that system is
    // what a cancelled New leaves loaded, formulas and all.
    AddTournament({.name = "Doomed", .systemID = alpha});
    Open("Doomed");
    ui().Expect("Confirm Tournament Delete", MsgAnswer::Yes);
    Trigger("&Delete");
    ASSERT_EQ(ScoringSystem.id, alpha);
    ui().ExpectDialog<CTournamentDetailsDialog>([](CTournamentDetailsDialog& d) {
        DetailsForm(d).Choose("Standard");
        ButtonByText(&d, "Cancel")->click();
    });
    Trigger("&New");
    EXPECT_EQ(window->CurrentTournamentID(), -1);
    EXPECT_EQ(ScoringSystem.id, alpha);
    EXPECT_EQ(ScoringSystem.name, "Alpha");
}

TEST_F(TournamentCommands, OpenShowsTheChosenTournament)
{
    AddTournament({.name = "Spring Open", .description = "Spring", .systemID = standard});
    const int autumn = AddTournament({.name = "Autumn Cup", .description = "Autumn", .systemID = alpha,
                                      .teamSize = 1, .teamHeat = 1, .teamConflict = 1});
    window->RefreshTournamentState();
    EXPECT_EQ(Title(), "(Select 'New' or 'Open' from the Tournament menu)");
    Open("Autumn Cup");
    EXPECT_EQ(window->CurrentTournamentID(), autumn);
    EXPECT_EQ(Title(), "Autumn Cup");
    EXPECT_EQ(Description(), "Autumn");
    EXPECT_TRUE(ButtonByText(window.get(), "Teams")->isEnabled());
    EXPECT_EQ(ScoringSystem.id, alpha);

    // Cancelling keeps it, and the dialog offers it first.
    ui().ExpectDialog<COpenTournamentDialog>([](COpenTournamentDialog& d) {
        auto* list = ControlByName<QComboBox>(&d, "Tournament Name:");
        EXPECT_EQ(list->currentText(), "Autumn Cup");
        list->setCurrentIndex(list->findText("Spring Open"));
        ButtonByText(&d, "Cancel")->click();
    });
    Trigger("&Open");
    EXPECT_EQ(window->CurrentTournamentID(), autumn);
    EXPECT_EQ(Title(), "Autumn Cup");
}

TEST_F(TournamentCommands, EditShowsWhatWasStored)
{
    AddTournament({.name = "Spring Open", .description = "Old text", .systemID = standard});
    Open("Spring Open");
    ui().ExpectDialog<CTournamentDetailsDialog>([](CTournamentDetailsDialog& d) {
        DetailsForm form(d);
        EXPECT_EQ(form.Text("Tournament Name:"), "Spring Open");
        EXPECT_EQ(form.Description()->toPlainText(), "Old text");
        form.Type("Tournament Name:", "Spring Masters");
        form.Description()->setPlainText("Director's text");
        form.PressOK();
    });
    Trigger("&Edit");
    EXPECT_EQ(Title(), "Spring Masters");
    EXPECT_EQ(Description(), "Director`s text");

    ui().ExpectDialog<CTournamentDetailsDialog>([](CTournamentDetailsDialog& d) {
        DetailsForm(d).Type("Tournament Name:", "Never saved").Type("Number of Heats:", "8");
        ButtonByText(&d, "Cancel")->click();
    });
    Trigger("&Edit");
    EXPECT_EQ(Title(), "Spring Masters");
    EXPECT_EQ(CurrentTournament.numHeats, 3);
}

TEST_F(TournamentCommands, EditKeepsTheTournamentsSystemAfterScoringAHeatOfAnother)
{
    const int t = AddTournament({.name = "Spring Open", .systemID = standard});
    const int game = AddGame(AddHeat(t, 1, alpha), 1, 2);
    for (int power = 0; power < 7; ++power) AddSeat(game, AddPlayer("P", QString::number(power)), power, 0, -1, 4);
    Open("Spring Open");

    // Scoring the heat leaves its own system loaded.
    ui().ExpectDialog<CScoresDialog>();
    ButtonByText(window.get(), "Scores")->click();
    ASSERT_EQ(ScoringSystem.id, alpha);

    ui().ExpectDialog<CTournamentDetailsDialog>([](CTournamentDetailsDialog& d) {
        DetailsForm form(d);
        EXPECT_EQ(form.SystemList()->currentText(), "Standard");
        form.Description()->setPlainText("New text");
        form.PressOK();
    });
    Trigger("&Edit");
    EXPECT_EQ(Int(Sql("select systemID from Tournament where id = %d", t)), standard);
    EXPECT_EQ(Description(), "New text");
}
