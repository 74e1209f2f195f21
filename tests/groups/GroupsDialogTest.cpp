#include "app/MainDialog.h"
#include "groups/GroupDetailsDialog.h"
#include "groups/Groups.h"
#include "groups/GroupsDialog.h"
#include "players/PlayersDialog.h"

#include "db/Format.h"
#include "support/DbTest.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "ui/Messages.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

using namespace testdata;

namespace {

QStringList Texts(QTreeWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i) texts << list->topLevelItem(i)->text(0);
    return texts;
}

QString SelectedText(QTreeWidget* list)
{
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text(0);
}

// The Groups dialog as the director sees it.
struct GroupsView {
    CGroupsDialog& dlg;

    QComboBox* Groups() { return ControlByName<QComboBox>(&dlg, "Group Memberships for"); }
    QTreeWidget* Members() { return ControlByName<QTreeWidget>(&dlg, "Group Members"); }
    QTreeWidget* Others() { return ControlByName<QTreeWidget>(&dlg, "Players Not In Group"); }
    QAbstractButton* Button(const char* caption) { return ButtonByText(&dlg, QString::fromLatin1(caption)); }
    QString ConflictText() { return dlg.findChild<QLabel*>("conflictLabel")->text(); }

    QStringList GroupNames()
    {
        QStringList names;
        for (int i = 0; i < Groups()->count(); ++i) names << Groups()->itemText(i);
        return names;
    }
    void ChooseGroup(const QString& name)
    {
        const int index = Groups()->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        Groups()->setCurrentIndex(index);
        Q_EMIT Groups()->activated(index);
    }
    QTreeWidgetItem* Row(QTreeWidget* list, const QString& name)
    {
        const QList<QTreeWidgetItem*> items = list->findItems(name, Qt::MatchExactly);
        EXPECT_FALSE(items.isEmpty()) << name.toStdString();
        return items.isEmpty() ? nullptr : items.front();
    }
    void Select(QTreeWidget* list, const QString& name)
    {
        if (QTreeWidgetItem* item = Row(list, name)) list->setCurrentItem(item);
    }
    void DoubleClick(QTreeWidget* list, const QString& name)
    {
        QTreeWidgetItem* item = Row(list, name);
        if (!item) return;
        list->setCurrentItem(item);
        Q_EMIT list->itemDoubleClicked(item, 0);
    }
    // Join, Leave and Memberships enabled.
    std::vector<bool> Moves()
    {
        return {Button("<-- Join Group")->isEnabled(), Button("Leave Group -->")->isEnabled(),
                Button("Memberships")->isEnabled()};
    }
};

using Moves = std::vector<bool>;

}  // namespace

class GroupsDialog : public DbTest {
protected:
    int Members(int groupID) { return Count(Sql("select * from PlayerGroup where groupID = %d", groupID)); }
};

TEST_F(GroupsDialog, WithoutGroupsOffersOnlyFormingOne)
{
    AddPlayer("Ann", "Able");
    CGroupsDialog dlg(-1, -1);
    ASSERT_TRUE(dlg.Initialise());
    GroupsView view{dlg};
    EXPECT_EQ(dlg.windowTitle(), "Groups");
    ExpectInputsLabelled(&dlg);

    EXPECT_EQ(view.Groups()->count(), 0);
    EXPECT_FALSE(view.Groups()->isEnabled());
    for (QTreeWidget* list : {view.Members(), view.Others()}) {
        EXPECT_FALSE(list->isEnabled());
        EXPECT_EQ(list->topLevelItemCount(), 0);
    }
    EXPECT_FALSE(Shown(view.Button("Edit Group")));
    EXPECT_FALSE(view.Button("Dissolve Group")->isEnabled());
    EXPECT_EQ(view.Moves(), (Moves{false, false, false}));
    EXPECT_TRUE(view.Button("Form New Group")->isEnabled());
    EXPECT_TRUE(view.Button("Done")->isEnabled());

    view.Button("Done")->click();
    EXPECT_TRUE(dlg.HasEnded());
}

