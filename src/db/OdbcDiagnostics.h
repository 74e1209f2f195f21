#pragma once
// The SQLSTATE of a failure, read from the ODBC handles under Qt's driver.
// Qt reports a failure's text and the driver's own number; the five-character
// SQLSTATE, the one code every driver shares, it leaves on the handle.

#include <QString>

class QSqlQuery;
class QSqlDatabase;

// The SQLSTATE of the last failure of the query's statement, or empty.
QString StatementState(const QSqlQuery& query);
// The SQLSTATE of the last failure of a connection call (commit, rollback),
// or empty.
QString ConnectionState(const QSqlDatabase& db);
// True when the driver knows the connection to be broken.
bool ConnectionDead(const QSqlDatabase& db);
