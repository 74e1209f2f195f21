#include "app/MainDialog.h"
#include "players/PlayersDialog.h"
#include "preregistration/PreRegistrationDialog.h"
#include "ui/Messages.h"

#include "db/Database.h"
#include "db/Format.h"
#include "support/DbTest.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "tournament/CurrentTournament.h"

#include <QDir>
#include <QGroupBox>
#include <QLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>

using namespace testdata;

namespace {

QStringList Texts(QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}

QString SelectedText(QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
}

// The Pre-Registration dialog as the director sees it.
struct PreRegView {
    CPreRegistrationDialog& dlg;

    QTabBar* Tabs() { return dlg.findChild<QTabBar*>(); }
    QListWidget* Others() { return ControlByName<QListWidget>(&dlg, "Players Not Pre-Registered"); }
    QListWidget* Registered() { return ControlByName<QListWidget>(&dlg, "Pre-Registered Players"); }
    QAbstractButton* Box(int n) { return ButtonByText(&dlg, Format("Heat %d", n)); }
    QAbstractButton* Print() { return ButtonByText(&dlg, "Print"); }
    QPushButton* MoveButton() { return dlg.findChild<QPushButton*>("moveButton"); }
    // Blank while no player is current.
    QString PlayerCaption() { return dlg.findChild<QGroupBox*>("heatGroup")->title().trimmed(); }

    QString TabText() { return Tabs()->tabText(Tabs()->currentIndex()); }
    void ShowHeat(int n) { Tabs()->setCurrentIndex(n - 1); }
    void Select(QListWidget* list, const QString& name)
    {
        const QList<QListWidgetItem*> items = list->findItems(name, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty()) << name.toStdString();
        list->setCurrentItem(items.front());
    }
    void DoubleClick(QListWidget* list, const QString& name)
    {
        const QList<QListWidgetItem*> items = list->findItems(name, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty()) << name.toStdString();
        list->setCurrentItem(items.front());
        Q_EMIT list->itemDoubleClicked(items.front());
    }
};

}  // namespace

class PreRegistrationDialog : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        systemID = AddSystem();
    }
    int Open(int numHeats = 5, const QString& name = QStringLiteral("Spring Open"))
    {
        tournament = AddTournament({.name = name, .systemID = systemID, .numHeats = numHeats, .preregistration = 1});
        LoadTournament(tournament);
        return tournament;
    }
    // The player's stored bit set; -1 when he has no row.
    int Mask(int playerID)
    {
        const std::vector<QStringList> rows =
            Rows(Sql("select heatNums from TournamentPlayer where playerID = %d and tournamentID = %d", playerID,
                     tournament));
        EXPECT_LE(rows.size(), 1u);
        return rows.empty() ? -1 : rows.front()[0].toInt();
    }
    int systemID = 0;
    int tournament = -1;
};

TEST_F(PreRegistrationDialog, OpensOnTheFirstHeatNotYetCreated)
{
    Open(5, "Autumn Cup");
    AddPlayer("Ann", "Able");
    const auto openingTab = [](int heatNum) {
        CPreRegistrationDialog dlg(heatNum);
        EXPECT_TRUE(dlg.Initialise());
        PreRegView view{dlg};
        EXPECT_EQ(view.Tabs()->count(), 5);
        return std::pair{view.TabText(), view.Others()->isEnabled()};
    };

    {
        CPreRegistrationDialog dlg(-1);
        ASSERT_TRUE(dlg.Initialise());
        PreRegView view{dlg};
        EXPECT_EQ(dlg.windowTitle(), "Player Pre-Registration");
        EXPECT_EQ(dlg.findChild<QGroupBox*>("tournamentGroup")->title(), "Autumn Cup");
        ExpectInputsLabelled(&dlg);
        EXPECT_EQ(view.TabText(), "Heat 1");
        EXPECT_EQ(view.Tabs()->tabText(4), "Heat 5");
        for (int n = 1; n <= 9; ++n) {
            EXPECT_EQ(Shown(view.Box(n)), n <= 5) << n;
            EXPECT_FALSE(view.Box(n)->isEnabled()) << n;
        }
        EXPECT_FALSE(Shown(view.MoveButton()));
        EXPECT_EQ(view.PlayerCaption(), "");
        EXPECT_EQ(Texts(view.Others()), QStringList({"Ann Able"}));
    }

    AddHeat(tournament, 1);
    AddHeat(tournament, 2);
    EXPECT_EQ(openingTab(-1), std::pair(QString("Heat 3"), true));
    // A heat asked for is shown, even a closed one.
    EXPECT_EQ(openingTab(2), std::pair(QString("Heat 2"), false));

    for (int n = 3; n <= 5; ++n) AddHeat(tournament, n);
    EXPECT_EQ(openingTab(-1), std::pair(QString("Heat 5"), false));
}

