#include "app/MainDialog.h"
#include "app/TournamentProgress.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "report/ReportOutput.h"
#include "scoring/ScoringSystem.h"
#include "support/DbTest.h"
#include "support/OpenableMainDialog.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "tournament/CurrentTournament.h"
#include "venue/VenueDisplayDialog.h"
#include "venue/VenueService.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextEdit>

#include <vector>

using namespace testdata;

namespace {

// What the window shows and enables, read off its controls.
struct WindowState {
    QString title;
    QString description;
    bool open, edit, del, preReg, heats, teams, scores;
};

WindowState StateOf(CMainDialog& dlg)
{
    return {dlg.findChild<QGroupBox*>("groupBox")->title(),
            dlg.findChild<QTextEdit*>("descriptionEdit")->toPlainText(),
            ActionByText(&dlg, "&Open")->isEnabled(),
            ActionByText(&dlg, "&Edit")->isEnabled(),
            ActionByText(&dlg, "&Delete")->isEnabled(),
            ActionByText(&dlg, "&PreReg")->isEnabled(),
            ButtonByText(&dlg, "Heats")->isEnabled(),
            ButtonByText(&dlg, "Teams")->isEnabled(),
            ButtonByText(&dlg, "Scores")->isEnabled()};
}

}  // namespace

class MainWindow : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        systemID = AddSystem();
    }
    int systemID = 0;
};

TEST_F(MainWindow, StartsWithTheNewHintWhenThereIsNoTournament)
{
    CMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    EXPECT_EQ(dlg.windowTitle(), "Quorvane Tournament Manager 3.12.19");
    const WindowState s = StateOf(dlg);
    EXPECT_EQ(s.title, "(Select 'New' from the Tournament menu)");
    EXPECT_EQ(s.description, "");
    EXPECT_FALSE(s.open || s.edit || s.del || s.preReg || s.heats || s.teams || s.scores);
    for (const char* always : {"&New", "&View", "&Groups", "Select &Printer", "Print to &File"})
        EXPECT_TRUE(ActionByText(&dlg, always)->isEnabled()) << always;
    EXPECT_EQ(dlg.CurrentTournamentID(), -1);
    EXPECT_EQ(CurrentTournament.id, -1);
    EXPECT_EQ(CurrentTournament.systemID, -1);
    EXPECT_EQ(ScoringSystem.id, -1);
    // Where the file is, for the director to find and copy it.
    const QString store = dlg.findChild<QLabel*>("storeLabel")->text();
    if (!ScratchStore::OnServer()) {
        EXPECT_EQ(store, "Tournaments are kept in " + QDir::toNativeSeparators(QDir::current().absoluteFilePath("Orvex.mdb")));
    }
}

TEST_F(MainWindow, OpensTheExampleTournamentAfterOneQuestion)
{
    CMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    ui().Expect("Example Tournament", MsgAnswer::No);
    ActionByText(&dlg, "E&xample Tournament...")->trigger();
    EXPECT_EQ(dlg.CurrentTournamentID(), -1);
    EXPECT_EQ(Count("select * from Tournament"), 0);
    ui().Expect("Example Tournament", MsgAnswer::Yes);
    ActionByText(&dlg, "E&xample Tournament...")->trigger();
    EXPECT_NE(dlg.CurrentTournamentID(), -1);
    const WindowState s = StateOf(dlg);
    EXPECT_EQ(s.title, "Example Open");
    EXPECT_TRUE(s.heats && s.scores);
}

TEST_F(MainWindow, OffersOpenWhenTournamentsExist)
{
    AddTournament({.systemID = systemID});
    CMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    const WindowState s = StateOf(dlg);
    EXPECT_EQ(s.title, "(Select 'New' or 'Open' from the Tournament menu)");
    EXPECT_TRUE(s.open);
    EXPECT_FALSE(s.edit || s.del || s.preReg || s.heats || s.teams || s.scores);
}

TEST_F(MainWindow, ShowsTheOpenTournamentAndEnablesItsCommands)
{
    const int plain = AddTournament({.name = "Plain", .description = "Line one\nLine two", .systemID = systemID});
    const int teams = AddTournament(
        {.name = "Teams", .systemID = systemID, .teamSize = 2, .teamHeat = 1, .preregistration = 1});
    OpenableMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());

    dlg.Show(plain);
    WindowState s = StateOf(dlg);
    EXPECT_EQ(s.title, "Plain");
    EXPECT_EQ(s.description, "Line one\nLine two");
    EXPECT_TRUE(s.open && s.edit && s.del && s.heats);
    EXPECT_FALSE(s.preReg || s.teams || s.scores);
    EXPECT_EQ(CurrentTournament.id, plain);
    EXPECT_EQ(ScoringSystem.id, systemID);

    dlg.Show(teams);
    s = StateOf(dlg);
    EXPECT_TRUE(s.preReg && s.teams);
    EXPECT_FALSE(s.scores);

    // Scores needs a finished game of this very tournament.
    const int heat = AddHeat(teams, 1);
    AddGame(heat, 1, 1);
    dlg.RefreshTournamentState();
    EXPECT_FALSE(StateOf(dlg).scores);
    AddGame(AddHeat(plain, 1), 1, 2);
    dlg.RefreshTournamentState();
    EXPECT_FALSE(StateOf(dlg).scores);
    AddGame(heat, 2, 2);
    dlg.RefreshTournamentState();
    EXPECT_TRUE(StateOf(dlg).scores);
}

