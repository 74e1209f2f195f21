#pragma once
// The thirteen tables of the program's database on the store the program
// works on (their definitions: SchemaTables.h).

#include "db/SchemaTables.h"

#include <QStringList>

// The names of the program's tables the database does not hold.
QStringList MissingSchemaTables();

// Creates the tables when the database holds none of them (a new user's first
// start). A database that holds any of them is left exactly as it is.
// Returns true when the tables were created.
bool EnsureSchema();
