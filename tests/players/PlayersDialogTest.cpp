#include "app/MainDialog.h"
#include "groups/GroupsDialog.h"
#include "players/EditPlayerDialog.h"
#include "players/PlayersDialog.h"

#include "db/Format.h"
#include "db/ValueCodes.h"
#include "support/DbTest.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "tournament/CurrentTournament.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>

using namespace testdata;

namespace {

// The Players dialog as the director sees it.
struct PlayersView {
    CPlayersDialog& dlg;

    QListWidget* List() { return ControlByName<QListWidget>(&dlg, "Players"); }
    QLineEdit* Edit(const char* caption) { return ControlByName<QLineEdit>(&dlg, QString::fromLatin1(caption)); }
    QAbstractButton* Heat(int n) { return ButtonByText(&dlg, Format("Heat %d", n)); }
    QGroupBox* PreRegistration() { return dlg.findChild<QGroupBox*>("preRegistrationGroup"); }

    QStringList Entries()
    {
        QStringList texts;
        for (int i = 0; i < List()->count(); ++i) texts << List()->item(i)->text();
        return texts;
    }
    void Select(const QString& text)
    {
        const QList<QListWidgetItem*> items = List()->findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty()) << text.toStdString();
        List()->setCurrentItem(items.front());
    }
    QString Selected()
    {
        const QList<QListWidgetItem*> items = List()->selectedItems();
        return items.isEmpty() ? QString() : items.front()->text();
    }
    bool PlayerButtonsEnabled()
    {
        const bool edit = ButtonByText(&dlg, "Edit Name")->isEnabled();
        EXPECT_EQ(edit, ButtonByText(&dlg, "&Conflicts")->isEnabled());
        EXPECT_EQ(edit, ButtonByText(&dlg, "&Remove")->isEnabled());
        EXPECT_EQ(edit, ButtonByText(&dlg, "&Groups")->isEnabled());
        return edit;
    }
    void Add(const QString& first, const QString& last, const QString& email = {})
    {
        Edit("First Name")->setText(first);
        Edit("Last Name")->setText(last);
        Edit("E-mail")->setText(email);
        ButtonByText(&dlg, "Add &New Player")->click();
    }
};

}  // namespace

class PlayersDialog : public DbTest {};

TEST_F(PlayersDialog, OpensFromTheMainWindow)
{
    CMainDialog main;
    ASSERT_TRUE(main.Initialise());
    ui().ExpectDialog<CPlayersDialog>([](CPlayersDialog& dlg) { EXPECT_EQ(dlg.windowTitle(), "Players"); });
    ActionByText(&main, "&View")->trigger();
    EXPECT_EQ(ui().DialogsRun(), 1);
}

TEST_F(PlayersDialog, ListsPlayersByLastThenFirstNameWithTheirControlsLabelled)
{
    AddPlayer("Zoe", "Adams");
    AddPlayer("Anna", "Brown");
    AddPlayer("Abe", "Adams");
    CPlayersDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    PlayersView view{dlg};
    EXPECT_EQ(dlg.windowTitle(), "Players");
    EXPECT_EQ(view.Entries(), QStringList({"Abe Adams", "Zoe Adams", "Anna Brown"}));
    EXPECT_FALSE(view.PlayerButtonsEnabled());
    ExpectInputsLabelled(&dlg);

    view.Select("Zoe Adams");
    EXPECT_TRUE(view.PlayerButtonsEnabled());
    // Going back to the new-player fields drops the selection.
    QFocusEvent focus(QEvent::FocusIn);
    QApplication::sendEvent(view.Edit("Last Name"), &focus);
    EXPECT_EQ(view.Selected(), "");
    EXPECT_FALSE(view.PlayerButtonsEnabled());
}