TEST_F(GroupsDialog, ShowsAGroupsMembersAndTheOtherPlayersInNameOrder)
{
    const int zoe = AddPlayer("Zoe", "Adams");
    const int abe = AddPlayer("Abe", "Adams");
    const int cy = AddPlayer("Cy", "Cole");
    AddPlayer("Bea", "Brown");
    AddGroup("Westside", 2, {cy, zoe});
    const int chess = AddGroup("Chess Club", -1, {abe});

    CGroupsDialog dlg(-1, -1);
    ASSERT_TRUE(dlg.Initialise());
    GroupsView view{dlg};
    EXPECT_EQ(view.GroupNames(), QStringList({"Chess Club", "Westside"}));
    EXPECT_EQ(view.Groups()->currentText(), "Chess Club");
    EXPECT_EQ(Texts(view.Members()), QStringList({"Abe Adams"}));
    EXPECT_EQ(Texts(view.Others()), QStringList({"Zoe Adams", "Bea Brown", "Cy Cole"}));
    EXPECT_EQ(view.ConflictText(), "Conflict value: -1");
    EXPECT_TRUE(Shown(view.Button("Edit Group")));
    EXPECT_TRUE(view.Button("Dissolve Group")->isEnabled());
    EXPECT_EQ(view.Moves(), (Moves{false, false, false}));

    view.ChooseGroup("Westside");
    EXPECT_EQ(Texts(view.Members()), QStringList({"Zoe Adams", "Cy Cole"}));
    EXPECT_EQ(Texts(view.Others()), QStringList({"Abe Adams", "Bea Brown"}));
    EXPECT_EQ(view.ConflictText(), "Conflict value: 2");

    // A group given on opening is shown first.
    CGroupsDialog chosen(chess, -1);
    ASSERT_TRUE(chosen.Initialise());
    EXPECT_EQ(GroupsView{chosen}.Groups()->currentText(), "Chess Club");
}

TEST_F(GroupsDialog, JoinAndLeaveMoveTheSelectedPlayerAndKeepHimSelected)
{
    const int ann = AddPlayer("Ann", "Able");
    AddPlayer("Bob", "Baker");
    const int club = AddGroup("Club", 1, {ann});
    CGroupsDialog dlg(-1, -1);
    ASSERT_TRUE(dlg.Initialise());
    GroupsView view{dlg};

    view.Select(view.Others(), "Bob Baker");
    EXPECT_EQ(view.Moves(), (Moves{true, false, true}));
    view.Button("<-- Join Group")->click();
    EXPECT_EQ(Members(club), 2);
    EXPECT_EQ(Texts(view.Members()), QStringList({"Ann Able", "Bob Baker"}));
    EXPECT_EQ(SelectedText(view.Members()), "Bob Baker");
    EXPECT_EQ(view.Moves(), (Moves{false, true, true}));

    view.Button("Leave Group -->")->click();
    EXPECT_EQ(Texts(view.Members()), QStringList({"Ann Able"}));
    EXPECT_EQ(SelectedText(view.Others()), "Bob Baker");
    EXPECT_EQ(view.Moves(), (Moves{true, false, true}));

    // Double-clicks do the same.
    view.DoubleClick(view.Members(), "Ann Able");
    EXPECT_EQ(Members(club), 0);
    view.DoubleClick(view.Others(), "Ann Able");
    view.DoubleClick(view.Others(), "Bob Baker");
    EXPECT_EQ(Rows(Sql("select playerID from PlayerGroup where groupID = %d order by playerID", club)).size(), 2u);

    // With nothing selected neither button changes anything.
    view.Members()->clearSelection();
    view.Others()->clearSelection();
    view.Button("<-- Join Group")->click();
    view.Button("Leave Group -->")->click();
    EXPECT_EQ(Members(club), 2);
}

TEST_F(GroupsDialog, JoinsThePlayerOfTheRowSelectedNotOneMetBefore)
{
    const int member = AddPlayer("Mia", "Member");
    AddPlayer("Ned", "Newcomer");
    const int club = AddGroup("Club", 1, {member});
    CGroupsDialog dlg(-1, -1);
    ASSERT_TRUE(dlg.Initialise());
    GroupsView view{dlg};

    // Ned picked, then Mia among the members, then Ned again: only one row
    // is ever selected, so Ned joins and Mia is not added a second time.
    view.Select(view.Others(), "Ned Newcomer");
    view.Select(view.Members(), "Mia Member");
    EXPECT_TRUE(view.Others()->selectedItems().isEmpty());
    view.DoubleClick(view.Others(), "Ned Newcomer");
    EXPECT_EQ(Count(Sql("select * from PlayerGroup where groupID = %d and playerID = %d", club, member)), 1);
    EXPECT_EQ(Members(club), 2);
}