TEST_F(MainWindow, KeepsToTheScreenWhateverTheStoredTexts)
{
    const QString name = QString(10000, QChar('N')) + "end";
    const int longOne = AddTournament({.name = name, .description = QString(10000, QChar('d')), .systemID = systemID});
    const int plain = AddTournament({.name = "R&D Open", .description = "Short", .systemID = systemID});
    OpenableMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    auto* box = dlg.findChild<QGroupBox*>("groupBox");

    dlg.Show(longOne);
    dlg.show();
    dlg.adjustSize();
    const QRect screen = dlg.screen()->availableGeometry();
    EXPECT_LE(dlg.frameGeometry().width(), screen.width());
    EXPECT_LE(dlg.minimumSizeHint().width(), screen.width());
    EXPECT_TRUE(box->title().contains(QChar(0x2026)));  // elided in the middle...
    EXPECT_TRUE(box->title().endsWith("end"));
    EXPECT_EQ(box->toolTip(), name);                      // ...and whole in the tooltip
    EXPECT_EQ(dlg.Title(), name);

    dlg.Show(plain);
    EXPECT_EQ(box->title(), "R&&D Open");  // shown as it stands, not as a mnemonic
    EXPECT_EQ(box->toolTip(), "");
}

TEST_F(MainWindow, KeepsTheFocusOffTheDescription)
{
    CMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    dlg.show();
    auto* text = dlg.findChild<QTextEdit*>("descriptionEdit");
    text->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(text->hasFocus());
    EXPECT_TRUE(dlg.findChild<QGroupBox*>("groupBox")->hasFocus());
    EXPECT_TRUE(text->isReadOnly());
}

TEST_F(MainWindow, AsksBeforeQuitting)
{
    CMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    dlg.show();
    ui().Expect("Confirm Quit", MsgAnswer::No)
        .Text("Really Quit the Quorvane Tournament Manager?")
        .Icon(MsgIcon::Stop)
        .Buttons(MsgButtons::YesNo);
    EXPECT_FALSE(dlg.close());
    EXPECT_FALSE(dlg.HasEnded());
    ui().Expect("Confirm Quit", MsgAnswer::Yes);
    EXPECT_TRUE(dlg.close());
    EXPECT_TRUE(dlg.HasEnded());
}

TEST_F(MainWindow, AsksOnEscapeAsTheCloseBoxDoes)
{
    CMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    dlg.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    ui().Expect("Confirm Quit", MsgAnswer::No).Text("Really Quit the Quorvane Tournament Manager?").Icon(MsgIcon::Stop);
    QApplication::sendEvent(&dlg, &escape);
    EXPECT_FALSE(dlg.HasEnded());
    ui().Expect("Confirm Quit", MsgAnswer::Yes);
    QApplication::sendEvent(&dlg, &escape);
    EXPECT_TRUE(dlg.HasEnded());
}

TEST_F(MainWindow, TabReachesTheThreeButtonsWhichHaveMnemonics)
{
    const int t = AddTournament({.systemID = systemID, .teamSize = 1, .teamHeat = 1});
    AddGame(AddHeat(t, 1), 1, 2);
    OpenableMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    dlg.Show(t);
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    auto* frame = dlg.findChild<QGroupBox*>("groupBox");
    frame->setFocus();
    std::vector<QString> reached;
    for (int i = 0; i < 4; ++i) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget(), &tab);
        auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
        reached.push_back(button ? button->text() : QApplication::focusWidget()->objectName());
    }
    EXPECT_EQ(reached, (std::vector<QString>{"&Heats", "&Teams", "&Scores", "groupBox"}));
}

TEST_F(MainWindow, LabelsItsControls)
{
    CMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    ExpectInputsLabelled(&dlg);
}

class DeleteTournament : public MainWindow {
protected:
    // A tournament with two heats, games with seats, registrations, teams and
    // pre-registrations.
    int Populate(const QString& name, int firstPlayer)
    {
        const int t = AddTournament({.name = name, .systemID = systemID, .teamSize = 1, .teamHeat = -1});
        for (int h = 1; h <= 2; ++h) {
            const int heat = AddHeat(t, h);
            const int game = AddGame(heat, 1, 2);
            for (int p = 0; p < 7; ++p) AddSeat(game, firstPlayer + p, p, 0, 5, 4);
            AddHeatPlayer(heat, firstPlayer + 7);
        }
        AddTeam(t, name + " Team", {firstPlayer, firstPlayer + 1, firstPlayer + 2});
        AddPreRegistration(t, firstPlayer + 3, 3);
        return t;
    }