TEST_F(PlayersDialog, AddsPlayersWithBackquotesForApostrophesAndKeepsNamesakes)
{
    CPlayersDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    PlayersView view{dlg};
    view.Add("Seán", "O'Brien", "sean.o'brien@example.ie");
    view.Add("John", "Smith");
    view.Add("John", "Smith", "js@example.com");

    EXPECT_EQ(Rows("select first, last, email from Player order by id"),
              (std::vector<QStringList>{{"Seán", "O`Brien", "sean.o'brien@example.ie"},
                                        {"John", "Smith", ""},
                                        {"John", "Smith", "js@example.com"}}));
    EXPECT_EQ(view.Entries(), QStringList({"Seán O`Brien", "John Smith", "John Smith"}));
    // Ready for the next player: empty fields, nothing selected.
    EXPECT_EQ(view.Edit("First Name")->text(), "");
    EXPECT_EQ(view.Edit("Last Name")->text(), "");
    EXPECT_EQ(view.Edit("E-mail")->text(), "");
    EXPECT_EQ(view.Selected(), "");
    EXPECT_FALSE(view.PlayerButtonsEnabled());
}

TEST_F(PlayersDialog, AddRefusesMissingNamesSilentlyAndBadAddressesWithAMessage)
{
    CPlayersDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    PlayersView view{dlg};
    view.Add("", "Smith");
    view.Add("John", "");

    ui().Expect("Bad E-Mail Address").Text("Invalid e-mail address!").Icon(MsgIcon::Stop).Buttons(MsgButtons::Ok);
    view.Add("John", "Smith", "john@example");
    EXPECT_EQ(Count("select * from Player"), 0);
    // What was typed stays for correcting.
    EXPECT_EQ(view.Edit("First Name")->text(), "John");
    EXPECT_EQ(view.Edit("E-mail")->text(), "john@example");
}

TEST_F(PlayersDialog, RefusesTextsTheStoreCannotKeepInBothDialogs)
{
    const QString address = QString(250, QChar('a')) + "@b.cd";  // 255 characters
    struct Case {
        QString first, last, email;
        const char* title;
        QString text;
    };
    const Case cases[] = {
        {QString(61, QChar('J')), "Smith", "", "Unable to Update!",
         "The first name may have at most 60 characters (it has 61)."},
        {"John", QString("Sm") + QChar(u'\0') + "ith", "", "Unable to Update!",
         "The last name holds the character U+0000 at position 3, which cannot be stored."},
        {"John", "Smith", address, "Bad E-Mail Address", "The e-mail address may have at most 254 characters (it has 255)."},
        {"John", "Smith", QString("jo") + QChar(0xDC00) + "@b.cd", "Bad E-Mail Address",
         "The e-mail address holds the character U+DC00 at position 3, which cannot be stored."},
    };
    CPlayersDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    PlayersView view{dlg};
    const int id = AddPlayer("Jon", "Smith");
    for (const Case& c : cases) {
        ui().Expect(c.title).Text(c.text).Icon(MsgIcon::Stop);
        view.Add(c.first, c.last, c.email);
        EXPECT_EQ(view.Edit("First Name")->text(), c.first);

        CEditPlayerDialog edit(id);
        ASSERT_TRUE(edit.Initialise());
        ControlByName<QLineEdit>(&edit, "First Name")->setText(c.first);
        ControlByName<QLineEdit>(&edit, "Last Name")->setText(c.last);
        ControlByName<QLineEdit>(&edit, "E-mail")->setText(c.email);
        ui().Expect(c.title).Text(c.text);
        ButtonByText(&edit, "OK")->click();
        EXPECT_FALSE(edit.HasEnded());
    }
    EXPECT_EQ(Rows("select first, last, email from Player"), (std::vector<QStringList>{{"Jon", "Smith", ""}}));
    // Names of any script, up to their limits, are taken.
    view.Add(QString(60, QChar('J')), QString::fromUtf8("\U00020BB7\u7530"), address.mid(1));
    EXPECT_EQ(Count("select * from Player"), 2);
}

