#include "players/PlayerImport.h"

#include "app/MainDialog.h"
#include "players/PlayersDialog.h"
#include "support/DbTest.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "ui/Messages.h"

#include <QFile>
#include <QListWidget>
#include <QStringEncoder>

namespace {

QByteArray Utf16LE(const QString& text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return QByteArray("\xFF\xFE") + QByteArray(encoder.encode(text));
}

struct ImportCase {
    const char* what;
    QByteArray file;
    std::vector<PlayerTexts> registered;
    QStringList players;  // "first|last|email" as stored
    QString skipped;      // the question's details
    QString failure;
};

QStringList PlayersOf(const PlayerImportPlan& plan)
{
    QStringList texts;
    for (const PlayerTexts& p : plan.players) texts << p.first + "|" + p.last + "|" + p.email;
    return texts;
}

const QString kNotText = QStringLiteral(
    "It is not a text file. Save the spreadsheet as CSV (comma-separated values) and import that file.");

}  // namespace

TEST(PlayerImport, ReadsEachFileByTheRulesOfAPlayerAddedByHand)
{
    const std::vector<ImportCase> cases = {
        {"UTF-8 with a byte-order mark and a heading",
         "\xEF\xBB\xBF" "First Name,Last Name,E-Mail\n\xC3\x89mile,Zola,e@z.fr\n", {}, {"\xC3\x89mile|Zola|e@z.fr"}, "",
         ""},
        {"no heading: first, last, e-mail by position; CR LF; a missing e-mail",
         "Ann,Ash,ann@a.org,extra\r\nBo,Bell\r\n", {}, {"Ann|Ash|ann@a.org", "Bo|Bell|"}, "", ""},
        {"Windows-1252 when not UTF-8, semicolons after a blank row", ";;;;\nRen\xE9" "e;O\x92Hara;\x80@euro.eu\n", {},
         {"Ren\xC3\xA9" "e|O\xE2\x80\x99Hara|\xE2\x82\xAC@euro.eu"}, "", ""},
        {"tabs, headings in another order and case, extra columns",
         "Paid\tSURNAME\tgiven name\tMail\nyes\tAsh\tAnn\tann@a.org\n", {}, {"Ann|Ash|ann@a.org"}, "", ""},
        {"UTF-16 with its mark", Utf16LE(QStringLiteral("Family Name\tFirst\n\u0141ukasz\tNowak\n")), {},
         {"Nowak|\u0141ukasz|"}, "", ""},
        {"quoted delimiters, quotes and line breaks; a blank row passed over; lines counted through quotes",
         "Last,First,Email\n\"Smith, Jr.\",\"Jo \"\"JJ\"\"\",\n\"Lee\",\"Mary\nAnn\",\n,,\n\"  Cole \",Cy,bad@\n", {},
         {"Jo \"JJ\"|Smith, Jr.|", "Mary Ann|Lee|"}, "line 6: the e-mail address is not valid", ""},
        {"each refusal; apostrophes become backquotes",
         ",Ash\nAnn,\n,,x@y.org\nBo,Bell,bo@bell\nD'Arcy,O'Neil,d@o.ie\n", {}, {"D`Arcy|O`Neil|d@o.ie"},
         "line 1: the first name is missing\nline 2: the last name is missing\n"
         "line 3: the first and last names are missing\nline 4: the e-mail address is not valid",
         ""},
        {"duplicates: A to Z compared without case, other letters as they stand",
         "ANN,ASH\nD'Arcy,Oak\n\xC3\x89mile,zola\nBo,Bell\nbo,BELL,b@b.be\n",
         {{"Ann", "Ash", ""}, {"D`Arcy", "Oak", ""}, {"\xC3\xA9mile", "Zola", ""}},
         {"\xC3\x89mile|zola|", "Bo|Bell|"},
         "line 1: ANN ASH is already registered\nline 2: D`Arcy Oak is already registered\n"
         "line 5: bo BELL is already on line 4",
         ""},
        {"a quote never closed", "Ann,Ash\n\"Bo,Bell\nCy,Cole\n", {}, {"Ann|Ash|"},
         "line 2: a quotation mark is not closed before the end of the file", ""},
        {"a heading whose quote is never closed is no heading", "First,Last,\"Email\nAnn,Ash\n", {}, {},
         "line 1: a quotation mark is not closed before the end of the file", ""},
        {"an empty file", "", {}, {}, "", ""},
        {"a heading without the names", "Name,Email\nAnn Ash,a@a.org\n", {}, {}, "",
         "Its first line names columns, but not both a first-name and a last-name column (such as First Name and "
         "Last Name)."},
        {"not text", QByteArray("PK\x03\x04\x00\x00", 6), {}, {}, "", kNotText},
        {"UTF-16 that is not", QByteArray("\xFF\xFE\x00\xD8,\x00", 6), {}, {}, "", kNotText},
    };
    for (const ImportCase& c : cases) {
        SCOPED_TRACE(c.what);
        const PlayerImportPlan plan = PlanPlayerImport(c.file, c.registered);
        EXPECT_EQ(plan.failure, c.failure);
        EXPECT_EQ(PlayersOf(plan), c.players);
        EXPECT_EQ(SkippedRowsText(plan.skipped), c.skipped);
    }
}