TEST_F(GroupsDialog, SummarisesTheMembershipsOfTheSelectedPlayer)
{
    const int gina = AddPlayer("Gina", "Joiner");
    AddPlayer("Lone", "Wolf");
    AddGroup("Westside", 2, {gina});
    AddGroup("Chess Club", 1, {gina});
    CGroupsDialog dlg(-1, -1);
    ASSERT_TRUE(dlg.Initialise());
    GroupsView view{dlg};

    view.Select(view.Members(), "Gina Joiner");
    ui().Expect("Group Membership")
        .Text("Gina Joiner is a member of the following groups:\n        Chess Club\n        Westside")
        .Icon(MsgIcon::None)
        .Buttons(MsgButtons::Ok);
    view.Button("Memberships")->click();

    view.Select(view.Others(), "Lone Wolf");
    ui().Expect("Group Membership").Text("Lone Wolf is not a member of any groups.");
    view.Button("Memberships")->click();
}

TEST_F(GroupsDialog, FormsAndEditsGroupsThroughGroupDetails)
{
    AddGroup("Zebras", 4);
    CGroupsDialog dlg(-1, -1);
    ASSERT_TRUE(dlg.Initialise());
    GroupsView view{dlg};

    ui().ExpectDialog<CGroupDetailsDialog>([](CGroupDetailsDialog& details) {
        EXPECT_EQ(details.windowTitle(), "Group Details");
        ExpectInputsLabelled(&details);
        EXPECT_EQ(details.GroupID(), -1);
        EXPECT_EQ(ControlByName<QLineEdit>(&details, "Group Name")->text(), "");
        EXPECT_EQ(ControlByName<QLineEdit>(&details, "Conflict Value")->text(), "0");
        ControlByName<QLineEdit>(&details, "Group Name")->setText("Mike's Friends");
        ControlByName<QLineEdit>(&details, "Conflict Value")->setText("3");
        ButtonByText(&details, "Done")->click();
        EXPECT_TRUE(details.HasEnded());
    });
    view.Button("Form New Group")->click();
    EXPECT_EQ(Rows("select name, conflict from [Group] order by name"),
              (std::vector<QStringList>{{"Mike`s Friends", "3"}, {"Zebras", "4"}}));
    // The new group is the one shown.
    EXPECT_EQ(view.GroupNames(), QStringList({"Mike`s Friends", "Zebras"}));
    EXPECT_EQ(view.Groups()->currentText(), "Mike`s Friends");
    EXPECT_EQ(view.ConflictText(), "Conflict value: 3");

    view.ChooseGroup("Zebras");
    ui().ExpectDialog<CGroupDetailsDialog>([](CGroupDetailsDialog& details) {
        EXPECT_EQ(ControlByName<QLineEdit>(&details, "Group Name")->text(), "Zebras");
        EXPECT_EQ(ControlByName<QLineEdit>(&details, "Conflict Value")->text(), "4");
        ControlByName<QLineEdit>(&details, "Conflict Value")->setText("-2");
        ButtonByText(&details, "Done")->click();
    });
    view.Button("Edit Group")->click();
    EXPECT_EQ(view.Groups()->currentText(), "Zebras");
    EXPECT_EQ(view.ConflictText(), "Conflict value: -2");

    // Closing Group Details writes nothing; the first group is shown again.
    ui().ExpectDialog<CGroupDetailsDialog>([](CGroupDetailsDialog& details) {
        ControlByName<QLineEdit>(&details, "Group Name")->setText("Never");
    });
    view.Button("Form New Group")->click();
    EXPECT_EQ(Count("select * from [Group]"), 2);
    EXPECT_EQ(view.Groups()->currentText(), "Mike`s Friends");
}

