#include "scores/ScoresDialog.h"
#include "scores/StandingsPage.h"

#include "scores/ScoresFixture.h"
#include "support/Widgets.h"

#include <QDateTime>
#include <QDir>
#include <QTreeWidget>
#include <QXmlStreamReader>

#include <map>
#include <optional>

using namespace testdata;

namespace {

// The page as a browser reads it: the page is well-formed markup, so an XML
// reader sees every element and every text after its escapes are undone.
struct ParsedPage {
    bool wellFormed = false;
    QString title, heading, date, dateTime, style;
    std::map<QString, std::vector<QStringList>> tables;  // by id: every row's cells, headings first
    QStringList elements, attributes;
};

ParsedPage ParsePage(const QString& html)
{
    ParsedPage page;
    QXmlStreamReader xml(html);
    QString table;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const QString name = xml.name().toString();
        page.elements << name;
        for (const QXmlStreamAttribute& a : xml.attributes()) page.attributes << a.name().toString();
        if (name == "table") table = xml.attributes().value("id").toString();
        if (name == "tr") page.tables[table].emplace_back();
        if (name == "th" || name == "td") page.tables[table].back() << xml.readElementText();
        if (name == "title") page.title = xml.readElementText();
        if (name == "h1") page.heading = xml.readElementText();
        if (name == "style") page.style = xml.readElementText();
        if (name == "time") {
            page.dateTime = xml.attributes().value("datetime").toString();
            page.date = xml.readElementText();
        }
    }
    page.wellFormed = !xml.hasError();
    return page;
}

std::vector<QStringList> HeadingsAndRows(QTreeWidget* list)
{
    QStringList headings;
    for (int c = 0; c < list->columnCount(); ++c) headings << list->headerItem()->text(c);
    std::vector<QStringList> rows = ShownRows(list);
    rows.insert(rows.begin(), headings);
    return rows;
}

QString PagePath(const QString& tournamentName)
{
    return QDir::current().absoluteFilePath(tournamentName + " Standings.html");
}

QString Opened(const QString& path)
{
    return Format("The standings were written to the web page\n%s\n\nOpen it in the web browser?", path);
}

}  // namespace

class StandingsPage : public ScoresTest {};

TEST_F(StandingsPage, HoldsTheListsAsShownWithEveryTextEscaped)
{
    const QString name = "Spring <Open> & \"Co\"";
    OpenTournament({.name = name, .teamSize = 1, .teamHeat = 1});
    const int ann = AddPlayer("<script>", "alert('x')");
    const int bo = AddPlayer("Bo", "Bell & Co");
    const int zoe = AddPlayer("Zo\u00eb", "Cole");
    AddTeam(tournamentID, "<b>Alpha</b>", {ann, bo, zoe});
    FinishedGame(1, {{ann, 12}, {bo, 7.5f}, {zoe, 3}});
    Play(ann, {std::nullopt, 5});
    const long long madeAt = 1716060600;
    ui().SetTime(madeAt);

    CScoresDialog d(name);
    ASSERT_TRUE(d.Initialise());
    ui().Expect("Web Page Exported", MsgAnswer::Yes)
        .Text(Opened(PagePath(name)))
        .Icon(MsgIcon::Question)
        .Default(MsgAnswer::Yes);
    ButtonByText(&d, "Export Web Page")->click();
    EXPECT_EQ(ui().OpenedUrls(), std::vector<QUrl>{QUrl::fromLocalFile(PagePath(name))});

    const ParsedPage page = ParsePage(ReadFile(name + " Standings.html"));
    ASSERT_TRUE(page.wellFormed);
    EXPECT_EQ(page.title, name + " Standings");
    EXPECT_EQ(page.heading, name);
    EXPECT_EQ(page.date, StandingsPageDate(madeAt));
    EXPECT_EQ(page.dateTime, QDateTime::fromSecsSinceEpoch(madeAt).toString("yyyy-MM-ddTHH:mm"));
    const auto tables = page.tables;
    EXPECT_EQ(tables.at("players"), HeadingsAndRows(d.findChild<QTreeWidget*>("playerList")));
    EXPECT_EQ(tables.at("players")[1][1], "<script> alert('x')");
    EXPECT_EQ(tables.at("players")[3][1], "Zo\u00eb Cole");
    EXPECT_EQ(tables.at("teams"), HeadingsAndRows(d.findChild<QTreeWidget*>("teamList")));
    EXPECT_EQ(tables.at("teams")[1][1], "<b>Alpha</b>");
    ASSERT_GE(tables.at("awards").size(), 2u);
    EXPECT_EQ(tables.at("awards")[1], (QStringList{"1st Place", "<script> alert('x')", "17 pts."}));

    // Self-contained: nothing runs and nothing is fetched.
    for (const char* element : {"script", "link", "img", "iframe", "object", "embed", "b"})
        EXPECT_FALSE(page.elements.contains(element)) << element;
    EXPECT_FALSE(page.attributes.contains("src"));
    EXPECT_FALSE(page.attributes.contains("href"));
    EXPECT_FALSE(page.style.contains("url(") || page.style.contains("@import"));
}

TEST_F(StandingsPage, SaysWhenItCannotBeWrittenOrOpened)
{
    OpenTournament();
    Play(AddPlayer("Ann", "Ash"), {4});
    CScoresDialog d("Spring Open");
    ASSERT_TRUE(d.Initialise());

    ASSERT_TRUE(QDir::current().mkdir("Spring Open Standings.html"));
    ui().Expect("Export Failure").Icon(MsgIcon::Stop);
    ButtonByText(&d, "Export Web Page")->click();
    EXPECT_TRUE(ui().Messages().back().text.startsWith(
        Format("The web page could not be written to \"%s\":\n", PagePath("Spring Open"))));
    ASSERT_TRUE(QDir::current().rmdir("Spring Open Standings.html"));

    ui().Expect("Web Page Exported", MsgAnswer::No).Text(Opened(PagePath("Spring Open")));
    ButtonByText(&d, "Export Web Page")->click();
    EXPECT_TRUE(ui().OpenedUrls().empty());

    ui().SetUrlsOpen(false);
    ui().Expect("Web Page Exported", MsgAnswer::Yes);
    ui().Expect("Browser Not Available")
        .Text(Format("No web browser could be started to show \"%s\".", PagePath("Spring Open")))
        .Icon(MsgIcon::Exclamation);
    ButtonByText(&d, "Export Web Page")->click();

    // No teams, no team list.
    const ParsedPage page = ParsePage(ReadFile("Spring Open Standings.html"));
    EXPECT_EQ(page.tables.count("teams"), 0u);
    EXPECT_EQ(page.tables.at("players").size(), 2u);
}
