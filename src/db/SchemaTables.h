#pragma once
// The thirteen tables of the program's database as they are defined: their
// names, their columns and the statements that create them on each store.
// Plain data, with no connection behind it; the statement layer reads the
// text columns here, and the schema (Schema.h) creates the tables.

#include "db/Format.h"
#include "db/StoreAddress.h"

#include <QStringList>

#include <vector>

// Names of the tables, in the order they are created.
QStringList SchemaTableNames();

// The names of the columns that hold texts (compared without regard to case).
const QStringList& SchemaTextColumns();

// The column list a table is created with on a store, as in
// "create table Player (<columns>)"; empty for a name that is no table.
QString SchemaTableColumns(const QString& table, StoreKind store);

// The statements that create every table and then its indexes on a store,
// in the order they run.
std::vector<SqlStatement> SchemaCreateStatements(StoreKind store);
