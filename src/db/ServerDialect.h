#pragma once
// What the PostgreSQL store needs of a statement that the SQLite store does
// not. The program's statements are written once, for both stores; before
// one runs on PostgreSQL it is rewritten here, so no caller knows the
// difference:
//
// - a table name in square brackets ("[Group]", a reserved word) becomes the
//   quoted lower-case name ("group"), as the table is created there;
// - texts compare and sort as the SQLite store's NOCASE columns do: the
//   letters A to Z count as a to z and everything else compares by its
//   UTF-8 bytes. Every text column is created with the byte-order collation
//   "C", so folding A to Z is all that is left to do: a comparison of a
//   column with a bound text after WHERE, and an ORDER BY term naming a text
//   column, compare the folded texts.
//
// Every '?' of a statement is a bound text (numbers are written into the
// text), so each comparison with one is a comparison of texts.

#include <QString>
#include <QStringList>

// The statement text for the PostgreSQL store. textColumns are the names of
// the text columns, compared without regard to case.
QString ServerStatementText(const QString& text, const QStringList& textColumns);
