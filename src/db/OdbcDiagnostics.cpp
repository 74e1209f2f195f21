#include "db/OdbcDiagnostics.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlResult>
#include <QVariant>

#include <sql.h>
#include <sqlext.h>

namespace {

QString FirstState(SQLSMALLINT handleType, const QVariant& handle)
{
    if (!handle.isValid() || handle.metaType().sizeOf() != qsizetype(sizeof(SQLHANDLE))) return {};
    const SQLHANDLE h = *static_cast<const SQLHANDLE*>(handle.constData());
    if (!h) return {};
    SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[1] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN r = SQLGetDiagRec(handleType, h, 1, state, &native, message, 0, &length);
    if (r != SQL_SUCCESS && r != SQL_SUCCESS_WITH_INFO) return {};
    return QString::fromLatin1(reinterpret_cast<const char*>(state));
}

}  // namespace

bool ConnectionDead(const QSqlDatabase& db)
{
    if (!db.driver()) return false;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || handle.metaType().sizeOf() != qsizetype(sizeof(SQLHANDLE))) return false;
    const SQLHANDLE h = *static_cast<const SQLHANDLE*>(handle.constData());
    SQLUINTEGER dead = SQL_CD_FALSE;
    if (!h || !SQL_SUCCEEDED(SQLGetConnectAttr(h, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr))) return false;
    return dead == SQL_CD_TRUE;
}

QString StatementState(const QSqlQuery& query)
{
    return query.result() ? FirstState(SQL_HANDLE_STMT, query.result()->handle()) : QString();
}

QString ConnectionState(const QSqlDatabase& db)
{
    return db.driver() ? FirstState(SQL_HANDLE_DBC, db.driver()->handle()) : QString();
}
