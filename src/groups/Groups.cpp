#include "groups/Groups.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"

std::vector<GroupEntry> LoadGroups()
{
    std::vector<GroupEntry> groups;
    for (CRecordset rs(Sql("Select * from [Group] order by name")); !rs.IsEOF(); rs.MoveNext())
        groups.push_back({rs.GetInt(0), rs.GetString(1), rs.GetInt(2)});
    return groups;
}

std::vector<PlayerEntry> GroupMembers(int groupID)
{
    return PlayerEntries(Sql("Select Player.id, player.first, player.last from Player, PlayerGroup where "
                             "PlayerGroup.playerID = Player.id and PlayerGroup.groupID = %d order by Player.last, "
                             "Player.first",
                             groupID));
}

std::vector<PlayerEntry> PlayersNotInGroup(int groupID)
{
    return PlayerEntries(Sql("Select Player.id, player.first, player.last from Player where player.id not in "
                             "(select playerID from PlayerGroup where groupID = %d)order by Player.last, Player.first",
                             groupID));
}

void JoinGroup(int groupID, int playerID)
{
    ExecuteSQL(Sql("insert into playergroup (groupid, playerid) values (%d, %d)", groupID, playerID));
}

void LeaveGroup(int groupID, int playerID)
{
    ExecuteSQL(Sql("delete from playergroup where groupid = %d and playerid = %d", groupID, playerID));
}

QString GroupName(int groupID)
{
    CRecordset rs(Sql("Select name from [Group] where id = %d", groupID));
    return rs.IsEOF() ? QString() : rs.GetString(0);
}

void DissolveGroup(int groupID)
{
    RunAtomically([&] {
        ExecuteSQL(Sql("delete from playergroup where groupid = %d", groupID));
        ExecuteSQL(Sql("delete from [group] where id = %d", groupID));
    });
}

QString GroupMembershipSummary(const QString& playerName, const SqlStatement& groupsStatement)
{
    QString groups;
    for (CRecordset rs(groupsStatement); !rs.IsEOF(); rs.MoveNext())
        groups += QStringLiteral("\n        ") + rs.GetString(0);
    return groups.isEmpty() ? playerName + QStringLiteral(" is not a member of any groups.")
                            : playerName + QStringLiteral(" is a member of the following groups:") + groups;
}

std::optional<long long> ParseConflictValue(const QString& text)
{
    const QString number = text.trimmed();
    qsizetype digits = 0;
    if (number.startsWith(QChar('-')) || number.startsWith(QChar('+'))) digits = 1;
    if (digits == number.size()) return std::nullopt;
    for (qsizetype i = digits; i < number.size(); ++i)
        if (number[i] < QChar('0') || number[i] > QChar('9')) return std::nullopt;
    if (number == QStringLiteral("0")) return 0;
    const long long value = TypedDigitsValue(QStringView(number).sliced(digits));
    if (value == 0) return std::nullopt;
    return number.startsWith(QChar('-')) ? -value : value;
}

std::optional<GroupEntry> LoadGroup(int groupID)
{
    CRecordset rs(Sql("Select * from [group] where id = %d", groupID));
    if (rs.IsEOF()) return std::nullopt;
    return GroupEntry{rs.GetInt(0), rs.GetString(1), rs.GetInt(2)};
}

QString GroupErrors(int groupID, const QString& name, const QString& conflictText)
{
    QString errors;
    const QString nameProblem = TypedTextProblem(kGroupNameField, name);
    if (name.isEmpty())
        errors += QStringLiteral("\nNo group name given.");
    else if (!nameProblem.isEmpty())
        errors += QChar('\n') + nameProblem;
    else if (RecordExists(Sql("Select * from [group] where name = '%s' and id <> %d", name, groupID)))
        errors += QStringLiteral("\nGroup name already used.");
    if (conflictText.isEmpty())
        errors += QStringLiteral("\nNo conflict value given.");
    else if (const std::optional<long long> value = ParseConflictValue(conflictText); !value)
        errors += QStringLiteral("\nConflict value must be numeric.");
    else if (*value < -kMaxGroupConflict || *value > kMaxGroupConflict)
        errors += Format("\nConflict value must be between %d and %d.", -kMaxGroupConflict, kMaxGroupConflict);
    return errors;
}

int SaveGroup(int groupID, const QString& name, int conflict)
{
    if (groupID >= 0) {
        ExecuteSQL(Sql("update [group] set name = '%s', conflict = %d where id = %d", name, conflict, groupID));
        return groupID;
    }
    ExecuteSQL(Sql("insert into [group] (name, conflict) values ('%s', %d)", name, conflict));
    return QueryInt(Sql("select id from [group] where name = '%s'", name), -1);
}

QString GroupMembershipText(int playerID)
{
    QString name;
    if (CRecordset player(Sql("select first, last from player where id = %d", playerID)); !player.IsEOF())
        name = PlayerDisplayName(player.GetString(0), player.GetString(1));
    const SqlStatement groups = Sql(
        "Select name from [Group], PlayerGroup where playerID = %d and groupID = [group].id order by name", playerID);
    return GroupMembershipSummary(name, groups) + QStringLiteral("\n\nDo you wish to edit groups and memberships?");
}