    int CountFor(SqlFormat<int> statement, int id) { return Count(Sql(statement, id)); }

    void ExpectRowsOf(int t, int games, int seats, int heats, int heatPlayers, int teams, int teamPlayers, int prereg, int tournaments)
    {
        EXPECT_EQ(CountFor("select Game.id from Game, Heat where Game.heatID = Heat.id and Heat.tournamentID = %d", t), games);
        EXPECT_EQ(CountFor("select * from GamePlayer, Game, Heat where GamePlayer.gameID = Game.id and "
                           "Game.heatID = Heat.id and Heat.tournamentID = %d", t), seats);
        EXPECT_EQ(CountFor("select * from Heat where tournamentID = %d", t), heats);
        EXPECT_EQ(CountFor("select * from HeatPlayer, Heat where HeatPlayer.heatID = Heat.id and Heat.tournamentID = %d", t), heatPlayers);
        EXPECT_EQ(CountFor("select * from TournamentTeam where tournamentID = %d", t), teams);
        EXPECT_EQ(CountFor("select * from TeamPlayer, TournamentTeam where TeamPlayer.teamID = TournamentTeam.id "
                           "and TournamentTeam.tournamentID = %d", t), teamPlayers);
        EXPECT_EQ(CountFor("select * from TournamentPlayer where tournamentID = %d", t), prereg);
        EXPECT_EQ(CountFor("select * from Tournament where id = %d", t), tournaments);
    }
};

TEST_F(DeleteTournament, RemovesExactlyTheOpenTournamentsRows)
{
    const int doomed = Populate("Doomed", 1);
    const int kept = Populate("Kept", 101);
    OpenableMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    dlg.Show(doomed);
    ui().Expect("Confirm Tournament Delete", MsgAnswer::Yes)
        .Text("Really delete the tournament 'Doomed'?\n\nThis cannot be undone!")
        .Icon(MsgIcon::Question)
        .Buttons(MsgButtons::YesNo);
    ActionByText(&dlg, "&Delete")->trigger();

    ExpectRowsOf(doomed, 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Count("select * from TeamPlayer where playerID < 100"), 0);  // no membership left behind
    ExpectRowsOf(kept, 2, 14, 2, 2, 1, 3, 1, 1);
    EXPECT_EQ(dlg.CurrentTournamentID(), -1);
    EXPECT_EQ(CurrentTournament.id, -1);
    EXPECT_EQ(StateOf(dlg).title, "(Select 'New' or 'Open' from the Tournament menu)");
    EXPECT_FALSE(StateOf(dlg).edit);
}

TEST_F(DeleteTournament, OfTheLastTournamentShowsTheNewHint)
{
    const int only = Populate("Only", 1);
    OpenableMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    dlg.Show(only);
    ui().Expect("Confirm Tournament Delete", MsgAnswer::Yes);
    ActionByText(&dlg, "&Delete")->trigger();
    EXPECT_EQ(StateOf(dlg).title, "(Select 'New' from the Tournament menu)");
    EXPECT_FALSE(StateOf(dlg).open);
}

TEST_F(DeleteTournament, AnsweredNoChangesNothing)
{
    const int t = Populate("Kept", 1);
    OpenableMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    dlg.Show(t);
    ui().Expect("Confirm Tournament Delete", MsgAnswer::No);
    ActionByText(&dlg, "&Delete")->trigger();
    ExpectRowsOf(t, 2, 14, 2, 2, 1, 3, 1, 1);
    EXPECT_EQ(dlg.CurrentTournamentID(), t);
}

TEST_F(DeleteTournament, ThatFailsChangesNothingAndSaysWhy)
{
    const int t = Populate("Kept", 1);
    OpenableMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    dlg.Show(t);
    Exec("drop table TournamentPlayer");  // the cascade fails late
    ui().Expect("Confirm Tournament Delete", MsgAnswer::Yes);
    ui().Expect("Quorvane Tournament Manager").Icon(MsgIcon::Stop);
    ActionByText(&dlg, "&Delete")->trigger();
    ASSERT_EQ(ui().Messages().size(), 2u);
    EXPECT_TRUE(ui().Messages()[1].text.contains("no such table: TournamentPlayer"));
    Exec("create table TournamentPlayer (tournamentID INTEGER, playerID INTEGER, heatNums INTEGER)");
    ExpectRowsOf(t, 2, 14, 2, 2, 1, 3, 0, 1);
    EXPECT_EQ(dlg.CurrentTournamentID(), t);
}