TEST_F(PlayersDialog, EditNameStoresTheCorrectionAndSelectsTheEditedPlayer)
{
    const int id = AddPlayer("Jon", "Smith", "jon@example.com");
    AddPlayer("Anna", "Brown");
    CPlayersDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    PlayersView view{dlg};
    view.Select("Jon Smith");

    ui().ExpectDialog<CEditPlayerDialog>([](CEditPlayerDialog& edit) {
        EXPECT_EQ(edit.windowTitle(), "Edit Player Name / E-Mail");
        ExpectInputsLabelled(&edit);
        EXPECT_EQ(ControlByName<QLineEdit>(&edit, "First Name")->text(), "Jon");
        EXPECT_EQ(ControlByName<QLineEdit>(&edit, "E-mail")->text(), "jon@example.com");
        ControlByName<QLineEdit>(&edit, "First Name")->setText("John");
        ControlByName<QLineEdit>(&edit, "Last Name")->setText("D'Arcy");
        ControlByName<QLineEdit>(&edit, "E-mail")->setText("john@darcy.net");
        ButtonByText(&edit, "OK")->click();
        EXPECT_EQ(edit.FirstName(), "John");
        EXPECT_EQ(edit.LastName(), "D`Arcy");
    });
    ButtonByText(&dlg, "Edit Name")->click();
    EXPECT_EQ(Rows(Sql("select first, last, email from Player where id = %d", id)),
              (std::vector<QStringList>{{"John", "D`Arcy", "john@darcy.net"}}));
    EXPECT_EQ(view.Entries(), QStringList({"Anna Brown", "John D`Arcy"}));
    EXPECT_EQ(view.Selected(), "John D`Arcy");
    EXPECT_TRUE(view.PlayerButtonsEnabled());

    // A double-click edits too; after Cancel the entry is found by the names as loaded.
    view.Select("Anna Brown");
    ui().ExpectDialog<CEditPlayerDialog>([](CEditPlayerDialog& edit) {
        ControlByName<QLineEdit>(&edit, "First Name")->setText("Hanna");
        ButtonByText(&edit, "Cancel")->click();
    });
    Q_EMIT view.List()->itemDoubleClicked(view.List()->item(0));
    EXPECT_EQ(view.Entries(), QStringList({"Anna Brown", "John D`Arcy"}));
    EXPECT_EQ(view.Selected(), "Anna Brown");
}

TEST_F(PlayersDialog, EditPlayerWritesNothingUnlessTheTextsAreComplete)
{
    const int id = AddPlayer("Jon", "Smith", "jon@example.com");
    const auto stored = [&] { return Rows(Sql("select first, last, email from Player where id = %d", id)); };
    const std::vector<QStringList> original{{"Jon", "Smith", "jon@example.com"}};

    // A bad address keeps the dialog open; Cancel then reports the names as loaded.
    CEditPlayerDialog edit(id);
    ASSERT_TRUE(edit.Initialise());
    ControlByName<QLineEdit>(&edit, "Last Name")->setText("Smyth");
    ControlByName<QLineEdit>(&edit, "E-mail")->setText("jon.example.com");
    ui().Expect("Bad E-Mail Address").Text("Invalid e-mail address!").Icon(MsgIcon::Stop);
    ButtonByText(&edit, "OK")->click();
    EXPECT_FALSE(edit.HasEnded());
    ButtonByText(&edit, "Cancel")->click();
    EXPECT_TRUE(edit.HasEnded());
    EXPECT_EQ(edit.LastName(), "Smith");
    EXPECT_EQ(stored(), original);

    // An empty name ends the dialog without writing.
    CEditPlayerDialog emptied(id);
    ASSERT_TRUE(emptied.Initialise());
    ControlByName<QLineEdit>(&emptied, "First Name")->clear();
    ButtonByText(&emptied, "OK")->click();
    EXPECT_TRUE(emptied.HasEnded());
    EXPECT_EQ(stored(), original);

    // An empty address is stored empty.
    CEditPlayerDialog cleared(id);
    ASSERT_TRUE(cleared.Initialise());
    ControlByName<QLineEdit>(&cleared, "E-mail")->clear();
    ButtonByText(&cleared, "OK")->click();
    EXPECT_EQ(stored(), (std::vector<QStringList>{{"Jon", "Smith", ""}}));
}