TEST_F(PreRegistrationDialog, MovesSetAndClearTheBitOfTheHeatShown)
{
    Open();
    const int pat = AddPlayer("Pat", "Player");
    AddPlayer("Ann", "Able");
    CPreRegistrationDialog dlg(3);
    ASSERT_TRUE(dlg.Initialise());
    PreRegView view{dlg};
    EXPECT_FALSE(view.Print()->isEnabled());

    view.Select(view.Others(), "Pat Player");
    EXPECT_TRUE(Shown(view.MoveButton()));
    EXPECT_EQ(view.MoveButton()->text(), "       Pre-Register ----------->");
    EXPECT_EQ(view.PlayerCaption(), "Pat Player");
    view.MoveButton()->click();
    EXPECT_EQ(Mask(pat), 4);
    EXPECT_EQ(Texts(view.Registered()), QStringList({"Pat Player"}));
    EXPECT_EQ(SelectedText(view.Registered()), "Pat Player");
    EXPECT_EQ(view.MoveButton()->text(), "<----------- Sit Out Heat       ");
    EXPECT_TRUE(view.Box(3)->isChecked());
    EXPECT_TRUE(view.Print()->isEnabled());

    view.ShowHeat(1);
    EXPECT_EQ(SelectedText(view.Others()), "Pat Player");
    view.DoubleClick(view.Others(), "Pat Player");
    EXPECT_EQ(Mask(pat), 5);

    // The move button sits a player out when he is selected on the right.
    view.MoveButton()->click();
    EXPECT_EQ(Mask(pat), 4);
    EXPECT_EQ(SelectedText(view.Others()), "Pat Player");
    EXPECT_EQ(view.MoveButton()->text(), "       Pre-Register ----------->");
    view.ShowHeat(3);
    view.DoubleClick(view.Registered(), "Pat Player");
    EXPECT_EQ(Mask(pat), -1);
    EXPECT_FALSE(view.Print()->isEnabled());
}

TEST_F(PreRegistrationDialog, HeatBoxesStoreTheWholeSetAndTheCurrentHeatsBoxMoves)
{
    Open();
    const int pat = AddPlayer("Pat", "Player");
    CPreRegistrationDialog dlg(2);
    ASSERT_TRUE(dlg.Initialise());
    PreRegView view{dlg};
    view.Select(view.Others(), "Pat Player");
    for (int n = 1; n <= 5; ++n) EXPECT_TRUE(view.Box(n)->isEnabled()) << n;

    // Another heat's box leaves him where he is.
    view.Box(4)->click();
    EXPECT_EQ(Mask(pat), 8);
    EXPECT_EQ(SelectedText(view.Others()), "Pat Player");
    EXPECT_TRUE(view.Registered()->selectedItems().isEmpty());

    // The box of heat 2 moves him across.
    view.Box(2)->click();
    EXPECT_EQ(Mask(pat), 10);
    EXPECT_EQ(Texts(view.Registered()), QStringList({"Pat Player"}));
    EXPECT_EQ(SelectedText(view.Registered()), "Pat Player");
    EXPECT_TRUE(view.Box(2)->isChecked());
    EXPECT_TRUE(view.Box(4)->isChecked());

    view.Box(2)->click();
    EXPECT_EQ(Mask(pat), 8);
    EXPECT_EQ(SelectedText(view.Others()), "Pat Player");
    view.Box(4)->click();
    EXPECT_EQ(Mask(pat), -1);
}

