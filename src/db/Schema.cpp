#include "db/Schema.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"

namespace {

SqlStatement TableNamesStatement()
{
    if (CDatabase::Kind() == StoreKind::File) return "select name from sqlite_master where type = 'table'";
    return "select table_name from information_schema.tables where table_schema = current_schema()";
}

}  // namespace

QStringList MissingSchemaTables()
{
    QStringList present;
    for (CRecordset rs(TableNamesStatement()); !rs.IsEOF(); rs.MoveNext()) present << rs.GetString(0);
    QStringList missing;
    for (const QString& name : SchemaTableNames())
        if (!present.contains(name, Qt::CaseInsensitive)) missing << name;
    return missing;
}

bool EnsureSchema()
{
    if (MissingSchemaTables().size() != SchemaTableNames().size()) return false;
    const StoreKind store = CDatabase::Kind();
    RunAtomically([&] {
        for (const SqlStatement& statement : SchemaCreateStatements(store)) ExecuteSQL(statement);
    });
    return true;
}