TEST_F(PlayersDialog, RefusesToRemoveAPlayerWithASeat)
{
    const int systemID = AddSystem();
    const int t = AddTournament({.systemID = systemID});
    const int seated = AddPlayer("Sam", "Seated");
    AddSeat(AddGame(AddHeat(t, 1), 1, kFinished), seated, kFrance);
    CPlayersDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    PlayersView view{dlg};
    view.Select("Sam Seated");
    ui().Expect("Player Not Removable")
        .Text("Sam Seated is associated with one\nor more games and cannot be removed.")
        .Icon(MsgIcon::Stop)
        .Buttons(MsgButtons::Ok);
    ButtonByText(&dlg, "&Remove")->click();
    EXPECT_EQ(Count(Sql("select * from Player where id = %d", seated)), 1);
}

class PlayerRemoval : public PlayersDialog {
protected:
    void SetUp() override
    {
        PlayersDialog::SetUp();
        const int t = AddTournament({.systemID = AddSystem(), .teamSize = 1, .preregistration = 1});
        const int heat = AddHeat(t, 1);
        leaver = AddPlayer("Lee", "Leaver");
        mate = AddPlayer("Mae", "Mate");
        other = AddPlayer("Oli", "Other");
        team = AddTeam(t, "Leavers", {leaver, mate});
        AddTeam(t, "Others", {other, mate});
        AddConflict(leaver, other, 2);
        AddConflict(mate, other, 1);
        AddPreRegistration(t, leaver, 3);
        AddPreRegistration(t, other, 1);
        AddHeatPlayer(heat, leaver);
        AddHeatPlayer(heat, other);
        AddGroup("Club", 1, {leaver, other});
    }

    // Every row that names the player or one of his teams.
    int RowsOfLeaver()
    {
        return Count(Sql("select * from Player where id = %d", leaver)) +
               Count(Sql("select * from TeamPlayer where teamID = %d", team)) +
               Count(Sql("select * from TournamentTeam where id = %d", team)) +
               Count(Sql("select * from PlayerConflicts where player1 = %d or player2 = %d", leaver, leaver)) +
               Count(Sql("select * from TournamentPlayer where playerID = %d", leaver)) +
               Count(Sql("select * from HeatPlayer where playerID = %d", leaver)) +
               Count(Sql("select * from PlayerGroup where playerID = %d", leaver));
    }
    int AllRows()
    {
        int n = 0;
        for (const char* table : {"Player", "TeamPlayer", "TournamentTeam", "PlayerConflicts", "TournamentPlayer",
                                  "HeatPlayer", "PlayerGroup"})
            n += Count(Sql("select * from %s", table));
        return n;
    }

    int leaver = 0, mate = 0, other = 0, team = 0;
};

TEST_F(PlayerRemoval, DisbandsHisTeamsAndDeletesEveryRowOfHis)
{
    ASSERT_EQ(RowsOfLeaver(), 8);
    const int othersBefore = AllRows() - 8;
    CPlayersDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    PlayersView view{dlg};

    view.Select("Lee Leaver");
    ui().Expect("Confirm Player Removal", MsgAnswer::No)
        .Text("Are you sure you want to remove Lee Leaver?\r\nThis cannot be undone!")
        .Icon(MsgIcon::Question)
        .Buttons(MsgButtons::YesNo);
    ButtonByText(&dlg, "&Remove")->click();
    EXPECT_EQ(RowsOfLeaver(), 8);

    ui().Expect("Confirm Player Removal", MsgAnswer::Yes);
    ButtonByText(&dlg, "&Remove")->click();
    EXPECT_EQ(RowsOfLeaver(), 0);
    // His team mate stays a player, on her other team.
    EXPECT_EQ(AllRows(), othersBefore);
    EXPECT_EQ(view.Entries(), QStringList({"Mae Mate", "Oli Other"}));
    EXPECT_FALSE(view.PlayerButtonsEnabled());
}