TEST_F(GroupsDialog, DissolvesAGroupWithItsMembershipsOnlyWhenConfirmed)
{
    const int ann = AddPlayer("Ann", "Able");
    const int alpha = AddGroup("Alpha", 1, {ann});
    const int beta = AddGroup("Beta", 1, {ann});
    CGroupsDialog dlg(-1, -1);
    ASSERT_TRUE(dlg.Initialise());
    GroupsView view{dlg};
    view.ChooseGroup("Beta");

    ui().Expect("Confirm Group Dissolution", MsgAnswer::No)
        .Text("Are you sure you want to dissolve the group 'Beta'?")
        .Icon(MsgIcon::Question)
        .Buttons(MsgButtons::YesNo);
    view.Button("Dissolve Group")->click();
    EXPECT_EQ(Count("select * from [Group]"), 2);

    ui().Expect("Confirm Group Dissolution", MsgAnswer::Yes);
    view.Button("Dissolve Group")->click();
    EXPECT_EQ(Count(Sql("select * from [Group] where id = %d", beta)), 0);
    EXPECT_EQ(Members(beta), 0);
    EXPECT_EQ(Members(alpha), 1);
    EXPECT_EQ(view.GroupNames(), QStringList({"Alpha"}));
    EXPECT_EQ(view.Groups()->currentText(), "Alpha");

    // Dissolving the last group leaves the dialog as if there never was one.
    ui().Expect("Confirm Group Dissolution", MsgAnswer::Yes);
    view.Button("Dissolve Group")->click();
    EXPECT_EQ(Count("select * from PlayerGroup"), 0);
    EXPECT_FALSE(view.Groups()->isEnabled());
    EXPECT_EQ(view.Members()->topLevelItemCount(), 0);
    EXPECT_EQ(view.Others()->topLevelItemCount(), 0);
    EXPECT_FALSE(Shown(view.Button("Edit Group")));
}

TEST_F(GroupsDialog, OpenFromThePlayersDialogWithThatPlayerSelected)
{
    const int member = AddPlayer("Mia", "Member");
    AddPlayer("Ned", "Newcomer");
    AddGroup("Alpha", 1, {member});
    AddGroup("Beta", 1);
    CPlayersDialog players;
    ASSERT_TRUE(players.Initialise());
    auto* list = ControlByName<QListWidget>(&players, "Players");

    const auto openFor = [&](const QString& name, const char* expectMembers, const char* expectOthers) {
        list->setCurrentItem(list->findItems(name, Qt::MatchExactly).front());
        ui().Expect("Group Membership", MsgAnswer::Yes);
        ui().ExpectDialog<CGroupsDialog>([&](CGroupsDialog& dlg) {
            GroupsView view{dlg};
            EXPECT_EQ(view.Groups()->currentText(), "Alpha");
            EXPECT_EQ(SelectedText(view.Members()), expectMembers);
            EXPECT_EQ(SelectedText(view.Others()), expectOthers);
        });
        ButtonByText(&players, "&Groups")->click();
    };
    openFor("Mia Member", "Mia Member", "");
    openFor("Ned Newcomer", "", "Ned Newcomer");
    EXPECT_EQ(ui().DialogsRun(), 2);
}

TEST_F(GroupsDialog, KeepsThePlayerSelectedWhenAnotherGroupIsChosen)
{
    const int ned = AddPlayer("Ned", "Newcomer");
    AddPlayer("Ann", "Able");
    AddGroup("Alpha", 1);
    AddGroup("Beta", 1, {ned});
    CGroupsDialog dlg(-1, -1);
    ASSERT_TRUE(dlg.Initialise());
    GroupsView view{dlg};
    view.Select(view.Others(), "Ned Newcomer");
    view.ChooseGroup("Beta");
    EXPECT_EQ(SelectedText(view.Members()), "Ned Newcomer");
    EXPECT_EQ(view.Moves(), (Moves{false, true, true}));
}

TEST_F(GroupsDialog, OpenFromTheMainWindowWithNoGroupAndNoPlayer)
{
    CMainDialog main;
    ASSERT_TRUE(main.Initialise());
    ui().ExpectDialog<CGroupsDialog>([](CGroupsDialog& dlg) { EXPECT_EQ(dlg.windowTitle(), "Groups"); });
    ActionByText(&main, "&Groups")->trigger();
    EXPECT_EQ(ui().DialogsRun(), 1);
}

// Group Details run on its own.
class GroupDetails : public DbTest {
protected:
    // Types the texts into a fresh dialog on the group and presses Done.
    std::unique_ptr<CGroupDetailsDialog> Save(int groupID, const QString& name, const QString& conflict)
    {
        auto details = std::make_unique<CGroupDetailsDialog>(groupID);
        EXPECT_TRUE(details->Initialise());
        ControlByName<QLineEdit>(details.get(), "Group Name")->setText(name);
        ControlByName<QLineEdit>(details.get(), "Conflict Value")->setText(conflict);
        ButtonByText(details.get(), "Done")->click();
        return details;
    }
    void ExpectRefusal(const QString& errors)
    {
        ui().Expect("Unable to Update!")
            .Text("The group is invalid.  The following errors were found:\n" + errors)
            .Icon(MsgIcon::Stop)
            .Buttons(MsgButtons::Ok);
    }
};

