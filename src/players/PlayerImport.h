#pragma once
// Players imported from a spreadsheet saved as text: the registrations a
// director receives as a .csv or .txt file, one player a row.
//
// Reading: UTF-8 with or without a byte-order mark, UTF-16 with its mark,
// anything else as Windows-1252; comma, semicolon or tab between the cells,
// whichever the first row uses most; cells between double quotes may hold
// the delimiter, doubled quotes and line breaks. A first row that names
// columns (First / First Name / Given Name, Last / Last Name / Surname /
// Family Name, E-Mail / Email / Mail, in any case and order; other columns
// ignored) says where the names are; otherwise the columns are first name,
// last name and e-mail address.
//
// Each row is held to the rules of a player added by hand (PlayerRecords)
// and skipped, with its line number and the reason, when it breaks them or
// names a player already registered or already imported from an earlier
// row. Rows holding nothing but blanks are passed over without a word.

#include "playerrecords/PlayerRecords.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QWidget;

// The text of a file's bytes, or nothing when they are not text (a NUL
// byte outside UTF-16, or UTF-16 that is not valid).
std::optional<QString> DecodeSpreadsheetText(const QByteArray& bytes);

// The delimiter of a spreadsheet's text: the one of comma, semicolon and
// tab the first non-blank row holds most often outside quotes; on a tie tab
// before semicolon before comma; a comma when the row holds none.
QChar DetectSpreadsheetDelimiter(const QString& text);

// One row of a spreadsheet, its cells as they stand (quotes removed, line
// breaks inside quotes kept as "\n").
struct SpreadsheetRecord {
    int line = 0;            // the line of the file the row starts on, from 1
    QStringList cells;
    bool quoteOpen = false;  // a quoted cell runs to the end of the file
};

// Every row of the text, blank ones included; a line break at the very end
// does not start another row. CR LF, LF and a lone CR each end a line.
std::vector<SpreadsheetRecord> ParseSpreadsheet(const QString& text, QChar delimiter);

struct SkippedImportRow {
    int line = 0;
    QString reason;  // "the e-mail address is not valid"
};

struct PlayerImportPlan {
    // Why the file cannot be imported at all; empty when it can.
    QString failure;
    // The players to add, their texts as stored, in the order of the file.
    std::vector<PlayerTexts> players;
    std::vector<SkippedImportRow> skipped;
};

// What importing the file's bytes would do, given the players registered
// (their stored texts). Nothing is written.
PlayerImportPlan PlanPlayerImport(const QByteArray& bytes, const std::vector<PlayerTexts>& registered);

// "line 12: the e-mail address is not valid", one skipped row a line.
QString SkippedRowsText(const std::vector<SkippedImportRow>& skipped);

// Adds the players (stored texts) in one transaction: all of them or none.
void InsertPlayers(const std::vector<PlayerTexts>& players);

// The Import command: asks for a file, reads it, asks once whether to add
// the players it holds (the skipped rows in the question's details) and
// adds them. Returns the number of players added; 0 when the director
// cancelled or the file gave none.
int ImportPlayersFromFile(QWidget* parent);