TEST_F(PlayerRemoval, ThatFailsHalfWayChangesNothing)
{
    // Removing the memberships table makes the cascade fail after the teams,
    // conflicts and registrations have been deleted.
    Exec("drop table PlayerGroup");
    CPlayersDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    PlayersView view{dlg};
    view.Select("Lee Leaver");
    ui().Expect("Confirm Player Removal", MsgAnswer::Yes);
    ui().Expect(kAppName).Icon(MsgIcon::Stop);
    ButtonByText(&dlg, "&Remove")->click();
    Exec("create table PlayerGroup (groupID INTEGER, playerID INTEGER)");
    EXPECT_EQ(RowsOfLeaver(), 7);  // all but his membership, which went with the table
}

TEST_F(PlayersDialog, SummarisesGroupMembershipBeforeOfferingTheGroups)
{
    const int member = AddPlayer("Gina", "Joiner");
    AddPlayer("Lone", "Wolf");
    AddGroup("Westside", 2, {member});
    AddGroup("Chess Club", 1, {member});
    CPlayersDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    PlayersView view{dlg};

    view.Select("Gina Joiner");
    ui().Expect("Group Membership", MsgAnswer::No)
        .Text("Gina Joiner is a member of the following groups:\n        Chess Club\n        Westside"
              "\n\nDo you wish to edit groups and memberships?")
        .Icon(MsgIcon::None)
        .Buttons(MsgButtons::YesNo);
    ButtonByText(&dlg, "&Groups")->click();

    view.Select("Lone Wolf");
    ui().Expect("Group Membership", MsgAnswer::Yes)
        .Text("Lone Wolf is not a member of any groups.\n\nDo you wish to edit groups and memberships?");
    ui().ExpectDialog<CGroupsDialog>();
    ButtonByText(&dlg, "&Groups")->click();
    EXPECT_EQ(ui().DialogsRun(), 1);
    EXPECT_EQ(view.Selected(), "Lone Wolf");
}

class PreRegistrationBoxes : public PlayersDialog {
protected:
    void SetUp() override
    {
        PlayersDialog::SetUp();
        systemID = AddSystem();
        player = AddPlayer("Pat", "Player");
    }
    void Open(const TournamentRow& row)
    {
        tournament = AddTournament(row);
        LoadTournament(tournament);
    }
    int Mask() { return Int(Sql("select heatNums from TournamentPlayer where playerID = %d", player)); }
    int systemID = 0, player = 0, tournament = -1;
};

TEST_F(PreRegistrationBoxes, NeverAppearWithoutPreRegistration)
{
    const auto expectNoBoxes = [] {
        CPlayersDialog dlg;
        ASSERT_TRUE(dlg.Initialise());
        PlayersView view{dlg};
        view.Select("Pat Player");
        EXPECT_FALSE(Shown(view.PreRegistration()));
        for (int n = 1; n <= 9; ++n) EXPECT_FALSE(Shown(view.Heat(n))) << n;
    };
    expectNoBoxes();  // no tournament open
    Open({.systemID = systemID, .preregistration = 0});
    expectNoBoxes();
}