TEST_F(PreRegistrationDialog, HeatBoxThatFailsShowsWhatIsStoredAgain)
{
    Open();
    const int pat = AddPlayer("Pat", "Player");
    AddPreRegistration(tournament, pat, 8);
    CPreRegistrationDialog dlg(2);
    ASSERT_TRUE(dlg.Initialise());
    PreRegView view{dlg};
    view.Select(view.Others(), "Pat Player");
    // The old set of boxes is deleted; storing the new one fails, and the
    // whole click is rolled back.
    RefuseWrites("StoringFails", "before insert on TournamentPlayer");
    ui().Expect(kAppName).Icon(MsgIcon::Stop);
    view.Box(2)->click();
    EXPECT_EQ(Mask(pat), 8);
    EXPECT_EQ(Texts(view.Registered()), QStringList());
    EXPECT_EQ(SelectedText(view.Others()), "Pat Player");
    EXPECT_EQ(view.MoveButton()->text(), "       Pre-Register ----------->");
    EXPECT_FALSE(view.Box(2)->isChecked());
    EXPECT_TRUE(view.Box(4)->isChecked());
}

TEST_F(PreRegistrationDialog, ClosedHeatsShowWhatIsStoredAndCannotChange)
{
    Open();
    AddHeat(tournament, 1);
    const int pat = AddPlayer("Pat", "Player");
    AddPreRegistration(tournament, pat, 1 + 2);
    CPreRegistrationDialog dlg(-1);
    ASSERT_TRUE(dlg.Initialise());
    PreRegView view{dlg};
    EXPECT_EQ(view.TabText(), "Heat 2");
    view.Select(view.Registered(), "Pat Player");
    EXPECT_TRUE(view.Box(1)->isChecked());
    EXPECT_FALSE(view.Box(1)->isEnabled());
    EXPECT_TRUE(view.Box(2)->isEnabled());

    view.ShowHeat(1);
    EXPECT_FALSE(view.Registered()->isEnabled());
    EXPECT_FALSE(view.Others()->isEnabled());
    EXPECT_EQ(SelectedText(view.Registered()), "Pat Player");
    // Nobody moves out of a heat that exists, whatever is clicked.
    EXPECT_FALSE(view.MoveButton()->isEnabled());
    Q_EMIT view.MoveButton()->clicked();
    Q_EMIT view.Registered()->itemDoubleClicked(view.Registered()->item(0));
    EXPECT_EQ(Mask(pat), 3);
    // The boxes of open heats still act, and keep the closed heat's bit.
    view.Box(3)->click();
    EXPECT_EQ(Mask(pat), 7);
    EXPECT_EQ(SelectedText(view.Registered()), "Pat Player");
}

TEST_F(PreRegistrationDialog, KeepsThePlayerSelectedAcrossTabsInTheListThatHoldsHim)
{
    Open(3);
    const int pat = AddPlayer("Pat", "Player");
    AddPlayer("Ann", "Able");
    AddPreRegistration(tournament, pat, 1);
    CPreRegistrationDialog dlg(1);
    ASSERT_TRUE(dlg.Initialise());
    PreRegView view{dlg};
    view.Select(view.Registered(), "Pat Player");

    view.ShowHeat(2);
    EXPECT_EQ(SelectedText(view.Others()), "Pat Player");
    EXPECT_TRUE(view.Registered()->selectedItems().isEmpty());
    EXPECT_EQ(view.PlayerCaption(), "Pat Player");
    EXPECT_EQ(view.MoveButton()->text(), "       Pre-Register ----------->");
    EXPECT_TRUE(view.Box(1)->isChecked());
    EXPECT_FALSE(view.Box(2)->isChecked());

    view.ShowHeat(1);
    EXPECT_EQ(SelectedText(view.Registered()), "Pat Player");
    EXPECT_TRUE(view.Others()->selectedItems().isEmpty());
    EXPECT_EQ(view.MoveButton()->text(), "<----------- Sit Out Heat       ");
}

