// Typed text through every statement that writes it, read back with plain
// SQLite beside the program's connection: the bytes stored are the text's
// UTF-8, whatever the characters.

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "groups/Groups.h"
#include "playerrecords/PlayerRecords.h"
#include "scoring/ScoringSystemDialog.h"
#include "support/DbTest.h"
#include "support/TestData.h"
#include "teams/Teams.h"
#include "tournament/CurrentTournament.h"
#include "tournament/TournamentSettings.h"

#include <sqlite3.h>

#include <functional>

namespace {

// One row read with SQLite itself: its columns as stored, or "<not text>".
std::vector<QByteArray> PlainRow(const char* select, int id)
{
    sqlite3* db = nullptr;
    std::vector<QByteArray> row;
    if (sqlite3_open_v2(kDatabaseFileName, &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, select, -1, &statement, nullptr) == SQLITE_OK) {
            sqlite3_bind_int(statement, 1, id);
            if (sqlite3_step(statement) == SQLITE_ROW)
                for (int c = 0; c < sqlite3_column_count(statement); ++c)
                    row.push_back(sqlite3_column_type(statement, c) == SQLITE_TEXT
                                      ? QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(statement, c)),
                                                   sqlite3_column_bytes(statement, c))
                                      : QByteArray("<not text>"));
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return row;
}

int PlainCount(const char* table)
{
    const std::vector<QByteArray> row = PlainRow(Format("select cast(count(*) as text) from %s", table).toUtf8(), 0);
    return row.empty() ? -1 : row[0].toInt();
}

// What people type, by kind.
const QString kSamples[] = {
    QStringLiteral("Zoë Ångström-Øre, François Núñez"),
    QStringLiteral("𠮷田 欧阳 김민준 山田"),
    QStringLiteral("a😀 👩‍👩‍👧 🇳🇱 👍🏽"),
    QStringLiteral("Åe\u0301 n\u0303 a\u0308 \u0915\u094D\u0937"),
    QStringLiteral("שלום עולם · مرحبا بالعالم"),
    QStringLiteral("O'Brien's \"Cup\" `x`"),
    QStringLiteral("ħ, email=ħgoneħ --"),
    QStringLiteral("'); delete from Player; -- ? :name %s"),
    QStringLiteral("line one\nline two\ttab"),
};

// A statement that writes typed text: it stores the text in a new row (or
// over one) and returns the row's id, whose columns then hold the text.
struct Writer {
    std::function<int(const QString& text, int id)> write;  // id -1: insert
    const char* table;
    const char* columns;
};

}  // namespace

class TextStorage : public DbTest {};

TEST_F(TextStorage, KeepsEveryTypedCharacterInEveryStatementThatWritesText)
{
    const int tournament = testdata::AddTournament({.name = "Host"});
    // A player is on one team of a tournament: each new team takes a mate of its own.
    int mates = 0;
    const Writer writers[] = {
        {[](const QString& text, int id) {
             if (id < 0) {
                 InsertPlayer({text, text, text});
                 return QueryInt("select max(id) from Player", -1);
             }
             UpdatePlayer(id, {text, text, text});
             return id;
         },
         "Player", "first, last, email"},
        {[](const QString& text, int id) {
             if (id < 0) return InsertTournament(TournamentRecord{}, text, text, 0);
             UpdateTournament(id, TournamentRecord{}, text, text, 0);
             return id;
         },
         "Tournament", "name, description"},
        {[](const QString& text, int id) { return SaveGroup(id, text, 1); }, "[Group]", "name"},
        {[&](const QString& text, int id) {
             static int mate = -1;
             if (id < 0) mate = testdata::AddPlayer(QStringLiteral("Team"), QString::number(++mates));
             SaveTeam(tournament, id, text, {mate});
             return id;
         },
         "TournamentTeam", "name"},
        {[](const QString& text, int id) {
             SystemValues values;
             values.name = text;
             values.formulas.fill(text);
             SaveSystemValues(values, id);
             return ScoringSystem.id;
         },
         "System", "name, scoreLoss, score1, score2, score3, score4, score5, score6, score7, scoreProvisional"},
    };
    for (const Writer& writer : writers) {
        const QByteArray plainSelect = Format("select %s from %s where id = ?1", writer.columns, writer.table).toUtf8();
        for (const QString& sample : kSamples) {
            SCOPED_TRACE(std::string(writer.table) + ": " + sample.toStdString());
            const QString changed = sample + QStringLiteral(" ²");
            const int columns = int(QByteArray(writer.columns).count(',')) + 1;
            const int id = writer.write(sample, -1);
            EXPECT_EQ(PlainRow(plainSelect, id), std::vector<QByteArray>(size_t(columns), sample.toUtf8()));
            EXPECT_EQ(writer.write(changed, id), id);
            EXPECT_EQ(PlainRow(plainSelect, id), std::vector<QByteArray>(size_t(columns), changed.toUtf8()));
            // The program reads back what it stored.
            const std::vector<QStringList> read =
                Rows(Sql("select %s from %s where id = %d", writer.columns, writer.table, id));
            EXPECT_EQ(read, std::vector<QStringList>({QStringList(qsizetype(columns), changed)}));
        }
    }
}

// Editing one player with typed text that looks like SQL changes that player
// only, and stores his names as typed.
TEST_F(TextStorage, EditingOnePlayerLeavesTheOthersAlone)
{
    const int ann = testdata::AddPlayer("Ann", "Ash", "ann@example.org");
    const int bo = testdata::AddPlayer("Bo", "Bell", "bo@example.org");
    const int cy = testdata::AddPlayer("Cy", "Cole");
    UpdatePlayer(bo, {QStringLiteral("𠮷"), QStringLiteral("ħ, email=ħgoneħ --"), QStringLiteral("bo@example.org")});
    const char* select = "select first, last, email from Player where id = ?1";
    EXPECT_EQ(PlainRow(select, ann), std::vector<QByteArray>({"Ann", "Ash", "ann@example.org"}));
    EXPECT_EQ(PlainRow(select, bo), std::vector<QByteArray>({"𠮷", "ħ, email=ħgoneħ --", "bo@example.org"}));
    EXPECT_EQ(PlainRow(select, cy), std::vector<QByteArray>({"Cy", "Cole", ""}));
}

// Only what reaches the driver whole is sent: a statement text beyond ASCII,
// or a bound text with a character the store cannot keep, runs no part of it.
TEST_F(TextStorage, RefusesAStatementThatCouldNotReachTheDatabaseWhole)
{
    const QString unstorable[] = {QStringLiteral("a") + QChar(0) + QStringLiteral("b"), QString(QChar(0xD83D)) + "x",
                                  QString(QChar(0xDE00)), QString(QChar(0xFEFF)) + "Ann"};
    for (const QString& text : unstorable) {
        try {
            InsertPlayer({text, QStringLiteral("Last"), {}});
            ADD_FAILURE() << "stored " << text.toStdString();
        } catch (const DbError& e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("cannot store"))) << e.Message().toStdString();
        }
    }
    try {
        ExecuteSQL("insert into Player (first, last) values ('Zoë', 'x')");
        ADD_FAILURE() << "a statement text beyond ASCII was sent";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("U+00EB"))) << e.Message().toStdString();
    }
    EXPECT_EQ(PlainCount("Player"), 0);
}
