#pragma once
// The thirteen tables of the program's database.

#include "db/StoreAddress.h"

#include <QStringList>

// Names of the tables, in the order they are created.
QStringList SchemaTableNames();

// The names of the columns that hold texts (compared without regard to case).
const QStringList& SchemaTextColumns();

// The column list a table is created with on a store, as in
// "create table Player (<columns>)"; empty for a name that is no table.
QString SchemaTableColumns(const QString& table, StoreKind store);

// The names of the program's tables the database does not hold.
QStringList MissingSchemaTables();

// Creates the tables when the database holds none of them (a new user's first
// start). A database that holds any of them is left exactly as it is.
// Returns true when the tables were created.
bool EnsureSchema();