TEST_F(PreRegistrationDialog, ScrollsAReselectedPlayerToEightEntriesBelowTheTop)
{
    Open(2);
    {
        Transaction quick;
        for (int n = 0; n < 40; ++n) AddPlayer("P", Format("Player %02d", n));
        quick.Commit();
    }
    CPreRegistrationDialog dlg(1);
    ASSERT_TRUE(dlg.Initialise());
    dlg.resize(560, 520);
    dlg.layout()->activate();
    PreRegView view{dlg};
    view.Select(view.Others(), "P Player 20");
    view.ShowHeat(2);
    QListWidget* list = view.Others();
    ASSERT_LT(list->viewport()->height(), list->visualItemRect(list->item(0)).height() * 30);
    EXPECT_EQ(list->row(list->itemAt(2, 2)), 12);
    EXPECT_EQ(SelectedText(list), "P Player 20");
}

TEST_F(PreRegistrationDialog, SharesTheBitSetWithThePlayersDialog)
{
    Open(3);
    const int pat = AddPlayer("Pat", "Player");
    const int una = AddPlayer("Una", "Other");
    {
        CPlayersDialog players;
        ASSERT_TRUE(players.Initialise());
        auto* list = ControlByName<QListWidget>(&players, "Players");
        list->setCurrentItem(list->findItems("Pat Player", Qt::MatchExactly).front());
        ButtonByText(&players, "Heat 2")->click();
    }
    {
        CPreRegistrationDialog dlg(2);
        ASSERT_TRUE(dlg.Initialise());
        PreRegView view{dlg};
        EXPECT_EQ(Texts(view.Registered()), QStringList({"Pat Player"}));
        view.Select(view.Others(), "Una Other");
        view.MoveButton()->click();
        view.ShowHeat(3);
        view.DoubleClick(view.Others(), "Una Other");
    }
    EXPECT_EQ(Mask(una), 6);
    CPlayersDialog players;
    ASSERT_TRUE(players.Initialise());
    auto* list = ControlByName<QListWidget>(&players, "Players");
    list->setCurrentItem(list->findItems("Una Other", Qt::MatchExactly).front());
    EXPECT_FALSE(ButtonByText(&players, "Heat 1")->isChecked());
    EXPECT_TRUE(ButtonByText(&players, "Heat 2")->isChecked());
    EXPECT_TRUE(ButtonByText(&players, "Heat 3")->isChecked());
    EXPECT_EQ(Mask(pat), 2);
}

TEST_F(PreRegistrationDialog, PrintsTheListOfTheHeatShown)
{
    Open(3);
    AddPreRegistration(tournament, AddPlayer("Zed", "Zulu"), 2);
    AddPreRegistration(tournament, AddPlayer("Ann", "O`Able"), 2 + 1);
    AddPreRegistration(tournament, AddPlayer("Bob", "Baker"), 1);
    CPreRegistrationDialog dlg(2);
    ASSERT_TRUE(dlg.Initialise());
    PreRegView view{dlg};
    ASSERT_TRUE(view.Print()->isEnabled());

    ui().Expect("Printing to File").Text("Printing to file \"Spring Open Heat 2 PreReg.txt\".");
    ui().Expect("Print Complete").Text("Pre-Registration List Printed!").Icon(MsgIcon::Exclamation);
    view.Print()->click();
    EXPECT_EQ(ReadFile("Spring Open Heat 2 PreReg.txt"),
              "Players Pre-Registered for Heat 2\n\nAnn O`Able\nZed Zulu\n");

    // A report that cannot be written is not reported as printed.
    view.ShowHeat(1);
    ASSERT_TRUE(QDir(PathOf(".")).mkdir("Spring Open Heat 1 PreReg.txt"));
    ui().Expect("Printing to File");
    ui().Expect("Print Failed").Icon(MsgIcon::Stop);
    view.Print()->click();
}

TEST_F(PreRegistrationDialog, OpensFromTheMainWindowOnTheTournamentShown)
{
    const int t = Open(4);
    AddHeat(t, 1);
    struct Window : CMainDialog {
        void Show(int id)
        {
            SetTournamentForTest(id);
            RefreshTournamentState();
        }
    } main;
    ASSERT_TRUE(main.Initialise());
    main.Show(t);
    ui().ExpectDialog<CPreRegistrationDialog>([](CPreRegistrationDialog& dlg) {
        EXPECT_EQ(dlg.windowTitle(), "Player Pre-Registration");
        EXPECT_EQ(dlg.CurrentHeat(), 2);
    });
    ActionByText(&main, "&PreReg")->trigger();
    EXPECT_EQ(ui().DialogsRun(), 1);
}