TEST_F(GroupDetails, ListsEveryErrorInOneMessageAndKeepsTheTexts)
{
    ExpectRefusal("\nNo group name given.\nNo conflict value given.");
    auto details = Save(-1, "", "");
    EXPECT_FALSE(details->HasEnded());
    EXPECT_EQ(Count("select * from [Group]"), 0);

    AddGroup("Taken", 1);
    ExpectRefusal("\nGroup name already used.\nConflict value must be numeric.");
    auto again = Save(-1, "taken", "x");
    EXPECT_FALSE(again->HasEnded());
    EXPECT_EQ(ControlByName<QLineEdit>(again.get(), "Group Name")->text(), "taken");
    EXPECT_EQ(ControlByName<QLineEdit>(again.get(), "Conflict Value")->text(), "x");
    EXPECT_EQ(again->GroupID(), -1);
}

TEST_F(GroupDetails, TakesTheConflictValueOnlyWhenTheWholeTextIsAnInteger)
{
    int n = 0;
    for (const char* refused : {"x", "00", "-0", "12abc", "5 5", "1.5", "-", "+", "1)"}) {
        ExpectRefusal("\nConflict value must be numeric.");
        EXPECT_FALSE(Save(-1, Format("Refused %d", ++n), QString::fromLatin1(refused))->HasEnded()) << refused;
    }
    EXPECT_EQ(Count("select * from [Group]"), 0);

    // A number is refused by its range, however many digits it has.
    for (const char* outside : {"1000", "-1000", "99999999999", "-99999999999999999999999"}) {
        ExpectRefusal("\nConflict value must be between -999 and 999.");
        EXPECT_FALSE(Save(-1, Format("Refused %d", ++n), QString::fromLatin1(outside))->HasEnded()) << outside;
    }
    EXPECT_EQ(Count("select * from [Group]"), 0);

    const std::pair<const char*, int> accepted[] = {{"0", 0},      {"7", 7},      {"-2", -2},    {" 12 ", 12},
                                                    {"+4", 4},     {"999", 999},  {"-999", -999}};
    for (const auto& [text, value] : accepted) {
        const QString name = Format("Accepted %d", ++n);
        auto details = Save(-1, name, QString::fromLatin1(text));
        EXPECT_TRUE(details->HasEnded()) << text;
        // The value is stored as the integer it reads as.
        EXPECT_EQ(Rows(Sql("select conflict, typeof(conflict) from [Group] where id = %d", details->GroupID())),
                  (std::vector<QStringList>{{QString::number(value), "integer"}}))
            << text;
        EXPECT_EQ(Int(Sql("select id from [Group] where name = '%s'", name)), details->GroupID());
    }
}

TEST_F(GroupDetails, RefusesANameTheStoreCannotKeep)
{
    ExpectRefusal("\nThe group name may have at most 60 characters (it has 61).");
    EXPECT_FALSE(Save(-1, QString(61, QChar('g')), "1")->HasEnded());
    ExpectRefusal("\nThe group name holds the character U+D800 at position 3, which cannot be stored.");
    EXPECT_FALSE(Save(-1, QString("ab") + QChar(0xD800), "1")->HasEnded());
    EXPECT_EQ(Count("select * from [Group]"), 0);
    EXPECT_TRUE(Save(-1, QString(60, QChar('g')), "1")->HasEnded());
}

TEST_F(GroupDetails, RenamesToItsOwnNameButNotToAnothersAndStoresBackquotes)
{
    const int alpha = AddGroup("Alpha", 1);
    AddGroup("Beta", 2);

    auto own = Save(alpha, "ALPHA", "5");
    EXPECT_TRUE(own->HasEnded());
    EXPECT_EQ(own->GroupID(), alpha);
    EXPECT_EQ(Rows(Sql("select name, conflict from [Group] where id = %d", alpha)),
              (std::vector<QStringList>{{"ALPHA", "5"}}));

    ExpectRefusal("\nGroup name already used.");
    EXPECT_FALSE(Save(alpha, "Beta", "5")->HasEnded());

    auto quoted = Save(alpha, "O'Neill's", "5");
    EXPECT_EQ(ControlByName<QLineEdit>(quoted.get(), "Group Name")->text(), "O`Neill`s");
    EXPECT_EQ(Rows(Sql("select name from [Group] where id = %d", alpha)), (std::vector<QStringList>{{"O`Neill`s"}}));
    // The stored name counts as used, whichever way it is typed.
    ExpectRefusal("\nGroup name already used.");
    EXPECT_FALSE(Save(-1, "O'Neill's", "1")->HasEnded());
}