TEST_F(PreRegistrationBoxes, ShowTheHeatsOfTheTournamentForTheSelectedPlayer)
{
    Open({.name = "Autumn Cup", .systemID = systemID, .numHeats = 4, .preregistration = 1});
    AddHeat(tournament, 1);
    AddPreRegistration(tournament, player, 1 + 4);
    AddPlayer("Una", "Unregistered");
    CPlayersDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    PlayersView view{dlg};
    EXPECT_TRUE(Shown(view.PreRegistration()));
    EXPECT_EQ(view.PreRegistration()->title(), "Pre-Registration for Autumn Cup");
    for (int n = 1; n <= 9; ++n) EXPECT_FALSE(Shown(view.Heat(n))) << n;

    view.Select("Pat Player");
    for (int n = 1; n <= 9; ++n) EXPECT_EQ(Shown(view.Heat(n)), n <= 4) << n;
    // Heat 1 exists: its box only shows what is stored.
    EXPECT_FALSE(view.Heat(1)->isEnabled());
    EXPECT_TRUE(view.Heat(1)->isChecked());
    EXPECT_TRUE(view.Heat(2)->isEnabled());
    EXPECT_FALSE(view.Heat(2)->isChecked());
    EXPECT_TRUE(view.Heat(3)->isChecked());

    view.Select("Una Unregistered");
    for (int n = 1; n <= 4; ++n) EXPECT_FALSE(view.Heat(n)->isChecked()) << n;
}

TEST_F(PreRegistrationBoxes, StoreTheCheckedHeatsAndDropTheRowWhenNoneIsLeft)
{
    Open({.systemID = systemID, .numHeats = 5, .preregistration = 1});
    CPlayersDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    PlayersView view{dlg};
    view.Select("Pat Player");
    view.Heat(3)->click();
    EXPECT_EQ(Mask(), 4);
    view.Heat(5)->click();
    EXPECT_EQ(Mask(), 20);
    EXPECT_EQ(Count("select * from TournamentPlayer"), 1);
    view.Heat(3)->click();
    view.Heat(5)->click();
    EXPECT_EQ(Count("select * from TournamentPlayer"), 0);
}

TEST_F(PreRegistrationBoxes, RegisterAgainForExistingHeatsUnlessSeatedOrRegistered)
{
    Open({.systemID = systemID, .numHeats = 5, .preregistration = 1});
    const int heat1 = AddHeat(tournament, 1);
    const int heat2 = AddHeat(tournament, 2);
    AddHeat(tournament, 3);
    AddSeat(AddGame(heat2, 1), player, kAustria);
    const int registered = AddPlayer("Reg", "Registered");
    AddHeatPlayer(heat1, registered);
    // Both were pre-registered for heats 1 to 3; Pat's registration for heat 1
    // was withdrawn and heat 3 had not been held when they were registered.
    AddPreRegistration(tournament, player, 7);
    AddPreRegistration(tournament, registered, 7);
    CPlayersDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    PlayersView view{dlg};

    view.Select("Pat Player");
    view.Heat(4)->click();
    EXPECT_EQ(Mask(), 15);
    // Back in heats 1 and 3; not in heat 2, where he holds a seat.
    EXPECT_EQ(Rows(Sql("select heatNum from HeatPlayer, Heat where playerID = %d and heatID = Heat.id order by heatNum",
                       player)),
              (std::vector<QStringList>{{"1"}, {"3"}}));

    view.Select("Reg Registered");
    view.Heat(5)->click();
    EXPECT_EQ(Count(Sql("select * from HeatPlayer where playerID = %d and heatID = %d", registered, heat1)), 1);
}

TEST_F(PreRegistrationBoxes, ThatFailHalfWayChangeNothing)
{
    Open({.systemID = systemID, .numHeats = 3, .preregistration = 1});
    AddHeat(tournament, 1);
    AddPreRegistration(tournament, player, 1);
    CPlayersDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    PlayersView view{dlg};
    view.Select("Pat Player");
    // The heat registration is written, then storing the bit set fails.
    RefuseWrites("NoMoreRows", "before insert on TournamentPlayer");
    ui().Expect(kAppName).Icon(MsgIcon::Stop);
    view.Heat(2)->click();
    EXPECT_EQ(Count("select * from HeatPlayer"), 0);
    EXPECT_EQ(Mask(), 1);
}
