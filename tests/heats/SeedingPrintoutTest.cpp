// The seeding printout: one game per page, powers with their dot leaders,
// and the history of powers when the powers are decided at the tables.

#include "db/ValueCodes.h"
#include "heats/HeatsDialogFixture.h"
#include "heats/SeedingPrintout.h"

using namespace testdata;

namespace {
QString Dots(int count) { return QString(count, QChar('.')); }
}  // namespace

class SeedingPrintoutTest : public HeatsDialogTest {};

TEST_F(SeedingPrintoutTest, EachGameStartsANewPageWithItsPlayersInPowerOrder)
{
    OpenTournament();
    const std::vector<int> p = AddPlayers(14);
    // Seats written out of power order.
    std::vector<std::pair<int, int>> first, second;
    for (int k = 6; k >= 0; --k) first.push_back({p[size_t(k)], k});
    for (int k = 0; k < 7; ++k) second.push_back({p[size_t(7 + k)], (k + 3) % 7});
    SeatGame(1, 2, second);
    SeatGame(1, 1, first);

    const QString game1 = "Spring Open - Heat 1 - Game 1\n\n"
                          "Austria" + Dots(18) + "First L00\n"
                          "England" + Dots(18) + "First L01\n"
                          "France" + Dots(19) + "First L02\n"
                          "Germany" + Dots(18) + "First L03\n"
                          "Italy" + Dots(20) + "First L04\n"
                          "Russia" + Dots(19) + "First L05\n"
                          "Turkey" + Dots(19) + "First L06\n";
    const QString game2 = "Spring Open - Heat 1 - Game 2\n\n"
                          "Austria" + Dots(18) + "First L11\n"
                          "England" + Dots(18) + "First L12\n"
                          "France" + Dots(19) + "First L13\n"
                          "Germany" + Dots(18) + "First L07\n"
                          "Italy" + Dots(20) + "First L08\n"
                          "Russia" + Dots(19) + "First L09\n"
                          "Turkey" + Dots(19) + "First L10\n";
    EXPECT_EQ(SeedingPrintoutText(HeatID(1), 1), "\n\n\n" + game1 + "\n\n\f\n\n\n" + game2);
}

TEST_F(SeedingPrintoutTest, WithoutPowersTheFirstHeatListsTheNamesOnly)
{
    OpenTournament();
    const std::vector<int> p = AddPlayers(7);
    SeatSeven(1, 1, p, 0, kUnstarted, false);
    QString expected = "\n\n\nSpring Open - Heat 1 - Game 1\n\n";
    for (const QStringList& row : Rows("select first, last from Player order by id")) expected += row.join(' ') + "\n";
    // Seats without powers tie on the ordering: compare the lines as a set.
    QStringList printed = SeedingPrintoutText(HeatID(1), 1).split('\n');
    QStringList wanted = expected.split('\n');
    printed.sort();
    wanted.sort();
    EXPECT_EQ(printed, wanted);
}

TEST_F(SeedingPrintoutTest, WithoutPowersLaterHeatsListThePowersPlayedInTheOtherHeats)
{
    OpenTournament();
    const int anna = AddPlayer("Anna", "Smith");                  // 9 characters of name
    const int bart = AddPlayer("Bartholomew", "Fitzgeraldson");   // 24
    const int cleo = AddPlayer("Cleo", "Ng");
    const int otherTournament = AddTournament({.name = "Elsewhere", .systemID = systemID});
    AddSeat(AddGame(AddHeat(otherTournament, 1), 1), cleo, kRussia);

    SeatGame(1, 1, {{anna, kEngland}, {bart, kNoPower}});
    SeatGame(1, 2, {{cleo, kItaly}});
    SeatGame(2, 1, {{anna, kNoPower}, {bart, kNoPower}});
    SeatGame(4, 1, {{cleo, kFrance}});  // a later heat, already seeded
    SeatGame(3, 1, {{anna, kNoPower}, {bart, kNoPower}, {cleo, kNoPower}});

    const QStringList lines = SeedingPrintoutText(HeatID(3), 3).split('\n');
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[3], "Spring Open - Heat 3 - Game 1");
    QStringList players = lines.mid(5, 3);
    players.sort();
    EXPECT_EQ(players, (QStringList{"Anna Smith" + Dots(15) + "has played England",
                                    "Bartholomew Fitzgeraldsonhas played no powers",
                                    "Cleo Ng" + Dots(18) + "has played France and Italy"}));
}

TEST_F(SeedingPrintoutTest, PrintSeedingPrintsTheShownHeatAndSaysSo)
{
    OpenTournament();
    const std::vector<int> p = AddPlayers(7);
    HeatID(1);
    SeatSeven(2, 1, p, 0);
    auto dlg = OpenDialog();
    Tabs(dlg.get())->setCurrentIndex(0);
    EXPECT_FALSE(Enabled(dlg.get(), "Print Seeding"));
    Tabs(dlg.get())->setCurrentIndex(1);
    ASSERT_TRUE(Enabled(dlg.get(), "Print Seeding"));

    ui().Expect("Printing to File").Text("Printing to file \"Spring Open Heat 2 Seeding.txt\".");
    ui().Expect("Print Complete").Text("Seeding Printed!").Icon(MsgIcon::Exclamation).Buttons(MsgButtons::Ok);
    ButtonByText(dlg.get(), "Print Seeding")->click();
    EXPECT_EQ(ReadFile("Spring Open Heat 2 Seeding.txt"), SeedingPrintoutText(HeatID(2), 2));
}