TEST_F(MainWindow, SaysWhyACommandIsUnavailableAndWhatComesNext)
{
    const auto hint = [](CMainDialog& dlg) { return dlg.findChild<QTextEdit*>("descriptionEdit")->placeholderText(); };
    CMainDialog empty;
    ASSERT_TRUE(empty.Initialise());
    EXPECT_EQ(hint(empty), "Next: create your first tournament with Tournament > New, or look around a ready-made one "
                           "with Tournament > Example Tournament...");
    EXPECT_EQ(ActionByText(&empty, "&Open")->toolTip(), "No tournament has been created yet");

    const int t = AddTournament({.description = "", .systemID = systemID});
    AddPlayer("Ann", "Able");
    const int game = AddGame(AddHeat(t, 1), 1, 1);
    OpenableMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    dlg.Show(t);
    QAbstractButton* scores = ButtonByText(&dlg, "Scores");
    EXPECT_FALSE(scores->isEnabled());
    EXPECT_EQ(scores->toolTip(), "No game of this tournament is finished yet");
    EXPECT_EQ(scores->accessibleDescription(), scores->toolTip());
    EXPECT_EQ(ButtonByText(&dlg, "Teams")->toolTip(), "This is not a team tournament (Tournament > Edit)");
    // A started game with a seat: its results come next.
    AddSeat(game, 1, 0);
    dlg.RefreshTournamentState();
    EXPECT_EQ(hint(dlg), "Next: press Heats, then View Games, to enter the results of heat 1");
    EXPECT_EQ(StateOf(dlg).description, "");  // the hint is no text of the tournament's

    Exec(Sql("update Game set gameStat = 2 where id = %d", game));
    dlg.RefreshTournamentState();
    EXPECT_TRUE(scores->isEnabled());
    EXPECT_TRUE(scores->toolTip().isEmpty());
    EXPECT_EQ(hint(dlg), "Next: press Scores for the standings, or Heats to create heat 2");
}

namespace {

// The body of the page at path of the venue display on port, over HTTP.
QString VenuePage(int port, const QByteArray& path)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(port));
    if (!socket.waitForConnected(5000)) return {};
    socket.write("GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray answer;
    while (socket.waitForReadyRead(5000)) answer += socket.readAll();
    answer += socket.readAll();
    return QString::fromUtf8(answer.mid(answer.indexOf("\r\n\r\n") + 4));
}

}  // namespace

TEST_F(MainWindow, OffersTheVenueDisplayWhileATournamentIsOpenAndSaysWhereItRuns)
{
    CMainDialog empty;
    ASSERT_TRUE(empty.Initialise());
    QAction* emptyVenue = ActionByText(&empty, "&Venue Display...");
    EXPECT_FALSE(emptyVenue->isEnabled());
    EXPECT_EQ(emptyVenue->toolTip(), OpenTournamentReason(false));

    const int spring = AddTournament({.name = "Spring Open", .systemID = systemID});
    const int autumn = AddTournament({.name = "Autumn Cup", .systemID = systemID});
    OpenableMainDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    auto* running = dlg.findChild<QLabel*>("venueLabel");
    dlg.Show(spring);
    EXPECT_TRUE(ActionByText(&dlg, "&Venue Display...")->isEnabled());
    EXPECT_TRUE(running->isHidden());
    EXPECT_TRUE(running->sizePolicy().retainSizeWhenHidden());
    ui().ExpectDialog<CVenueDisplayDialog>();
    ActionByText(&dlg, "&Venue Display...")->trigger();
    EXPECT_EQ(ui().DialogsRun(), 1);

    // Started (as the dialog starts it), the window says where; the pages
    // follow the tournament the window opens.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const int port = probe.serverPort();
    probe.close();
    dlg.Venue().Start(spring, {.port = port, .everyNetwork = false, .secondsPerScreen = 20});
    const QString address = QString("http://127.0.0.1:%1/").arg(port);
    EXPECT_FALSE(running->isHidden());
    EXPECT_TRUE(running->text().startsWith("Venue display running at "));
    EXPECT_TRUE(running->text().contains(QString("href=\"%1\"").arg(address)));
    EXPECT_TRUE(VenuePage(port, "/").contains("Spring Open"));
    dlg.Show(autumn);
    const QString autumnPage = VenuePage(port, "/");
    EXPECT_TRUE(autumnPage.contains("Autumn Cup"));
    EXPECT_FALSE(autumnPage.contains("Spring Open"));
    Q_EMIT running->linkActivated(address);
    ASSERT_EQ(ui().OpenedUrls().size(), 1u);
    EXPECT_EQ(ui().OpenedUrls()[0], QUrl(address));

    dlg.Venue().Stop();
    EXPECT_TRUE(running->isHidden());
}