class PlayerImportCommand : public DbTest {
protected:
    void WriteFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(PathOf(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QStringList Register()
    {
        QStringList names;
        for (const QStringList& row : Rows("select first, last, email from Player order by id")) names << row.join("|");
        return names;
    }
};

TEST_F(PlayerImportCommand, AsksOnceAndTheListShowsThePlayersAdded)
{
    testdata::AddPlayer("Ann", "Ash");
    WriteFile("registrations.csv", "First,Last,E-Mail\nann,ash\nBo,Bell,bo@bell.be\nCy,Cole,cy@\nDi,Dunn\n");
    CPlayersDialog dlg;
    ASSERT_TRUE(dlg.Initialise());

    // No: nothing is written.
    ui().QueueFileChoice(PathOf("registrations.csv"));
    ui().Expect("Import Players", MsgAnswer::No);
    ButtonByText(&dlg, "Import...")->click();
    EXPECT_EQ(Register(), QStringList{"Ann|Ash|"});
    EXPECT_EQ(ui().FileFilters(), std::vector<QString>{"Spreadsheets saved as text (*.csv *.txt)"});

    ui().QueueFileChoice(PathOf("registrations.csv"));
    ui().Expect("Import Players", MsgAnswer::Yes)
        .Text("Import 2 players from registrations.csv?\n2 rows will be skipped.")
        .Details("line 2: ann ash is already registered\nline 4: the e-mail address is not valid")
        .Icon(MsgIcon::Question)
        .Buttons(MsgButtons::YesNo)
        .Default(MsgAnswer::Yes);
    ui().Expect("Import Complete").Text("2 players imported from registrations.csv.").Icon(MsgIcon::Exclamation);
    ButtonByText(&dlg, "Import...")->click();
    EXPECT_EQ(Register(), (QStringList{"Ann|Ash|", "Bo|Bell|bo@bell.be", "Di|Dunn|"}));
    QListWidget* list = ControlByName<QListWidget>(&dlg, "Players");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), "Bo Bell");
    EXPECT_EQ(list->item(2)->text(), "Di Dunn");

    // Cancelling the file dialog does nothing.
    ui().QueueFileChoice(QString());
    ButtonByText(&dlg, "Import...")->click();
    EXPECT_EQ(Register().size(), 3);
}

TEST_F(PlayerImportCommand, AddsEveryPlayerOrNone)
{
    testdata::RefuseWrites("refuse", "before insert on Player", "new.last = 'Refused'");
    WriteFile("three.csv", "Ann,Ash\nBo,Refused\nCy,Cole\n");
    CPlayersDialog dlg;
    ASSERT_TRUE(dlg.Initialise());
    ui().QueueFileChoice(PathOf("three.csv"));
    ui().Expect("Import Players", MsgAnswer::Yes).Text("Import 3 players from three.csv?");
    ui().Expect(kAppName).Icon(MsgIcon::Stop);
    ButtonByText(&dlg, "Import...")->click();
    EXPECT_EQ(Count("select * from Player"), 0);
}

TEST_F(PlayerImportCommand, MainMenuSaysWhyAFileGivesNoPlayers)
{
    WriteFile("names.csv", "Name,Email\nAnn Ash,a@a.org\n");
    WriteFile("refused.txt", "Ann\n,Bell\n");
    CMainDialog main;
    ASSERT_TRUE(main.Initialise());
    QAction* import = ActionByText(&main, "&Import");
    ASSERT_NE(import, nullptr);

    ui().QueueFileChoice(PathOf("missing.csv"));
    ui().Expect("Import Failed").Text("The players cannot be imported from missing.csv:\nNo such file or directory")
        .Icon(MsgIcon::Stop);
    import->trigger();
    ui().QueueFileChoice(PathOf("names.csv"));
    ui().Expect("Import Failed")
        .Text("The players cannot be imported from names.csv:\nIts first line names columns, but not both a "
              "first-name and a last-name column (such as First Name and Last Name).");
    import->trigger();
    ui().QueueFileChoice(PathOf("refused.txt"));
    ui().Expect("Nothing to Import")
        .Text("No player can be imported from refused.txt.")
        .Details("line 1: the last name is missing\nline 2: the first name is missing")
        .Icon(MsgIcon::Exclamation);
    import->trigger();
    EXPECT_EQ(Count("select * from Player"), 0);
}
